// The start-up form: the program's name, version and purpose with a progress bar, shown while
// the windows are created. The main window shows the same form again as its About box.
#ifndef ZENOVA_TINTRO_H
#define ZENOVA_TINTRO_H

#include <QDialog>

class QFrame;
class QLabel;
class QProgressBar;

namespace zenova {

class PictureBox;

class Tintro final : public QDialog {
public:
    Tintro();
    ~Tintro() override;

    static constexpr int kWidth = 360;
    static constexpr int kHeight = 277;

    QFrame* Bevel1;  // the raised frame round the form
    QLabel* Label1;  // the program's name
    PictureBox* Image1;  // a sun-path sketch
    QLabel* Label2;  // version
    QLabel* Label3;  // what the program does
    QLabel* Label4;
    QProgressBar* ProgressBar1;

    // The three text lines, top to bottom.
    QLabel* line(int i) const;
};

}  // namespace zenova

#endif
