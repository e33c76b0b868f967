// Zenova: sun-path diagrams for a location and a tilted surface.
#include "Services.h"
#include "ZenovaApplication.h"

#include <QApplication>

int main(int argc, char** argv) {
    // Positions and sizes are screen pixels throughout: no scaling for dense screens.
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication application(argc, argv);
    zenova::MessageBoxDialogs dialogs;
    const zenova::SystemClock clock;
    const zenova::PrimaryScreenSize screen;
    zenova::ZenovaApplication zenova({dialogs, clock, screen});
    zenova.show();
    return QApplication::exec();
}
