// Start and the diagram window: progress, the data panel, legend, readouts, sunrises and
// sunsets, the special day, dragging labels and closing, driven through the controls.
#include "Numeric.h"
#include "Readouts.h"
#include "window_fixture.h"

#include <QProgressBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

using namespace zenova;
using namespace zenova_test;

namespace {

constexpr QRgb kNavy = 0x000080u;
constexpr QRgb kGreen = 0x008000u;
constexpr QRgb kRed = 0xff0000u;
constexpr QRgb kSilver = 0xc0c0c0u;
constexpr QRgb kBlack = 0x000000u;

QRgb rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xffffffu; }

int count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += rgb(image, x, y) == colour;
        }
    }
    return n;
}

QString readout(Windows& w) {
    return w.label("Label52")->text() + ':' + w.label("Label54")->text() + ' ' + w.label("Label55")->text();
}

QString sunrises(Windows& w) {
    QStringList parts;
    for (const char* name : {"Label79", "Label101", "Label81", "Label102", "Label97", "Label103", "Label99", "Label104"}) {
        parts << w.label(name)->text();
    }
    return parts.join('|');
}

}  // namespace

class DiagramWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Windows> w;

    QScrollBar* dayBar() { return w->find<QScrollBar>(&w->form2(), "ScrollBar1"); }
    QScrollBar* timeBar() { return w->find<QScrollBar>(&w->form2(), "ScrollBar2"); }
    QToolButton* sunButton() { return w->find<QToolButton>(&w->form2(), "SpeedButton1"); }
    QRadioButton* radio(const char* name) { return w->find<QRadioButton>(&w->form1(), name); }

private slots:
    void init() {
        w = std::make_unique<Windows>();
        w->app->show();
    }
    void cleanup() { w.reset(); }

    void whiteBeforeTheFirstStart() {
        QCOMPARE(count(w->form1().savedChart(), 0xffffffu), 531 * 505);
        QCOMPARE(count(w->form2().Image1->image(), 0xffffffu), 531 * 505);
        QVERIFY(!w->form2().isVisible());
        QCOMPARE(w->label("Label51")->text(), QString("June 21"));
        QCOMPARE(w->label("Label57")->text(), QString("-----"));
        for (int n = 1; n <= 50; ++n) {
            const QLabel* l = w->form2().label(n);
            QCOMPARE(l->objectName(), QString("Label%1").arg(n));
            QCOMPARE(l->pos(), QPoint(-50, 0));
            QVERIFY(l->isHidden());
        }
        QCOMPARE(w->form2().label(13)->text(), QString("Dec. 21"));
        QCOMPARE(w->form2().label(27)->text(), QString("1 a.m."));
        QCOMPARE(w->form2().label(38)->text(), QString("12 p.m."));
        QCOMPARE(w->form2().label(50)->text(), QString("12 a.m."));
        QCOMPARE(timeBar()->maximum(), 1439);
        QCOMPARE(timeBar()->pageStep(), 60);
        QCOMPARE(dayBar()->minimum(), 1);
        QCOMPARE(dayBar()->pageStep(), 30);
    }

    // Progress 5, two per date curve, three per hour line (held at 100), 0 at the end; the
    // hourglass stands while the diagram is computed.
    void startProgressAndCursor() {
        auto* bar = w->find<QProgressBar>(&w->form1(), "ProgressBar1");
        QList<int> values;
        bool waiting = true;
        connect(bar, &QProgressBar::valueChanged, this, [&](int v) {
            values << v;
            if (v > 5 && v < 100) {
                waiting = waiting && QApplication::overrideCursor() != nullptr &&
                          QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            }
        });
        w->start("4.35", "50.85", "1.0", "0", "180");
        QList<int> expected{5};
        for (int v = 7; v <= 31; v += 2) {
            expected << v;
        }
        for (int v = 34; v <= 100; v += 3) {
            expected << v;
        }
        expected << 0;
        QCOMPARE(values, expected);
        QVERIFY(waiting);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void startShowsTheDiagram() {
        w->edit("Edit3")->setText("Brussels");
        w->start("4.35", "50.85", "1.0", "0", "180");
        TForm2& f2 = w->form2();
        QVERIFY(f2.isVisible());
        QVERIFY(!w->form1().isEnabled());
        QCOMPARE(w->edit("Edit5")->text(), QString("0"));  // a horizontal surface faces nowhere
        QCOMPARE(w->label("Label65")->text(), QString("Brussels"));
        QCOMPARE(w->label("Label66")->text(), QString("4.35"));
        QCOMPARE(w->label("Label67")->text(), QString("50.85"));
        QCOMPARE(w->label("Label113")->text(), QString("1.0"));
        QCOMPARE(w->label("Label69")->text(), QString("0"));
        QVERIFY(w->label("Label68")->isHidden());  // no orientation row for a horizontal surface
        QCOMPARE(w->label("Label83")->text(), QString("4380"));
        QCOMPARE(w->label("Label84")->text(), QString("12"));
        QCOMPARE(w->label("Label85")->text(), QString("0"));
        // The fixed clock says 21 June, 2:30 p.m.
        QCOMPARE(readout(*w), QString("2:30 p.m."));
        QCOMPARE(timeBar()->value(), 14 * 60 + 30);
        QCOMPARE(dayBar()->value(), 172);
        QCOMPARE(w->label("Label51")->text(), QString("June 21"));
        QCOMPARE(w->label("Label78")->text(), QString("June 21"));
        QVERIFY(sunButton()->isChecked());
        QCOMPARE(sunButton()->text(), QString("Sun ON"));
        QVERIFY(w->label("Label57")->text().endsWith(QString::fromUtf8(" \u00b0")));
        QVERIFY(f2.Image4->isVisible());
        // Chart, special day in red, and the saved chart without it.
        const QImage& chart = f2.Image1->image();
        QVERIFY(count(chart, kNavy) > 2500);
        QVERIFY(count(chart, kGreen) > 2500);
        QVERIFY(count(chart, kRed) > 200);
        QCOMPARE(count(w->form1().savedChart(), kRed), 0);
        // Legend: silver, the two halves, the special day; no local horizon.
        const QImage& legend = f2.Image3->image();
        QCOMPARE(rgb(legend, 30, 3), kSilver);
        QCOMPARE(rgb(legend, 30, 11), kNavy);
        QCOMPARE(rgb(legend, 30, 28), kGreen);
        QCOMPARE(rgb(legend, 30, 62), kRed);
        QCOMPARE(rgb(legend, 30, 46), kSilver);
        QVERIFY(f2.localHorizonLegend->isHidden());
        // Labels placed on the chart.
        QVERIFY(f2.label(1)->isVisible());
        QVERIFY(f2.label(38)->isVisible());   // noon
        QVERIFY(!f2.label(27)->isVisible());  // 1 a.m.: night
    }

    void tiltedSurfaceShowsItsOrientationAndHorizon() {
        w->start("4.35", "50.85", "1.0", "90", "180");
        QVERIFY(w->label("Label68")->isVisible());
        QCOMPARE(w->label("Label68")->text(), QString("180"));
        QVERIFY(w->form2().localHorizonLegend->isVisible());
        const QImage& legend = w->form2().Image3->image();
        QString pattern;
        for (int x = 2; x < 14; ++x) {
            pattern += rgb(legend, x, 46) == kBlack ? '#' : '.';
        }
        QCOMPARE(pattern, QString("#..#..#..#.."));
        const int hours = w->label("Label83")->text().toInt();
        QVERIFY(hours > 1500 && hours < 4380);
    }

    void startRunsThePendingLeave() {
        QVERIFY(QTest::qWaitForWindowActive(&w->form1()));
        QLineEdit* longitude = w->edit("Edit1");
        longitude->setFocus();
        QCOMPARE(QApplication::focusWidget(), longitude);
        longitude->setText("7.");
        w->form1().Button4Click();
        QCOMPARE(longitude->text(), QString("7.00"));
        QCOMPARE(w->label("Label66")->text(), QString("7.00"));
    }

    void timeScroll() {
        w->start("4.35", "50.85", "1.0", "0", "180");
        const QList<QPair<int, QString>> cases{{0, "12:00 a.m."},   {59, "12:59 a.m."},  {720, "12:00 p.m."},
                                               {779, "12:59 p.m."}, {780, "1:00 p.m."},  {1439, "11:59 p.m."}};
        for (const auto& [minute, shown] : cases) {
            timeBar()->setSliderPosition(minute);
            QCOMPARE(readout(*w), shown);
            QCOMPARE(w->form2().selectedMinute(), minute);
        }
        timeBar()->setSliderPosition(12 * 60 + 44);  // solar noon at Brussels
        QVERIFY(w->label("Label59")->text().startsWith("180.") || w->label("Label59")->text().startsWith("179."));
        QCOMPARE(w->form2().selectedClockTime(), 12.0 + 44.0 / 60.0);
        timeBar()->setSliderPosition(60);
        QCOMPARE(w->label("Label57")->text(), QString("-----"));
        QCOMPARE(w->label("Label59")->text(), QString("-----"));
        QVERIFY(w->form2().Image4->isHidden());
    }

    void dayScrollAndSunOnOff() {
        w->start("4.35", "50.85", "1.0", "0", "180");
        dayBar()->setSliderPosition(365);
        QCOMPARE(w->label("Label51")->text(), QString("Dec. 31"));
        QCOMPARE(w->label("Label78")->text(), QString("Dec. 31"));
        QCOMPARE(w->form2().Edit1->text(), QString("365"));
        QCOMPARE(w->label("Label91")->text(), QString("7"));
        sunButton()->click();
        QCOMPARE(sunButton()->text(), QString("Sun OFF"));
        QCOMPARE(count(w->form2().Image1->image(), kRed), 0);
        QVERIFY(w->form2().Image4->isHidden());
        QVERIFY(w->label("Label77")->isHidden());
        QVERIFY(w->label("Label78")->isHidden());
        QCOMPARE(rgb(w->form2().Image3->image(), 30, 62), kSilver);
        // The scroll bars still update the texts, and the symbol stays hidden.
        dayBar()->setSliderPosition(172);
        QCOMPARE(w->label("Label51")->text(), QString("June 21"));
        QCOMPARE(w->label("Label78")->text(), QString("Dec. 31"));
        QCOMPARE(w->label("Label91")->text(), QString("16"));
        timeBar()->setSliderPosition(12 * 60);
        QVERIFY(w->label("Label57")->text() != "-----");
        QVERIFY(w->form2().Image4->isHidden());
        sunButton()->click();
        QCOMPARE(sunButton()->text(), QString("Sun ON"));
        QVERIFY(count(w->form2().Image1->image(), kRed) > 200);
        QVERIFY(w->form2().Image4->isVisible());
        QCOMPARE(w->label("Label78")->text(), QString("June 21"));
        // Sun OFF before the next Start leaves no caption without its day.
        sunButton()->click();
        w->form2().close();
        w->form1().Button4Click();
        QVERIFY(w->label("Label77")->isVisible());
        QVERIFY(w->label("Label78")->isVisible());
    }

    // With "Sun OFF" the readout takes the intervals of the day in the day field, not those
    // of the special day drawn last. A north wall at Brussels sees the June sun at 4:40 a.m.;
    // in December the sun then stands below the horizon, though in front of the wall.
    void sunOffReadoutUsesTheDayShown() {
        w->start("4.35", "50.85", "1.0", "90", "0");
        timeBar()->setSliderPosition(4 * 60 + 40);
        QVERIFY(w->label("Label57")->text() != "-----");
        sunButton()->click();
        SunContext probe = w->app->context();
        position(probe, 355, 4.0 + 40.0 / 60.0);
        QVERIFY(probe.surfaceSunElevation > 0.0);
        dayBar()->setSliderPosition(355);
        QCOMPARE(w->label("Label57")->text(), QString("-----"));
        QCOMPARE(w->label("Label59")->text(), QString("-----"));
    }

    void polarDayAndNight() {
        w->clock.time = QDateTime(QDate(2024, 6, 21), QTime(3, 0));
        w->start("25.00", "70.00", "2.0", "0", "180");
        QCOMPARE(w->label("Label91")->text(), QString("24"));
        QCOMPARE(w->label("Label92")->text(), QString("0"));
        QCOMPARE(sunrises(*w), QString("12:00|a.m.|11:59|p.m.|-------||-------|"));
        QVERIFY(w->label("Label57")->text() != "-----");  // the midnight sun
        dayBar()->setSliderPosition(355);
        QCOMPARE(sunrises(*w), QString("-------||-------||-------||-------|"));
        QCOMPARE(w->label("Label91")->text(), QString("0"));
        for (const int minute : {0, 300, 720, 1000, 1439}) {
            timeBar()->setSliderPosition(minute);
            QCOMPARE(w->label("Label57")->text(), QString("-----"));
            QCOMPARE(w->label("Label59")->text(), QString("-----"));
        }
        // A surface facing away from the sun all day.
        w->form2().close();
        w->start("0.00", "0.00", "0.0", "179", "180");
        dayBar()->setSliderPosition(172);
        QCOMPARE(w->label("Label79")->text(), QString("-------"));
        QCOMPARE(w->label("Label97")->text(), QString("-------"));
    }

    // Far from its time zone's meridian a place's sunrise comes before midnight on the
    // clock: it is written at its clock time.
    void sunriseBeforeMidnightReadsAsAClockTime() {
        w->start("180.00", "45.00", "-11.0", "0", "180");
        dayBar()->setSliderPosition(172);
        const SunshineTimes& t = w->app->state().annualSunshineTimes[172];
        QVERIFY(t.firstStart < 0.0);
        const double clock = t.firstStart + 24.0;  // 5 a.m. or so
        const int hour = static_cast<int>(clock);
        const int minute = static_cast<int>((clock - hour) * 60.0);
        QCOMPARE(w->label("Label79")->text(), QString("%1:%2").arg(hour).arg(minute, 2, 10, QChar('0')));
        QCOMPARE(w->label("Label101")->text(), QString("a.m."));
        const QStringList parts = w->label("Label79")->text().split(':');
        QCOMPARE(parts.size(), 2);
        QVERIFY(parts[0].toInt() >= 1 && parts[0].toInt() <= 12);
        QVERIFY(!parts[1].contains('-'));
    }

    // McMurdo, west wall: the curve of 4 February no longer jumps from the bottom of the
    // chart to its top at solar midnight (a navy line down the column at x 266).
    void polarCurveStaysInPlace() {
        w->start("166.67", "-77.85", "12.0", "90", "270");
        // Other curves cross that column; the jump alone filled all 440 pixels of it.
        const QImage& chart = w->form1().savedChart();
        int curve = 0;
        for (int y = 30; y < 470; ++y) {
            curve += rgb(chart, 266, y) == kNavy || rgb(chart, 266, y) == kGreen;
        }
        QVERIFY2(curve < 150, qPrintable(QString::number(curve)));
    }

    void dragLabels() {
        w->start("4.35", "50.85", "1.0", "0", "180");
        QLabel* label = w->form2().label(38);
        const QPoint from = label->pos();
        drag(label, 30, -20);
        QCOMPARE(label->pos(), from + QPoint(30, -20));
        // Right button, or left with a modifier: no drag.
        drag(label, 40, 40, Qt::RightButton);
        QCOMPARE(label->pos(), from + QPoint(30, -20));
        drag(label, 40, 40, Qt::LeftButton, Qt::ShiftModifier);
        QCOMPARE(label->pos(), from + QPoint(30, -20));
        // Beyond the right end of the chart the label stops at 740.
        drag(label, 800 - label->x(), 0);
        QCOMPARE(label->pos(), QPoint(740, from.y() - 20));
        // Dropped on the trash can it is hidden, parked at (-50, 0).
        drag(label, 240 - label->x(), 490 - label->y());
        QCOMPARE(label->pos(), QPoint(-50, 0));
        QVERIFY(label->isHidden());
        QLabel* date = w->form2().label(3);
        drag(date, 300 - date->x(), 600 - date->y());
        QCOMPARE(date->pos(), QPoint(300, 505));
        QVERIFY(date->isVisible());
    }

    // Activation copies the labels' places into the anchors, and Start under "Old plotting"
    // puts them back.
    void oldPlottingKeepsDraggedLabels() {
        w->start("4.35", "50.85", "1.0", "30", "180");
        QLabel* date = w->form2().label(5);
        QLabel* hour = w->form2().label(40);
        drag(date, 300 - date->x(), 100 - date->y());
        drag(hour, 600 - hour->x(), 400 - hour->y());
        w->form2().close();
        QVERIFY(w->form1().isEnabled());
        QVERIFY(radio("RadioButton2")->isChecked() && radio("RadioButton2")->isEnabled());
        QVERIFY(!radio("RadioButton1")->isChecked());
        w->form1().FormActivate();
        QCOMPARE(w->app->state().dateLabelPositions[4].first, (LabelAnchor{300, 100}));
        QCOMPARE(w->app->state().hourLabelPositions[13], (LabelAnchor{600, 400}));
        date->move(1, 1);
        w->form1().Button4Click();
        QCOMPARE(date->pos(), QPoint(300, 100));
        QCOMPARE(hour->pos(), QPoint(600, 400));
        // Under "New calculation" they go back to the curves.
        w->form2().close();
        radio("RadioButton1")->setChecked(true);
        w->form1().Button4Click();
        QVERIFY(date->pos() != QPoint(300, 100));
        QVERIFY(hour->pos() != QPoint(600, 400));
    }

    // Kept as the program always did it: Start with a horizontal surface sets the
    // orientation to 0, and that change selects "New calculation" again.
    void horizontalStartSelectsNewCalculation() {
        w->start("4.35", "50.85", "1.0", "0", "0");
        w->form2().close();
        QVERIFY(radio("RadioButton2")->isChecked());
        w->edit("Edit5")->setText("90");
        radio("RadioButton2")->setEnabled(true);
        radio("RadioButton2")->setChecked(true);
        w->form1().Button4Click();
        QVERIFY(radio("RadioButton1")->isChecked());
    }

    void hourPositionsChangeAndRestore() {
        w->start("4.35", "50.85", "1.0", "0", "180");
        QLabel* noon = w->form2().label(38);
        QLabel* date = w->form2().label(2);
        const QPoint summer = noon->pos();
        const QPoint dateAnchor = date->pos();
        w->find<QToolButton>(&w->form2(), "SpeedButton3")->click();
        QCOMPARE(w->app->context().longestDay, 354);
        QVERIFY(noon->y() > summer.y() + 50);  // the winter sun stands low: further down
        QVERIFY(!w->form2().label(32)->isVisible());  // 6 a.m. is dark in December
        drag(date, 20, 20);
        w->find<QToolButton>(&w->form2(), "SpeedButton7")->click();
        QCOMPARE(w->app->context().longestDay, 354);
        QCOMPARE(date->pos(), dateAnchor);
        w->form2().SpeedButton3Click();
        QCOMPARE(noon->pos(), summer);
    }

    void printAsksForColour() {
        w->start("4.35", "50.85", "1.0", "0", "180");
        QVERIFY(w->find<QToolButton>(&w->form2(), "SpeedButton4")->isEnabled());
        QVERIFY(w->form2().Drucken1->isEnabled());
        w->dialogs.answers = {MessageButton::yes};
        w->form2().SpeedButton4Click();
        const MessageRequest& q = w->dialogs.calls.last().request;
        QCOMPARE(q.caption, QString("Confirm:"));
        QCOMPARE(q.text, QString("Colored printout ?"));
        QCOMPARE(q.icon, MessageIcon::question);
        QCOMPARE(q.buttons, (QList<MessageButton>{MessageButton::yes, MessageButton::no, MessageButton::cancel}));
        QCOMPARE(q.defaultButton, MessageButton::no);
        QCOMPARE(w->dialogs.calls.last().owner, &w->form2());
        QVERIFY(w->form2().colouredPrintout());
        w->dialogs.answers = {MessageButton::cancel};
        w->form2().SpeedButton4Click();
        QVERIFY(w->form2().colouredPrintout());
        w->form2().SpeedButton4Click();  // answered with its default, No
        QVERIFY(!w->form2().colouredPrintout());
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    void closeViaToolButtonAndMenu() {
        w->start("4.35", "50.85", "1.0", "0", "180");
        w->find<QToolButton>(&w->form2(), "SpeedButton5")->click();
        QVERIFY(!w->form2().isVisible());
        QVERIFY(w->form1().isEnabled());
        w->form1().Button4Click();
        QVERIFY(!w->form1().isEnabled());
        w->form2().Schlieen1->trigger();
        QVERIFY(!w->form2().isVisible());
        QVERIFY(w->form1().isEnabled());
    }

    void smallScreenScrollsTheDiagram() {
        Windows small({640, 480});
        small.start("4.35", "50.85", "1.0", "0", "180");
        QCOMPARE(small.form2().size(), QSize(640, 455));
        QScrollArea* area = small.form2().scrollArea();
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        area->verticalScrollBar()->setValue(30);
        small.form2().close();
        small.form1().Button4Click();
        QCOMPARE(area->verticalScrollBar()->value(), 0);
    }
};

#include "diagram_window_test.moc"

int runDiagramWindowTests(int argc, char** argv) {
    DiagramWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
