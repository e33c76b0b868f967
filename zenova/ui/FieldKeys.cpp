#include "FieldKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace zenova {

namespace {

bool typesNothing(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return key->text().isEmpty();
    }
}

bool numberCharacter(QChar c) { return c == u'-' || c == u'.' || (c >= u'0' && c <= u'9'); }

}  // namespace

bool dropNumberKey(QLineEdit* field, const QKeyEvent* key, bool commaAsPoint) {
    if (typesNothing(key)) {
        return false;
    }
    const QString typed = key->text();
    if (commaAsPoint && typed == ",") {
        field->insert(".");
        return true;
    }
    return !(typed.size() == 1 && numberCharacter(typed[0]));
}

bool leavesField(const QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace zenova
