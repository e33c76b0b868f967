// The location database window: the start-up hand-over, choosing a place for the main
// window, the editor's fields and modes, and every change written to the list's file.
#include "FileAccess.h"
#include "Locations.h"
#include "window_fixture.h"

#include <QCollator>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>

#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zenova;
using namespace zenova_test;

namespace {

QString padded(const QString& name) { return name.leftJustified(40, ' '); }

// One line of the list as the file holds it.
QByteArray record(int number, const char* name, const char* lon, const char* lat, const char* lag,
                  const char* status) {
    return QString::asprintf("%3d  %-40s%7s    %6s  %5s  %s\r\n", number, name, lon, lat, lag, status).toLatin1();
}

QByteArray list(const QList<QByteArray>& records) {
    return QByteArray::number(records.size()) + "\r\n" + records.join();
}

const QList<QByteArray> kAbc{record(1, "A", "1.00", "2.00", "3.0", "ok"), record(2, "B", "4.00", "5.00", "6.0", "ok"),
                             record(3, "C", "7.00", "8.00", "9.0", "ok")};

}  // namespace

class LocationWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Windows> w;

    TForm4& f4() { return w->form4(); }
    int rowOf(const QString& name) {
        const QList<QListWidgetItem*> items = f4().ListBox1->findItems(padded(name), Qt::MatchExactly);
        return items.isEmpty() ? -1 : f4().ListBox1->row(items.front());
    }
    // The user picks an entry of the list.
    void pick(const QString& name) {
        const int row = rowOf(name);
        QVERIFY2(row >= 0, qPrintable(name));
        f4().ListBox1->setCurrentRow(row);
    }
    void openEditor() {
        w->form1().SpeedButton1Click();
        f4().TabbedNotebook1->setCurrentIndex(1);
    }
    // A new record typed into the editor, not posted yet.
    void typeNew(const char* name, const char* lon, const char* lat, const char* lag) {
        f4().addieren->click();
        retype(f4().Edit2, name);
        retype(f4().Edit3, lon);
        retype(f4().Edit4, lat);
        retype(f4().Edit5, lag);
    }
    QStringList mainFields() {
        return {w->edit("Edit3")->text(), w->edit("Edit1")->text(), w->edit("Edit2")->text(), w->edit("Edit6")->text()};
    }
    bool idle() {
        return f4().mode() == TForm4::EditMode::none && f4().BitBtn1->isVisible() && f4().BitBtn2->isVisible() &&
               f4().ListBox1->isEnabled() && !f4().holen->isVisible();
    }

private slots:
    void init() {
        w = std::make_unique<Windows>();
        w->app->show();
    }
    void cleanup() { w.reset(); }

    void startUpHandsBrusselsToTheMainWindow() {
        QVERIFY(w->dialogs.calls.isEmpty());
        QCOMPARE(mainFields(), (QStringList{"Belgium (Brussels)", "4.35", "50.85", "1.0"}));
        QVERIFY(!w->form1().customLocation());
        QVERIFY(!w->form1().BitBtn2->isEnabled());
        QVERIFY(w->find<QRadioButton>(&w->form1(), "RadioButton1")->isChecked());
        QVERIFY(!f4().isVisible());
        QCOMPARE(f4().windowTitle(), QString("Location Database"));
        QCOMPARE(f4().ListBox1->currentItem()->text(), padded("Belgium (Brussels)"));
        QCOMPARE(f4().Label15->text(), padded("Belgium (Brussels)"));
        // Sorted regardless of letter case, in the user's language; Latin-1 letters read as such.
        QCOMPARE(f4().ListBox1->count(), 58);
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        for (int r = 1; r < f4().ListBox1->count(); ++r) {
            QVERIFY(collator.compare(f4().ListBox1->item(r - 1)->text(), f4().ListBox1->item(r)->text()) <= 0);
        }
        QVERIFY(rowOf("United Kingdom (London)") < rowOf("USA (Anchorage)"));
        QVERIFY(rowOf(QString::fromUtf8("Switzerland (Z\u00fcrich)")) > 0);
    }

    void missingListGivesEquator() {
        Windows none({1920, 1080}, std::nullopt);
        QCOMPARE(none.dialogs.calls.size(), 1);
        QCOMPARE(shown(none.dialogs.calls[0].request),
                 "Information:|" + QString::fromLatin1(kMissingListMessage) + "|information|ok|ok");
        QCOMPARE(none.edit("Edit3")->text(), QString("Equator"));
        QCOMPARE(none.edit("Edit1")->text(), QString("0.00"));
        QCOMPARE(none.edit("Edit2")->text(), QString("0.00"));
        QCOMPARE(none.edit("Edit6")->text(), QString("0.0"));
        QVERIFY(!none.form4().listAvailable());
        none.form1().SpeedButton1Click();
        QVERIFY(!none.form4().isVisible());
    }

    void otherListsAtStartUp() {
        {
            // Found by a name that differs only in letter case, which is the file written.
            Windows upper({1920, 1080}, shippedLocationList(), "LOC_DEF.LST");
            QVERIFY(upper.dialogs.calls.isEmpty());
            QCOMPARE(upper.edit("Edit3")->text(), QString("Belgium (Brussels)"));
            QVERIFY(upper.form4().listPath().endsWith("/LOC_DEF.LST"));
        }
        {
            // Without Brussels the first entry is taken.
            Windows other({1920, 1080}, list({record(1, "Zeta", "10.00", "20.00", "1.0", "no"),
                                              record(2, "alpha", "-10.00", "-20.00", "-1.0", "no")}));
            QCOMPARE(other.edit("Edit3")->text(), QString("alpha"));
            QCOMPARE(other.edit("Edit1")->text(), QString("-10.00"));
        }
        {
            // No record: "Equator", and a window with nothing to choose.
            Windows empty({1920, 1080}, QByteArray("0\r\n"));
            QVERIFY(empty.dialogs.calls.isEmpty());
            QCOMPARE(empty.edit("Edit3")->text(), QString("Equator"));
            TForm4& f = empty.form4();
            empty.form1().SpeedButton1Click();
            QVERIFY(f.isVisible());
            for (QPushButton* b : {f.BitBtn1, f.loeschen, f.editieren, f.uebergeben}) {
                QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
            }
            QVERIFY(f.addieren->isEnabled());
            for (QPushButton* b : {f.BitBtn5, f.BitBtn6, f.BitBtn3, f.BitBtn4}) {
                b->click();
            }
            QCOMPARE(f.ListBox1->currentRow(), -1);
            QVERIFY(f.Label15->text().isEmpty() && f.Edit3->text().isEmpty());
            f.BitBtn1->click();  // nothing to hand over
            QCOMPARE(empty.edit("Edit3")->text(), QString("Equator"));
        }
        {
            // Lines that do not read: one message naming them, and the rest taken.
            Windows bad({1920, 1080}, list({record(1, "Good", "1.00", "2.00", "3.0", "no"),
                                            record(2, "Bad", "1.00", "95.00", "3.0", "ok")}));
            QCOMPARE(bad.dialogs.calls.size(), 1);
            QVERIFY(bad.dialogs.calls[0].request.text.contains("lines passed over: 3 (latitude)"));
            QVERIFY(bad.dialogs.calls[0].request.text.contains(bad.path("Loc_def.lst")));
            QCOMPARE(bad.form4().table().records.size(), 1u);
            QCOMPARE(bad.edit("Edit3")->text(), QString("Good"));
        }
    }

    void openedFromTheMainWindow() {
        QTest::mouseDClick(w->edit("Edit3"), Qt::LeftButton);
        QVERIFY(f4().isVisible());
        QVERIFY(!w->form1().isEnabled());
        QCOMPARE(f4().TabbedNotebook1->currentIndex(), 0);
        pick("Japan (Tokyo)");
        f4().BitBtn2->click();  // Cancel hands nothing over
        QVERIFY(!f4().isVisible());
        QVERIFY(w->form1().isEnabled());
        QCOMPARE(w->edit("Edit3")->text(), QString("Belgium (Brussels)"));
        w->find<QPushButton>(&w->form1(), "BitBtn1")->click();
        QVERIFY(f4().isVisible());
        QVERIFY(!w->form1().isEnabled());
        f4().close();
        QVERIFY(w->form1().isEnabled());
    }

    void okHandsTheChoiceOver() {
        w->edit("Edit1")->setText("12.5");
        QVERIFY(w->form1().customLocation());
        w->form1().SpeedButton1Click();
        pick("Japan (Tokyo)");
        QCOMPARE(f4().Label15->text(), padded("Japan (Tokyo)"));
        QCOMPARE(f4().Label16->text(), QString(" 139.69"));
        QCOMPARE(f4().Edit2->text(), QString("Japan (Tokyo)"));
        QCOMPARE(f4().Edit3->text(), QString("139.69"));
        QCOMPARE(f4().Edit5->text(), QString("9.0"));
        QVERIFY(!f4().Edit3->isEnabled());
        // A shipped record: only Insert.
        QVERIFY(f4().addieren->isEnabled());
        for (QPushButton* b : {f4().loeschen, f4().editieren, f4().uebergeben, f4().abbrechen}) {
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        }
        f4().BitBtn1->click();
        QCOMPARE(mainFields(), (QStringList{"Japan (Tokyo)", "139.69", "35.69", "9.0"}));
        QVERIFY(!w->form1().customLocation());
        QVERIFY(!w->form1().BitBtn2->isEnabled());
        QVERIFY(w->find<QRadioButton>(&w->form1(), "RadioButton1")->isChecked());
        QVERIFY(!w->find<QRadioButton>(&w->form1(), "RadioButton2")->isEnabled());
        QVERIFY(!f4().isVisible());
        QVERIFY(w->form1().isEnabled());

        // Enter in the list, and a double click, do the same.
        w->form1().SpeedButton1Click();
        pick("Peru (Lima)");
        QTest::keyClick(f4().ListBox1, Qt::Key_Return);
        QCOMPARE(mainFields(), (QStringList{"Peru (Lima)", "-77.04", "-12.05", "-5.0"}));
        QVERIFY(!f4().isVisible());
        w->form1().SpeedButton1Click();
        pick("Kenya (Nairobi)");
        doubleClick(f4().ListBox1, f4().ListBox1->currentIndex());
        QCOMPARE(w->edit("Edit3")->text(), QString("Kenya (Nairobi)"));
        QVERIFY(!f4().isVisible());
    }

    void navigation() {
        w->form1().SpeedButton1Click();
        QListWidget* l = f4().ListBox1;
        const int last = l->count() - 1;
        const auto at = [&](int row) { return l->currentRow() == row && f4().Label15->text() == l->item(row)->text(); };
        f4().BitBtn5->click();
        QVERIFY(at(0));
        f4().BitBtn6->click();
        QVERIFY(at(0));
        f4().BitBtn3->click();
        QVERIFY(at(1));
        f4().BitBtn4->click();
        QVERIFY(at(last));
        f4().BitBtn3->click();
        QVERIFY(at(last));
        f4().BitBtn6->click();
        QVERIFY(at(last - 1));
    }

    void fieldRulesWhileTyping() {
        openEditor();
        f4().addieren->click();
        QCOMPARE(f4().mode(), TForm4::EditMode::inserting);
        QVERIFY(f4().holen->isVisible());
        QVERIFY(!f4().BitBtn1->isVisible() && !f4().BitBtn2->isVisible());
        // Nothing else can be chosen or changed while a record is entered.
        for (QWidget* c : std::initializer_list<QWidget*>{f4().addieren, f4().editieren, f4().loeschen, f4().ListBox1,
                                                          f4().BitBtn5, f4().BitBtn6, f4().BitBtn3, f4().BitBtn4,
                                                          f4().uebergeben}) {
            QVERIFY2(!c->isEnabled(), qPrintable(c->objectName()));
        }
        QVERIFY(f4().Edit2->isEnabled() && f4().Edit2->text().isEmpty() && f4().Label15->text().isEmpty());

        // Typed, and left or not: tidied when left, limited while typing, and the main
        // window's key filter (a comma is a point, other keys do not type).
        const struct {
            QLineEdit* field;
            const char* typed;
            bool left;
            const char* shown;
        } cases[] = {
            {f4().Edit3, "7.", true, "7.00"},     {f4().Edit3, "-0", true, "-0.00"},  {f4().Edit3, "200", false, "180.00"},
            {f4().Edit3, "-200", false, "-180.00"}, {f4().Edit5, "1,5", false, "1.5"}, {f4().Edit5, "1,5", true, "1.5"},
            {f4().Edit5, "x-3h", false, "-3"},    {f4().Edit5, "13", false, "12.0"}, {f4().Edit4, "95", false, "90.00"},
        };
        for (const auto& c : cases) {
            retype(c.field, c.typed);
            if (c.left) {
                leave(c.field);
            }
            QCOMPARE(c.field->text(), QString(c.shown));
        }
        QCOMPARE(f4().Label16->text(), QString("-0.00"));  // the last longitude left
        QCOMPARE(f4().Label18->text(), QString("1.5"));
        // A pole fixes the rest until the latitude changes.
        retype(f4().Edit4, "90");
        leave(f4().Edit4);
        QCOMPARE(f4().Edit4->text(), QString("90.00"));
        QCOMPARE(f4().Edit2->text(), QString("North Pole"));
        QCOMPARE(f4().Label15->text(), QString("North Pole "));
        QCOMPARE(f4().Edit3->text(), QString("0.00"));
        QCOMPARE(f4().Edit5->text(), QString("0.0"));
        QVERIFY(!f4().Edit2->isEnabled() && !f4().Edit3->isEnabled() && !f4().Edit5->isEnabled());
        QVERIFY(f4().uebergeben->isEnabled());
        retype(f4().Edit4, "-45");
        QVERIFY(f4().Edit2->isEnabled() && f4().Edit3->isEnabled() && f4().Edit5->isEnabled());
        f4().Edit2->clear();
        QVERIFY(!f4().uebergeben->isEnabled());
        // Entering the name field takes the name shown, without its trailing blanks.
        f4().Label15->setText("Somewhere   ");
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(f4().Edit2, &in);
        QCOMPARE(f4().Edit2->text(), QString("Somewhere"));

        f4().abbrechen->click();
        QVERIFY(idle());
        QVERIFY(!f4().Edit2->isEnabled());
        QCOMPARE(f4().Edit2->text(), QString("Belgium (Brussels)"));
        QVERIFY(f4().addieren->isEnabled());
        QCOMPARE(w->fileBytes("Loc_def.lst"), shippedLocationList());
    }

    void getDataFromTheMainWindow() {
        w->edit("Edit3")->setText("Garden");
        w->edit("Edit1")->setText("5.5");
        openEditor();
        f4().addieren->click();
        f4().holen->click();
        QCOMPARE(f4().Edit2->text(), QString("Garden"));
        QCOMPARE(f4().Edit3->text(), QString("5.5"));
        QCOMPARE(f4().Edit4->text(), QString("50.85"));
        QCOMPARE(f4().Label15->text(), QString("Garden "));
        QCOMPARE(f4().Label18->text(), QString("1.0"));
        f4().uebergeben->click();
        QCOMPARE(f4().table().records.back().longitudeText, std::string("   5.50"));
    }

    // Posting writes the whole list at once; edits and inserts survive a restart. An edit,
    // then an insert, leaves the edited record as it was posted.
    void postsWriteTheListAndSurviveARestart() {
        openEditor();
        typeNew("Home", "7.5", "-45", "-3");
        f4().uebergeben->click();
        QVERIFY(w->dialogs.calls.isEmpty());
        QByteArray expected = shippedLocationList();
        expected.replace(0, 2, "59");
        expected += record(59, "Home", "7.50", "-45.00", "-3.0", "ok");
        QCOMPARE(w->fileBytes("Loc_def.lst"), expected);
        QVERIFY(idle());
        QCOMPARE(f4().TabbedNotebook1->currentIndex(), 0);
        QCOMPARE(f4().ListBox1->currentItem()->text(), padded("Home"));
        QVERIFY(f4().editieren->isEnabled() && f4().loeschen->isEnabled());

        f4().TabbedNotebook1->setCurrentIndex(1);
        f4().editieren->click();
        QCOMPARE(f4().mode(), TForm4::EditMode::editing);
        QVERIFY(!f4().addieren->isEnabled() && !f4().editieren->isEnabled() && !f4().ListBox1->isEnabled());
        retype(f4().Edit3, "8");
        f4().uebergeben->click();
        QVERIFY(idle());
        f4().TabbedNotebook1->setCurrentIndex(1);
        typeNew("Cabin", "9", "10", "1");
        f4().uebergeben->click();
        expected.replace(0, 2, "60");
        expected.replace(expected.indexOf(" 59  Home"), 73, record(59, "Home", "8.00", "-45.00", "-3.0", "ok").left(73));
        expected += record(60, "Cabin", "9.00", "10.00", "1.0", "ok");
        QCOMPARE(w->fileBytes("Loc_def.lst"), expected);

        // Names are unique, an edit's own name excepted; a refused post keeps its mode.
        f4().TabbedNotebook1->setCurrentIndex(1);
        typeNew("Home", "1", "1", "1");
        f4().uebergeben->click();
        QCOMPARE(w->dialogs.calls.size(), 1);
        QCOMPARE(shown(w->dialogs.calls[0].request),
                 "Information:|" + QString::fromLatin1(kDuplicateMessage) + "|information|ok|ok");
        QCOMPARE(f4().mode(), TForm4::EditMode::inserting);
        f4().abbrechen->click();
        pick("Cabin");
        f4().editieren->click();
        retype(f4().Edit2, "Home");
        f4().uebergeben->click();
        QCOMPARE(w->dialogs.calls.size(), 2);
        QCOMPARE(f4().mode(), TForm4::EditMode::editing);
        retype(f4().Edit2, "Cabin");
        retype(f4().Edit4, "11");
        f4().uebergeben->click();
        QCOMPARE(w->dialogs.calls.size(), 2);
        QVERIFY(idle());
        QCOMPARE(w->fileBytes("Loc_def.lst"), expected.replace("  10.00   ", "  11.00   "));

        w->restart();
        QVERIFY(w->dialogs.calls.isEmpty());
        QCOMPARE(w->form4().table().records.size(), 60u);
        QCOMPARE(w->fileBytes("Loc_def.lst"), expected);
        w->form1().SpeedButton1Click();
        pick("Cabin");
        QCOMPARE(w->form4().Label17->text(), QString(" 11.00"));
    }

    // Two runs of the program on one list, the second started later: every post keeps what
    // the other has written since this one read the list, in place of the whole table read
    // at start-up. Last, another program edits the file in place, keeping its size and time.
    void twoWindowsOnOneListLoseNoEntry() {
        auto second = std::make_unique<ZenovaApplication>(w->services(), w->workingDirectory.path());
        TForm4& a = f4();
        TForm4& b = second->form4();
        const auto post = [](TForm4& f, const char* name, const char* lon) {
            f.TabbedNotebook1->setCurrentIndex(1);
            f.addieren->click();
            retype(f.Edit2, name);
            retype(f.Edit3, lon);
            retype(f.Edit4, "45");
            retype(f.Edit5, "1");
            f.uebergeben->click();
        };
        const auto choose = [](TForm4& f, const char* name) {
            const QList<QListWidgetItem*> found = f.ListBox1->findItems(padded(name), Qt::MatchExactly);
            QVERIFY2(found.size() == 1, name);
            f.ListBox1->setCurrentItem(found.front());
        };
        w->form1().SpeedButton1Click();
        second->form1().SpeedButton1Click();

        post(b, "Bravo", "7");
        post(a, "Alpha", "6");
        QVERIFY(rowOf("Bravo") >= 0);  // the other's record shows here too
        choose(b, "Bravo");
        b.editieren->click();
        retype(b.Edit3, "8");
        b.uebergeben->click();
        choose(a, "Alpha");
        w->dialogs.answers = {MessageButton::ok};
        a.loeschen->click();
        QCOMPARE(w->dialogs.calls.size(), 1);  // the question before the deletion, nothing else
        QByteArray expected = shippedLocationList();
        expected.replace(0, 2, "59");
        expected += record(59, "Bravo", "8.00", "45.00", "1.0", "ok");
        QCOMPARE(w->fileBytes("Loc_def.lst"), expected);
        QCOMPARE(a.table().records.size(), 59u);
        QVERIFY(rowOf("Alpha") < 0);

        // Changed in place: the same file, size and time, other bytes.
        const QByteArray list = QFile::encodeName(w->path("Loc_def.lst"));
        struct stat before {};
        QCOMPARE(::stat(list.constData(), &before), 0);
        {
            QFile file(w->path("Loc_def.lst"));
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(expected.indexOf("Bravo") + 40));  // the longitude after the name
            QCOMPARE(file.write("   9.00"), 7);
        }
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(::utimensat(AT_FDCWD, list.constData(), times, 0), 0);
        post(a, "Charlie", "5");
        expected.replace(0, 2, "60");
        expected.replace(expected.indexOf("Bravo") + 40, 7, "   9.00");
        expected += record(60, "Charlie", "5.00", "45.00", "1.0", "ok");
        QCOMPARE(w->fileBytes("Loc_def.lst"), expected);
        QCOMPARE(w->dialogs.calls.size(), 1);
        second.reset();
    }

    // A post waits while another window writes into the list's folder, and then looks at what
    // that one wrote: two posts cannot cross between a look at the list and its write.
    void oneWriterAtATime() {
        const QString list = w->path("Loc_def.lst");
        const int folder = ::open(QFile::encodeName(w->workingDirectory.path()).constData(), O_RDONLY | O_DIRECTORY);
        QVERIFY(folder >= 0);
        QCOMPARE(::flock(folder, LOCK_EX), 0);  // the other window, in the middle of its post
        QByteArray seen;
        std::thread post([&] {
            replaceFile(list, [&](const FileStamp& now) -> std::optional<QByteArray> {
                seen = now.bytes;
                return now.bytes + "mine";
            });
        });
        QThread::msleep(50);  // time enough for a post that does not wait to look at the list
        const QString error = writeWholeFile(list, "theirs");
        ::close(folder);
        post.join();
        QVERIFY(error.isEmpty());
        QCOMPARE(seen, QByteArray("theirs"));
        QCOMPARE(w->fileBytes("Loc_def.lst"), QByteArray("theirsmine"));
    }

    // Two records of one name from a file: each entry stands for its own record.
    void entriesOfEqualNamesAreTheirOwnRecords() {
        Windows twins({1920, 1080}, list({record(1, "Twin", "1.00", "1.00", "1.0", "no"),
                                          record(2, "Twin", "2.00", "2.00", "2.0", "ok"),
                                          record(3, "Belgium (Brussels)", "4.35", "50.85", "1.0", "no")}));
        TForm4& f = twins.form4();
        twins.form1().SpeedButton1Click();
        // Brussels sorts first; the twins follow in file order.
        QCOMPARE(f.ListBox1->item(1)->text(), f.ListBox1->item(2)->text());
        f.ListBox1->setCurrentRow(2);
        QCOMPARE(f.Label16->text(), QString("   2.00"));
        QVERIFY(f.editieren->isEnabled());
        f.ListBox1->setCurrentRow(1);
        QVERIFY(!f.editieren->isEnabled());
        f.ListBox1->setCurrentRow(2);
        f.BitBtn1->click();
        QCOMPARE(twins.edit("Edit1")->text(), QString("2.00"));
        twins.form1().SpeedButton1Click();
        f.ListBox1->setCurrentRow(2);
        twins.dialogs.answers = {MessageButton::ok};
        f.loeschen->click();
        QCOMPARE(twins.fileBytes("Loc_def.lst"),
                 list({record(1, "Twin", "1.00", "1.00", "1.0", "no"),
                       record(2, "Belgium (Brussels)", "4.35", "50.85", "1.0", "no")}));
    }

    void deleting() {
        Windows abc({1920, 1080}, list(kAbc));
        TForm4& f = abc.form4();
        abc.form1().SpeedButton1Click();
        f.BitBtn4->click();
        QCOMPARE(f.Label15->text(), padded("C"));
        abc.dialogs.answers = {MessageButton::cancel};
        f.loeschen->click();
        QCOMPARE(shown(abc.dialogs.calls.last().request), QString("Confirm:|Delete Dataset ?|question|ok,cancel|cancel"));
        QCOMPARE(abc.fileBytes("Loc_def.lst"), list(kAbc));
        // The last entry gone, the one above it is selected.
        abc.dialogs.answers = {MessageButton::ok};
        f.loeschen->click();
        QCOMPARE(f.ListBox1->currentRow(), 1);
        QCOMPARE(f.Label15->text(), padded("B"));
        QCOMPARE(abc.fileBytes("Loc_def.lst"), list({kAbc[0], kAbc[1]}));
        // The first gone, the new first is selected; the last record takes its place.
        f.BitBtn5->click();
        abc.dialogs.answers = {MessageButton::ok};
        f.loeschen->click();
        QCOMPARE(f.Label15->text(), padded("B"));
        abc.dialogs.answers = {MessageButton::ok};
        f.loeschen->click();
        QCOMPARE(abc.fileBytes("Loc_def.lst"), QByteArray("0\r\n"));
        QVERIFY(f.Label15->text().isEmpty() && f.Edit2->text().isEmpty());
        QVERIFY(!f.loeschen->isEnabled() && !f.editieren->isEnabled() && !f.BitBtn1->isEnabled());
        f.BitBtn6->click();
        f.BitBtn3->click();
        QCOMPARE(f.ListBox1->currentRow(), -1);
        f.TabbedNotebook1->setCurrentIndex(1);
        f.addieren->click();
        retype(f.Edit2, "A");
        retype(f.Edit3, "1");
        retype(f.Edit4, "2");
        retype(f.Edit5, "3");
        f.uebergeben->click();
        QCOMPARE(abc.fileBytes("Loc_def.lst"), list({kAbc[0]}));
    }

    void fullListRefusesAnInsert() {
        QList<QByteArray> records;
        for (int i = 1; i <= 250; ++i) {
            records << record(i, qPrintable(QString("Place %1").arg(i)), "1.00", "1.00", "1.0", "ok");
        }
        Windows full({1920, 1080}, list(records));
        QVERIFY(full.dialogs.calls.isEmpty());
        TForm4& f = full.form4();
        full.form1().SpeedButton1Click();
        f.TabbedNotebook1->setCurrentIndex(1);
        f.addieren->click();
        retype(f.Edit2, "Place 1");  // a name taken already: the capacity is told first
        retype(f.Edit3, "1");
        retype(f.Edit4, "1");
        retype(f.Edit5, "1");
        f.uebergeben->click();
        QCOMPARE(full.dialogs.calls.size(), 1);
        QCOMPARE(shown(full.dialogs.calls[0].request),
                 "Information:|" + QString::fromLatin1(kCapacityMessage) + "|information|ok|ok");
        QCOMPARE(f.mode(), TForm4::EditMode::inserting);
        QCOMPARE(full.fileBytes("Loc_def.lst"), list(records));
    }

    // The list is Latin-1: a name beyond it is refused, naming the character, and stays in
    // the editor as typed; one within it is stored byte for byte.
    void namesBeyondLatin1AreRefused() {
        openEditor();
        const std::pair<const char*, const char*> refused[] = {{"東京 Tōkyō", "\"東\" (U+6771)"},
                                                               {"Tōkyō", "\"ō\" (U+014D)"}};
        for (const auto& [name, character] : refused) {
            typeNew("x", "139.69", "35.69", "9");
            f4().Edit2->setText(QString::fromUtf8(name));  // the test's keys are ASCII
            f4().uebergeben->click();
            QCOMPARE(w->dialogs.calls.size(), 1);
            const QString& text = w->dialogs.calls[0].request.text;
            QVERIFY2(text.contains(QString::fromUtf8(character)), qPrintable(text));
            w->dialogs.calls.clear();
            QCOMPARE(w->fileBytes("Loc_def.lst"), shippedLocationList());
            QCOMPARE(f4().mode(), TForm4::EditMode::inserting);
            f4().Edit2Enter();
            QCOMPARE(f4().Edit2->text(), QString::fromUtf8(name));
            f4().abbrechen->click();
        }
        typeNew("x", "6.73", "0.34", "0");
        f4().Edit2->setText("São Tomé");
        f4().uebergeben->click();
        QVERIFY(w->dialogs.calls.isEmpty());
        QVERIFY(w->fileBytes("Loc_def.lst").contains("S\xe3o Tom\xe9 "));
    }

    void failedWriteChangesNothing_data() {
        QTest::addColumn<WriteFault>("fault");
        QTest::newRow("read-only folder") << WriteFault::readOnlyFolder;
        QTest::newRow("disk all but full") << WriteFault::fileSizeLimit;
    }

    // A list that cannot be written stays as it was, in the file and in the window.
    void failedWriteChangesNothing() {
        QFETCH(WriteFault, fault);
        openEditor();
        typeNew("Home", "1", "2", "3");
        withWriteFault(fault, w->path("Loc_def.lst"), 4096, [&] { f4().uebergeben->click(); });
        QCOMPARE(w->dialogs.calls.size(), 1);
        const MessageRequest& m = w->dialogs.calls[0].request;
        QCOMPARE(m.caption, QString("Information:"));
        QVERIFY2(m.text.startsWith('"' + w->path("Loc_def.lst") + "\" could not be written ("), qPrintable(m.text));
        QCOMPARE(w->fileBytes("Loc_def.lst"), shippedLocationList());
        QCOMPARE(f4().table().records.size(), 58u);
        QCOMPARE(f4().mode(), TForm4::EditMode::inserting);
        QCOMPARE(QDir(w->workingDirectory.path()).entryList(QDir::Files), QStringList{"Loc_def.lst"});
        f4().uebergeben->click();  // the folder writable again
        QCOMPARE(f4().table().records.size(), 59u);
    }
};

#include "location_window_test.moc"

int runLocationWindowTests(int argc, char** argv) {
    LocationWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
