// One run of the sun-path program: the calculation state it shares between its windows and
// the windows themselves, created in the program's order: main window, diagram window,
// diagram manager, location database (which reads the location list).
#ifndef ZENOVA_APPLICATION_H
#define ZENOVA_APPLICATION_H

#include "Diagram.h"
#include "Services.h"
#include "SunGeometry.h"

#include <QString>

#include <memory>

namespace zenova {

class TForm1;
class TForm2;
class TForm3;
class TForm4;

class ZenovaApplication {
public:
    // Needs a QApplication. The windows are created hidden. workingDirectory: where the
    // location list lies and the diagram manager starts, the current directory by default.
    explicit ZenovaApplication(Services services, const QString& workingDirectory = {});
    ~ZenovaApplication();
    ZenovaApplication(const ZenovaApplication&) = delete;
    ZenovaApplication& operator=(const ZenovaApplication&) = delete;

    // Shows the main window.
    void show();

    SunContext& context() { return context_; }
    DiagramState& state() { return state_; }
    DiagramModel& model() { return model_; }
    Services& services() { return services_; }
    TForm1& form1() { return *form1_; }
    TForm2& form2() { return *form2_; }
    TForm3& form3() { return *form3_; }
    TForm4& form4() { return *form4_; }

private:
    Services services_;
    SunContext context_;
    DiagramState state_;
    DiagramModel model_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm3> form3_;
    std::unique_ptr<TForm4> form4_;
};

}  // namespace zenova

#endif
