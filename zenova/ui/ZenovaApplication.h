// One run of the sun-path program: the calculation state it shares between its windows and
// the windows themselves, created in the program's order behind the start-up form: main
// window, diagram window, diagram manager, location database (which reads the location
// list). The run ends when the main window closes.
#ifndef ZENOVA_APPLICATION_H
#define ZENOVA_APPLICATION_H

#include "Diagram.h"
#include "Services.h"
#include "SunGeometry.h"

#include <QString>

#include <memory>

class QEventLoop;

namespace zenova {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class Tintro;

class ZenovaApplication {
public:
    // Needs a QApplication. The start-up form shows the progress while the windows are
    // created hidden, with a wait of the clock after each. workingDirectory: where the
    // location list lies and the diagram manager starts, the current directory by default.
    explicit ZenovaApplication(Services services, const QString& workingDirectory = {});
    ~ZenovaApplication();
    ZenovaApplication(const ZenovaApplication&) = delete;
    ZenovaApplication& operator=(const ZenovaApplication&) = delete;

    // Shows the main window.
    void show();
    // Processes the windows' events until the run ends; the program's exit status.
    int exec();
    // Ends the run with an exit status (the first one given counts) and ends exec.
    void end(int exitStatus);
    bool ended() const { return ended_; }
    int exitStatus() const { return exitStatus_; }

    SunContext& context() { return context_; }
    DiagramState& state() { return state_; }
    DiagramModel& model() { return model_; }
    Services& services() { return services_; }
    TForm1& form1() { return *form1_; }
    TForm2& form2() { return *form2_; }
    TForm3& form3() { return *form3_; }
    TForm4& form4() { return *form4_; }
    Tintro& intro() { return *intro_; }

private:
    Services services_;
    SunContext context_;
    DiagramState state_;
    DiagramModel model_;
    std::unique_ptr<Tintro> intro_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
    bool ended_ = false;
    int exitStatus_ = 0;
    QEventLoop* loop_ = nullptr;
};

}  // namespace zenova

#endif
