// The sun-path program's windows on recording fakes: messages are recorded and answered
// from a list, the clock and the screen size are fixed, the start-up waits are only recorded,
// and the printer writes a PDF file. Each run has a working directory of its own, holding a
// copy of the shipped location list unless told otherwise.
#ifndef ZENOVA_TEST_WINDOW_FIXTURE_H
#define ZENOVA_TEST_WINDOW_FIXTURE_H

#include "PictureBox.h"
#include "Services.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "ZenovaApplication.h"
#include "../support/file_size_limit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <csignal>
#include <functional>
#include <memory>
#include <optional>

namespace zenova_test {

class RecordingDialogs final : public zenova::Dialogs {
public:
    struct Call {
        zenova::MessageRequest request;
        QWidget* owner;
    };
    QList<Call> calls;
    // Taken in order; once used up, every box is answered with its default button.
    QList<zenova::MessageButton> answers;
    std::function<void()> duringAsk;  // runs while each box is open, as another program might

    zenova::MessageButton ask(const zenova::MessageRequest& request, QWidget* owner) override {
        calls.push_back({request, owner});
        if (duringAsk) {
            duringAsk();
        }
        return answers.isEmpty() ? request.defaultButton : answers.takeFirst();
    }
};

// A message as one text: caption, text, icon, buttons and the default, between bars.
inline QString shown(const zenova::MessageRequest& m) {
    static const char* const icons[] = {"information", "warning", "question"};
    static const char* const buttons[] = {"none", "ok", "cancel", "yes", "no"};
    QStringList offered;
    for (const zenova::MessageButton b : m.buttons) {
        offered << buttons[static_cast<int>(b)];
    }
    return QStringList{m.caption, m.text, icons[static_cast<int>(m.icon)], offered.join(','),
                       buttons[static_cast<int>(m.defaultButton)]}
        .join('|');
}

class FixedClock final : public zenova::Clock {
public:
    QDateTime time{QDate(2024, 6, 21), QTime(14, 30)};
    mutable QList<int> waits;
    std::function<void()> duringWait;  // runs in each wait, to look at the start-up
    QDateTime now() const override { return time; }
    void wait(int milliseconds) const override {
        waits.push_back(milliseconds);
        if (duringWait) {
            duringWait();
        }
    }
};

// The printer writes a PDF file (A4 upright, margins of 5 mm, 1200 dots per inch) named by
// file when it is made; the set-up dialog is only counted, with the window it was asked
// from, and chooses the file named then, as a user would.
class PdfPrinting final : public zenova::Printing {
public:
    QString file;
    QList<QWidget*> setUps;

protected:
    std::unique_ptr<QPrinter> makePrinter() override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                           QPageLayout::Millimeter));
        printer->setOutputFileName(file);
        return printer;
    }
    void showSetUp(QPrinter& printer, QWidget* owner) override {
        setUps.push_back(owner);
        printer.setOutputFileName(file);
    }
};

class FixedScreen final : public zenova::ScreenSize {
public:
    QSize screen{1920, 1080};
    QSize size() const override { return screen; }
};

inline QByteArray shippedLocationList() {
    QFile file(ZENOVA_SHIPPED_LOCATION_LIST);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", ZENOVA_SHIPPED_LOCATION_LIST);
    }
    return file.readAll();
}

struct Windows {
    RecordingDialogs dialogs;
    FixedClock clock;
    FixedScreen screen;
    PdfPrinting printing;
    QTemporaryDir workingDirectory;
    std::unique_ptr<zenova::ZenovaApplication> app;

    // locationList: the bytes of Loc_def.lst in the working directory; none: no such file.
    explicit Windows(QSize screenSize = {1920, 1080},
                     const std::optional<QByteArray>& locationList = shippedLocationList(),
                     const QString& listName = "Loc_def.lst") {
        screen.screen = screenSize;
        printing.file = path("printout.pdf");
        if (locationList) {
            QFile file(path(listName));
            if (!file.open(QIODevice::WriteOnly) || file.write(*locationList) != locationList->size()) {
                qFatal("cannot write the location list");
            }
        }
        app = std::make_unique<zenova::ZenovaApplication>(services(), workingDirectory.path());
    }
    ~Windows() { app.reset(); }  // the windows go before their folder
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The program ends and starts again in the same working directory.
    void restart() {
        app.reset();
        dialogs.calls.clear();
        app = std::make_unique<zenova::ZenovaApplication>(services(), workingDirectory.path());
    }
    zenova::Services services() { return {dialogs, clock, screen, printing}; }

    zenova::TForm1& form1() { return app->form1(); }
    zenova::TForm2& form2() { return app->form2(); }
    zenova::TForm3& form3() { return app->form3(); }
    zenova::TForm4& form4() { return app->form4(); }
    QString path(const QString& name) const { return workingDirectory.filePath(name); }
    QByteArray fileBytes(const QString& name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    template <typename T>
    T* find(QWidget* window, const char* name) {
        T* child = window->findChild<T*>(name);
        if (child == nullptr) {
            qFatal("no control %s", name);
        }
        return child;
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(&form1(), name); }
    QLabel* label(const char* name) { return find<QLabel>(&form2(), name); }

    // Fills the main window's fields as the program would and starts.
    void start(const char* lon, const char* lat, const char* lag, const char* incl, const char* orient) {
        edit("Edit1")->setText(lon);
        edit("Edit2")->setText(lat);
        edit("Edit6")->setText(lag);
        edit("Edit4")->setText(incl);
        edit("Edit5")->setText(orient);
        form1().Button4Click();
    }
};

// A folder (or a file) that nobody may write into while this lives. Root passes permission
// checks by its capability to override them, so the calling thread gives that up for as long.
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& path) : path_(path) {
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, reduced);
    }
    ~ReadOnlyFolder() {
        syscall(SYS_capset, &header_, saved_);
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString path_;
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
};

using vireo_test::FileSizeLimit;

// How a write is made to fail: by a folder or a file nobody may write into, or by a
// file-size limit below the new contents.
enum class WriteFault { readOnlyFolder, readOnlyFile, fileSizeLimit };

// Runs what writes the file with the fault in place.
inline void withWriteFault(WriteFault fault, const QString& file, rlim_t limit, const std::function<void()>& act) {
    if (fault != WriteFault::fileSizeLimit) {
        const ReadOnlyFolder readOnly(fault == WriteFault::readOnlyFile ? file : QFileInfo(file).path());
        act();
    } else {
        const FileSizeLimit full(limit);
        act();
    }
}

// The user types a field's text anew.
inline void retype(QLineEdit* field, const QString& text) {
    field->clear();
    QTest::keyClicks(field, text);
}

// A double click on an entry of a list as the mouse makes it: a click, then the double click
// (the test library's double click alone is no press).
inline void doubleClick(QAbstractItemView* view, const QModelIndex& index) {
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

// The user leaves a field.
inline void leave(QWidget* field, Qt::FocusReason reason = Qt::TabFocusReason) {
    QFocusEvent out(QEvent::FocusOut, reason);
    QApplication::sendEvent(field, &out);
}

inline void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, buttons, modifiers);
    QApplication::sendEvent(w, &e);
}

// Presses a label at (5, 5) within it, moves the mouse by (dx, dy) in two steps and lets go.
inline void drag(QLabel* label, int dx, int dy, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPoint press(5, 5);
    mouse(label, QEvent::MouseButtonPress, press, button, button, modifiers);
    mouse(label, QEvent::MouseMove, press + QPoint(dx / 2, dy / 2), Qt::NoButton, button, modifiers);
    mouse(label, QEvent::MouseMove, press + QPoint(dx - dx / 2, dy - dy / 2), Qt::NoButton, button, modifiers);
    mouse(label, QEvent::MouseButtonRelease, press + QPoint(dx - dx / 2, dy - dy / 2), button, Qt::NoButton, modifiers);
}

}  // namespace zenova_test

Q_DECLARE_METATYPE(zenova_test::WriteFault)

#endif
