// The window tests of the sun-path program, on the offscreen platform.
#include <QApplication>

int runMainWindowTests(int argc, char** argv);
int runDiagramWindowTests(int argc, char** argv);
int runLocationWindowTests(int argc, char** argv);
int runDiagramManagerTests(int argc, char** argv);
int runStartupPrintTests(int argc, char** argv);

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    int failed = runMainWindowTests(argc, argv);
    failed += runDiagramWindowTests(argc, argv);
    failed += runLocationWindowTests(argc, argv);
    failed += runDiagramManagerTests(argc, argv);
    failed += runStartupPrintTests(argc, argv);
    return failed;
}
