// The lithium-bromide/water routines as the library's own blocks reach them: the same
// computation as the exported C routines (lithium_bromide.h), with the status of a root
// search kept apart from its value, so that no caller takes a failure for a property.
#ifndef VIREO_ST_SOLUTION_H
#define VIREO_ST_SOLUTION_H

namespace vireo::st::solution {

// McNeely's enthalpy of the solution (model 1), kJ/kg, at mass fraction x and t in degC.
double enthalpy(double x, double t);

// A root search's answer: status 0 and the root, or the search's failure (-1 no sign
// change in the range, -2 out of steps) with its best estimate.
struct Search {
    float value;
    int status;
    bool found() const { return status == 0; }
};

// Vapour pressure over the solution (Pa) and concentration at a vapour pressure, model 1;
// the first failure of each in the process writes its text, as the exported routines do.
Search vapourPressure(float x, float t);
Search concentration(float p, float t);

}  // namespace vireo::st::solution

#endif
