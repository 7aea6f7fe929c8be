// SPDX-License-Identifier: MIT
#include "Perfgrap.h"
#include "Register.h"
#include "Registry.h"

namespace Perfgrap {

void Register() {
    const TComponentClass classes[] = {
        ComponentClass<TPerformanceGraph>(),
    };
    RegisterComponents(LoadStr(SComponentPage), classes);
}

} // namespace Perfgrap
