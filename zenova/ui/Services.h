// What the windows ask of the platform besides drawing: modal messages, the clock, the
// screen size and the printer. The program uses the platform's own; the tests put recording
// fakes in.
#ifndef ZENOVA_SERVICES_H
#define ZENOVA_SERVICES_H

#include <QDateTime>
#include <QList>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace zenova {

enum class MessageIcon { information, warning, question };
enum class MessageButton { none, ok, cancel, yes, no };

struct MessageRequest {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::information;
    QList<MessageButton> buttons;
    MessageButton defaultButton = MessageButton::none;
};

// A modal message box; the answer is the button chosen (none when the box was closed
// without one).
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // owner: the window the message belongs to; a disabled one does not own the box.
    virtual MessageButton ask(const MessageRequest& request, QWidget* owner) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Keeps the windows answering for at least this long: pending events are processed
    // while it waits.
    virtual void wait(int milliseconds) const = 0;
};

class ScreenSize {
public:
    virtual ~ScreenSize() = default;
    virtual QSize size() const = 0;
};

// The printer that printouts go to, and its set-up dialog. Which printer is made first and
// how its set-up is shown is the platform's (or a test's) to say.
class Printing {
public:
    Printing();
    virtual ~Printing();
    Printing(const Printing&) = delete;
    Printing& operator=(const Printing&) = delete;

    // Made when first asked for.
    QPrinter& printer();
    // owner: the window the dialog belongs to; a disabled one does not own it.
    void setUp(QWidget* owner);
    // Starts a print job with the painter: whether it is active on the printer now. A
    // printer whose job could not start stays busy and refuses every later change, its
    // set-up's included, so a fresh one with the same settings takes its place.
    bool begin(QPainter& painter);

protected:
    virtual std::unique_ptr<QPrinter> makePrinter() = 0;
    virtual void showSetUp(QPrinter& printer, QWidget* owner) = 0;

private:
    std::unique_ptr<QPrinter> printer_;
};

// The seams one program run uses; they outlive its windows.
struct Services {
    Dialogs& dialogs;
    const Clock& clock;
    const ScreenSize& screen;
    Printing& printing;
};

// An information box with an OK button, the way the windows report and go on.
void inform(Dialogs& dialogs, const QString& text, QWidget* owner, const QString& caption = "Information:");

class MessageBoxDialogs final : public Dialogs {
public:
    MessageButton ask(const MessageRequest& request, QWidget* owner) override;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override;
    void wait(int milliseconds) const override;
};

class PrimaryScreenSize final : public ScreenSize {
public:
    QSize size() const override;
};

// The platform's default printer; the set-up dialog chooses another, or a PDF file.
class SystemPrinting final : public Printing {
protected:
    std::unique_ptr<QPrinter> makePrinter() override;
    void showSetUp(QPrinter& printer, QWidget* owner) override;
};

}  // namespace zenova

#endif
