#include "water.h"

namespace heatmeter {

double heatFlow(double massFlow, double specificHeat, double from, double to) {
    return massFlow * specificHeat * (from - to);
}

double temperatureAfter(double massFlow, double specificHeat, double temperature, double heat) {
    if (!(massFlow > 0.0)) return temperature;
    return temperature - heat / (massFlow * specificHeat);
}

}  // namespace heatmeter
