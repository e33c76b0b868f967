// The windows are laid out in pixels, as their label anchors and drag limits assume; these
// helpers make their controls.
#ifndef ZENOVA_LAYOUT_H
#define ZENOVA_LAYOUT_H

#include "Diagram.h"

#include <QFont>
#include <QString>

class QAction;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QToolButton;
class QWidget;

namespace zenova::layout {

// Arial in pixel sizes, so that texts keep their size on any screen.
QFont windowFont(int pixelSize = 12);

QLabel* caption(QWidget* parent, const QString& text, int x, int y, const QString& name = {});
// An empty label of a fixed width that the program fills.
QLabel* value(QWidget* parent, const QString& name, int x, int y, int width);
QLineEdit* field(QWidget* parent, const QString& name, int maxLength, int x, int y, int width);
QScrollBar* scrollBar(QWidget* parent, const QString& name, int low, int high, int pageStep, int x, int y, int width);
// A menu entry, in a menu or directly in the menu bar.
QAction* action(QWidget* menu, const QString& name, const QString& text);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, int x, int y, int width, int height);
QToolButton* toolButton(QWidget* parent, const QString& name, const QString& text, const QString& hint, int x, int y);

// Shows a window in front, active.
void bringToFront(QWidget* window);

// A label at an anchor; the anchor (-50, 0) hides it.
void place(QLabel* label, LabelAnchor anchor);

}  // namespace zenova::layout

#endif
