// SPDX-License-Identifier: MIT
#include "Register.h"

void RegisterAllComponents() {
    Ccalendr::Register();
    Cgrid::Register();
    Cgauges::Register();
    Cspin::Register();
    Perfgrap::Register();
}
