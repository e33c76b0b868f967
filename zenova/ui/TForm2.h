// The diagram window "Sun Orbit Diagram": the chart that Start draws, 26 movable date labels
// and 24 movable hour labels on it, and a side panel with the location, a special day with
// its sun path, sunrises, sunsets and day length, and the sun at a chosen time.
#ifndef ZENOVA_TFORM2_H
#define ZENOVA_TFORM2_H

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QScrollArea;
class QScrollBar;
class QToolButton;

namespace zenova {

class PictureBox;
struct DiagramState;
class ZenovaApplication;

class TForm2 final : public QMainWindow {
public:
    explicit TForm2(ZenovaApplication& app);
    ~TForm2() override;

    // The window's own area, laid out in pixels: 800 x 526 (scrolled on a small screen).
    QWidget* client() const { return client_; }
    QScrollArea* scrollArea() const { return scrollArea_; }

    PictureBox* Image1;  // the diagram, 531 x 505 at left 254
    PictureBox* Image2;  // the trash can
    PictureBox* Image3;  // the legend
    PictureBox* Image4;  // the sun symbol, 15 x 15
    std::array<QLabel*, 50> dragLabels{};  // Label1 .. Label50
    QLabel* Label51;   // the special day as a date
    QLabel* Label52;   // clock readout: hour
    QLabel* Label54;   // minutes
    QLabel* Label55;   // "a.m." or "p.m."
    QLabel* Label57;   // sun elevation
    QLabel* Label59;   // sun azimuth
    QLabel* Label65;   // location
    QLabel* Label66;   // longitude
    QLabel* Label67;   // latitude
    QLabel* Label68;   // orientation
    QLabel* Label69;   // inclination
    QLabel* Label113;  // time lag
    QLabel* Label77;   // "Special day:"
    QLabel* Label78;   // the special day's text beside it
    QLabel* Label79;   // interval 1 start, Label101 its half of the day
    QLabel* Label101;
    QLabel* Label81;  // interval 1 end
    QLabel* Label102;
    QLabel* Label97;  // interval 2 start
    QLabel* Label103;
    QLabel* Label99;  // interval 2 end
    QLabel* Label104;
    QLabel* Label83;  // yearly sunshine hours
    QLabel* Label84;  // yearly average day length: hours
    QLabel* Label85;  // and minutes
    QLabel* Label91;  // day length of the special day: hours
    QLabel* Label92;  // and minutes
    QLabel* orientationCaption;  // the orientation row, hidden for a horizontal surface
    QLabel* orientationColon;
    QLabel* orientationUnit;
    QLabel* localHorizonLegend;
    QScrollBar* ScrollBar1;  // day of the year
    QScrollBar* ScrollBar2;  // minute of the day
    QLineEdit* Edit1;        // the special day's number (hidden)
    QToolButton* SpeedButton1;  // "Sun ON" / "Sun OFF"
    QToolButton* SpeedButton2;  // the readout (hidden)
    QToolButton* SpeedButton3;  // change hour positions
    QToolButton* SpeedButton4;  // print
    QToolButton* SpeedButton5;  // close
    QToolButton* SpeedButton6;  // save
    QToolButton* SpeedButton7;  // restore positions
    QAction* Speichern1;
    QAction* Druckereinrichten1;
    QAction* Drucken1;
    QAction* Schlieen1;

    QLabel* label(int number) const { return dragLabels[static_cast<std::size_t>(number - 1)]; }
    // The date labels at the anchors of curves 0..12 (first ones Label1..Label13, second ones
    // Label14..Label26); the hour labels Label27..Label50 at the anchors of hours 1..24.
    void placeDateLabels(const DiagramState& state);
    void placeHourLabels(const DiagramState& state);

    // Handlers and routines.
    void FormCreate();
    void FormShow();
    void FormClose();
    void ScrollBar1Scroll(int day);
    void ScrollBar2Scroll(int minute);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton7Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void SpeedButton6Click();
    void Schlieen1Click();
    void Label1MouseDown(QLabel* label, QMouseEvent* event);
    void Label1MouseMove(QLabel* label, QMouseEvent* event);
    void Label1MouseUp(QLabel* label, QMouseEvent* event);
    void uebergeben();
    void aktuelleZeit();
    void tageslaenge();
    void sonnengaenge();

    void scrollToOrigin();
    // The special day in the day field, 1..365.
    int specialDay() const;
    int selectedMinute() const { return selectedMinute_; }
    double selectedClockTime() const { return selectedClockTime_; }
    bool colouredPrintout() const { return colouredPrintout_; }
    // Legend: filled silver with the year's two halves, the special day and, for a tilted
    // surface, the local horizon.
    void drawLegend(bool localHorizon);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showClock(int minute);
    void showDay(int day, bool inLegend);
    void drawSpecialDayLegend(bool sunOn);

    ZenovaApplication& app_;
    QWidget* client_;
    QScrollArea* scrollArea_;
    int selectedMinute_ = 0;
    double selectedClockTime_ = 0.0;
    bool colouredPrintout_ = false;
    // Drag state: the buttons and modifiers at the last press or release, and the press
    // point within the label.
    Qt::MouseButtons dragButtons_;
    Qt::KeyboardModifiers dragModifiers_;
    QPoint pressPoint_;
    bool dragging_ = false;
};

}  // namespace zenova

#endif
