// The windows grabbed into PNG files under test-artefacts/zenova/ for a person to look at:
// the main and diagram windows after Start for Brussels, a horizontal surface and a south
// wall; the location database on both its pages; the diagram manager saving among diagram
// files; the start-up form and the About box. On the offscreen platform each window paints
// itself into its grab; on a real X server (the "xvfb" test) the windows are mapped and the
// whole screen is grabbed as well. Without a display the latter skips.
#include "Tintro.h"
#include "window_fixture.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QImage>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

using namespace zenova_test;

namespace {

constexpr int kSkipped = 77;

QString artefact(const QString& name) {
    const QByteArray dir = qgetenv("ZENOVA_ARTEFACT_DIR");
    return (dir.isEmpty() ? QString("test-artefacts/zenova") : QString::fromLocal8Bit(dir)) + '/' + name;
}

bool onScreen() { return QGuiApplication::platformName() == "xcb"; }

// Pixels much darker than the window's grey: text, frames, lines.
int darkPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += qGray(image.pixel(x, y)) < 96;
        }
    }
    return n;
}

// A window and, on a real X server, the whole screen with it.
void save(QWidget& window, const QString& name) {
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(onScreen() ? 300 : 20);
    const QImage image = window.grab().toImage();
    QVERIFY(image.save(artefact(name + ".png")));
    QVERIFY2(darkPixels(image) > 500, qPrintable(name));  // texts and frames drawn
    if (onScreen()) {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        QVERIFY(screen.save(artefact("xvfb-" + name + "-screen.png")));
    }
}

int navyPixels(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += (image.pixel(x, y) & 0xffffffu) == 0x000080u;
        }
    }
    return n;
}

}  // namespace

class ScreenshotTest : public QObject {
    Q_OBJECT

private:
    void grab(const QString& name, const char* incl, const char* orient) {
        Windows w(QGuiApplication::primaryScreen()->size());
        w.edit("Edit3")->setText("Brussels");
        w.app->show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1()));
        w.start("4.35", "50.85", "1.0", incl, orient);
        QVERIFY(QTest::qWaitForWindowExposed(&w.form2()));
        QTest::qWait(onScreen() ? 300 : 20);

        const QImage main = w.form1().grab().toImage();
        const QImage diagram = w.form2().grab().toImage();
        QVERIFY(main.save(artefact(name + "-main.png")));
        QVERIFY(diagram.save(artefact(name + "-diagram.png")));
        QVERIFY(navyPixels(diagram) > 2000);
        QCOMPARE(w.form2().client()->grab().size(), QSize(800, 526));
        if (onScreen()) {
            const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
            QVERIFY(screen.save(artefact("xvfb-" + name + "-screen.png")));
            QVERIFY(navyPixels(screen) > 2000);  // the chart is really on the screen
        }
    }

private slots:
    void brusselsHorizontal() { grab("brussels-horizontal", "0", "180"); }
    void brusselsSouthWall() { grab("brussels-south-wall", "90", "180"); }

    void locationDatabase() {
        Windows w(QGuiApplication::primaryScreen()->size());
        w.app->show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1()));
        w.form1().SpeedButton1Click();
        save(w.form4(), "location-database");
        w.form4().ListBox1->setCurrentRow(w.form4().ListBox1->count() - 1);
        w.form4().TabbedNotebook1->setCurrentIndex(1);
        w.form4().addieren->click();
        w.form4().holenClick();
        save(w.form4(), "location-database-editor");
        QVERIFY(w.dialogs.calls.isEmpty());
    }

    // The start-up form part way through, and the same form as the About box.
    void startUpFormAndAbout() {
        zenova::Tintro intro;
        intro.ProgressBar1->setValue(52);
        intro.show();
        save(intro, "start-up-form");
        Windows w(QGuiApplication::primaryScreen()->size());
        w.app->show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1()));
        w.form1().Info1->trigger();
        save(w.app->intro(), "about");
    }

    void diagramManager() {
        Windows w(QGuiApplication::primaryScreen()->size());
        QDir(w.workingDirectory.path()).mkdir("diagrams");
        for (const char* name : {"alps.ssd", "brussels.ssd", "notes.txt"}) {
            QFile(w.path(name)).open(QIODevice::WriteOnly);
        }
        w.app->show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form1()));
        w.start("4.35", "50.85", "1.0", "90", "180");
        w.form2().SpeedButton6Click();
        QTRY_COMPARE(w.form3().fileModel()->rowCount(w.form3().FileListBox1->rootIndex()), 2);
        save(w.form3(), "diagram-manager");
        QVERIFY(w.dialogs.calls.isEmpty());
    }
};

#include "screenshot_test.moc"

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("xcb") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("no X display: run under xvfb-run");
        return kSkipped;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ScreenshotTest test;
    return QTest::qExec(&test, argc, argv);
}
