// One run of the sun-path program: the calculation state it shares between its windows and
// the windows themselves, created in the program's order (main window, then the diagram
// window).
#ifndef ZENOVA_APPLICATION_H
#define ZENOVA_APPLICATION_H

#include "Diagram.h"
#include "Services.h"
#include "SunGeometry.h"

#include <memory>

namespace zenova {

class TForm1;
class TForm2;

class ZenovaApplication {
public:
    // Needs a QApplication. The windows are created hidden.
    explicit ZenovaApplication(Services services);
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

private:
    Services services_;
    SunContext context_;
    DiagramState state_;
    DiagramModel model_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
};

}  // namespace zenova

#endif
