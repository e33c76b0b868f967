// Storage tank with stratification
//#Block TANK
//#Description
// A stratified storage tank; its \emph{nodes} are mixed when they are unstable.
//#Layout
//#Inputs 3
//#Outputs 2
//#Details
//#Inputs
//#IN[0] Inlet temperature
//#IN[1]Mass flow without a blank
//#IN[N] Node temperatures, one per node
//#IN[] Label left empty
//#IN[ 1 2 ] Digits with blanks between them
//#IN[-1] Negative index
//#IN[99999] Widest index of five digits
//#IN[123456] Six digits are read whole
//#IN[1 or 2] Words in the label
//#Outputs
//#OUT[0] Outlet temperature
//    indented continuation of the outlet temperature
//#Parameters
//#None
//#Remarks
// Index labels are shown counted from one.
//#end
extern "C" void st0042(float* IN, float* OUT) { OUT[0] = IN[0]; }
