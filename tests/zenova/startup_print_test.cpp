// Start-up, the screen check, shutdown and printing through the real print path to a PDF
// file, read back with poppler's tools.
#include "PictureBox.h"
#include "Printout.h"
#include "Tintro.h"
#include "window_fixture.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

#include <cmath>
#include <ctime>
#include <optional>

using namespace zenova;
using namespace zenova_test;

namespace {

QString artefact(const QString& name) {
    const QByteArray dir = qgetenv("ZENOVA_ARTEFACT_DIR");
    return (dir.isEmpty() ? QString("test-artefacts/zenova") : QString::fromLocal8Bit(dir)) + '/' + name;
}

// A program's standard output, or nothing when it could not run.
std::optional<QString> run(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(60'000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        return std::nullopt;
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

int occurrences(const QString& text, const QString& word) {
    // Not part of a longer number: "2 a.m." is not in "12 a.m.".
    const QRegularExpression re("(?<![0-9])" + QRegularExpression::escape(word).replace("\\ ", "\\s+"));
    return static_cast<int>(text.count(re));
}

// A word's box on the page in points, as poppler reads it.
struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

std::optional<Box> wordBox(const QString& boxes, const QString& word) {
    const QRegularExpression re(R"re(xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">)re" +
                                QRegularExpression::escape(word) + "<");
    const QRegularExpressionMatch m = re.match(boxes);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return Box{m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4).toDouble()};
}

// Processor time of the calling thread: the one that waits.
double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

constexpr double kPointsPerTenthMm = 72.0 / 254.0;

struct Tints {
    int navy = 0;
    int green = 0;
    int coloured = 0;  // any pixel clearly not grey
};

// Antialiased strokes blend with the white paper, so hues are told apart rather than exact
// values: navy is blue well above red and green, green is green well above the other two.
Tints tints(const QImage& image) {
    Tints t;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int r = c.red();
            const int g = c.green();
            const int b = c.blue();
            t.navy += b - r > 60 && b - g > 60;
            t.green += g - r > 60 && g - b > 60;
            t.coloured += std::max({r, g, b}) - std::min({r, g, b}) > 40;
        }
    }
    return t;
}

}  // namespace

class StartupPrintTest : public QObject {
    Q_OBJECT

private slots:
    void printsToPdf_data() {
        QTest::addColumn<QString>("inclination");
        QTest::addColumn<bool>("colour");
        QTest::newRow("horizontal-colour") << "0" << true;
        QTest::newRow("horizontal-monochrome") << "0" << false;
        QTest::newRow("tilted-colour") << "30" << true;
        QTest::newRow("tilted-monochrome") << "30" << false;
    }

    // Brussels through the print command, the diagram window asking for colour, into a PDF.
    void printsToPdf() {
        QFETCH(QString, inclination);
        QFETCH(bool, colour);
        const bool tilted = inclination != "0";
        Windows w;
        w.app->show();
        w.start("4.35", "50.85", "1.0", inclination.toLatin1().constData(), "180");
        QCOMPARE(w.edit("Edit3")->text(), QString("Belgium (Brussels)"));
        w.dialogs.answers = {colour ? MessageButton::yes : MessageButton::no};
        w.form2().SpeedButton4Click();
        QCOMPARE(w.dialogs.calls.size(), 1);  // the question only
        QVERIFY(QFile::exists(w.printing.file));

        const QString name = QString("printout-%1").arg(QTest::currentDataTag());
        QFile::remove(artefact(name + ".pdf"));
        QVERIFY(QFile::copy(w.printing.file, artefact(name + ".pdf")));
        const std::optional<QString> layout = run("pdftotext", {"-layout", w.printing.file, "-"});
        QVERIFY2(layout.has_value(), "pdftotext did not run");
        const QString& text = *layout;

        QCOMPARE(occurrences(text, "Sun Orbit Diagram"), 1);
        QCOMPARE(occurrences(text, "Year\u00b4s 1st half"), 1);
        QCOMPARE(occurrences(text, "Year\u00b4s 2nd half"), 1);
        QCOMPARE(occurrences(text, "Lokal horizon"), tilted ? 1 : 0);
        QCOMPARE(occurrences(text, "GMT +1.0 h"), 1);
        QCOMPARE(occurrences(text, "Indicated local mean time"), 1);
        QCOMPARE(occurrences(text, "Location : Belgium (Brussels)"), 1);
        QCOMPARE(occurrences(text, "Elevation"), 1);
        // The data block's fixed columns let long left values run into the right captions:
        // only the beginnings of its lines are read in order.
        QVERIFY(text.contains(QRegularExpression("Longitude\\s+:\\s+4\\.35\u00b0 E")));
        QVERIFY(text.contains(QRegularExpression("Latitude\\s+:\\s+50\\.85\u00b0")));
        QVERIFY(text.contains(QRegularExpression("Inclination\\s+:\\s+" + inclination + "\u00b0")));
        QCOMPARE(occurrences(text, "Orientation"), int{tilted});
        QCOMPARE(occurrences(text, "180\u00b0"), int{tilted});
        const QString average = QString("Yearly average daylength : %1 h %2 min")
                                    .arg(w.form2().Label84->text(), w.form2().Label85->text());
        QCOMPARE(occurrences(text, average), 1);

        // Tenths of a millimetre from the printable area's corner (5 mm margins), y upwards;
        // font heights are character cells. The title stands at (150, -100) in height 70,
        // "Elevation" centred at (cx, cy + 710) in height 40.
        const std::optional<QString> boxes = run("pdftotext", {"-bbox", w.printing.file, "-"});
        QVERIFY(boxes.has_value());
        const std::optional<Box> title = wordBox(*boxes, "Sun");
        const std::optional<Box> elevation = wordBox(*boxes, "Elevation");
        QVERIFY(title && elevation);
        const PageFrame frame = pageFrame(200, 287);
        const auto points = [](double tenths) { return (tenths + 50.0) * kPointsPerTenthMm; };
        QVERIFY(std::abs(title->left - points(150)) < 1.0);  // less the first letter's bearing
        QVERIFY(std::abs(title->top - points(100)) < 0.5);
        QVERIFY(std::abs(title->bottom - title->top - 70 * kPointsPerTenthMm) < 0.5);
        QVERIFY(std::abs((elevation->left + elevation->right) / 2 - points(frame.centreX)) < 0.5);
        QVERIFY(std::abs(elevation->top - points(-(frame.centreY + 710))) < 0.5);
        QVERIFY(std::abs(elevation->bottom - elevation->top - 40 * kPointsPerTenthMm) < 0.5);

        // Each label as often as it stands on screen; hidden ones not at all.
        const DiagramState& state = w.app->state();
        int hiddenLabels = 0;
        for (int k = 0; k < kSpecialCurve; ++k) {
            const DateLabelAnchors& a = state.dateLabelPositions[static_cast<std::size_t>(k)];
            const int shown = int{!a.first.hidden()} + int{!a.second.hidden()};
            hiddenLabels += 2 - shown;
            const QString caption = QString::fromUtf8(kCurveCaptions[static_cast<std::size_t>(k)].data());
            QCOMPARE(occurrences(text, caption), shown);
        }
        for (int h = 1; h <= 24; ++h) {
            const bool shown = !state.hourLabelPositions[static_cast<std::size_t>(h - 1)].hidden();
            hiddenLabels += int{!shown};
            QCOMPARE(occurrences(text, QString::fromStdString(hourLabelText(h))), int{shown});
        }
        QVERIFY(hiddenLabels > 0);  // Brussels has dark hours: the rule is exercised

        QVERIFY(run("pdftoppm", {"-r", "100", "-png", "-singlefile", w.printing.file, artefact(name)}));
        QImage page(artefact(name + ".png"));
        QVERIFY(!page.isNull());
        const Tints t = tints(page);
        if (colour) {
            QVERIFY2(t.navy > 2000 && t.green > 2000, qPrintable(QString("%1 %2").arg(t.navy).arg(t.green)));
        } else {
            QCOMPARE(t.coloured, 0);
        }
        // Start's display again afterwards.
        QVERIFY(w.form2().isVisible());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void printFailureIsReported_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        // The default printer where there is none: it stays busy after the failed start.
        QTest::newRow("nothing chosen yet") << QString() << "The printout could not be started.";
        QTest::newRow("no such folder") << "no such folder/printout.pdf" << "could not be written (";
    }

    // A printer that cannot start says so, and nothing else happens; once the set-up names
    // a file that can be written, every later print goes there with the settings kept.
    void printFailureIsReported() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        Windows w;
        w.app->show();
        w.start("4.35", "50.85", "1.0", "0", "180");
        w.printing.file = file.isEmpty() ? file : w.path(file);
        const QPageLayout chosen = w.printing.printer().pageLayout();
        w.dialogs.answers = {MessageButton::no};
        w.form2().SpeedButton4Click();
        QCOMPARE(w.dialogs.calls.size(), 2);
        const MessageRequest& m = w.dialogs.calls.last().request;
        QCOMPARE(m.caption, QString("Information:"));
        QVERIFY2(m.text.contains(message), qPrintable(m.text));
        QCOMPARE(m.buttons, QList<MessageButton>{MessageButton::ok});
        QVERIFY(file.isEmpty() || !QFile::exists(w.printing.file));
        QCOMPARE(QApplication::overrideCursor(), nullptr);

        QVERIFY(w.printing.printer().pageLayout().isEquivalentTo(chosen));
        w.printing.file = w.path("printout.pdf");
        w.form1().Druckereinrichten1Click();
        for (int again = 0; again < 2; ++again) {
            QFile::remove(w.printing.file);
            w.dialogs.answers = {MessageButton::no};
            w.form2().SpeedButton4Click();
            QCOMPARE(w.dialogs.calls.size(), 3 + again);  // the question only
            QVERIFY(QFile(w.printing.file).size() > 10'000);
        }
    }

    // A printout into a file on a disk that is all but full says so, and an older printout
    // stays whole.
    void printToAFullDiskKeepsTheOldFile() {
        Windows w;
        w.app->show();
        w.start("4.35", "50.85", "1.0", "30", "180");
        QFile old(w.printing.file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an older printout") == 17);
        old.close();
        w.dialogs.answers = {MessageButton::yes};
        {
            const FileSizeLimit full(4096);
            w.form2().SpeedButton4Click();
        }
        QCOMPARE(w.dialogs.calls.size(), 2);
        const QString& text = w.dialogs.calls[1].request.text;
        QVERIFY2(text.startsWith('"' + w.printing.file + "\" could not be written ("), qPrintable(text));
        QCOMPARE(w.fileBytes("printout.pdf"), QByteArray("an older printout"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // The diagram window is brought back in line after printing, but a special day's path
    // that "Sun OFF" took off the chart stays off.
    void printKeepsTheSunSwitch() {
        Windows w;
        w.app->show();
        w.start("4.35", "50.85", "1.0", "0", "180");
        const auto red = [&] {
            const QImage& chart = w.form2().Image1->image();
            int n = 0;
            for (int y = 0; y < chart.height(); ++y) {
                for (int x = 0; x < chart.width(); ++x) {
                    n += (chart.pixel(x, y) & 0xffffffu) == 0xff0000u;
                }
            }
            return n;
        };
        w.dialogs.answers = {MessageButton::no};
        w.form2().SpeedButton4Click();
        QVERIFY(red() > 200);
        QVERIFY(w.form2().Image4->isVisible());
        w.form2().SpeedButton1->click();
        QCOMPARE(red(), 0);
        w.dialogs.answers = {MessageButton::no};
        w.form2().SpeedButton4Click();
        QCOMPARE(red(), 0);
        QVERIFY(w.form2().Image4->isHidden());
    }

    void printerSetUpFromBothWindows() {
        Windows w;
        w.app->show();
        w.form1().Druckereinrichten1Click();
        w.start("4.35", "50.85", "1.0", "0", "180");
        w.form2().Druckereinrichten1->trigger();
        QCOMPARE(w.printing.setUps.size(), 2);
        // The menu's print asks the same question as the tool button.
        w.form2().Drucken1->trigger();
        QCOMPARE(w.dialogs.calls.last().request.text, QString("Colored printout ?"));
    }

    // The form shows the progress after each window and waits; then it goes.
    void startUpOrderAndProgress() {
        Windows w;
        QList<int> progress;
        QStringList windows;
        w.clock.waits.clear();
        w.clock.duringWait = [&] {
            QString made;
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->objectName() == "intro" && top->isVisible()) {
                    progress.push_back(static_cast<Tintro*>(top)->ProgressBar1->value());
                }
                const QString n = top->objectName();
                made += n.startsWith("Form") ? n.back() : QChar();
            }
            made.remove(QChar());
            std::sort(made.begin(), made.end());
            windows.push_back(made);
        };
        w.restart();
        QCOMPARE(w.clock.waits, (QList<int>{501, 501, 501, 501}));
        QCOMPARE(progress, (QList<int>{13, 39, 65, 81}));
        QCOMPARE(windows, (QStringList{"1", "12", "123", "1234"}));
        QCOMPARE(w.app->intro().ProgressBar1->value(), 100);
        QVERIFY(!w.app->intro().isVisible());
        QCOMPARE(QCoreApplication::applicationName(), QString("Zenova"));
        QCOMPARE(w.edit("Edit3")->text(), QString("Belgium (Brussels)"));
        QCOMPARE(w.form4().ListBox1->count(), shippedLocationList().split('\r').first().toInt());
    }

    // With the platform's own clock the form stands for four waits of at least 501 ms.
    void realStartUpTakesTwoSeconds() {
        RecordingDialogs dialogs;
        const SystemClock clock;
        FixedScreen screen;
        PdfPrinting printing;
        QTemporaryDir folder;
        QElapsedTimer elapsed;
        elapsed.start();
        ZenovaApplication app({dialogs, clock, screen, printing}, folder.path());
        QVERIFY(elapsed.elapsed() >= 4 * 501);

        // A wait sleeps between events rather than spinning: it costs far less processor
        // time than it takes, once the new windows' own events are done.
        QCoreApplication::processEvents();
        const double cpu = threadSeconds();
        elapsed.restart();
        clock.wait(600);
        const double used = threadSeconds() - cpu;
        QVERIFY(elapsed.elapsed() >= 600);
#ifndef __SANITIZE_ADDRESS__
        // Under AddressSanitizer the event loop itself keeps the thread busy while it waits
        // for a single timer.
        QVERIFY2(used < 0.2, qPrintable(QString::number(used)));
#else
        Q_UNUSED(used);
#endif
    }

    void aboutBox() {
        Windows w;
        w.app->show();
        w.form1().Info1->trigger();
        Tintro& about = w.app->intro();
        QVERIFY(about.isVisible());
        QCOMPARE(about.windowTitle(), QString("About"));
        QCOMPARE(about.size(), QSize(360, 277));
        QVERIFY(!about.ProgressBar1->isVisible());
        QCOMPARE(about.Bevel1->geometry(), QRect(1, 1, 358, 275));
        QCOMPARE(about.Bevel1->frameShadow(), QFrame::Sunken);
        QCOMPARE(about.line(0)->y(), 222);
        QCOMPARE(about.line(1)->y(), 238);
        QCOMPARE(about.line(2)->y(), 254);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(about.rect().contains(about.line(i)->geometry()));
        }
        about.close();
        QVERIFY(!w.app->ended());
    }

    // Fewer than 600 lines: the message on the first activation, then the program ends
    // with status 1; 600 lines are enough.
    void screenCheck() {
        Windows small({1024, 599});
        small.app->show();
        QTRY_VERIFY(small.app->ended());
        QCOMPARE(small.dialogs.calls.size(), 1);
        const MessageRequest& m = small.dialogs.calls.first().request;
        QCOMPARE(m.caption, QString("Information:"));
        QCOMPARE(m.icon, MessageIcon::information);
        QCOMPARE(m.text, QString("Zenova 1.0 requires a screen resolution from at least 600 x 800 pixels. Please "
                                 "change these settings and restart Zenova 1.0."));
        QCOMPARE(small.app->exec(), 1);
        QVERIFY(!small.form1().isVisible());

        Windows enough({1024, 600});
        enough.app->show();
        QVERIFY(QTest::qWaitForWindowActive(&enough.form1()));
        QVERIFY(enough.dialogs.calls.isEmpty());
        QVERIFY(!enough.app->ended());
    }

    // Closing the main window ends the run with other windows open; nothing is written.
    void closingTheMainWindowEnds() {
        Windows w;
        w.app->show();
        w.start("4.35", "50.85", "1.0", "0", "180");
        w.form4().show();
        const QByteArray list = w.fileBytes("Loc_def.lst");
        QTimer::singleShot(0, &w.form1(), [&] { w.form1().close(); });
        QCOMPARE(w.app->exec(), 0);
        QVERIFY(w.app->ended());
        QVERIFY(!w.form2().isVisible());
        QVERIFY(!w.form4().isVisible());
        QCOMPARE(w.fileBytes("Loc_def.lst"), list);
        QCOMPARE(QDir(w.workingDirectory.path()).entryList(QDir::Files), QStringList{"Loc_def.lst"});
    }
};

#include "startup_print_test.moc"

int runStartupPrintTests(int argc, char** argv) {
    StartupPrintTest test;
    return QTest::qExec(&test, argc, argv);
}
