// The main window: a location and a tilted surface are entered here, and Start computes the
// diagram and shows it in the diagram window. Its input fields keep their numbers as texts
// with fixed decimals and correct them in place.
#ifndef ZENOVA_TFORM1_H
#define ZENOVA_TFORM1_H

#include "Diagram.h"
#include "Fields.h"

#include <QImage>
#include <QMainWindow>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QToolButton;

namespace zenova {

class PictureBox;
class ZenovaApplication;
struct MessageRequest;

class TForm1 final : public QMainWindow {
public:
    explicit TForm1(ZenovaApplication& app);
    ~TForm1() override;

    // Controls, with their object names.
    QLineEdit* Edit1;  // longitude, degrees east
    QLineEdit* Edit2;  // latitude, degrees north
    QLineEdit* Edit6;  // time lag to GMT, hours
    QLineEdit* Edit3;  // location name
    QLineEdit* Edit4;  // inclination, degrees
    QLineEdit* Edit5;  // orientation, degrees from north through east
    QScrollBar* ScrollBar1;  // inclination
    QScrollBar* ScrollBar2;  // orientation
    QPushButton* BitBtn1;    // location database
    QPushButton* BitBtn2;    // "!": time lag from the longitude
    PictureBox* Image1;      // orientation sketch
    PictureBox* Image2;      // inclination sketch
    QRadioButton* RadioButton1;  // "New calculation"
    QRadioButton* RadioButton2;  // "Old plotting"
    QPushButton* Button4;        // "Start"
    QPushButton* Button2;        // "Exit"
    QProgressBar* ProgressBar1;
    QToolButton* SpeedButton2;  // open a diagram file
    QToolButton* SpeedButton5;  // exit
    QToolButton* SpeedButton7;  // new
    QAction* New1;
    QAction* Laden1;
    QAction* Exit1;
    QAction* Info1;

    // Handlers.
    void FormCreate();
    void FormActivate();
    bool Edit1KeyPress(QLineEdit* field, QKeyEvent* key);  // true: the key is dropped
    bool Edit4KeyPress(QLineEdit* field, QKeyEvent* key);
    void Edit1KeyUp();
    void Edit2KeyUp();
    void Edit6KeyUp();
    void Edit1Exit();
    void Edit2Exit();
    void Edit6Exit();
    void Edit4Exit();
    void Edit5Exit();
    void Edit1Change();
    void Edit3Change();
    void Edit4Change();
    void Edit5Change();
    void ScrollBar1Scroll(int position);
    void ScrollBar2Scroll(int position);
    void BitBtn2Click();
    void SpeedButton1Click();
    void SpeedButton7Click();
    void Button2Click();
    void Button4Click();
    void Laden1Click();
    void Dateispeichern1Click();
    void Druckereinrichten1Click();
    void Drucken1Click();
    void Info1Click();

    // Routines the diagram window calls.
    void Linienzugaufruf();
    void beschriftung();
    void Uhrzeitlabel();

    // The finished chart of the last Start, white before the first.
    const QImage& savedChart() const { return savedChart_; }
    bool customLocation() const { return customLocation_; }
    void setCustomLocation(bool custom) { customLocation_ = custom; }
    // "New calculation" enabled and chosen, "Old plotting" disabled.
    void selectNewCalculation();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void inform(const QString& text);
    void checkLimit(QLineEdit* field, const FieldLimit& limit);
    void drawOrientation(int orientation);
    void drawInclination(int inclination);
    void wholeFieldChange(QLineEdit* field, QScrollBar* bar, int high, void (TForm1::*sketch)(int));
    void leaveField(const QWidget* field);  // runs the field's leave handler
    void setProgress(int value);
    void placeHourLabels();
    DiagramSettings settings() const;

    ZenovaApplication& app_;
    QImage savedChart_;
    bool customLocation_ = false;
    bool changing_ = false;  // a change handler is running; the changes it makes fire no other
    bool refusing_ = false;  // the screen is too small: the program is ending
};

}  // namespace zenova

#endif
