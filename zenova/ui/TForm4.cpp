#include "TForm4.h"

#include "FieldKeys.h"
#include "FileAccess.h"
#include "Layout.h"
#include "Services.h"
#include "TForm1.h"
#include "ZenovaApplication.h"

#include <QCloseEvent>
#include <QCollator>
#include <QDir>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include <algorithm>
#include <numeric>
#include <sstream>
#include <vector>

namespace zenova {

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 420;
constexpr int kLocationsPage = 0;

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int x, int y) {
    return layout::button(parent, name, text, x, y, 84, 26);
}

}  // namespace

TForm4::TForm4(ZenovaApplication& app, QString folder) : app_(app), folder_(std::move(folder)) {
    setObjectName("Form4");
    setWindowTitle("Location Database");
    setFont(layout::windowFont());
    setFixedSize(kClientWidth, kClientHeight);

    const auto row = [this](const QString& caption, int y, const QString& name, int width, const QString& unit) {
        layout::caption(this, caption, 8, y);
        QLabel* value = layout::value(this, name, 170, y, width);
        if (!unit.isEmpty()) {
            layout::caption(this, unit, 174 + width, y);
        }
        return value;
    };
    Label15 = row("Location", 10, "Label15", 222, "");
    Label16 = row("Degree of longitude :", 30, "Label16", 56, "\u00b0 E");
    Label17 = row("Degree of latitude    :", 50, "Label17", 56, "\u00b0 N");
    Label18 = row("Time lag referring to GMT :", 70, "Label18", 56, "h  ");

    TabbedNotebook1 = new QTabWidget(this);
    TabbedNotebook1->setObjectName("TabbedNotebook1");
    TabbedNotebook1->setGeometry(8, 96, 384, 276);
    auto* locations = new QWidget;
    locations->setObjectName("Locations");
    TabbedNotebook1->addTab(locations, "Locations");
    auto* editor = new QWidget;
    editor->setObjectName("Editor");
    TabbedNotebook1->addTab(editor, "Editor");

    ListBox1 = new QListWidget(locations);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setToolTip("List of accessible locations");
    ListBox1->setGeometry(8, 8, 260, 230);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    BitBtn5 = button(locations, "BitBtn5", "First", 280, 8);
    BitBtn6 = button(locations, "BitBtn6", "Prior", 280, 40);
    BitBtn3 = button(locations, "BitBtn3", "Next", 280, 72);
    BitBtn4 = button(locations, "BitBtn4", "Last", 280, 104);

    layout::caption(editor, "Location :", 8, 14);
    Edit2 = layout::field(editor, "Edit2", 39, 120, 10, 240);
    layout::caption(editor, "Longitude :", 8, 44);
    Edit3 = layout::field(editor, "Edit3", 7, 120, 40, 70);
    layout::caption(editor, "\u00b0 E", 196, 44);
    layout::caption(editor, "Latitude :", 8, 74);
    Edit4 = layout::field(editor, "Edit4", 6, 120, 70, 70);
    layout::caption(editor, "\u00b0 N", 196, 74);
    layout::caption(editor, "Time lag :", 8, 104);
    Edit5 = layout::field(editor, "Edit5", 5, 120, 100, 70);
    layout::caption(editor, "h to GMT", 196, 104);
    addieren = button(editor, "addieren", "Insert", 8, 150);
    holen = button(editor, "holen", "Get data", 8, 150);
    holen->hide();
    loeschen = button(editor, "loeschen", "Delete", 100, 150);
    editieren = button(editor, "editieren", "Edit", 192, 150);
    uebergeben = button(editor, "uebergeben", "Post", 8, 186);
    abbrechen = button(editor, "abbrechen", "Cancel", 100, 186);

    BitBtn1 = button(this, "BitBtn1", "OK", 216, 384);
    BitBtn2 = button(this, "BitBtn2", "Cancel", 308, 384);

    for (QWidget* w : std::initializer_list<QWidget*>{Edit2, Edit3, Edit4, Edit5, ListBox1}) {
        w->installEventFilter(this);
    }
    for (QLineEdit* e : {Edit3, Edit4, Edit5}) {
        filterNumberField(e, true);
    }
    connect(Edit2, &QLineEdit::textChanged, this, [this] { Edit2Change(); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Edit3Change(); });
    connect(Edit4, &QLineEdit::textChanged, this, [this] { Edit4Change(); });
    connect(Edit5, &QLineEdit::textChanged, this, [this] { Edit5Change(); });
    connect(ListBox1, &QListWidget::currentRowChanged, this, [this] { ListBox1Click(); });
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { Button1Click(); });
    connect(TabbedNotebook1, &QTabWidget::currentChanged, this, [this] { TabbedNotebook1Change(); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(addieren, &QPushButton::clicked, this, [this] { addierenClick(); });
    connect(holen, &QPushButton::clicked, this, [this] { holenClick(); });
    connect(loeschen, &QPushButton::clicked, this, [this] { loeschenClick(); });
    connect(editieren, &QPushButton::clicked, this, [this] { editierenClick(); });
    connect(uebergeben, &QPushButton::clicked, this, [this] { uebergebenClick(); });
    connect(abbrechen, &QPushButton::clicked, this, [this] { abbrechenClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { Button2Click(); });

    const QSize screen = app_.services().screen.size();
    move((screen.width() - width()) / 2, std::max(0, (screen.height() - height()) / 2));
    showSelected();
}

TForm4::~TForm4() = default;

void TForm4::FormCreate() {
    TForm1& form1 = app_.form1();
    form1.BitBtn2->setEnabled(false);
    handOver({}, {}, {}, {});  // the main window's fields start from their defaults

    path_ = findLocationFile(folder_);
    FileStamp list = path_.isEmpty() ? FileStamp{} : stampFile(path_);
    if (!list.exists || !list.readError.isEmpty()) {
        path_.clear();
        inform(kMissingListMessage);
        form1.Edit3->setText("Equator");
        return;
    }
    std::istringstream in(list.bytes.toStdString());
    LocationLoad load = loadLocations(in);
    table_ = std::move(load.table);
    readTable_ = table_;
    listStamp_ = std::move(list);
    if (const std::string report = describeLoadReport(load.report, QDir::toNativeSeparators(path_).toStdString());
        !report.empty()) {
        inform(report);
    }
    fillList();
    if (table_.records.empty()) {
        // Nothing to hand over: as without a list.
        form1.Edit3->setText("Equator");
        showSelected();
        return;
    }
    const QList<QListWidgetItem*> found =
        ListBox1->findItems(fromLatin1(padRight(kDefaultLocation, kNameWidth)), Qt::MatchExactly);
    selectEntry(found.isEmpty() ? 0 : ListBox1->row(found.front()));
    const LocationRecord& record = table_.records[*selectedRecord()];
    handOver(fromLatin1(record.longitudeText), fromLatin1(record.latitudeText), fromLatin1(record.timeLagText),
             fromLatin1(withoutTrailingBlanks(record.name)));
}

void TForm4::FormShow() {
    app_.form1().setEnabled(false);
    setEditing(EditMode::none);
    const QSignalBlocker quiet(TabbedNotebook1);
    TabbedNotebook1->setCurrentIndex(kLocationsPage);
    abbrechenClick();
}

void TForm4::FormClose() { app_.form1().setEnabled(true); }

void TForm4::Button1Click() {
    const std::optional<std::size_t> index = selectedRecord();
    if (!index) {
        return;
    }
    const LocationRecord& record = table_.records[*index];
    handOver(fromLatin1(record.longitudeText), fromLatin1(record.latitudeText), fromLatin1(record.timeLagText),
             fromLatin1(withoutTrailingBlanks(record.name)));
    close();
}

void TForm4::Button2Click() { close(); }

void TForm4::handOver(const QString& longitude, const QString& latitude, const QString& timeLag,
                      const QString& name) {
    TForm1& form1 = app_.form1();
    form1.Edit1->setText(longitude.trimmed());
    form1.Edit1Exit();
    form1.Edit2->setText(latitude.trimmed());
    form1.Edit2Exit();
    form1.Edit6->setText(timeLag.trimmed());
    form1.Edit6Exit();
    form1.Edit3->setText(name);
    form1.selectNewCalculation();
    form1.BitBtn2->setEnabled(false);
    form1.setCustomLocation(false);
}

void TForm4::ListBox1Click() { showSelected(); }

void TForm4::ListBox1KeyDown(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Button1Click();
    }
}

// Navigation goes through the sorted list; an empty one has nowhere to go.
void TForm4::BitBtn5Click() {
    if (ListBox1->count() > 0) {
        selectEntry(0);
    }
}

void TForm4::BitBtn6Click() {
    if (ListBox1->currentRow() > 0) {
        selectEntry(ListBox1->currentRow() - 1);
    }
}

void TForm4::BitBtn3Click() {
    if (ListBox1->currentRow() < ListBox1->count() - 1) {
        selectEntry(ListBox1->currentRow() + 1);
    }
}

void TForm4::BitBtn4Click() {
    if (ListBox1->count() > 0) {
        selectEntry(ListBox1->count() - 1);
    }
}

void TForm4::TabbedNotebook1Change() { abbrechenClick(); }

void TForm4::addierenClick() {
    setEditing(EditMode::inserting);
    for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5}) {
        e->clear();
        e->setEnabled(true);
    }
    for (QLabel* l : {Label15, Label16, Label17, Label18}) {
        l->clear();
    }
    abbrechen->setEnabled(true);
}

void TForm4::editierenClick() {
    editedRecord_ = selectedRecord();
    if (!editedRecord_) {
        return;
    }
    setEditing(EditMode::editing);
    uebergeben->setEnabled(true);
    for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5}) {
        e->setEnabled(true);
    }
    abbrechen->setEnabled(true);
}

void TForm4::holenClick() {
    const TForm1& form1 = app_.form1();
    Edit2->setText(form1.Edit3->text());
    Edit3->setText(form1.Edit1->text());
    Edit4->setText(form1.Edit2->text());
    Edit5->setText(form1.Edit6->text());
    Label15->setText(form1.Edit3->text() + ' ');
    Label16->setText(form1.Edit1->text());
    Label17->setText(form1.Edit2->text());
    Label18->setText(form1.Edit6->text());
}

void TForm4::uebergebenClick() {
    if (mode_ == EditMode::none) {
        return;
    }
    Edit2Exit();
    Edit3Exit();
    Edit4Exit();
    Edit5Exit();
    for (const QLineEdit* e : {Edit2, Edit3, Edit4, Edit5}) {
        if (e->text().isEmpty()) {
            return;  // a record of blank numbers would not read back
        }
    }
    for (const QLabel* held : {Label15, Label16, Label17, Label18}) {
        if (const std::optional<char32_t> c = beyondLatin1(held->text())) {
            zenova::inform(app_.services().dialogs, beyondLatin1Message(held->text().trimmed(), *c), this);
            return;
        }
    }
    const LocationRecord record = storedRecord(toLatin1(Label15->text()), toLatin1(Label16->text()),
                                               toLatin1(Label17->text()), toLatin1(Label18->text()));
    Label15->setText(fromLatin1(record.name));
    Label16->setText(fromLatin1(record.longitudeText));
    Label17->setText(fromLatin1(record.latitudeText));
    Label18->setText(fromLatin1(record.timeLagText));

    LocationTable changed = table_;
    std::size_t index = changed.records.size();
    TableChange outcome = TableChange::noSuchRecord;
    if (mode_ == EditMode::inserting) {
        outcome = insertLocation(changed, record);
    } else if (editedRecord_) {
        index = *editedRecord_;
        outcome = updateLocation(changed, index, record);
    }
    switch (outcome) {
    case TableChange::capacityReached:
        inform(kCapacityMessage);
        return;
    case TableChange::duplicateName:
        inform(kDuplicateMessage);
        return;
    case TableChange::protectedRecord:
    case TableChange::noSuchRecord:
        return;
    case TableChange::done:
        break;
    }
    if (!commit(std::move(changed))) {
        return;  // the mode stays, with what was typed
    }
    // Merged with another window's changes, the record may stand elsewhere.
    const std::optional<std::size_t> posted = index < table_.records.size() && table_.records[index].name == record.name
                                                  ? std::optional<std::size_t>(index)
                                                  : findByName(table_, record.name);
    fillList();
    selectEntry(posted ? entryOfRecord(*posted) : -1);
    const QSignalBlocker quiet(TabbedNotebook1);
    TabbedNotebook1->setCurrentIndex(kLocationsPage);
    abbrechenClick();
}

void TForm4::abbrechenClick() {
    setEditing(EditMode::none);
    showSelected();
}

void TForm4::loeschenClick() {
    const MessageButton answer = app_.services().dialogs.ask(
        {"Confirm:", "Delete Dataset ?", MessageIcon::question, {MessageButton::ok, MessageButton::cancel},
         MessageButton::cancel},
        this);
    const std::optional<std::size_t> index = selectedRecord();
    if (answer != MessageButton::ok || !index || table_.records[*index].isProtected()) {
        return;
    }
    const int former = ListBox1->currentRow();
    LocationTable changed = table_;
    if (deleteLocation(changed, *index) != TableChange::done || !commit(std::move(changed))) {
        return;
    }
    fillList();
    selectEntry(ListBox1->count() == 0 ? -1 : std::max(former - 1, 0));
}

void TForm4::Edit2Enter() {
    // As typed: a character the list cannot hold is refused at Post, not changed here.
    QString name = Label15->text();
    while (name.endsWith(' ')) {
        name.chop(1);
    }
    Edit2->setText(name);
}

void TForm4::Edit2Exit() {
    enablePost();
    Label15->setText(Edit2->text() + ' ');
}

void TForm4::Edit3Exit() { tidyNumber(Edit3, Label16, 2); }

void TForm4::Edit4Exit() {
    for (QLineEdit* e : {Edit2, Edit3, Edit5}) {
        e->setEnabled(true);
    }
    tidyNumber(Edit4, Label17, 2);
    if (Edit4->text().isEmpty()) {
        return;
    }
    if (const auto pole = poleName(toLatin1(Edit4->text()))) {
        // At a pole the place fixes everything else, until the latitude changes.
        Edit3->setText("0.00");
        Label16->setText(Edit3->text());
        Edit2->setText(fromLatin1(*pole));
        Label15->setText(Edit2->text() + ' ');
        Edit5->setText("0.0");
        Label18->setText(Edit5->text());
        for (QLineEdit* e : {Edit2, Edit3, Edit5}) {
            e->setEnabled(false);
        }
    }
}

void TForm4::Edit5Exit() { tidyNumber(Edit5, Label18, 1); }

void TForm4::Edit2Change() { enablePost(); }

void TForm4::Edit3Change() {
    enablePost();
    limitWhileTyping(Edit3, kLongitudeLimit);
}

void TForm4::Edit4Change() {
    enablePost();
    limitWhileTyping(Edit4, kDatabaseLatitudeLimit);
    Edit2->setEnabled(true);
    if (!Edit4->text().isEmpty()) {
        Edit3->setEnabled(true);
        Edit5->setEnabled(true);
    }
}

void TForm4::Edit5Change() {
    enablePost();
    limitWhileTyping(Edit5, kTimeLagLimit);
}

bool TForm4::Edit3KeyPress(QLineEdit* field, QKeyEvent* key) { return dropNumberKey(field, key, true); }

std::optional<std::size_t> TForm4::selectedRecord() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    if (item == nullptr) {
        return std::nullopt;
    }
    const auto index = static_cast<std::size_t>(item->data(Qt::UserRole).toULongLong());
    return index < table_.records.size() ? std::optional<std::size_t>(index) : std::nullopt;
}

bool TForm4::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ListBox1KeyDown(key);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        if (field != Edit2) {
            return Edit3KeyPress(field, static_cast<QKeyEvent*>(event));
        }
        break;
    case QEvent::FocusIn:
        if (field == Edit2 && leavesField(static_cast<QFocusEvent*>(event))) {
            Edit2Enter();
        }
        break;
    case QEvent::FocusOut:
        if (leavesField(static_cast<QFocusEvent*>(event))) {
            if (field == Edit2) {
                Edit2Exit();
            } else if (field == Edit3) {
                Edit3Exit();
            } else if (field == Edit4) {
                Edit4Exit();
            } else {
                Edit5Exit();
            }
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TForm4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm4::closeEvent(QCloseEvent* event) {
    FormClose();
    QWidget::closeEvent(event);
}

void TForm4::inform(std::string_view text) {
    // At start-up the window is not shown yet; its messages have no owner then.
    zenova::inform(app_.services().dialogs, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                   isVisible() ? this : nullptr);
}

bool TForm4::commit(LocationTable changed) {
    TableChange merged = TableChange::done;
    std::string passedOver;
    QString unreadable;
    const Replacement written = replaceFile(path_, [&](const FileStamp& now) -> std::optional<QByteArray> {
        if (now.exists && now != listStamp_) {
            // Another window has written the list since it was read here: its records stay,
            // with this window's changes over them.
            if (!now.readError.isEmpty()) {
                unreadable = now.readError;
                return std::nullopt;
            }
            std::istringstream in(now.bytes.toStdString());
            LocationLoad theirs = loadLocations(in);
            passedOver = describeLoadReport(theirs.report, QDir::toNativeSeparators(path_).toStdString());
            merged = mergeLocations(readTable_, changed, theirs.table);
            if (merged != TableChange::done) {
                return std::nullopt;
            }
            changed = std::move(theirs.table);
        }
        std::ostringstream out;
        saveLocations(out, changed);
        return QByteArray::fromStdString(out.str());
    });
    if (!written.error.isEmpty()) {
        zenova::inform(app_.services().dialogs, writeFailureMessage(path_, written.error), this);
        return false;
    }
    if (!unreadable.isEmpty()) {
        zenova::inform(app_.services().dialogs,
                       QString("\"%1\" was changed by another program and could not be read again (%2). Nothing was "
                               "written.")
                           .arg(QDir::toNativeSeparators(path_), unreadable),
                       this);
        return false;
    }
    if (merged == TableChange::capacityReached) {
        inform(kCapacityMessage);
        return false;
    }
    if (!passedOver.empty()) {
        inform(passedOver);
    }
    table_ = std::move(changed);
    readTable_ = table_;
    listStamp_ = written.stamp;
    return true;
}

// Sorted by name regardless of case, as the user's language sorts; names equal but for
// case in a fixed order; records of the very same name in file order.
void TForm4::fillList() {
    std::vector<QString> names;
    names.reserve(table_.records.size());
    for (const LocationRecord& r : table_.records) {
        names.push_back(fromLatin1(r.name));
    }
    QCollator folded;
    folded.setCaseSensitivity(Qt::CaseInsensitive);
    QCollator exact;
    exact.setCaseSensitivity(Qt::CaseSensitive);
    std::vector<std::size_t> order(names.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int byName = folded.compare(names[a], names[b]);
        return (byName != 0 ? byName : exact.compare(names[a], names[b])) < 0;
    });
    const QSignalBlocker quiet(ListBox1);
    ListBox1->clear();
    for (const std::size_t i : order) {
        auto* item = new QListWidgetItem(names[i], ListBox1);
        item->setData(Qt::UserRole, static_cast<qulonglong>(i));
    }
}

int TForm4::entryOfRecord(std::size_t record) const {
    for (int row = 0; row < ListBox1->count(); ++row) {
        if (ListBox1->item(row)->data(Qt::UserRole).toULongLong() == record) {
            return row;
        }
    }
    return -1;
}

void TForm4::selectEntry(int row) {
    {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->setCurrentRow(row);
    }
    ListBox1Click();
}

void TForm4::showSelected() {
    const std::optional<std::size_t> index = selectedRecord();
    if (index) {
        const LocationRecord& r = table_.records[*index];
        Label15->setText(fromLatin1(r.name));
        Label16->setText(fromLatin1(r.longitudeText));
        Label17->setText(fromLatin1(r.latitudeText));
        Label18->setText(fromLatin1(r.timeLagText));
        Edit2->setText(fromLatin1(withoutTrailingBlanks(r.name)));
        Edit3->setText(fromLatin1(tidyCoordinate(fromLatin1(r.longitudeText).trimmed().toStdString(), 2)));
        Edit4->setText(fromLatin1(tidyCoordinate(fromLatin1(r.latitudeText).trimmed().toStdString(), 2)));
        Edit5->setText(fromLatin1(tidyCoordinate(fromLatin1(r.timeLagText).trimmed().toStdString(), 1)));
    } else {
        for (QLabel* l : {Label15, Label16, Label17, Label18}) {
            l->clear();
        }
        for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5}) {
            e->clear();
        }
    }
    for (QLineEdit* e : {Edit2, Edit3, Edit4, Edit5}) {
        e->setEnabled(false);
    }
    const bool changeable = index && !table_.records[*index].isProtected();
    addieren->setEnabled(mode_ == EditMode::none);
    loeschen->setEnabled(mode_ == EditMode::none && changeable);
    editieren->setEnabled(mode_ == EditMode::none && changeable);
    uebergeben->setEnabled(false);
    abbrechen->setEnabled(false);
    holen->hide();
    BitBtn1->setEnabled(index.has_value());
}

// While a record is entered or edited nothing else may be chosen or changed: a Post acts on
// the mode and the record it began with.
void TForm4::setEditing(EditMode mode) {
    mode_ = mode;
    const bool idle = mode == EditMode::none;
    for (QWidget* w : std::initializer_list<QWidget*>{ListBox1, BitBtn5, BitBtn6, BitBtn3, BitBtn4}) {
        w->setEnabled(idle);
    }
    BitBtn1->setVisible(idle);
    BitBtn2->setVisible(idle);
    holen->setVisible(mode == EditMode::inserting);
    if (!idle) {
        for (QPushButton* b : {addieren, editieren, loeschen}) {
            b->setEnabled(false);
        }
    }
}

void TForm4::enablePost() {
    uebergeben->setEnabled(!Edit2->text().isEmpty() && !Edit3->text().isEmpty() && !Edit4->text().isEmpty() &&
                           !Edit5->text().isEmpty());
}

void TForm4::tidyNumber(QLineEdit* field, QLabel* label, int decimals) {
    enablePost();
    if (field->text().isEmpty()) {
        label->clear();
        return;
    }
    field->setText(fromLatin1(tidyCoordinate(toLatin1(field->text()), decimals)));
    label->setText(field->text());
}

void TForm4::limitWhileTyping(QLineEdit* field, const FieldLimit& limit) {
    if (const auto breach = limitBreach(limit, toLatin1(field->text()))) {
        field->setText(fromLatin1(breach->replacement));
    }
}

}  // namespace zenova
