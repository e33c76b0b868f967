//#Block VALVE MIXER DIVERT
//#Layout VALVE
//#Inputs 2
//#Layout
//#Inputs 3
//#Details
//#Inputs VALVE
//#IN[0] Valve position
//#Inputs
//#IN[0] First inlet
//#IN[1] Second inlet
//#Inputs
//#IN[1] Only the valve gets this second unnamed group
//#Outputs
//#OUT[0] Mixed temperature
//#Strings MIXER
//#SP[0] Name of the mixing rule
//#end
