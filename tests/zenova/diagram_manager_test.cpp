// The diagram manager: saving the diagram as arranged, opening a diagram file into the main
// window under "Old plotting", the folder and file lists, and what it refuses.
#include "DiagramFile.h"
#include "window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QTreeView>

#include <sstream>
#include <utility>

using namespace zenova;
using namespace zenova_test;

namespace {

// Where each of the 50 movable labels stands, and whether it shows.
QStringList labelPlaces(TForm2& form2) {
    QStringList places;
    for (int n = 1; n <= 50; ++n) {
        const QLabel* l = form2.label(n);
        places << QString("%1:%2,%3%4").arg(n).arg(l->x()).arg(l->y()).arg(l->isVisibleTo(form2.client()) ? "" : " hidden");
    }
    return places;
}

QStringList listedFiles(TForm3& form3) {
    QStringList names;
    const QModelIndex root = form3.FileListBox1->rootIndex();
    for (int r = 0; r < form3.fileModel()->rowCount(root); ++r) {
        names << form3.fileModel()->fileName(form3.fileModel()->index(r, 0, root));
    }
    names.sort();
    return names;
}

QByteArray goldenDiagram() {
    QFile file(ZENOVA_GOLDEN_DIAGRAM);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class DiagramManagerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Windows> w;

    TForm3& f3() { return w->form3(); }
    void write(const QString& name, const QByteArray& bytes) {
        QFile file(w->path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Start for Brussels, then the diagram window's Save.
    void startAndSave(const char* inclination = "90") {
        w->start("4.35", "50.85", "1.0", inclination, "180");
        w->find<QToolButton>(&w->form2(), "SpeedButton6")->click();
    }
    void save(const QString& name) {
        f3().Edit1->setText(name);
        f3().Button1->click();
    }
    void open(const QString& name) {
        f3().Edit1->setText(name);
        f3().Button3->click();
    }
    QStringList mainFields() {
        QStringList texts;
        for (const char* name : {"Edit3", "Edit1", "Edit2", "Edit6", "Edit4", "Edit5"}) {
            texts << w->edit(name)->text();
        }
        return texts;
    }

private slots:
    void init() {
        w = std::make_unique<Windows>();
        w->app->show();
    }
    void cleanup() { w.reset(); }

    void savesUnderACleanedName() {
        startAndSave();
        QVERIFY(f3().isVisible());
        QCOMPARE(f3().windowTitle(), QString("Diagram-Manager"));
        QVERIFY(!w->form2().isEnabled());
        QVERIFY(f3().Button1->isEnabled() && !f3().Button3->isEnabled());
        QCOMPARE(f3().Edit1->text(), QString("Belgium (Brussels)"));
        QCOMPARE(f3().currentFolder(), w->workingDirectory.path());
        QCOMPARE(f3().Label1->text(), w->workingDirectory.path());

        save("my.diagram.ssd");
        QVERIFY(w->dialogs.calls.isEmpty());
        QVERIFY(!f3().isVisible());
        QVERIFY(w->form1().isEnabled() && w->form2().isEnabled());
        QVERIFY(f3().Button1->isEnabled() && f3().Button3->isEnabled());
        QCOMPARE(f3().Edit1->text(), QString("mydiagram"));
        const QByteArray bytes = w->fileBytes("mydiagram.ssd");
        QCOMPARE(bytes.count("\r\n"), 106);
        QVERIFY(bytes.startsWith("Belgium (Brussels)\r\n4.35\r\n50.85\r\n1.0\r\n90\r\n180\r\n"));
        std::istringstream in(bytes.toStdString());
        const DiagramFileRead read = readDiagramFile(in);
        QVERIFY(read.file.has_value());
        const DiagramState& state = w->app->state();
        QVERIFY(std::equal(read.file->dateLabels.begin(), read.file->dateLabels.end(), state.dateLabelPositions.begin()));
        QVERIFY(read.file->hourLabels == state.hourLabelPositions);

        // Three characters stay; a slash joins the name instead of leading elsewhere.
        w->form2().Speichern1->trigger();
        save("ssd");
        QVERIFY(QFile::exists(w->path("ssd.ssd")));
        w->form2().Speichern1->trigger();
        save("a/b");
        QVERIFY(QFile::exists(w->path("ab.ssd")));
        // Nothing left after cleaning is no name.
        w->form2().Speichern1->trigger();
        save("...");
        QCOMPARE(w->dialogs.calls.size(), 1);
        QCOMPARE(shown(w->dialogs.calls[0].request),
                 QString("Information|Please enter filename with at least one character!|information|ok|ok"));
        QCOMPARE(w->dialogs.calls[0].owner, &f3());
        QCOMPARE(f3().Edit1->text(), QString("Belgium (Brussels)"));
        QVERIFY(f3().isVisible());
        QCOMPARE(QDir(w->workingDirectory.path()).entryList({"*.ssd"}, QDir::Files),
                 (QStringList{"ab.ssd", "mydiagram.ssd", "ssd.ssd"}));
        f3().Button2->click();
        QVERIFY(!f3().isVisible());
    }

    void overwriteAsksFirst() {
        write("alps.ssd", "old");
        startAndSave();
        save("alps.ssd");
        QCOMPARE(w->dialogs.calls.size(), 1);
        QCOMPARE(shown(w->dialogs.calls[0].request),
                 QString("Confirm:|File already exists! Overwrite?|information|ok,cancel|cancel"));
        QCOMPARE(w->fileBytes("alps.ssd"), QByteArray("old"));
        QVERIFY(f3().isVisible());
        w->dialogs.answers = {MessageButton::ok};
        save("alps");
        QVERIFY(w->fileBytes("alps.ssd").startsWith("Belgium (Brussels)\r\n"));
        QVERIFY(!f3().isVisible());
    }

    // A diagram file that another run of the program has saved since this one opened or
    // saved it is not overwritten without saying so; nor is one changed while the question is
    // open, which is asked again.
    void fileChangedByAnotherWindowIsNotOverwrittenUnasked() {
        startAndSave();
        save("wall");
        const QByteArray mine = w->fileBytes("wall.ssd");
        auto other = std::make_unique<ZenovaApplication>(w->services(), w->workingDirectory.path());
        other->form1().Laden1Click();
        other->form3().Edit1->setText("wall.ssd");
        other->form3().Button3->click();
        other->form1().Edit4->setText("45");
        other->form1().Dateispeichern1Click();
        other->form3().Edit1->setText("wall");
        w->dialogs.answers = {MessageButton::ok};
        other->form3().Button1->click();
        QCOMPARE(w->dialogs.calls.size(), 1);  // unchanged since it opened it: the plain question
        QCOMPARE(w->dialogs.calls[0].request.text, QString("File already exists! Overwrite?"));
        const QByteArray theirs = w->fileBytes("wall.ssd");
        QVERIFY(theirs != mine);
        other.reset();

        const QString changed = "Confirm:|\"" + w->path("wall.ssd") +
                                "\" was changed by another window or program since this diagram was opened from it or "
                                "saved into it. Overwrite those changes?|warning|ok,cancel|cancel";
        w->find<QToolButton>(&w->form2(), "SpeedButton6")->click();
        w->dialogs.answers = {MessageButton::cancel};
        save("wall");
        QCOMPARE(w->dialogs.calls.size(), 2);
        QCOMPARE(shown(w->dialogs.calls[1].request), changed);
        QCOMPARE(w->fileBytes("wall.ssd"), theirs);
        QVERIFY(f3().isVisible());

        // Written again while the first answer is given: asked again.
        w->dialogs.answers = {MessageButton::ok, MessageButton::ok};
        w->dialogs.duringAsk = [&, first = true]() mutable {
            if (std::exchange(first, false)) {
                write("wall.ssd", goldenDiagram());
            }
        };
        save("wall");
        w->dialogs.duringAsk = nullptr;
        QCOMPARE(w->dialogs.calls.size(), 4);
        QCOMPARE(shown(w->dialogs.calls[2].request), changed);
        QCOMPARE(shown(w->dialogs.calls[3].request), changed);
        QCOMPARE(w->fileBytes("wall.ssd"), mine);
        QVERIFY(!f3().isVisible());

        // Saved by this window and unchanged since: the plain question.
        w->find<QToolButton>(&w->form2(), "SpeedButton6")->click();
        w->dialogs.answers = {MessageButton::ok};
        save("wall");
        QCOMPARE(w->dialogs.calls.last().request.text, QString("File already exists! Overwrite?"));
        QCOMPARE(w->fileBytes("wall.ssd"), mine);
    }

    // A diagram file is Latin-1 too: a location beyond it is refused, naming the character
    // (a whole one, not half a pair), and nothing is written.
    void namesBeyondLatin1AreRefused() {
        startAndSave();
        w->edit("Edit3")->setText("Home \U0001F3E0");
        save("home");
        QCOMPARE(w->dialogs.calls.size(), 1);
        const QString& text = w->dialogs.calls[0].request.text;
        QVERIFY2(text.contains("\"\U0001F3E0\" (U+1F3E0)"), qPrintable(text));
        QVERIFY(!QFile::exists(w->path("home.ssd")));
        QVERIFY(f3().isVisible());
        w->edit("Edit3")->setText("São Tomé");
        save("home");
        QCOMPARE(w->dialogs.calls.size(), 1);
        QVERIFY(w->fileBytes("home.ssd").startsWith("S\xe3o Tom\xe9\r\n"));
    }

    void failedWriteKeepsTheOldFile_data() {
        QTest::addColumn<WriteFault>("fault");
        QTest::newRow("read-only folder") << WriteFault::readOnlyFolder;
        QTest::newRow("read-only file") << WriteFault::readOnlyFile;
        QTest::newRow("disk all but full") << WriteFault::fileSizeLimit;
    }

    // A diagram file that cannot be written leaves the old one whole, says so, and the
    // manager stays open; nothing half-written is left beside it.
    void failedWriteKeepsTheOldFile() {
        QFETCH(WriteFault, fault);
        write("wall.ssd", goldenDiagram());
        startAndSave("45");
        w->dialogs.answers = {MessageButton::ok};
        withWriteFault(fault, w->path("wall.ssd"), 100, [&] { save("wall"); });
        QCOMPARE(w->dialogs.calls.size(), 2);
        const MessageRequest& m = w->dialogs.calls[1].request;
        QCOMPARE(m.caption, QString("Information:"));
        QVERIFY2(m.text.startsWith('"' + w->path("wall.ssd") + "\" could not be written ("), qPrintable(m.text));
        QCOMPARE(w->fileBytes("wall.ssd"), goldenDiagram());
        QVERIFY(f3().isVisible());
        QCOMPARE(QDir(w->workingDirectory.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{"Loc_def.lst", "wall.ssd"}));
    }

    // Overwriting what is no file (a folder of that name) fails at the last step, the
    // renaming, and says so too.
    void overwritingAFolderIsRefused() {
        QVERIFY(QDir(w->workingDirectory.path()).mkpath("wall.ssd/inside"));
        startAndSave("45");
        w->dialogs.answers = {MessageButton::ok};
        save("wall");
        QCOMPARE(w->dialogs.calls.size(), 2);
        QVERIFY2(w->dialogs.calls[1].request.text.startsWith('"' + w->path("wall.ssd") + "\" could not be written ("),
                 qPrintable(w->dialogs.calls[1].request.text));
        QVERIFY(QFileInfo(w->path("wall.ssd/inside")).isDir());
        QVERIFY(f3().isVisible());
        QCOMPARE(QDir(w->workingDirectory.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Loc_def.lst"});
    }

    void openRefusesWhatIsNoDiagram() {
        const QStringList before = mainFields();
        w->form1().Laden1->trigger();
        QVERIFY(f3().isVisible());
        QVERIFY(!w->form1().isEnabled());
        QVERIFY(!f3().Button1->isEnabled() && f3().Button3->isEnabled());
        QCOMPARE(f3().Edit1->text(), QString());
        open("*.ssd");
        QVERIFY(w->dialogs.calls.isEmpty());
        QVERIFY(f3().isVisible());
        open("alps.txt");
        QCOMPARE(shown(w->dialogs.calls.last().request),
                 QString("Information:|Sun Orbit Diagrams = *.ssd !|information|ok|ok"));
        open("ALPS.SSD");  // the extension tells letter case apart
        QCOMPARE(w->dialogs.calls.last().request.text, QString("Sun Orbit Diagrams = *.ssd !"));
        open("nothere.ssd");
        QCOMPARE(w->dialogs.calls.last().request.text, QString("File does not exist!"));
        QByteArray broken = goldenDiagram();
        broken.replace("\r\n90\r\n180\r\n", "\r\n200\r\n180\r\n");
        write("broken.ssd", broken);
        open("broken.ssd");
        QCOMPARE(w->dialogs.calls.size(), 4);
        QCOMPARE(w->dialogs.calls.last().request.text,
                 QString::fromStdString(describeDiagramFault({5, "the inclination, a whole number from 0 to 179"},
                                                             w->path("broken.ssd").toStdString())));
        QCOMPARE(mainFields(), before);
        QVERIFY(f3().isVisible());
        f3().close();
        QVERIFY(w->form1().isEnabled());
        w->find<QToolButton>(&w->form1(), "SpeedButton2")->click();
        QVERIFY(f3().isVisible() && !f3().Button1->isEnabled());
    }

    // Saved, opened again and started under "Old plotting": the same six texts and every
    // label where it stood, hidden ones included.
    void saveOpenAndStartRestoreTheDiagram() {
        w->start("4.35", "50.85", "1.0", "90", "180");
        drag(w->form2().label(7), 40, 30);
        drag(w->form2().label(30), 240 - w->form2().label(30)->x(), 490 - w->form2().label(30)->y());  // trash
        QVERIFY(!w->form2().label(30)->isVisibleTo(w->form2().client()));
        const QStringList places = labelPlaces(w->form2());
        const QStringList texts = mainFields();
        w->find<QToolButton>(&w->form2(), "SpeedButton6")->click();
        save("wall");
        QCOMPARE(labelPlaces(w->form2()), places);
        w->form2().close();

        // Another diagram moves every label and changes every field.
        w->start("-74.01", "40.71", "-5.0", "0", "0");
        w->form2().close();
        QVERIFY(labelPlaces(w->form2()) != places);

        w->form1().Laden1Click();
        open("wall.ssd");
        QVERIFY(w->dialogs.calls.isEmpty());
        QVERIFY(!f3().isVisible() && !w->form2().isVisible());
        QVERIFY(w->form1().isEnabled());
        QCOMPARE(mainFields(), texts);
        QCOMPARE(w->find<QScrollBar>(&w->form1(), "ScrollBar1")->value(), 90);
        QCOMPARE(w->find<QScrollBar>(&w->form1(), "ScrollBar2")->value(), 180);
        QVERIFY(w->find<QRadioButton>(&w->form1(), "RadioButton2")->isChecked());
        QVERIFY(w->find<QRadioButton>(&w->form1(), "RadioButton2")->isEnabled());
        QVERIFY(!w->find<QRadioButton>(&w->form1(), "RadioButton1")->isEnabled());
        QCOMPARE(labelPlaces(w->form2()), places);
        w->form1().Button4Click();
        QCOMPARE(labelPlaces(w->form2()), places);

        // The file survives a restart.
        w->restart();
        w->form1().Laden1Click();
        open("wall.ssd");
        QCOMPARE(mainFields(), texts);
        w->form1().Button4Click();
        QCOMPARE(labelPlaces(w->form2()), places);
    }

    void fileAndFolderLists() {
        write("a.ssd", goldenDiagram());
        write("B.SSD", goldenDiagram());
        write("notes.txt", "x");
        QDir(w->workingDirectory.path()).mkdir("sub");
        w->form1().Laden1Click();
        // The mask tells letter case apart, as opening does.
        QTRY_COMPARE(listedFiles(f3()), QStringList{"a.ssd"});
        QCOMPARE(f3().FilterComboBox1->currentText(), QString("ZenovaDiagrams (*.ssd)"));
        f3().FilterComboBox1->setCurrentIndex(1);
        QCOMPARE(f3().FilterComboBox1->currentText(), QString("Alle Dateien (*.*)"));
        QTRY_COMPARE(listedFiles(f3()), (QStringList{"B.SSD", "Loc_def.lst", "a.ssd", "notes.txt"}));
        f3().FilterComboBox1->setCurrentIndex(0);
        QTRY_COMPARE(listedFiles(f3()), QStringList{"a.ssd"});

        // Saving, a double click only takes the name.
        f3().close();
        w->form1().Dateispeichern1Click();
        QCOMPARE(f3().Edit1->text(), QString("Belgium (Brussels)"));
        const QModelIndex a = f3().fileModel()->index(w->path("a.ssd"));
        QTRY_VERIFY(f3().FileListBox1->visualRect(a).isValid());
        doubleClick(f3().FileListBox1, a);
        QCOMPARE(f3().Edit1->text(), QString("a.ssd"));
        QVERIFY(f3().isVisible());
        QVERIFY(w->dialogs.calls.isEmpty());
        f3().close();
        // Opening, it opens.
        w->form1().Laden1Click();
        QCOMPARE(f3().Edit1->text(), QString());
        QTRY_VERIFY(f3().FileListBox1->visualRect(a).isValid());
        doubleClick(f3().FileListBox1, a);
        QVERIFY(!f3().isVisible());
        QCOMPARE(w->edit("Edit3")->text(), QString("Belgium (Brussels)"));
        QCOMPARE(w->edit("Edit4")->text(), QString("90"));

        // The folder list moves the current folder; the volumes and the home folder are
        // offered.
        w->form1().Laden1Click();
        auto* folders = static_cast<QFileSystemModel*>(f3().DirectoryListBox1->model());
        f3().DirectoryListBox1->setCurrentIndex(folders->index(w->path("sub")));
        QCOMPARE(f3().currentFolder(), w->path("sub"));
        QCOMPARE(f3().Label1->text(), w->path("sub"));
        QTRY_COMPARE(listedFiles(f3()), QStringList{});
        QVERIFY(f3().DriveComboBox1->findData(QDir::homePath()) >= 0);
        QVERIFY(f3().DriveComboBox1->count() >= 2);
        f3().Edit1->setText("deep");
        f3().close();
        w->form1().Dateispeichern1Click();
        save("deep");
        QVERIFY(QFile::exists(w->path("sub/deep.ssd")));
    }
};

#include "diagram_manager_test.moc"

int runDiagramManagerTests(int argc, char** argv) {
    DiagramManagerTest test;
    return QTest::qExec(&test, argc, argv);
}
