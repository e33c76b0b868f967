// The window "Diagram-Manager": saves the diagram as the user arranged it into a diagram
// file, or opens one into the main window under "Old plotting", so that the next Start
// draws it with the stored label places. The main window shows it for saving (only "Save
// file" enabled) or for opening (only "Open file").
#ifndef ZENOVA_TFORM3_H
#define ZENOVA_TFORM3_H

#include "FileAccess.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTreeView;

namespace zenova {

class ZenovaApplication;

class TForm3 final : public QWidget {
public:
    // folder: the folder the lists start in, the working directory at start-up.
    TForm3(ZenovaApplication& app, const QString& folder);
    ~TForm3() override;

    QComboBox* DriveComboBox1;    // mounted volumes and the home folder
    QTreeView* DirectoryListBox1;  // folders
    QLabel* Label1;               // the current folder
    QListView* FileListBox1;      // files of the current folder that fit the filter
    QComboBox* FilterComboBox1;
    QLineEdit* Edit1;        // file name
    QPushButton* Button1;    // "Save file"
    QPushButton* Button3;    // "Open file"
    QPushButton* Button2;    // "Close"

    // Handlers.
    void FormActivate();
    void FileListBox1Change();
    void FileListBox1DblClick();
    void Button1Click();
    void Button3Click();
    void Button2Click();
    void FormClose();

    QString currentFolder() const { return folder_; }
    void setFolder(const QString& folder);
    // Opened for saving: "Open file" is disabled then.
    bool savingMode() const;
    QFileSystemModel* fileModel() const { return files_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void inform(const QString& text, const QString& caption = "Information:");
    // Asks before a file is overwritten; changedElsewhere: the diagram was opened from it or
    // saved into it, and it has changed since. True: overwrite.
    bool askOverwrite(const QString& path, bool changedElsewhere);
    void filterChosen(int index);
    void driveChosen(int index);

    ZenovaApplication& app_;
    QString folder_;
    // The diagram file last opened or saved here, as it was then.
    QString diagramPath_;
    FileStamp diagramStamp_;
    QFileSystemModel* folders_;
    QFileSystemModel* files_;
};

}  // namespace zenova

#endif
