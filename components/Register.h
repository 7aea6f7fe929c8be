// SPDX-License-Identifier: MIT
#pragma once
// Registration entries of the widget units. Each hands its component classes and the palette
// page name to RegisterComponents; only a form designer calls them, never the program.

namespace Ccalendr {
void Register(); // TCCalendar
}
namespace Cgrid {
void Register(); // TCColorGrid
}
namespace Cgauges {
void Register(); // TCGauge
}
namespace Cspin {
void Register(); // TCSpinButton, TCSpinEdit
}
namespace Perfgrap {
void Register(); // TPerformanceGraph
}

// All five entries, in the order above.
void RegisterAllComponents();
