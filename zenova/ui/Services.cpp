#include "Services.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
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

// What the user chose for a printer, onto another. The file name goes first: setting one
// also chooses the output format by its ending, which is then set as it was.
void copySettings(const QPrinter& from, QPrinter& to) {
    if (!from.outputFileName().isEmpty()) {
        to.setOutputFileName(from.outputFileName());
    }
    to.setOutputFormat(from.outputFormat());
    if (from.outputFormat() == QPrinter::NativeFormat) {
        to.setPrinterName(from.printerName());
    }
    to.setPageLayout(from.pageLayout());
    to.setColorMode(from.colorMode());
    to.setCopyCount(from.copyCount());
    to.setCollateCopies(from.collateCopies());
    to.setDuplex(from.duplex());
    to.setPageOrder(from.pageOrder());
    to.setFullPage(from.fullPage());
    to.setResolution(from.resolution());
    to.setDocName(from.docName());
    to.setCreator(from.creator());
    to.setPrintRange(from.printRange());
    to.setFromTo(from.fromPage(), from.toPage());
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

Printing::Printing() = default;
Printing::~Printing() = default;

QPrinter& Printing::printer() {
    if (!printer_) {
        printer_ = makePrinter();
    }
    return *printer_;
}

void Printing::setUp(QWidget* owner) { showSetUp(printer(), owner); }

bool Printing::begin(QPainter& painter) {
    QPrinter& used = printer();
    if (painter.begin(&used)) {
        return true;
    }
    auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    copySettings(used, *fresh);
    printer_ = std::move(fresh);
    return false;
}

std::unique_ptr<QPrinter> SystemPrinting::makePrinter() { return std::make_unique<QPrinter>(QPrinter::HighResolution); }

void SystemPrinting::showSetUp(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, enabledWindow(owner));
    dialog.setWindowTitle("Printer setup");
    dialog.exec();
}

}  // namespace zenova
