#include "PictureBox.h"

#include <QPainter>

namespace zenova {

PictureBox::PictureBox(const QString& name, int width, int height, QWidget* parent, QImage::Format format)
    : QWidget(parent), image_(width, height, format) {
    setObjectName(name);
    setFixedSize(width, height);
    image_.fill(image_.hasAlphaChannel() ? Qt::transparent : Qt::white);
}

void PictureBox::setImage(const QImage& image) {
    if (image.size() == image_.size() && image.format() == image_.format()) {
        image_ = image;
    } else {
        image_.fill(Qt::white);
        QPainter painter(&image_);
        painter.drawImage(0, 0, image);
    }
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
}

}  // namespace zenova
