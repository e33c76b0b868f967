#include "Services.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace zenova {

namespace {

QMessageBox::StandardButton standardButton(MessageButton button) {
    switch (button) {
    case MessageButton::ok:
        return QMessageBox::Ok;
    case MessageButton::cancel:
        return QMessageBox::Cancel;
    case MessageButton::yes:
        return QMessageBox::Yes;
    case MessageButton::no:
        return QMessageBox::No;
    case MessageButton::none:
        break;
    }
    return QMessageBox::NoButton;
}

QMessageBox::Icon standardIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::warning:
        return QMessageBox::Warning;
    case MessageIcon::question:
        return QMessageBox::Question;
    case MessageIcon::information:
        break;
    }
    return QMessageBox::Information;
}

// A window that can own a modal box: an owner that is disabled would disable its box too.
QWidget* enabledWindow(QWidget* owner) {
    return owner != nullptr && owner->isEnabled() ? owner->window() : nullptr;
}

}  // namespace

void inform(Dialogs& dialogs, const QString& text, QWidget* owner, const QString& caption) {
    dialogs.ask({caption, text, MessageIcon::information, {MessageButton::ok}, MessageButton::ok}, owner);
}

MessageButton MessageBoxDialogs::ask(const MessageRequest& request, QWidget* owner) {
    QMessageBox box(standardIcon(request.icon), request.caption, request.text, QMessageBox::NoButton,
                    enabledWindow(owner));
    for (const MessageButton b : request.buttons) {
        box.addButton(standardButton(b));
    }
    if (request.defaultButton != MessageButton::none) {
        box.setDefaultButton(standardButton(request.defaultButton));
    }
    box.exec();
    const QMessageBox::StandardButton chosen = box.standardButton(box.clickedButton());
    for (const MessageButton b : request.buttons) {
        if (standardButton(b) == chosen) {
            return b;
        }
    }
    return MessageButton::none;
}

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

void SystemClock::wait(int milliseconds) const {
    QElapsedTimer elapsed;
    elapsed.start();
    // A timer ends each round of waiting, so the events are processed as they come and no
    // time is spent spinning; a timer that fires a little early only adds a round.
    for (qint64 left = milliseconds; left > 0; left = milliseconds - elapsed.elapsed()) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

QSize PrimaryScreenSize::size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(800, 600);
}

SystemPrinting::SystemPrinting() = default;
SystemPrinting::~SystemPrinting() = default;

QPrinter& SystemPrinting::printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *printer_;
}

void SystemPrinting::setUp(QWidget* owner) {
    QPrintDialog dialog(&printer(), enabledWindow(owner));
    dialog.setWindowTitle("Printer setup");
    dialog.exec();
}

}  // namespace zenova
