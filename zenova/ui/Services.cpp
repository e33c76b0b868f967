#include "Services.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
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

}  // namespace

void inform(Dialogs& dialogs, const QString& text, QWidget* owner, const QString& caption) {
    dialogs.ask({caption, text, MessageIcon::information, {MessageButton::ok}, MessageButton::ok}, owner);
}

MessageButton MessageBoxDialogs::ask(const MessageRequest& request, QWidget* owner) {
    // A box owned by a disabled window would be disabled with it and could not be answered.
    QWidget* parent = owner != nullptr && owner->isEnabled() ? owner->window() : nullptr;
    QMessageBox box(standardIcon(request.icon), request.caption, request.text, QMessageBox::NoButton, parent);
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

QSize PrimaryScreenSize::size() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(800, 600);
}

}  // namespace zenova
