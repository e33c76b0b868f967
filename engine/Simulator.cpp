#include "Simulator.h"

#include "Config.h"
#include "vireoEngine.h"

void Simulator::execute() {
    if (conf->modelFile().empty()) return;
    _totalNumberOfTimerCalls = 1;
    const std::string type = conf->modelFileType();
    if (type != ".vireo" && type != ".plumo") {
        vireoMessage(304026);
        vireoMessage(304027, std::string(".vireo and .plumo"));
        vireoMessage(4007, _errors, _warnings);
        vireoMessage(4004);
        return;
    }
    if (!conf->suppressCompilingM()) vireoMessage(4001, conf->modelFileShort());
    // Until the compiler lands, every model compiles to no blocks.
    if (_errors == 0) {
        vireoMessage(304009);
        vireoMessage(4004);
        return;
    }
    vireoMessage(4007, _errors, _warnings);
    vireoMessage(4004);
}
