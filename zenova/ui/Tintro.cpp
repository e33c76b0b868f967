#include "Tintro.h"

#include "Layout.h"
#include "PictureBox.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>

#include <array>

namespace zenova {

namespace {

// Three sun paths over a horizon, the summer one with its sun.
QImage sunPaths() {
    QImage image(200, 104, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.drawArc(QRectF(40, 60, 120, 70), 0, 180 * 16);
    p.drawArc(QRectF(20, 30, 160, 130), 0, 180 * 16);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawArc(QRectF(4, 4, 192, 182), 0, 180 * 16);
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(0, 95, 200, 95);
    p.setPen(QPen(QColor(255, 0, 0), 1.5));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(QPointF(156, 26), 7, 7);
    return image;
}

QLabel* centredLine(QWidget* parent, const QString& name, const QString& text, int top, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(0, top, Tintro::kWidth, QFontMetrics(font).height());
    return label;
}

}  // namespace

Tintro::Tintro() {
    setObjectName("intro");
    // While the program starts it shows without a frame and leaves the focus alone.
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFont(layout::windowFont());
    setFixedSize(kWidth, kHeight);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName("Bevel1");
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setLineWidth(2);
    Bevel1->setGeometry(0, 0, kWidth, kHeight);

    QFont title = layout::windowFont(40);
    title.setBold(true);
    Label1 = centredLine(this, "Label1", "Zenova", 14, title);
    Label1->setStyleSheet("color: #000080");
    Image1 = new PictureBox("Image1", 200, 104, this, QImage::Format_ARGB32_Premultiplied);
    Image1->setImage(sunPaths());
    Image1->move((kWidth - 200) / 2, 74);
    Label2 = centredLine(this, "Label2", "Version 1.02", 196, layout::windowFont());
    Label3 = centredLine(this, "Label3", "Sun-path diagrams for any place and any tilted surface", 212,
                         layout::windowFont());
    Label4 = centredLine(this, "Label4", "Sun paths, hours, sunrises and sunsets through the year", 228,
                         layout::windowFont());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(24, 252, kWidth - 48, 14);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

Tintro::~Tintro() = default;

QLabel* Tintro::line(int i) const {
    const std::array<QLabel*, 3> lines{Label2, Label3, Label4};
    return lines.at(static_cast<std::size_t>(i));
}

}  // namespace zenova
