// A picture of fixed size that shows its image as it is, pixel for pixel: the diagram, the
// sketches, the legend, the trash can and the sun symbol.
#ifndef ZENOVA_PICTURE_BOX_H
#define ZENOVA_PICTURE_BOX_H

#include <QImage>
#include <QWidget>

namespace zenova {

class PictureBox final : public QWidget {
public:
    // A picture with an alpha channel lets what lies beneath show through its clear parts.
    PictureBox(const QString& name, int width, int height, QWidget* parent,
               QImage::Format format = QImage::Format_RGB32);

    // Paint on the image, then call update() to show it.
    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    // Takes a copy cut or padded (white) to this picture's size.
    void setImage(const QImage& image);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage image_;
};

}  // namespace zenova

#endif
