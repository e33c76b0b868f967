// Zenova: sun-path diagrams for a location and a tilted surface.
#include "Services.h"
#include "ZenovaApplication.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv) {
    // Positions and sizes are screen pixels throughout: no scaling for dense screens.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    // A file grown past the user's size limit is a write error to report, as a full disk
    // is, not the end of the program with the change lost.
    std::signal(SIGXFSZ, SIG_IGN);
    // The main window alone decides when the program ends.
    QApplication::setQuitOnLastWindowClosed(false);
    zenova::MessageBoxDialogs dialogs;
    const zenova::SystemClock clock;
    const zenova::PrimaryScreenSize screen;
    zenova::SystemPrinting printing;
    zenova::ZenovaApplication zenova({dialogs, clock, screen, printing});
    zenova.show();
    return zenova.exec();
}
