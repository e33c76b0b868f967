// What the number fields of the windows take from the keyboard and from pastes, and when a
// field counts as left: the main window's rules, which the location database shares.
#ifndef ZENOVA_FIELD_KEYS_H
#define ZENOVA_FIELD_KEYS_H

class QFocusEvent;
class QKeyEvent;
class QLineEdit;

namespace zenova {

// Only "-", "." and digits are typed; keys that type nothing (moving, deleting, leaving, and
// the shortcuts held with Ctrl: select all, copy, cut, undo, redo and the menu's own) pass.
// With commaAsPoint a comma is typed as a point. A paste brings in what typing the pasted
// text would. True: the key is dropped (a comma or a paste has been put in already).
bool dropNumberKey(QLineEdit* field, const QKeyEvent* key, bool commaAsPoint);

// Whatever else brings text into a number field (a paste by key or menu, a drop) passes the
// same filter as typing: a comma becomes a point where typing makes it one, and every other
// character but "-", "." and digits is left out.
void filterNumberField(QLineEdit* field, bool commaAsPoint);

// Focus going elsewhere in the window leaves a field; another window coming to the front or
// a menu opening does not.
bool leavesField(const QFocusEvent* event);

}  // namespace zenova

#endif
