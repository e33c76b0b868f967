#include "TForm2.h"

#include "Diagram.h"
#include "Layout.h"
#include "Numeric.h"
#include "PictureBox.h"
#include "QtImageSurface.h"
#include "Readouts.h"
#include "TForm1.h"
#include "TForm4.h"
#include "ZenovaApplication.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QToolButton>

namespace zenova {

namespace {

constexpr int kClientWidth = 800;
constexpr int kClientHeight = 526;
constexpr QRgb kSilver = 0xffc0c0c0u;

// The drag limits of a label and the trash can at the chart's lower left.
constexpr int kLabelLeftMin = 227;
constexpr int kLabelLeftMax = 740;
constexpr int kLabelTopMax = 505;
bool overTrashCan(int left, int top) { return top > 476 && left < 255; }

QString text(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

void setBackground(QLabel* label, const QColor& colour) {
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    label->setPalette(p);
}

QImage trashCan() {
    QImage image(28, 25, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(QPen(Qt::darkGray, 1));
    p.setBrush(Qt::lightGray);
    p.drawRect(7, 6, 13, 17);
    p.drawLine(5, 4, 22, 4);
    p.drawLine(11, 2, 16, 2);
    for (int x = 10; x <= 17; x += 3) {
        p.drawLine(x, 9, x, 20);
    }
    return image;
}

QImage sunSymbol() {
    QImage image(15, 15, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 0, 0), 1.5));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
    return image;
}

}  // namespace

TForm2::TForm2(ZenovaApplication& app) : app_(app) {
    setObjectName("Form2");
    setWindowTitle("Sun Orbit Diagram");
    setFont(layout::windowFont());

    QMenu* diagram = menuBar()->addMenu("&Diagram");
    Speichern1 = layout::action(diagram, "Speichern1", "&Save");
    Druckereinrichten1 = layout::action(diagram, "Druckereinrichten1", "P&rinter setup");
    Drucken1 = layout::action(diagram, "Drucken1", "&Print");
    Schlieen1 = layout::action(diagram, "Schlieen1", "&Close");

    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName("scrollArea");
    scrollArea_->setFrameShape(QFrame::NoFrame);
    client_ = new QWidget;
    client_->setObjectName("client");
    client_->setFixedSize(kClientWidth, kClientHeight);
    scrollArea_->setWidget(client_);
    setCentralWidget(scrollArea_);
    QWidget* c = client_;

    SpeedButton6 = layout::toolButton(c, "SpeedButton6", "Save", "Save Diagram", 4, 4);
    SpeedButton4 = layout::toolButton(c, "SpeedButton4", "Print", "Print diagram", 54, 4);
    SpeedButton5 = layout::toolButton(c, "SpeedButton5", "Close", "Close diagram", 104, 4);
    SpeedButton3 = layout::toolButton(c, "SpeedButton3", "Hours", "Change timepositions in plotting.", 154, 4);
    SpeedButton7 = layout::toolButton(c, "SpeedButton7", "Restore", "Restore all old positions.", 204, 4);
    SpeedButton2 = layout::toolButton(c, "SpeedButton2", "", "", 0, 0);
    SpeedButton2->hide();

    // Data panel.
    const auto row = [c](const QString& title, int y, const QString& name, const QString& unit, int x = 90) {
        layout::caption(c, title, 4, y);
        layout::caption(c, ":", x - 10, y);
        QLabel* value = layout::value(c, name, x, y, unit.isEmpty() ? 160 : 64);
        if (!unit.isEmpty()) {
            layout::caption(c, unit, x + 64, y);
        }
        return value;
    };
    Label65 = row("Location", 36, "Label65", "");
    Label66 = row("Longitude", 52, "Label66", "\u00b0 E");
    Label67 = row("Latitude", 68, "Label67", "\u00b0 N");
    Label113 = row("Time lag", 84, "Label113", "h to GMT");
    Label69 = row("Inclination", 100, "Label69", "\u00b0");
    orientationCaption = layout::caption(c, "Orientation", 4, 116);
    orientationColon = layout::caption(c, " : ", 76, 116);
    Label68 = layout::value(c, "Label68", 90, 116, 64);
    orientationUnit = layout::caption(c, "\u00b0", 154, 116);
    Label83 = row("Yearly sunhours", 136, "Label83", "h", 160);
    layout::caption(c, "Yearly average daylength", 4, 152);
    layout::caption(c, ":", 150, 152);
    Label84 = layout::value(c, "Label84", 160, 152, 20);
    layout::caption(c, "h", 182, 152);
    Label85 = layout::value(c, "Label85", 196, 152, 20);
    layout::caption(c, "min", 218, 152);

    // Time panel.
    layout::caption(c, "Time :", 4, 178);
    ScrollBar2 = layout::scrollBar(c, "ScrollBar2", 0, 1439, 60, 4, 196, 244);
    ScrollBar2->setToolTip("Choose time at selected day.");
    Label52 = layout::value(c, "Label52", 60, 178, 18);
    Label52->setAlignment(Qt::AlignRight);
    layout::caption(c, ":", 79, 178);
    Label54 = layout::value(c, "Label54", 84, 178, 18);
    Label55 = layout::value(c, "Label55", 106, 178, 30);
    layout::caption(c, "Sun-elevation  :", 4, 220);
    Label57 = layout::value(c, "Label57", 110, 220, 90);
    layout::caption(c, "Sun-azimuth", 4, 236);
    layout::caption(c, ":", 96, 236);
    Label59 = layout::value(c, "Label59", 110, 236, 90);

    // Day panel.
    layout::caption(c, "Day :", 4, 264);
    Label51 = layout::value(c, "Label51", 40, 264, 80);
    QPalette red = Label51->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    Label51->setPalette(red);
    SpeedButton1 = layout::toolButton(c, "SpeedButton1", "Sun ON", "Show sun on special day in diagram (on/off).", 180,
                                      260);
    SpeedButton1->setFixedWidth(68);
    SpeedButton1->setCheckable(true);
    ScrollBar1 = layout::scrollBar(c, "ScrollBar1", 1, 365, 30, 4, 286, 244);
    ScrollBar1->setToolTip("Select special day.");
    Edit1 = new QLineEdit(c);
    Edit1->setObjectName("Edit1");
    Edit1->hide();
    layout::caption(c, "Sunrises and ", 4, 310);
    layout::caption(c, "sunsets :", 4, 326);
    Label79 = layout::value(c, "Label79", 82, 310, 38);
    Label101 = layout::value(c, "Label101", 120, 310, 28);
    layout::caption(c, "-", 152, 310);
    Label81 = layout::value(c, "Label81", 162, 310, 38);
    Label102 = layout::value(c, "Label102", 200, 310, 28);
    Label97 = layout::value(c, "Label97", 82, 326, 38);
    Label103 = layout::value(c, "Label103", 120, 326, 28);
    layout::caption(c, "-", 152, 326);
    Label99 = layout::value(c, "Label99", 162, 326, 38);
    Label104 = layout::value(c, "Label104", 200, 326, 28);
    layout::caption(c, "Daylength", 4, 346);
    layout::caption(c, ":", 76, 346);
    Label91 = layout::value(c, "Label91", 82, 346, 20);
    layout::caption(c, "h", 104, 346);
    Label92 = layout::value(c, "Label92", 118, 346, 20);
    layout::caption(c, "min", 140, 346);

    // Legend.
    Image3 = new PictureBox("Image3", 56, 70, c);
    Image3->move(4, 376);
    layout::caption(c, "Year\u00b4s 1st half", 64, 380);
    layout::caption(c, "Year\u00b4s 2nd half", 64, 397);
    localHorizonLegend = layout::caption(c, "Local horizon", 64, 415);
    Label77 = layout::caption(c, "Special day:", 64, 431, "Label77");
    Label78 = layout::value(c, "Label78", 140, 431, 80);

    Image1 = new PictureBox("Image1", 531, 505, c);
    Image1->move(kDiagramPictureLeft, 0);
    Image2 = new PictureBox("Image2", 28, 25, c);
    Image2->setImage(trashCan());
    Image2->move(kLabelLeftMin, 480);
    Image2->setToolTip("Trash can");
    Image4 = new PictureBox("Image4", 15, 15, c, QImage::Format_ARGB32_Premultiplied);
    Image4->setImage(sunSymbol());
    Image4->hide();

    // The movable labels lie above everything else; until a diagram places them they are
    // parked off the picture.
    for (int n = 1; n <= 50; ++n) {
        const int k = (n - 1) % 13;
        const bool date = n <= 26;
        auto* l = new QLabel(date ? text(kCurveCaptions[k]) : text(hourLabelText(n - 26)), c);
        l->setObjectName(QString("Label%1").arg(n));
        l->setFont(layout::windowFont(10));
        l->setAutoFillBackground(true);
        setBackground(l, Qt::white);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, !date ? QColor(0, 0, 0) : (k <= 5 ? QColor(0, 0, 128) : QColor(0, 128, 0)));
        l->setPalette(p);
        l->adjustSize();
        layout::place(l, kHiddenAnchor);
        l->installEventFilter(this);
        dragLabels[static_cast<std::size_t>(n - 1)] = l;
    }

    connect(ScrollBar1, &QScrollBar::actionTriggered, this, [this] { ScrollBar1Scroll(ScrollBar1->sliderPosition()); });
    connect(ScrollBar2, &QScrollBar::actionTriggered, this, [this] { ScrollBar2Scroll(ScrollBar2->sliderPosition()); });
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this] { SpeedButton3Click(); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] { SpeedButton7Click(); });
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { SpeedButton4Click(); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { Schlieen1Click(); });
    connect(SpeedButton6, &QToolButton::clicked, this, [this] { SpeedButton6Click(); });
    connect(Speichern1, &QAction::triggered, this, [this] { SpeedButton6Click(); });
    connect(Druckereinrichten1, &QAction::triggered, this, [this] { SpeedButton5Click(); });
    connect(Drucken1, &QAction::triggered, this, [this] { SpeedButton4Click(); });
    connect(Schlieen1, &QAction::triggered, this, [this] { Schlieen1Click(); });
}

TForm2::~TForm2() = default;

void TForm2::FormCreate() {
    const QSize screen = app_.services().screen.size();
    if (screen.height() < 600) {
        resize(screen.width(), screen.height() - 25);
        move(0, 0);
    } else {
        resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
        if (screen.height() == 600) {
            move(0, 0);
        } else {
            move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
        }
    }
    ScrollBar2->setRange(0, 1439);
    ScrollBar2->setValue(0);
    ScrollBar1->setRange(1, 365);
    ScrollBar1->setValue(172);
    Edit1->setText("172");
    Label51->setText(text(dateText(172)));
    Label78->setText(Label51->text());
    app_.form1().Linienzugaufruf();
    Image4->hide();
    uebergeben();
    SpeedButton2Click();
}

void TForm2::FormShow() {
    SpeedButton1->setChecked(true);
    SpeedButton1->setText("Sun ON");
    // The special day's text shows with its caption: a "Sun OFF" before this Start hid both.
    Label77->show();
    Label78->show();
    Label113->setText(app_.form1().Edit6->text());
    const YearlyValues year = yearlyValues(app_.state().annualSunshineTimes, Label69->text() == "0");
    Label83->setText(QString::number(year.sunHours));
    Label84->setText(QString::number(year.averageDay.hours));
    Label85->setText(QString::number(year.averageDay.minutes));
    aktuelleZeit();
    tageslaenge();
    sonnengaenge();
}

void TForm2::FormClose() {
    TForm1& form1 = app_.form1();
    form1.setEnabled(true);
    app_.form4().setEnabled(true);
    form1.RadioButton2->setEnabled(true);
    form1.RadioButton2->setChecked(true);
    form1.RadioButton1->setChecked(false);
}

void TForm2::aktuelleZeit() {
    const QDateTime now = app_.services().clock.now();
    const int day = dayOfYear(now.date().month(), now.date().day());
    selectedMinute_ = now.time().hour() * 60 + now.time().minute();
    showClock(selectedMinute_);
    Edit1->setText(QString::number(day));
    showDay(day, true);
    app_.form1().Linienzugaufruf();
    Image4->hide();
    uebergeben();
    SpeedButton2Click();
    ScrollBar2->setValue(selectedMinute_);
    ScrollBar1->setValue(day);
}

void TForm2::ScrollBar2Scroll(int minute) {
    selectedMinute_ = minute;
    showClock(minute);
    SpeedButton2Click();
}

void TForm2::ScrollBar1Scroll(int day) {
    Image4->hide();
    Edit1->setText(QString::number(day));
    const bool sunOn = SpeedButton1->isChecked();
    showDay(day, sunOn);
    if (sunOn) {
        uebergeben();
        SpeedButton2Click();
    }
    tageslaenge();
    sonnengaenge();
    SpeedButton2Click();
}

void TForm2::uebergeben() {
    SpeedButton2->setEnabled(true);
    ScrollBar2->setEnabled(true);
    app_.form1().Linienzugaufruf();
}

void TForm2::SpeedButton2Click() {
    const SunReadout r = sunReadout(app_.context(), specialDay(), selectedMinute_, kDiagramPictureLeft);
    Label57->setText(text(r.elevationText));
    Label59->setText(text(r.azimuthText));
    if (!r.shown) {
        Image4->hide();
        return;
    }
    selectedClockTime_ = r.clockTime;
    Image4->move(r.symbolLeft, r.symbolTop);
    Image4->setVisible(SpeedButton1->isChecked());
    Image4->raise();
}

void TForm2::tageslaenge() {
    const HoursAndMinutes length = hoursAndMinutes(sunshineHours(app_.state().annualSunshineTimes[specialDay()]));
    Label91->setText(QString::number(length.hours));
    Label92->setText(QString::number(length.minutes));
}

void TForm2::sonnengaenge() {
    const SunriseSunset s =
        sunriseSunset(app_.state().annualSunshineTimes[specialDay()], Label91->text() == "24" ? 24 : -1);
    const auto show = [](QLabel* time, QLabel* half, const ClockText& t) {
        time->setText(text(t.time));
        half->setText(text(t.halfOfDay));
    };
    show(Label79, Label101, s.firstStart);
    show(Label81, Label102, s.firstEnd);
    show(Label97, Label103, s.secondStart);
    show(Label99, Label104, s.secondEnd);
}

void TForm2::SpeedButton1Click() {
    Image1->setImage(app_.form1().savedChart());
    Image4->hide();
    const bool on = SpeedButton1->isChecked();
    SpeedButton1->setText(on ? "Sun ON" : "Sun OFF");
    if (on) {
        // The legend names the day whose path is drawn again, which the day scroll may
        // have moved while the sun was off.
        Label78->setText(Label51->text());
        uebergeben();
        SpeedButton2Click();
    }
    Label77->setVisible(on);
    Label78->setVisible(on);
    drawSpecialDayLegend(on);
}

void TForm2::SpeedButton3Click() {
    SunContext& context = app_.context();
    context.longestDay = context.longestDay == 172 ? 354 : (context.longestDay == 354 ? 172 : context.longestDay);
    app_.state().hourLabelPositions.fill(kHiddenAnchor);
    app_.form1().Uhrzeitlabel();
}

void TForm2::SpeedButton7Click() {
    app_.form1().beschriftung();
    SpeedButton3Click();
    SpeedButton3Click();
}

void TForm2::SpeedButton4Click() {
    const MessageButton answer = app_.services().dialogs.ask(
        {"Confirm:", "Colored printout ?", MessageIcon::question,
         {MessageButton::yes, MessageButton::no, MessageButton::cancel}, MessageButton::no},
        this);
    if (answer != MessageButton::yes && answer != MessageButton::no) {
        return;
    }
    colouredPrintout_ = answer == MessageButton::yes;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app_.form1().FormActivate();
    app_.form1().Drucken1Click();
    QApplication::restoreOverrideCursor();
}

void TForm2::SpeedButton5Click() { app_.form1().Druckereinrichten1Click(); }

void TForm2::SpeedButton6Click() {
    setEnabled(false);
    app_.form1().FormActivate();
    app_.form1().Dateispeichern1Click();
}

void TForm2::Schlieen1Click() { close(); }

void TForm2::Label1MouseDown(QLabel* label, QMouseEvent* event) {
    dragButtons_ = event->buttons();
    dragModifiers_ = event->modifiers();
    pressPoint_ = event->position().toPoint();
    if (dragButtons_ == Qt::LeftButton && dragModifiers_ == Qt::NoModifier) {
        dragging_ = true;
        setBackground(label, QColor(192, 192, 192));
    }
}

void TForm2::Label1MouseMove(QLabel* label, QMouseEvent* event) {
    if (dragButtons_ == Qt::LeftButton && dragModifiers_ == Qt::NoModifier) {
        const QPoint p = event->position().toPoint();
        label->move(label->x() + p.x() - pressPoint_.x(), label->y() + p.y() - pressPoint_.y());
    }
}

void TForm2::Label1MouseUp(QLabel* label, QMouseEvent* event) {
    dragButtons_ = event->buttons();
    dragModifiers_ = event->modifiers();
    Label1MouseMove(label, event);
    if (!dragging_) {
        return;  // only a drag begun with the left button alone places the label
    }
    dragging_ = false;
    const int left = std::clamp(label->x(), kLabelLeftMin, kLabelLeftMax);
    const int top = std::clamp(label->y(), 0, kLabelTopMax);
    layout::place(label, overTrashCan(left, top) ? kHiddenAnchor : LabelAnchor{left, top});
    setBackground(label, Qt::white);
}

void TForm2::placeDateLabels(const DiagramState& state) {
    for (int k = 0; k < 13; ++k) {
        layout::place(label(k + 1), state.dateLabelPositions[k].first);
        layout::place(label(k + 14), state.dateLabelPositions[k].second);
    }
}

void TForm2::placeHourLabels(const DiagramState& state) {
    for (int h = 1; h <= 24; ++h) {
        layout::place(label(26 + h), state.hourLabelPositions[h - 1]);
    }
}

void TForm2::scrollToOrigin() {
    scrollArea_->horizontalScrollBar()->setValue(0);
    scrollArea_->verticalScrollBar()->setValue(0);
}

int TForm2::specialDay() const { return std::clamp(parseInteger(Edit1->text().toStdString()), 1, 365); }

void TForm2::drawLegend(bool localHorizon) {
    QImage& image = Image3->image();
    image.fill(kSilver);
    {
        QtImageSurface surface(image);
        surface.setPenWidth(2);
        const auto line = [&surface](int y, Colour colour) {
            surface.setPenColour(colour);
            surface.moveTo(2, y);
            surface.lineTo(52, y);
        };
        line(11, colours::navy);
        line(28, colours::green);
        line(62, colours::red);
        localHorizonLegend->setVisible(localHorizon);
        if (localHorizon) {
            surface.setPenWidth(1);
            surface.setPenStyle(PenStyle::dotted);
            line(46, colours::black);
        }
    }
    Image3->update();
}

void TForm2::drawSpecialDayLegend(bool sunOn) {
    {
        QtImageSurface surface(Image3->image());
        surface.setPenWidth(2);
        surface.setPenColour(sunOn ? colours::red : colours::silver);
        surface.moveTo(2, 62);
        surface.lineTo(52, 62);
    }
    Image3->update();
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
    auto* label = qobject_cast<QLabel*>(watched);
    if (label != nullptr && std::find(dragLabels.begin(), dragLabels.end(), label) != dragLabels.end()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Label1MouseDown(label, static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseMove:
            Label1MouseMove(label, static_cast<QMouseEvent*>(event));
            return true;
        case QEvent::MouseButtonRelease:
            Label1MouseUp(label, static_cast<QMouseEvent*>(event));
            return true;
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm2::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Every showing by Start, not a window coming back from the task bar.
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm2::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

void TForm2::showClock(int minute) {
    const ClockReadout r = clockReadout(minute);
    Label52->setText(text(r.hour));
    Label54->setText(text(r.minute));
    Label55->setText(text(r.halfOfDay));
}

void TForm2::showDay(int day, bool inLegend) {
    Label51->setText(text(dateText(day)));
    if (inLegend) {
        Label78->setText(Label51->text());
    }
}

}  // namespace zenova
