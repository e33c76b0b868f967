#include "Layout.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace zenova::layout {

QFont windowFont(int pixelSize) {
    QFont font("Arial");
    font.setPixelSize(pixelSize);
    return font;
}

QLabel* caption(QWidget* parent, const QString& text, int x, int y, const QString& name) {
    auto* label = new QLabel(text, parent);
    if (!name.isEmpty()) {
        label->setObjectName(name);
    }
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* value(QWidget* parent, const QString& name, int x, int y, int width) {
    QLabel* label = caption(parent, "", x, y, name);
    label->setFixedWidth(width);
    return label;
}

QAction* action(QWidget* menu, const QString& name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

QLineEdit* field(QWidget* parent, const QString& name, int maxLength, int x, int y, int width) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    edit->setGeometry(x, y, width, 22);
    return edit;
}

QScrollBar* scrollBar(QWidget* parent, const QString& name, int low, int high, int pageStep, int x, int y, int width) {
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(low, high);
    bar->setPageStep(pageStep);
    bar->setGeometry(x, y, width, 17);
    return bar;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int x, int y, int width, int height) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(x, y, width, height);
    return b;
}

QToolButton* toolButton(QWidget* parent, const QString& name, const QString& text, const QString& hint, int x, int y) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setGeometry(x, y, 48, 24);
    return button;
}

void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

void place(QLabel* label, LabelAnchor anchor) {
    label->move(anchor.x, anchor.y);
    // Parked at (-50, 0) a label would still show its right end.
    label->setVisible(!anchor.hidden());
}

}  // namespace zenova::layout
