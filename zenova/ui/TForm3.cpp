#include "TForm3.h"

#include "DiagramFile.h"
#include "FileAccess.h"
#include "Fields.h"
#include "Layout.h"
#include "Numeric.h"
#include "Services.h"
#include "TForm1.h"
#include "TForm2.h"
#include "ZenovaApplication.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStorageInfo>
#include <QTreeView>

#include <algorithm>
#include <sstream>

namespace zenova {

namespace {

constexpr int kClientWidth = 560;
constexpr int kClientHeight = 318;

// The folder is the other one or lies below it.
bool within(const QString& folder, const QString& other) {
    return folder == other || folder.startsWith(other.endsWith('/') ? other : other + '/');
}

}  // namespace

TForm3::TForm3(ZenovaApplication& app, const QString& folder) : app_(app) {
    setObjectName("Form3");
    setWindowTitle("Diagram-Manager");
    setFont(layout::windowFont());
    setFixedSize(kClientWidth, kClientHeight);

    layout::caption(this, "Fileiname", 8, 8);
    Edit1 = layout::field(this, "Edit1", 32767, 8, 26, 200);
    Edit1->setToolTip("Insert filename here.");
    Edit1->setText("*.ssd");

    files_ = new QFileSystemModel(this);
    files_->setObjectName("files");
    files_->setReadOnly(true);
    // The mask tells letter case apart, as the test of a name to open does.
    files_->setFilter(QDir::Files | QDir::CaseSensitive);
    files_->setNameFilterDisables(false);
    FileListBox1 = new QListView(this);
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->setToolTip("Filelist");
    FileListBox1->setGeometry(8, 56, 200, 200);
    FileListBox1->setModel(files_);

    layout::caption(this, "Filetype", 8, 264);
    FilterComboBox1 = new QComboBox(this);
    FilterComboBox1->setObjectName("FilterComboBox1");
    FilterComboBox1->setGeometry(8, 282, 200, 24);
    FilterComboBox1->addItem("ZenovaDiagrams (*.ssd)", "*.ssd");
    // "*.*" would pass over names without a point.
    FilterComboBox1->addItem("Alle Dateien (*.*)", "*");

    Label1 = layout::value(this, "Label1", 220, 8, 232);
    Label1->setToolTip("Path");
    folders_ = new QFileSystemModel(this);
    folders_->setObjectName("folders");
    folders_->setReadOnly(true);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders_->setRootPath(QDir::rootPath());
    DirectoryListBox1 = new QTreeView(this);
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    DirectoryListBox1->setToolTip("Folderlist");
    DirectoryListBox1->setGeometry(220, 26, 232, 230);
    DirectoryListBox1->setModel(folders_);
    DirectoryListBox1->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column) {
        DirectoryListBox1->hideColumn(column);
    }

    DriveComboBox1 = new QComboBox(this);
    DriveComboBox1->setObjectName("DriveComboBox1");
    DriveComboBox1->setToolTip("Choose drive here");
    DriveComboBox1->setGeometry(220, 282, 232, 24);
    QStringList places;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady()) {
            places << volume.rootPath();
        }
    }
    places << QDir::homePath();
    places.removeDuplicates();
    for (const QString& place : places) {
        DriveComboBox1->addItem(QDir::toNativeSeparators(place), place);
    }

    Button1 = layout::button(this, "Button1", "Save file", 464, 26, 88, 28);
    Button3 = layout::button(this, "Button3", "Open file", 464, 62, 88, 28);
    Button2 = layout::button(this, "Button2", "Close", 464, 98, 88, 28);

    filterChosen(FilterComboBox1->currentIndex());
    setFolder(folder);

    connect(FileListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { FileListBox1Change(); });
    connect(FileListBox1, &QListView::clicked, this, [this] { FileListBox1Change(); });
    connect(FileListBox1, &QListView::doubleClicked, this, [this] { FileListBox1DblClick(); });
    connect(DirectoryListBox1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) {
                    setFolder(folders_->filePath(current));
                }
            });
    // The folders load one by one in the background; the current one is shown once its
    // place in the tree is known.
    connect(folders_, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (within(folder_, loaded)) {
            DirectoryListBox1->scrollTo(folders_->index(folder_), QAbstractItemView::PositionAtCenter);
        }
    });
    connect(FilterComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) { filterChosen(index); });
    connect(DriveComboBox1, &QComboBox::activated, this, [this](int index) { driveChosen(index); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });

    const QSize screen = app_.services().screen.size();
    move((screen.width() - width()) / 2, std::max(0, (screen.height() - height()) / 2));
}

TForm3::~TForm3() = default;

void TForm3::setFolder(const QString& folder) {
    folder_ = QDir(folder).absolutePath();
    Label1->setText(QDir::toNativeSeparators(folder_));
    {
        const QSignalBlocker quiet(DirectoryListBox1->selectionModel());
        const QModelIndex at = folders_->index(folder_);
        DirectoryListBox1->setCurrentIndex(at);
        for (QModelIndex i = at; i.isValid(); i = i.parent()) {
            DirectoryListBox1->expand(i);
        }
        DirectoryListBox1->scrollTo(at, QAbstractItemView::PositionAtCenter);
    }
    {
        const QSignalBlocker quiet(FileListBox1->selectionModel());
        FileListBox1->setRootIndex(files_->setRootPath(folder_));
        FileListBox1->setCurrentIndex({});
    }
    // The volume the folder lies on: the longest root path that begins it.
    int volume = -1;
    qsizetype longest = -1;
    for (int i = 0; i < DriveComboBox1->count(); ++i) {
        const QString root = DriveComboBox1->itemData(i).toString();
        if (within(folder_, root) && root.size() > longest) {
            volume = i;
            longest = root.size();
        }
    }
    DriveComboBox1->setCurrentIndex(volume);
}

bool TForm3::savingMode() const { return !Button3->isEnabled(); }

void TForm3::FormActivate() {
    if (savingMode()) {
        Edit1->setText(app_.form1().Edit3->text());
    } else {
        Edit1->clear();
    }
}

void TForm3::FileListBox1Change() {
    const QModelIndex current = FileListBox1->currentIndex();
    Edit1->setText(current.isValid() ? files_->fileName(current) : QString());
}

void TForm3::FileListBox1DblClick() {
    FileListBox1Change();
    // Saving, a double click only takes the name: it must not open a file over the diagram.
    if (!savingMode()) {
        Button3Click();
    }
}

void TForm3::Button1Click() {
    TForm1& form1 = app_.form1();
    const std::string name = diagramSaveName(Edit1->text().toStdString());
    if (name.empty()) {
        inform("Please enter filename with at least one character!", "Information");
        Edit1->setText(form1.Edit3->text());
        return;
    }
    // The file holds Latin-1 alone: a text beyond it would come back changed.
    for (const QLineEdit* field : {form1.Edit3, form1.Edit1, form1.Edit2, form1.Edit6, form1.Edit4, form1.Edit5}) {
        if (const std::optional<char32_t> c = beyondLatin1(field->text())) {
            inform(beyondLatin1Message(field->text(), *c));
            return;
        }
    }
    const QString base = QString::fromStdString(name);
    const QString path = QDir(folder_).filePath(base + fromLatin1(kDiagramExtension));
    const DiagramState& state = app_.state();
    DiagramFile file;
    file.location = toLatin1(form1.Edit3->text());
    file.longitude = toLatin1(form1.Edit1->text());
    file.latitude = toLatin1(form1.Edit2->text());
    file.timeLag = toLatin1(form1.Edit6->text());
    // The whole-number fields are empty only while being typed in; the file holds a number.
    file.inclination = tidyWhole(toLatin1(form1.Edit4->text()));
    file.orientation = tidyWhole(toLatin1(form1.Edit5->text()));
    std::copy_n(state.dateLabelPositions.begin(), file.dateLabels.size(), file.dateLabels.begin());
    file.hourLabels = state.hourLabelPositions;
    std::ostringstream out;
    writeDiagramFile(out, file);
    const QByteArray bytes = QByteArray::fromStdString(out.str());
    // The file as the user is asked about it is the file replaced: one changed meanwhile
    // (by another window) is asked about again.
    FileStamp seen = stampFile(path);
    bool changedElsewhere = path == diagramPath_ && seen != diagramStamp_;
    for (;;) {
        if (seen.exists && !askOverwrite(path, changedElsewhere)) {
            return;
        }
        const Replacement written = replaceFile(path, [&](const FileStamp& now) -> std::optional<QByteArray> {
            return now == seen ? std::optional<QByteArray>(bytes) : std::nullopt;
        });
        if (!written.error.isEmpty()) {
            inform(writeFailureMessage(path, written.error));
            return;
        }
        if (written.written) {
            diagramPath_ = path;
            diagramStamp_ = written.stamp;
            break;
        }
        seen = stampFile(path);
        changedElsewhere = true;
    }
    Edit1->setText(base);
    close();
}

bool TForm3::askOverwrite(const QString& path, bool changedElsewhere) {
    const MessageRequest question =
        changedElsewhere
            ? MessageRequest{"Confirm:",
                             QString("\"%1\" was changed by another window or program since this diagram was opened "
                                     "from it or saved into it. Overwrite those changes?")
                                 .arg(QDir::toNativeSeparators(path)),
                             MessageIcon::warning,
                             {MessageButton::ok, MessageButton::cancel},
                             MessageButton::cancel}
            : MessageRequest{"Confirm:", "File already exists! Overwrite?", MessageIcon::information,
                             {MessageButton::ok, MessageButton::cancel}, MessageButton::cancel};
    return app_.services().dialogs.ask(question, this) == MessageButton::ok;
}

void TForm3::Button3Click() {
    const QString typed = Edit1->text();
    if (typed == "*.ssd") {
        return;
    }
    if (!typed.endsWith(fromLatin1(kDiagramExtension))) {
        inform("Sun Orbit Diagrams = *.ssd !");
        return;
    }
    const QString path = QDir(folder_).filePath(typed);
    FileStamp stamp = stampFile(path);
    if (!stamp.exists) {
        inform("File does not exist!");
        return;
    }
    if (!stamp.readError.isEmpty()) {
        inform(QString("\"%1\" could not be read (%2). Nothing was changed.")
                   .arg(QDir::toNativeSeparators(path), stamp.readError));
        return;
    }
    std::istringstream in(stamp.bytes.toStdString());
    const DiagramFileRead read = readDiagramFile(in);
    if (!read.file) {
        inform(QString::fromStdString(describeDiagramFault(read.fault, QDir::toNativeSeparators(path).toStdString())));
        return;
    }
    diagramPath_ = path;
    diagramStamp_ = std::move(stamp);
    const DiagramFile& file = *read.file;
    DiagramState& state = app_.state();
    std::copy(file.dateLabels.begin(), file.dateLabels.end(), state.dateLabelPositions.begin());
    state.hourLabelPositions = file.hourLabels;

    TForm1& form1 = app_.form1();
    form1.Edit2->setText(fromLatin1(file.latitude));
    form1.Edit1->setText(fromLatin1(file.longitude));
    form1.Edit6->setText(fromLatin1(file.timeLag));
    form1.Edit4->setText(fromLatin1(file.inclination));
    form1.Edit5->setText(fromLatin1(file.orientation));
    form1.Edit3->setText(fromLatin1(file.location));
    form1.ScrollBar1->setValue(parseInteger(file.inclination));
    form1.ScrollBar2->setValue(parseInteger(file.orientation));
    // The fields' own rules chose "New calculation"; the file's label places are to be kept.
    form1.RadioButton1->setEnabled(false);
    form1.RadioButton2->setEnabled(true);
    form1.RadioButton2->setChecked(true);
    app_.form2().close();
    close();
}

void TForm3::Button2Click() { close(); }

void TForm3::FormClose() {
    TForm2& form2 = app_.form2();
    app_.form1().setEnabled(true);
    form2.setEnabled(true);
    Button1->setEnabled(true);
    Button3->setEnabled(true);
    form2.placeDateLabels(app_.state());
    form2.placeHourLabels(app_.state());
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Each showing, not each return of the window to the front: the name typed stays while
    // the user looks at another program.
    if (!event->spontaneous()) {
        FormActivate();
    }
}

void TForm3::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TForm3::inform(const QString& text, const QString& caption) {
    zenova::inform(app_.services().dialogs, text, this, caption);
}

void TForm3::filterChosen(int index) {
    files_->setNameFilters({FilterComboBox1->itemData(index).toString()});
}

void TForm3::driveChosen(int index) { setFolder(DriveComboBox1->itemData(index).toString()); }

}  // namespace zenova
