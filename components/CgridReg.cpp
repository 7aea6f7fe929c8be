// SPDX-License-Identifier: MIT
#include "Cgrid.h"
#include "Register.h"
#include "Registry.h"

namespace Cgrid {

void Register() {
    const TComponentClass classes[] = {
        ComponentClass<TCColorGrid>(),
    };
    RegisterComponents(LoadStr(SComponentPage), classes);
}

} // namespace Cgrid
