// SPDX-License-Identifier: MIT
#include "Ccalendr.h"
#include "Register.h"
#include "Registry.h"

namespace Ccalendr {

void Register() {
    const TComponentClass classes[] = {
        ComponentClass<TCCalendar>(),
    };
    RegisterComponents(LoadStr(SComponentPage), classes);
}

} // namespace Ccalendr
