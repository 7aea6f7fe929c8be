// SPDX-License-Identifier: MIT
#include "Cgauges.h"
#include "Register.h"
#include "Registry.h"

namespace Cgauges {

void Register() {
    const TComponentClass classes[] = {
        ComponentClass<TCGauge>(),
    };
    RegisterComponents(LoadStr(SComponentPage), classes);
}

} // namespace Cgauges
