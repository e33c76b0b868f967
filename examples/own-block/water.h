// What the blocks of this library share: the heat a stream of water carries.
#ifndef HEATMETER_WATER_H
#define HEATMETER_WATER_H

namespace heatmeter {

// Heat carried by a mass flow (kg/s) of water of a specific heat capacity (J/(kg K)) from
// one temperature to another (degC), in W.
double heatFlow(double massFlow, double specificHeat, double from, double to);

// The temperature of that stream after it has given off a heat flow (W); the temperature
// it had when it does not flow.
double temperatureAfter(double massFlow, double specificHeat, double temperature, double heat);

}  // namespace heatmeter

#endif
