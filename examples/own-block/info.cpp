// The library's line in `vireo -v`: its build tag and its name.
#include "BlockFrame.h"
#include "ComponentInfo.h"

extern "C" VIREO_BLOCK_EXPORT char* info() { return vireo::block::componentInfo("heatmeter_1.0", "HeatMeter"); }
