#include "FieldKeys.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <utility>

namespace zenova {

namespace {

bool typesNothing(const QKeyEvent* key) {
    // A line edit types nothing held with Ctrl (or Ctrl and Shift): such keys are its editing
    // shortcuts or a menu's.
    const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
    if (held == Qt::ControlModifier || held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return true;
    }
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

// A text as typing would have brought it in: commas turned into points where typing turns
// them, other characters left out; cursor, a place in the text, moves with it.
QString numberText(const QString& text, bool commaAsPoint, int* cursor = nullptr) {
    QString kept;
    kept.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = commaAsPoint && text[i] == u',' ? QChar(u'.') : text[i];
        if (numberCharacter(c)) {
            kept += c;
        } else if (cursor != nullptr && i < *cursor) {
            --*cursor;
        }
    }
    return kept;
}

// Typed keys and pasted keys are filtered before they reach the field; this keeps the other
// ways in (the field's menu, the middle button, a drop) to the same characters, after the
// field has cut them to its length. It changes the text only where a character is left out
// or turned, so the field's undo history stays for everything typed.
class NumberFilter final : public QValidator {
public:
    NumberFilter(bool commaAsPoint, QObject* parent) : QValidator(parent), commaAsPoint_(commaAsPoint) {}

    State validate(QString& input, int& position) const override {
        int cursor = position;
        if (QString kept = numberText(input, commaAsPoint_, &cursor); kept != input) {
            input = std::move(kept);
            position = cursor;
        }
        return Acceptable;
    }

private:
    bool commaAsPoint_;
};

}  // namespace

bool dropNumberKey(QLineEdit* field, const QKeyEvent* key, bool commaAsPoint) {
    if (key->matches(QKeySequence::Paste)) {
        // Filtered before the field cuts it to its length: "UTC+5,5" brings in 5.5.
        field->insert(numberText(QGuiApplication::clipboard()->text(), commaAsPoint));
        return true;
    }
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

void filterNumberField(QLineEdit* field, bool commaAsPoint) {
    field->setValidator(new NumberFilter(commaAsPoint, field));
}

bool leavesField(const QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

}  // namespace zenova
