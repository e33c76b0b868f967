// The sun-path program's windows on recording fakes: messages are recorded and answered
// from a list, the clock and the screen size are fixed.
#ifndef ZENOVA_TEST_WINDOW_FIXTURE_H
#define ZENOVA_TEST_WINDOW_FIXTURE_H

#include "PictureBox.h"
#include "Services.h"
#include "TForm1.h"
#include "TForm2.h"
#include "ZenovaApplication.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

#include <memory>

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

    zenova::MessageButton ask(const zenova::MessageRequest& request, QWidget* owner) override {
        calls.push_back({request, owner});
        return answers.isEmpty() ? request.defaultButton : answers.takeFirst();
    }
};

class FixedClock final : public zenova::Clock {
public:
    QDateTime time{QDate(2024, 6, 21), QTime(14, 30)};
    QDateTime now() const override { return time; }
};

class FixedScreen final : public zenova::ScreenSize {
public:
    QSize screen{1920, 1080};
    QSize size() const override { return screen; }
};

struct Windows {
    RecordingDialogs dialogs;
    FixedClock clock;
    FixedScreen screen;
    std::unique_ptr<zenova::ZenovaApplication> app;

    explicit Windows(QSize screenSize = {1920, 1080}) {
        screen.screen = screenSize;
        app = std::make_unique<zenova::ZenovaApplication>(
            zenova::Services{dialogs, clock, screen});
    }
    zenova::TForm1& form1() { return app->form1(); }
    zenova::TForm2& form2() { return app->form2(); }

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

#endif
