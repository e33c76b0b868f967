//#Block GENGD2
//#Description
// Synthetic daily global irradiance on the horizontal from its monthly mean: the daily
// clearness indices of a month are drawn by an autoregressive series mapped onto a
// bounded distribution (method 0) or by a Markov chain over ten classes with the
// transition matrices of Aguiar, Collares-Pereira and Conde (method 1), and multiplied
// by each day's extraterrestrial irradiance. A month is generated the first time a step
// falls into it in the current year; later steps read it. For a site in the second sign
// convention: longitude and time zone counted positive east.
//#Layout
//#Inputs 4
//#Outputs 1
//#Parameters 9
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean of the global horizontal irradiance over all hours of the month
// (W/m$^2$)
//#IN[1] Year (-)
//#IN[2] Month, 1 to 12 (-)
//#IN[3] Day of the month (-)
//#Outputs
//#OUT[0] Mean global horizontal irradiance of the day over 24 hours (W/m$^2$)
//#Parameters
//#BP[0] Method (-): 0 the autoregressive series, 1 the Markov chain
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, east of Greenwich positive (degrees)
//#BP[3] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#BP[4] Variance factor on the variance of the daily clearness index, 0 to 10; method 0 (-)
//#BP[5] Year-to-year factor, -1 to 1: 0 keeps the month's clearness index, any other
// value draws a perturbed one for every month generated (-)
//#BP[6] Lag-1 autocorrelation r1 of the daily values, above -1 and below 1; method 0 (-)
//#BP[7] Lag-2 autocorrelation r2, above -1 and below 1, with 1 + r2 - 2 r1$^2$ above 0;
// method 0 (-)
//#BP[8] Seed of the random numbers; 0 the default seed 1536 (-)
//#Strings
//#None
//#Remarks
// GENGD2 is GENGD for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into GENGD's convention (longitude positive west
// within -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to
// GENGD, which checks and uses them. A parameter that an editor changes during the run
// reaches GENGD as it comes, unconverted. What GENGD does is described on its own page.
//#end

// The block is GENGD under a name of its own: gengd2_block in blocks.h.
