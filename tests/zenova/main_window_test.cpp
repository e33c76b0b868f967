// The main window's fields, rules, scroll bars, sketches, questions and placement, driven
// through its controls as the user would.
#include "window_fixture.h"

#include <QClipboard>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

using namespace zenova;
using namespace zenova_test;

namespace {

constexpr QRgb kRed = 0xff0000u;

bool redAt(const QImage& image, int x, int y) { return (image.pixel(x, y) & 0xffffffu) == kRed; }

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Windows> w;

private slots:
    void init() {
        w = std::make_unique<Windows>();
        w->app->show();
    }
    void cleanup() { w.reset(); }

    void startsWithItsDefaults() {
        QCOMPARE(w->form1().windowTitle(), QString(" Zenova 1.02"));
        QCOMPARE(w->form2().windowTitle(), QString("Sun Orbit Diagram"));
        QCOMPARE(w->edit("Edit4")->text(), QString("0"));
        QCOMPARE(w->edit("Edit5")->text(), QString("180"));
        QCOMPARE(w->edit("Edit1")->maxLength(), 7);
        QCOMPARE(w->edit("Edit2")->maxLength(), 6);
        QCOMPARE(w->edit("Edit6")->maxLength(), 5);
        QCOMPARE(w->edit("Edit3")->maxLength(), 39);
        auto* newCalculation = w->find<QRadioButton>(&w->form1(), "RadioButton1");
        auto* oldPlotting = w->find<QRadioButton>(&w->form1(), "RadioButton2");
        QVERIFY(newCalculation->isChecked() && newCalculation->isEnabled());
        QVERIFY(!oldPlotting->isEnabled());
        QVERIFY(w->form1().Info1->isEnabled());
        QVERIFY(w->form1().New1->isEnabled());
        QCOMPARE(w->form1().Exit1->shortcut(), QKeySequence("Ctrl+X"));
        QVERIFY(w->dialogs.calls.isEmpty());
    }

    void coordinateLimits() {
        QLineEdit* latitude = w->edit("Edit2");
        retype(latitude, "91");
        QCOMPARE(w->dialogs.calls.size(), 1);
        const MessageRequest& m = w->dialogs.calls[0].request;
        QCOMPARE(m.caption, QString("Information:"));
        QCOMPARE(m.text, QString::fromUtf8("Maximum nothern latitude amounts to 90\u00b0 (North Pole)!"));
        QCOMPARE(m.icon, MessageIcon::information);
        QCOMPARE(m.buttons, QList<MessageButton>{MessageButton::ok});
        QCOMPARE(w->dialogs.calls[0].owner, &w->form1());
        QCOMPARE(latitude->text(), QString("89.00"));
        retype(latitude, "-91");
        QCOMPARE(latitude->text(), QString("-89.00"));
        QCOMPARE(w->dialogs.calls.last().request.text,
                 QString::fromUtf8("Maximum southern latitude amounts to -90\u00b0 (South Pole)!"));

        retype(w->edit("Edit1"), "181");
        QCOMPARE(w->edit("Edit1")->text(), QString("180.00"));
        QCOMPARE(w->dialogs.calls.last().request.text,
                 QString::fromUtf8("Maximum eastern longitude amounts to 180\u00b0!"));
        retype(w->edit("Edit1"), "-180.5");
        QCOMPARE(w->edit("Edit1")->text(), QString("-180.00"));
        retype(w->edit("Edit6"), "-13");
        QCOMPARE(w->edit("Edit6")->text(), QString("-12.0"));
        QCOMPARE(w->dialogs.calls.last().request.text,
                 QString("Time lag area -12 (eastern longitude neg.) <= time lag <= 12 (eastern longitude pos.)"));
        retype(w->edit("Edit6"), "12.5");
        QCOMPARE(w->edit("Edit6")->text(), QString("12.0"));
        const qsizetype messages = w->dialogs.calls.size();
        retype(w->edit("Edit6"), "-11.5");
        QCOMPARE(w->dialogs.calls.size(), messages);

        // A held key repeats its presses, not the check of its release.
        w->edit("Edit2")->setText("95");
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier, "5", true);
        QApplication::sendEvent(w->edit("Edit2"), &repeat);
        QCOMPARE(w->dialogs.calls.size(), messages);
        QCOMPARE(w->edit("Edit2")->text(), QString("95"));
    }

    void polesFixTheLocation() {
        retype(w->edit("Edit1"), "12.5");
        QCOMPARE(w->edit("Edit3")->text(), QString("Unknown"));  // the name no longer belongs to the place
        QVERIFY(w->form1().customLocation());
        retype(w->edit("Edit2"), "90");
        QCOMPARE(w->edit("Edit1")->text(), QString("0.00"));
        QCOMPARE(w->edit("Edit6")->text(), QString("0.0"));
        QCOMPARE(w->edit("Edit3")->text(), QString("North Pole"));
        retype(w->edit("Edit2"), "-90.");
        QCOMPARE(w->edit("Edit3")->text(), QString("South Pole"));
        QVERIFY(w->dialogs.calls.isEmpty());
    }

    void keyFilters() {
        QLineEdit* longitude = w->edit("Edit1");
        retype(longitude, "4,3a5x");
        QCOMPARE(longitude->text(), QString("4.35"));
        // Moving and deleting keys pass.
        QTest::keyClick(longitude, Qt::Key_Home);
        QTest::keyClick(longitude, Qt::Key_Delete);
        QTest::keyClick(longitude, Qt::Key_End);
        QTest::keyClick(longitude, Qt::Key_Backspace);
        QCOMPARE(longitude->text(), QString(".3"));
        // The whole-number fields take no comma, but a dot passes (and reads as 0).
        QLineEdit* orientation = w->edit("Edit5");
        retype(orientation, "1,2");
        QCOMPARE(orientation->text(), QString("12"));
        orientation->setText("4");
        QTest::keyClick(orientation, Qt::Key_Period);
        QCOMPARE(orientation->text(), QString("0"));
    }

    // The standard editing keys work in every number field, the location database's too,
    // and what a paste brings in passes the filter that typing does.
    void editingShortcutsInNumberFields() {
        QVERIFY(QTest::qWaitForWindowActive(&w->form1()));
        const auto ctrl = [](Qt::Key k, Qt::KeyboardModifiers more = {}) {
            return [k, more](QLineEdit* f) { QTest::keyClick(f, k, Qt::ControlModifier | more); };
        };
        const auto type = [](const char* keys) { return [keys](QLineEdit* f) { QTest::keyClicks(f, keys); }; };
        const auto end = [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_End); };
        const auto paste = [](QLineEdit* f) { f->paste(); };  // as the field's own menu does
        using Step = std::function<void(QLineEdit*)>;
        const struct {
            const char* field;  // the main window's, then with "4:" the location database's
            const char* start;
            const char* clipboard;
            std::vector<Step> steps;
            const char* shown;
            const char* copied;  // what the clipboard holds then, where it was written
        } cases[] = {
            {"Edit2", "50.85", "", {ctrl(Qt::Key_A), type("69,65")}, "69.65", nullptr},
            {"Edit1", "4.35", "", {ctrl(Qt::Key_A), ctrl(Qt::Key_C), end, type("1")}, "4.351", "4.35"},
            {"Edit6", "1.0", "UTC+5,5 h", {ctrl(Qt::Key_A), ctrl(Qt::Key_V)}, "5.5", nullptr},
            {"Edit1", "", "\t-7,25 \u00b0E", {ctrl(Qt::Key_V)}, "-7.25", nullptr},
            {"Edit4", "0", "1,5\u00b0", {ctrl(Qt::Key_A), ctrl(Qt::Key_V)}, "15", nullptr},
            {"Edit5", "180", "", {ctrl(Qt::Key_A), type("9"), ctrl(Qt::Key_Z)}, "180", nullptr},
            {"Edit1", "4.35", "", {end, type("9"), ctrl(Qt::Key_Z), ctrl(Qt::Key_Z, Qt::ShiftModifier)}, "4.359", nullptr},
            {"Edit2", "50.85", "12,5", {ctrl(Qt::Key_A), paste}, "12.5", nullptr},
            {"4:Edit4", "", "-33,9", {ctrl(Qt::Key_V)}, "-33.9", nullptr},
            {"4:Edit3", "18.42", "", {ctrl(Qt::Key_A), ctrl(Qt::Key_X)}, "", "18.42"},
        };
        for (const auto& c : cases) {
            const QString name = QString::fromLatin1(c.field);
            const bool database = name.startsWith("4:");
            if (database && !w->form4().isVisible()) {
                w->form1().SpeedButton1Click();
                w->form4().TabbedNotebook1->setCurrentIndex(1);
                w->form4().addieren->click();
            }
            QLineEdit* field =
                database ? w->find<QLineEdit>(&w->form4(), qPrintable(name.mid(2))) : w->edit(c.field);
            QVERIFY(QTest::qWaitForWindowActive(field->window()));
            field->setFocus();
            field->setText(c.start);
            QApplication::clipboard()->setText(QString::fromUtf8(c.clipboard));
            for (const Step& step : c.steps) {
                step(field);
            }
            QCOMPARE(field->text(), QString(c.shown));
            if (c.copied != nullptr) {
                QCOMPARE(QApplication::clipboard()->text(), QString(c.copied));
            }
        }
        QVERIFY(w->dialogs.calls.isEmpty());
    }

    void wholeNumberFields() {
        QLineEdit* inclination = w->edit("Edit4");
        auto* tilt = w->find<QScrollBar>(&w->form1(), "ScrollBar1");
        retype(inclination, "200");
        QCOMPARE(inclination->text(), QString("179"));
        QCOMPARE(tilt->value(), 179);
        QLineEdit* orientation = w->edit("Edit5");
        auto* facing = w->find<QScrollBar>(&w->form1(), "ScrollBar2");
        retype(orientation, "400");
        QCOMPARE(orientation->text(), QString("360"));
        QCOMPARE(facing->value(), 360);
        retype(orientation, "5-");  // a minus after digits reads as 0
        QCOMPARE(orientation->text(), QString("0"));
        orientation->clear();
        QTest::keyClick(orientation, Qt::Key_Minus);
        QCOMPARE(orientation->text(), QString(""));  // a lone minus is cleared
        QCOMPARE(facing->value(), 0);
        leave(orientation);
        QCOMPARE(orientation->text(), QString("0"));
        QCOMPARE(tilt->pageStep(), 15);
        QCOMPARE(facing->pageStep(), 45);
    }

    void changeHandlersRunForProgramChangesToo() {
        auto* newCalculation = w->find<QRadioButton>(&w->form1(), "RadioButton1");
        auto* oldPlotting = w->find<QRadioButton>(&w->form1(), "RadioButton2");
        oldPlotting->setEnabled(true);
        oldPlotting->setChecked(true);
        w->edit("Edit6")->setText("2.0");
        QCOMPARE(w->edit("Edit3")->text(), QString("Unknown"));
        QVERIFY(newCalculation->isChecked());
        QVERIFY(!oldPlotting->isEnabled());
        // A name the user typed stays when the coordinates change afterwards.
        w->edit("Edit3")->setText("Brussels");
        w->edit("Edit1")->setText("4.35");
        QCOMPARE(w->edit("Edit3")->text(), QString("Brussels"));
    }

    void fieldsTidiedWhenLeft() {
        QLineEdit* longitude = w->edit("Edit1");
        longitude->setText("7.");
        leave(longitude, Qt::ActiveWindowFocusReason);  // another window in front: not left
        leave(longitude, Qt::PopupFocusReason);         // a menu opening: not left
        QCOMPARE(longitude->text(), QString("7."));
        leave(longitude);
        QCOMPARE(longitude->text(), QString("7.00"));
        w->edit("Edit2")->setText("-0");
        leave(w->edit("Edit2"), Qt::MouseFocusReason);
        QCOMPARE(w->edit("Edit2")->text(), QString("-0.00"));
        w->edit("Edit6")->setText("5");
        leave(w->edit("Edit6"));
        QCOMPARE(w->edit("Edit6")->text(), QString("5.0"));
        w->edit("Edit4")->setText("");
        leave(w->edit("Edit4"));
        QCOMPARE(w->edit("Edit4")->text(), QString("0"));
    }

    void timeLagFromTheLongitude() {
        auto* bang = w->find<QPushButton>(&w->form1(), "BitBtn2");
        QCOMPARE(bang->text(), QString("!"));
        w->edit("Edit1")->setText("22.5");
        QTest::mouseClick(bang, Qt::LeftButton);
        QCOMPARE(w->edit("Edit6")->text(), QString("2.0"));
        w->edit("Edit1")->setText("7.5");
        bang->click();
        QCOMPARE(w->edit("Edit6")->text(), QString("0.0"));
    }

    // The user's scroll moves the field and the sketch; a position the program sets runs no
    // handler.
    void scrollBarsAndSketches() {
        auto* facing = w->find<QScrollBar>(&w->form1(), "ScrollBar2");
        const QImage& sketch = w->form1().Image1->image();
        QVERIFY(redAt(sketch, 33, 46));  // 180: the arrow points down
        facing->setSliderPosition(90);   // as a drag does
        QCOMPARE(w->edit("Edit5")->text(), QString("90"));
        QVERIFY(redAt(sketch, 46, 33));  // east: to the right
        QVERIFY(!redAt(sketch, 33, 46));
        facing->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(w->edit("Edit5")->text(), QString("135"));
        facing->setValue(300);
        QCOMPARE(w->edit("Edit5")->text(), QString("135"));

        auto* tilt = w->find<QScrollBar>(&w->form1(), "ScrollBar1");
        const QImage& side = w->form1().Image2->image();
        QVERIFY(redAt(side, 10, 33));  // flat: the surface lies to the left
        tilt->setSliderPosition(90);
        QCOMPARE(w->edit("Edit4")->text(), QString("90"));
        QVERIFY(redAt(side, 33, 10));  // vertical: it stands up
    }

    void newAndExitAsk() {
        w->edit("Edit4")->setText("45");
        w->dialogs.answers = {MessageButton::cancel};
        w->form1().SpeedButton7Click();
        QCOMPARE(w->dialogs.calls.size(), 1);
        const MessageRequest& question = w->dialogs.calls[0].request;
        QCOMPARE(question.caption, QString("Information:"));
        QCOMPARE(question.text, QString("Not saved data will be lost!"));
        QCOMPARE(question.icon, MessageIcon::warning);
        QCOMPARE(question.buttons, (QList<MessageButton>{MessageButton::ok, MessageButton::cancel}));
        QCOMPARE(question.defaultButton, MessageButton::cancel);
        QCOMPARE(w->edit("Edit4")->text(), QString("45"));
        w->dialogs.answers = {MessageButton::ok};
        w->form1().New1->trigger();
        QCOMPARE(w->edit("Edit4")->text(), QString("0"));
        QCOMPARE(w->edit("Edit5")->text(), QString("180"));
        QCOMPARE(w->find<QScrollBar>(&w->form1(), "ScrollBar2")->value(), 180);
        for (const char* name : {"Edit1", "Edit2", "Edit6", "Edit3"}) {
            QCOMPARE(w->edit(name)->text(), QString());
        }

        w->dialogs.answers = {MessageButton::cancel};
        w->find<QPushButton>(&w->form1(), "Button2")->click();
        const MessageRequest& exit = w->dialogs.calls.last().request;
        QCOMPARE(exit.caption, QString("Confirm:"));
        QCOMPARE(exit.text, QString("Exit Zenova 1.02 ?"));
        QCOMPARE(exit.icon, MessageIcon::question);
        QCOMPARE(exit.defaultButton, MessageButton::cancel);
        QVERIFY(w->form1().isVisible());
        // Ctrl+X is the menu's, even in a field.
        QVERIFY(QTest::qWaitForWindowActive(&w->form1()));
        w->edit("Edit1")->setFocus();
        w->edit("Edit1")->setText("4.35");
        w->edit("Edit1")->selectAll();
        w->dialogs.answers = {MessageButton::cancel};
        const qsizetype asked = w->dialogs.calls.size();
        QTest::keyClick(w->edit("Edit1"), Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(w->dialogs.calls.size(), asked + 1);
        QCOMPARE(w->dialogs.calls.last().request.text, QString("Exit Zenova 1.02 ?"));
        QCOMPARE(w->edit("Edit1")->text(), QString("4.35"));
        w->dialogs.answers = {MessageButton::ok};
        w->form1().Exit1->trigger();
        QVERIFY(!w->form1().isVisible());
    }

    void placementOnALargeScreen() {
        Windows large({1920, 1080});
        TForm1& f1 = large.form1();
        QCOMPARE(f1.x(), (1920 - f1.width()) / 2);
        QCOMPARE(f1.y(), (1080 - f1.height()) / 2);
        TForm2& f2 = large.form2();
        QCOMPARE(f2.client()->size(), QSize(800, 526));
        QCOMPARE(f2.x(), (1920 - f2.width()) / 2);
        QCOMPARE(f2.y(), (1080 - f2.height()) / 2);
        QCOMPARE(f2.Image1->geometry(), QRect(254, 0, 531, 505));
        Windows exact({800, 600});
        QCOMPARE(exact.form2().pos(), QPoint(0, 0));
        QCOMPARE(exact.form1().y(), (600 - exact.form1().height()) / 2);
    }

    void placementOnASmallScreen() {
        Windows small({800, 599});
        QCOMPARE(small.form1().y(), 2);
        QCOMPARE(small.form1().x(), (800 - small.form1().width()) / 2);
        QCOMPARE(small.form2().pos(), QPoint(0, 0));
        QCOMPARE(small.form2().size(), QSize(800, 574));
        QVERIFY(small.dialogs.calls.isEmpty());
    }

    // The real message box: caption, text, icon, buttons and default as asked, and never a
    // child of a disabled window (it would be disabled with it).
    void messageBoxesAsAsked() {
        MessageBoxDialogs dialogs;
        QWidget owner;
        for (const bool enabled : {false, true}) {
            owner.setEnabled(enabled);
            QString seen;
            QWidget* parent = &owner;
            QTimer::singleShot(0, this, [&] {
                QMessageBox* box = nullptr;
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    box = box != nullptr ? box : qobject_cast<QMessageBox*>(top);
                }
                if (box == nullptr) {
                    return;  // no box to answer: the test time limit ends the run
                }
                parent = box->parentWidget();
                seen = box->windowTitle() + '|' + box->text() + '|' + QString::number(box->icon()) + '|' +
                       QString::number(box->standardButtons()) + '|' +
                       QString::number(box->standardButton(box->defaultButton()));
                box->defaultButton()->click();
            });
            const MessageButton answer = dialogs.ask(
                {"Confirm:", "Exit Zenova 1.02 ?", MessageIcon::question, {MessageButton::ok, MessageButton::cancel},
                 MessageButton::cancel},
                &owner);
            QCOMPARE(answer, MessageButton::cancel);
            QCOMPARE(seen, QString("Confirm:|Exit Zenova 1.02 ?|%1|%2|%3")
                               .arg(QMessageBox::Question)
                               .arg(QMessageBox::Ok | QMessageBox::Cancel)
                               .arg(QMessageBox::Cancel));
            QCOMPARE(parent, enabled ? &owner : nullptr);
        }
    }

    // The window system's activation of the main window takes the labels' places into the
    // anchors.
    void activationTakesTheLabelPlaces() {
        QVERIFY(QTest::qWaitForWindowActive(&w->form1()));
        w->form2().label(5)->move(300, 100);
        w->form2().label(40)->move(600, 400);
        w->form2().show();
        QVERIFY(QTest::qWaitForWindowActive(&w->form2()));
        w->form1().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w->form1()));
        QCOMPARE(w->app->state().dateLabelPositions[4].first, (LabelAnchor{300, 100}));
        QCOMPARE(w->app->state().hourLabelPositions[13], (LabelAnchor{600, 400}));
    }
};

#include "main_window_test.moc"

int runMainWindowTests(int argc, char** argv) {
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
