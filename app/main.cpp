// Velquor: converts CAI turnpoint files into SN10 databases, in one window.
#include "Main.h"
#include "Application.h"
#include "SysUtils.h"

int main(int argc, char** argv) {
    VelquorApplication app(argc, argv); // the command line is not used
    try {
        SetApplicationMetadata(app);
        TMainForm form;
        form.show();
        app.exec();
    } catch (...) {
        Application.HandleException();
    }
    return 0;
}
