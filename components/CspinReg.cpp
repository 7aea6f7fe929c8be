// SPDX-License-Identifier: MIT
#include "Cspin.h"
#include "Register.h"
#include "Registry.h"

namespace Cspin {

void Register() {
    const TComponentClass classes[] = {
        ComponentClass<TCSpinButton>(),
        ComponentClass<TCSpinEdit>(),
    };
    RegisterComponents(LoadStr(SComponentPage), classes);
}

} // namespace Cspin
