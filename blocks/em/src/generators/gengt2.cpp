//#Block GENGT2
//#Description
// A synthetic hourly weather year from monthly means: global horizontal irradiance as
// GENG generates it, air temperature from a mean daily course of the month that follows
// the sun, stretched by each day's clearness and shifted by an autoregressive change of
// the daily mean, with autoregressive hourly noise, and relative humidity from a dew
// point reached in the early morning. A month is generated the first time a step falls
// into it in the current year; later steps read it. For a site in the second sign
// convention: longitude and time zone counted positive east.
//#Layout
//#Inputs 10--12
//#Outputs 3
//#Parameters 8--10
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Monthly mean of the global horizontal irradiance over all hours of the month
// (W/m$^2$)
//#IN[1] Monthly mean of the air temperature ($^\circ$C)
//#IN[2] Monthly mean of the daily minimum temperature ($^\circ$C)
//#IN[3] Monthly mean of the daily maximum temperature ($^\circ$C)
//#IN[4] Sum of the twelve monthly mean temperatures, twelve times the annual mean ($^\circ$C)
//#IN[5] Annual range of the temperature: the warmest monthly mean less the coldest (K)
//#IN[6] Year (-)
//#IN[7] Month, 1 to 12 (-)
//#IN[8] Day of the month (-)
//#IN[9] Hour of the day, 0 to 23, rounded: the values are the ones of the clock hour from
// this hour on. Give whole hours, such as a CALENDAR started at hour 0 gives (h)
//#IN[10] Monthly mean of the relative humidity, 0 to 1 (-); optional: without it output 3
// is 0
//#IN[11] Minute (min); optional: when connected the irradiance is shifted within the
// hour towards its neighbours, minute 30 giving the hour's own value
//#Outputs
//#OUT[0] Global horizontal irradiance of the hour (W/m$^2$)
//#OUT[1] Air temperature of the hour ($^\circ$C)
//#OUT[2] Relative humidity of the hour, 0 to 1 (-)
//#Parameters
//#BP[0] Latitude, north positive, -90 to 90 (degrees)
//#BP[1] Longitude, east of Greenwich positive (degrees)
//#BP[2] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#BP[3] Variance factor on the variance of the daily clearness index (-)
//#BP[4] Year-to-year factor: 0 keeps the month's clearness index, any other value draws a
// perturbed one for every month; above 0 it also widens the temperature tolerance (-)
//#BP[5] Lag-1 autocorrelation r1 of the daily values, above -1 and below 1 (-)
//#BP[6] Lag-2 autocorrelation r2, above -1 and below 1, with 1 + r2 - 2 r1$^2$ above 0 (-)
//#BP[7] Seed of the random numbers; 0 the default seed 1536 (-)
//#BP[8] Tolerance of the month's mean temperature; 0 or less, or left out: 0.1 (K)
//#BP[9] Attempts at a month's temperatures after the first; 0 or less, or left out: 2000 (-)
//#Strings
//#None
//#Remarks
// GENGT2 is GENGT for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into GENGT's convention (longitude positive west
// within -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to
// GENGT, which checks and uses them. A parameter that an editor changes during the run
// reaches GENGT as it comes, unconverted. What GENGT does is described on its own page.
//#end

// The block is GENGT under a name of its own: gengt2_block in blocks.h.
