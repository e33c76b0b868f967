// The window "Location Database": the location list sorted by name, a location picked for
// the main window, and records inserted, edited and deleted, each change written to the
// list's file at once. It reads the list when the program starts and hands the default
// place to the main window while it stays hidden.
#ifndef ZENOVA_TFORM4_H
#define ZENOVA_TFORM4_H

#include "Fields.h"
#include "FileAccess.h"
#include "Locations.h"

#include <QString>
#include <QWidget>

#include <optional>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace zenova {

class ZenovaApplication;

class TForm4 final : public QWidget {
public:
    // folder: the working directory at start-up, where the location list lies.
    TForm4(ZenovaApplication& app, QString folder);
    ~TForm4() override;

    enum class EditMode { none, inserting, editing };

    QLabel* Label15;  // name, 40 characters with its trailing blanks
    QLabel* Label16;  // longitude
    QLabel* Label17;  // latitude
    QLabel* Label18;  // time lag
    QTabWidget* TabbedNotebook1;  // pages "Locations" and "Editor"
    QListWidget* ListBox1;
    QPushButton* BitBtn5;  // "First"
    QPushButton* BitBtn6;  // "Prior"
    QPushButton* BitBtn3;  // "Next"
    QPushButton* BitBtn4;  // "Last"
    QLineEdit* Edit2;  // name
    QLineEdit* Edit3;  // longitude
    QLineEdit* Edit4;  // latitude
    QLineEdit* Edit5;  // time lag
    QPushButton* addieren;    // "Insert"
    QPushButton* loeschen;    // "Delete"
    QPushButton* editieren;   // "Edit"
    QPushButton* uebergeben;  // "Post"
    QPushButton* abbrechen;   // "Cancel"
    QPushButton* holen;       // "Get data", over "Insert" while a new record is entered
    QPushButton* BitBtn1;     // OK
    QPushButton* BitBtn2;     // Cancel

    // Handlers.
    void FormCreate();
    void FormShow();
    void FormClose();
    void Button1Click();
    void Button2Click();
    void ListBox1Click();
    void ListBox1KeyDown(int key);
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void TabbedNotebook1Change();
    void addierenClick();
    void editierenClick();
    void uebergebenClick();
    void abbrechenClick();
    void loeschenClick();
    void holenClick();
    void Edit2Enter();
    void Edit2Exit();
    void Edit3Exit();
    void Edit4Exit();
    void Edit5Exit();
    void Edit2Change();
    void Edit3Change();
    void Edit4Change();
    void Edit5Change();
    bool Edit3KeyPress(QLineEdit* field, QKeyEvent* key);  // true: the key is dropped

    // The list was found at start-up; the main window opens this window only then.
    bool listAvailable() const { return !path_.isEmpty(); }
    QString listPath() const { return path_; }
    const LocationTable& table() const { return table_; }
    EditMode mode() const { return mode_; }
    // The record of the list entry selected, if any.
    std::optional<std::size_t> selectedRecord() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void inform(std::string_view text);
    void handOver(const QString& longitude, const QString& latitude, const QString& timeLag, const QString& name);
    // Writes the changed table; only a table on disk becomes the window's. When another
    // window has written the list since it was read here, the changes merge into its list.
    bool commit(LocationTable changed);
    void fillList();
    int entryOfRecord(std::size_t record) const;
    void selectEntry(int row);
    void showSelected();
    void setEditing(EditMode mode);
    void enablePost();
    void tidyNumber(QLineEdit* field, QLabel* label, int decimals);
    void limitWhileTyping(QLineEdit* field, const FieldLimit& limit);

    ZenovaApplication& app_;
    QString folder_;
    QString path_;  // the list's file, empty when there was none at start-up
    LocationTable table_;
    // The list as this window last read or wrote it, and the file then.
    LocationTable readTable_;
    FileStamp listStamp_;
    EditMode mode_ = EditMode::none;
    std::optional<std::size_t> editedRecord_;
};

}  // namespace zenova

#endif
