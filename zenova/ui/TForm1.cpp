#include "TForm1.h"

#include "FieldKeys.h"
#include "FileAccess.h"
#include "Layout.h"
#include "Numeric.h"
#include "PictureBox.h"
#include "Printout.h"
#include "QtImageSurface.h"
#include "QtPageSurface.h"
#include "Readouts.h"
#include "Services.h"
#include "Sketches.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm4.h"
#include "Tintro.h"
#include "ZenovaApplication.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <array>

namespace zenova {

namespace {

constexpr int kClientWidth = 430;
constexpr int kClientHeight = 332;
constexpr int kSmallestScreenHeight = 600;

constexpr const char* kSmallScreenMessage =
    "Zenova 1.0 requires a screen resolution from at least 600 x 800 pixels. Please change these settings and "
    "restart Zenova 1.0.";
constexpr const char* kPrintFailedMessage =
    "The printout could not be started. Please check the printer setup (menu \"Diagram\", \"Printer setup\").";

// The About box's text lines, top to bottom.
constexpr std::array<int, 3> kAboutLineTops{222, 238, 254};

// Switches a flag on for as long as it lives.
class Guard {
public:
    explicit Guard(bool& flag) : flag_(flag) { flag_ = true; }
    ~Guard() { flag_ = false; }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    bool& flag_;
};

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string text(const QLineEdit* field) { return field->text().toStdString(); }

}  // namespace

TForm1::TForm1(ZenovaApplication& app) : app_(app), savedChart_(531, 505, QImage::Format_RGB32) {
    setObjectName("Form1");
    setWindowTitle(" Zenova 1.02");
    setFont(layout::windowFont());
    savedChart_.fill(Qt::white);

    QMenu* file = menuBar()->addMenu("&File");
    New1 = layout::action(file, "New1", "&New");
    Laden1 = layout::action(file, "Laden1", "&Open");
    Exit1 = layout::action(file, "Exit1", "Exit");
    Exit1->setShortcut(QKeySequence("Ctrl+X"));
    Info1 = layout::action(menuBar(), "Info1", "&About");

    auto* client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    SpeedButton7 = layout::toolButton(client, "SpeedButton7", "New", "New file", 8, 4);
    SpeedButton2 = layout::toolButton(client, "SpeedButton2", "Open", "Open file", 60, 4);
    SpeedButton5 = layout::toolButton(client, "SpeedButton5", "Exit", "Exit program", 112, 4);

    auto* location = new QGroupBox("Location", client);
    location->setGeometry(8, 32, 262, 128);
    layout::caption(location, "Name :", 8, 22);
    Edit3 = layout::field(location, "Edit3", 39, 84, 18, 140);
    BitBtn1 = layout::button(location, "BitBtn1", "...", 228, 18, 26, 22);
    layout::caption(location, "Longitude :", 8, 50);
    Edit1 = layout::field(location, "Edit1", 7, 84, 46, 64);
    layout::caption(location, "\u00b0 E", 152, 50);
    layout::caption(location, "Latitude :", 8, 76);
    Edit2 = layout::field(location, "Edit2", 6, 84, 72, 64);
    layout::caption(location, "\u00b0 N", 152, 76);
    layout::caption(location, "Time lag :", 8, 102);
    Edit6 = layout::field(location, "Edit6", 5, 84, 98, 64);
    layout::caption(location, "h to GMT", 152, 102);
    BitBtn2 = layout::button(location, "BitBtn2", "!", 228, 98, 26, 22);
    BitBtn2->setToolTip("Time lag from the longitude");

    auto* surface = new QGroupBox("Surface", client);
    surface->setGeometry(8, 166, 262, 138);
    layout::caption(surface, "Inclination :", 8, 34);
    Edit4 = layout::field(surface, "Edit4", 3, 84, 30, 40);
    layout::caption(surface, "\u00b0", 128, 34);
    ScrollBar1 = layout::scrollBar(surface, "ScrollBar1", 0, 179, 15, 140, 32, 112);
    layout::caption(surface, "Orientation :", 8, 100);
    Edit5 = layout::field(surface, "Edit5", 3, 84, 96, 40);
    layout::caption(surface, "\u00b0", 128, 100);
    ScrollBar2 = layout::scrollBar(surface, "ScrollBar2", 0, 360, 45, 140, 98, 112);

    // Each sketch beside its field.
    Image2 = new PictureBox("Image2", kSketchSize, kSketchSize, client);
    Image2->move(282, 166);
    Image1 = new PictureBox("Image1", kSketchSize, kSketchSize, client);
    Image1->move(282, 236);

    RadioButton1 = new QRadioButton("New calculation", client);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setGeometry(282, 40, 140, 20);
    RadioButton2 = new QRadioButton("Old plotting", client);
    RadioButton2->setObjectName("RadioButton2");
    RadioButton2->setGeometry(282, 62, 140, 20);
    Button4 = layout::button(client, "Button4", "Start", 282, 98, 66, 28);
    Button2 = layout::button(client, "Button2", "Exit", 356, 98, 66, 28);
    ProgressBar1 = new QProgressBar(client);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(8, 312, 414, 14);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    // The texts a window description would hold before any handler runs.
    Edit1->setText("0.00");
    Edit2->setText("0.00");
    Edit6->setText("0.0");
    Edit3->setText("Equator");

    for (QLineEdit* f : {Edit1, Edit2, Edit6, Edit3, Edit4, Edit5}) {
        f->installEventFilter(this);
    }
    for (QLineEdit* f : {Edit1, Edit2, Edit6}) {
        filterNumberField(f, true);
    }
    for (QLineEdit* f : {Edit4, Edit5}) {
        filterNumberField(f, false);
    }
    for (QLineEdit* f : {Edit1, Edit2, Edit6}) {
        connect(f, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    }
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Edit3Change(); });
    connect(Edit4, &QLineEdit::textChanged, this, [this] { Edit4Change(); });
    connect(Edit5, &QLineEdit::textChanged, this, [this] { Edit5Change(); });
    // Only the user moves a scroll bar through its actions; a position set by the program
    // runs no handler.
    connect(ScrollBar1, &QScrollBar::actionTriggered, this, [this] { ScrollBar1Scroll(ScrollBar1->sliderPosition()); });
    connect(ScrollBar2, &QScrollBar::actionTriggered, this, [this] { ScrollBar2Scroll(ScrollBar2->sliderPosition()); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { SpeedButton7Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { Laden1Click(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { Button2Click(); });
    connect(New1, &QAction::triggered, this, [this] { SpeedButton7Click(); });
    connect(Laden1, &QAction::triggered, this, [this] { Laden1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Button2Click(); });
    connect(Info1, &QAction::triggered, this, [this] { Info1Click(); });

    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
    Edit4->setText("0");
    ScrollBar1->setRange(0, kMaxInclination);
    ScrollBar1->setValue(0);
    Edit5->setText("180");
    ScrollBar2->setRange(0, kMaxOrientation);
    ScrollBar2->setValue(180);
    drawOrientation(180);
    drawInclination(0);
    RadioButton1->setEnabled(true);
    RadioButton1->setChecked(true);
    RadioButton2->setEnabled(false);

    const QSize screen = app_.services().screen.size();
    const int top = screen.height() < 600 ? 2 : (screen.height() - height()) / 2;
    move((screen.width() - width()) / 2, top);
}

void TForm1::FormActivate() {
    if (app_.services().screen.size().height() < kSmallestScreenHeight) {
        // Activated again when the message goes: by then the program is ending.
        if (!refusing_) {
            refusing_ = true;
            inform(kSmallScreenMessage);
            app_.end(1);  // it did not run
            close();
        }
        return;
    }
    TForm2& form2 = app_.form2();
    form2.scrollToOrigin();
    // The labels hold the positions the user dragged them to (or a diagram file set); the
    // next Start under "Old plotting" and the next printout use them.
    DiagramState& state = app_.state();
    for (int k = 0; k < 13; ++k) {
        const QLabel* first = form2.label(k + 1);
        const QLabel* second = form2.label(k + 14);
        state.dateLabelPositions[k] = {{first->x(), first->y()}, {second->x(), second->y()}};
    }
    for (int h = 1; h <= 24; ++h) {
        const QLabel* l = form2.label(26 + h);
        state.hourLabelPositions[h - 1] = {l->x(), l->y()};
    }
}

bool TForm1::Edit1KeyPress(QLineEdit* field, QKeyEvent* key) { return dropNumberKey(field, key, true); }
bool TForm1::Edit4KeyPress(QLineEdit* field, QKeyEvent* key) { return dropNumberKey(field, key, false); }

void TForm1::Edit1KeyUp() { checkLimit(Edit1, kLongitudeLimit); }
void TForm1::Edit2KeyUp() { checkLimit(Edit2, kLatitudeLimit); }
void TForm1::Edit6KeyUp() { checkLimit(Edit6, kTimeLagLimit); }

void TForm1::Edit1Exit() { Edit1->setText(text(tidyCoordinate(text(Edit1), 2))); }
void TForm1::Edit2Exit() { Edit2->setText(text(tidyCoordinate(text(Edit2), 2))); }
void TForm1::Edit6Exit() { Edit6->setText(text(tidyCoordinate(text(Edit6), 1))); }
void TForm1::Edit4Exit() { Edit4->setText(text(tidyWhole(text(Edit4)))); }
void TForm1::Edit5Exit() { Edit5->setText(text(tidyWhole(text(Edit5)))); }

void TForm1::Edit1Change() {
    if (changing_) {
        return;
    }
    const Guard guard(changing_);
    Edit1->setEnabled(true);
    Edit6->setEnabled(true);
    if (!customLocation_) {
        Edit3->setText("Unknown");
    }
    customLocation_ = true;
    BitBtn2->setEnabled(true);
    if (const auto pole = poleName(text(Edit2))) {
        Edit1->setText("0.00");
        Edit6->setText("0.0");
        Edit3->setText(text(*pole));
    }
    selectNewCalculation();
}

void TForm1::Edit3Change() {
    if (!changing_) {
        customLocation_ = true;
    }
}

void TForm1::Edit4Change() { wholeFieldChange(Edit4, ScrollBar1, kMaxInclination, &TForm1::drawInclination); }
void TForm1::Edit5Change() { wholeFieldChange(Edit5, ScrollBar2, kMaxOrientation, &TForm1::drawOrientation); }

void TForm1::wholeFieldChange(QLineEdit* field, QScrollBar* bar, int high, void (TForm1::*sketch)(int)) {
    if (changing_) {
        return;
    }
    const Guard guard(changing_);
    if (field->text() == "-") {
        field->clear();
        return;
    }
    if (field->text().isEmpty()) {
        return;
    }
    const int value = limitedWhole(text(field), high);
    bar->setValue(value);
    (this->*sketch)(value);
    // Set only when limiting changed it: setting a text moves the cursor to its end and
    // forgets what undo could take back.
    if (const QString limited = QString::number(value); field->text() != limited) {
        field->setText(limited);
    }
    selectNewCalculation();
}

void TForm1::ScrollBar1Scroll(int position) {
    Edit4->setText(QString::number(position));
    drawInclination(position);
}

void TForm1::ScrollBar2Scroll(int position) {
    Edit5->setText(QString::number(position));
    drawOrientation(position);
}

void TForm1::BitBtn2Click() { Edit6->setText(text(timeLagFromLongitude(text(Edit1)))); }

void TForm1::SpeedButton1Click() {
    TForm4& form4 = app_.form4();
    if (form4.listAvailable()) {
        layout::bringToFront(&form4);
    }
}

void TForm1::SpeedButton7Click() {
    const MessageButton answer = app_.services().dialogs.ask(
        {"Information:", "Not saved data will be lost!", MessageIcon::warning,
         {MessageButton::ok, MessageButton::cancel}, MessageButton::cancel},
        this);
    if (answer != MessageButton::ok) {
        return;
    }
    Edit4->setText("0");
    ScrollBar1->setValue(0);
    Edit5->setText("180");
    ScrollBar2->setValue(180);
    drawOrientation(180);
    drawInclination(0);
    for (QLineEdit* f : {Edit1, Edit2, Edit6, Edit3}) {
        f->clear();
    }
}

void TForm1::Button2Click() {
    const MessageButton answer = app_.services().dialogs.ask(
        {"Confirm:", "Exit Zenova 1.02 ?", MessageIcon::question, {MessageButton::ok, MessageButton::cancel},
         MessageButton::cancel},
        this);
    if (answer == MessageButton::ok) {
        close();
    }
}

void TForm1::Laden1Click() {
    setEnabled(false);
    TForm3& form3 = app_.form3();
    form3.Button1->setEnabled(false);
    layout::bringToFront(&form3);
}

void TForm1::Dateispeichern1Click() {
    TForm3& form3 = app_.form3();
    form3.Button3->setEnabled(false);
    form3.Button1->setEnabled(true);
    layout::bringToFront(&form3);
}

void TForm1::Druckereinrichten1Click() { app_.services().printing.setUp(this); }

void TForm1::Drucken1Click() {
    TForm2& form2 = app_.form2();
    Printing& printing = app_.services().printing;
    // The diagram window asked under a waiting cursor; a message wants the arrow.
    const auto report = [this](const QString& message) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        inform(message);
        QApplication::restoreOverrideCursor();
    };
    const auto paint = [&](QPainter& painter, const QPageLayout& layout, int dotsPerInch) {
        const QRectF printable = layout.paintRect(QPageLayout::Millimeter);
        const PageFrame frame = pageFrame(static_cast<int>(printable.width()), static_cast<int>(printable.height()));
        const PrintoutTexts texts{{text(Edit1), text(Edit2), text(Edit6), text(Edit4), text(Edit5)},
                                  text(Edit3),
                                  form2.Label84->text().toStdString(),
                                  form2.Label85->text().toStdString()};
        // The printout prepares a context of its own: the screen's stays as Start left it.
        SunContext context = app_.context();
        const DiagramModel chart = computePrintedDiagram(context, app_.state(), texts.inputs);
        QtPageSurface page(painter, dotsPerInch);
        drawPrintout(page, frame, chart, app_.state(), texts, form2.colouredPrintout());
    };

    const QPrinter& chosen = printing.printer();
    if (chosen.outputFormat() == QPrinter::PdfFormat && !chosen.outputFileName().isEmpty()) {
        // The printer's own PDF file goes unchecked: on a full disk it is cut short and the
        // job still ends well. The page is made in memory and written as the program's
        // other files are, so a failed write says so and leaves an older file whole.
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&pdf);
            writer.setPageLayout(chosen.pageLayout());
            writer.setResolution(chosen.resolution());
            writer.setCreator(chosen.creator());
            writer.setTitle(chosen.docName());
            QPainter painter;
            if (!painter.begin(&writer)) {
                report(kPrintFailedMessage);
                return;
            }
            paint(painter, writer.pageLayout(), writer.resolution());
            painter.end();
        }
        const QString path = chosen.outputFileName();
        if (const QString error = writeWholeFile(path, pdf.data()); !error.isEmpty()) {
            report(writeFailureMessage(path, error));
            return;
        }
    } else {
        QPainter painter;
        if (!printing.begin(painter)) {
            report(kPrintFailedMessage);
            return;
        }
        QPrinter& printer = printing.printer();
        paint(painter, printer.pageLayout(), printer.resolution());
        painter.end();
    }

    // Under "Sun OFF" the special day's path stays off the chart.
    if (form2.SpeedButton1->isChecked()) {
        form2.uebergeben();
    }
    form2.SpeedButton2Click();
}

void TForm1::Info1Click() {
    Tintro& about = app_.intro();
    about.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
    about.setAttribute(Qt::WA_ShowWithoutActivating, false);
    about.setWindowModality(Qt::ApplicationModal);
    about.setWindowTitle("About");
    about.setFixedSize(Tintro::kWidth, Tintro::kHeight);
    about.ProgressBar1->hide();
    about.Bevel1->setFrameShadow(QFrame::Sunken);
    about.Bevel1->setGeometry(1, 1, Tintro::kWidth - 2, Tintro::kHeight - 2);
    for (int i = 0; i < 3; ++i) {
        about.line(i)->move(about.line(i)->x(), kAboutLineTops[static_cast<std::size_t>(i)]);
    }
    const QSize screen = app_.services().screen.size();
    about.move((screen.width() - about.width()) / 2, (screen.height() - about.height()) / 2);
    layout::bringToFront(&about);
}

void TForm1::Button4Click() {
    // A button or a menu takes no focus here, so the field being edited has not been left yet.
    leaveField(QApplication::focusWidget());
    TForm2& form2 = app_.form2();
    SunContext& context = app_.context();
    DiagramState& state = app_.state();

    setProgress(5);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (limitedWhole(text(Edit4), kMaxInclination) == 0) {
        // A horizontal surface faces nowhere.
        Edit5->setText("0");
        drawOrientation(0);
    }
    const DiagramInputs inputs{text(Edit1), text(Edit2), text(Edit6), text(Edit4), text(Edit5)};
    const DiagramSettings diagramSettings = settings();
    app_.model() = computeSunPathDiagram(context, state, inputs, diagramSettings,
                                         [this](int step) { setProgress(ProgressBar1->value() + step); });
    {
        QtImageSurface surface(form2.Image1->image());
        renderDiagram(surface, app_.model(), diagramSettings.scaleDivisor);
    }
    form2.Image1->update();

    form2.Label65->setText(Edit3->text());
    form2.Label66->setText(Edit1->text());
    form2.Label67->setText(Edit2->text());
    form2.Label68->setText(Edit5->text());
    form2.Label69->setText(Edit4->text());
    const bool horizontal = Edit4->text() == "0";
    for (QLabel* l : {form2.orientationCaption, form2.orientationColon, form2.Label68, form2.orientationUnit}) {
        l->setVisible(!horizontal);
    }
    form2.Label78->setText(form2.Label51->text());
    form2.drawLegend(!horizontal);

    savedChart_ = form2.Image1->image();
    QApplication::restoreOverrideCursor();
    if (diagramSettings.newCalculation) {
        placeHourLabels();  // the anchors were computed afresh with the diagram
    }

    form2.scrollToOrigin();
    form2.showNormal();
    form2.raise();
    form2.activateWindow();
    setProgress(0);
    beschriftung();
    setEnabled(false);
    app_.form4().setEnabled(false);
}

void TForm1::Linienzugaufruf() {
    TForm2& form2 = app_.form2();
    form2.Image1->setImage(savedChart_);
    app_.state().curveDays[kSpecialCurve] = form2.specialDay();
    {
        QtImageSurface surface(form2.Image1->image());
        drawDateCurve(surface, app_.context(), app_.state(), kSpecialCurve, settings());
    }
    form2.Image1->update();
}

void TForm1::beschriftung() {
    hideOutOfRangeDateLabels(app_.state());
    app_.form2().placeDateLabels(app_.state());
}

void TForm1::Uhrzeitlabel() {
    computeHourLabelPositions(app_.context(), app_.state(), kDiagramPictureLeft);
    placeHourLabels();
}

void TForm1::placeHourLabels() { app_.form2().placeHourLabels(app_.state()); }

bool TForm1::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QMainWindow::event(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (field == nullptr) {
        return QMainWindow::eventFilter(watched, event);
    }
    const bool coordinate = field == Edit1 || field == Edit2 || field == Edit6;
    const bool whole = field == Edit4 || field == Edit5;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (coordinate) {
            return Edit1KeyPress(field, key);
        }
        if (whole) {
            return Edit4KeyPress(field, key);
        }
        break;
    }
    case QEvent::KeyRelease:
        // A held key repeats its presses, not the check that follows letting it go.
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            if (field == Edit1) {
                Edit1KeyUp();
            } else if (field == Edit2) {
                Edit2KeyUp();
            } else if (field == Edit6) {
                Edit6KeyUp();
            }
        }
        break;
    case QEvent::FocusOut:
        if (leavesField(static_cast<QFocusEvent*>(event))) {
            leaveField(field);
        }
        break;
    case QEvent::ShortcutOverride:
        // The menu's Ctrl+X (Exit) comes before the field's own use of the key.
        if (QKeySequence(static_cast<QKeyEvent*>(event)->keyCombination()) == Exit1->shortcut()) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (field == Edit3) {
            SpeedButton1Click();
        }
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The program ends with its main window, whatever other windows are open.
    for (QWidget* w : std::initializer_list<QWidget*>{&app_.intro(), &app_.form2(), &app_.form3(), &app_.form4()}) {
        w->hide();
    }
    QMainWindow::closeEvent(event);
    app_.end(0);
}

void TForm1::leaveField(const QWidget* field) {
    if (field == Edit1) {
        Edit1Exit();
    } else if (field == Edit2) {
        Edit2Exit();
    } else if (field == Edit6) {
        Edit6Exit();
    } else if (field == Edit4) {
        Edit4Exit();
    } else if (field == Edit5) {
        Edit5Exit();
    }
}

void TForm1::inform(const QString& message) { zenova::inform(app_.services().dialogs, message, this); }

void TForm1::checkLimit(QLineEdit* field, const FieldLimit& limit) {
    if (const auto breach = limitBreach(limit, text(field))) {
        inform(text(breach->message));
        field->setText(text(breach->replacement));
    }
}

void TForm1::selectNewCalculation() {
    RadioButton1->setEnabled(true);
    RadioButton1->setChecked(true);
    RadioButton2->setEnabled(false);
}

void TForm1::drawOrientation(int orientation) {
    {
        QtImageSurface surface(Image1->image());
        drawOrientationSketch(surface, orientation);
    }
    Image1->update();
}

void TForm1::drawInclination(int inclination) {
    {
        QtImageSurface surface(Image2->image());
        drawInclinationSketch(surface, inclination);
    }
    Image2->update();
}

void TForm1::setProgress(int value) { ProgressBar1->setValue(std::clamp(value, 0, 100)); }

DiagramSettings TForm1::settings() const {
    return {kScreenScaleDivisor, RadioButton1->isChecked(), kDiagramPictureLeft};
}

}  // namespace zenova
