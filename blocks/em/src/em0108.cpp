//#Block GH2GT2
//#Description
// Irradiance on a tilted surface, split into beam, sky-diffuse and ground-reflected
// parts, from the global and diffuse irradiance on the horizontal, by one of ten
// sky-diffuse models. The block finds the sun for the clock time of the inputs and a site
// in the second sign convention (longitude and time zone counted positive east).
//#Layout
//#Inputs 9--12
//#Outputs 4
//#Parameters 4
//#Strings 0
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Global irradiance on the horizontal G (W/m$^2$)
//#IN[1] Diffuse irradiance on the horizontal Dh (W/m$^2$)
//#IN[2] Tilt of the surface from the horizontal (degrees)
//#IN[3] Azimuth of the surface from north through east, south 180 (degrees)
//#IN[4] Ground reflectance (-)
//#IN[5] Year (-)
//#IN[6] Month, 1 to 12 (-)
//#IN[7] Day of the month (-)
//#IN[8] Hour of the clock time (h)
//#IN[9] Minute (min); optional, 0 when not connected
//#IN[10] Second (s); optional, 0 when not connected
//#IN[11] Daylight-saving time, subtracted from the clock time (h); optional, 0 when not
// connected
//#Outputs
//#OUT[0] Total irradiance on the tilted surface (W/m$^2$)
//#OUT[1] Beam irradiance on the tilted surface (W/m$^2$)
//#OUT[2] Sky-diffuse irradiance on the tilted surface (W/m$^2$)
//#OUT[3] Ground-reflected irradiance on the tilted surface (W/m$^2$)
//#Parameters
//#BP[0] Sky-diffuse model (-): 0 isotropic (Liu and Jordan), 1 Temps and Coulson,
// 2 Bugler, 3 Klucher, 4 Hay, 5 horizon factor (Willmott), 6 Skartveit and Olseth,
// 7 Gueymard, 8 Perez (1987), 9 Reindl
//#BP[1] Latitude, north positive, -90 to 90 (degrees)
//#BP[2] Longitude, east of Greenwich positive (degrees)
//#BP[3] Time zone, hours east of Greenwich, such as 1 for central Europe (h)
//#Strings
//#None
//#Remarks
// GH2GT2 is GH2GT for a site whose longitude and time zone count positive east: at
// initialisation it rewrites them into GH2GT's convention (longitude positive west within
// -179 to 181 degrees, time zone 0 to 23 hours west) and hands every call to GH2GT, which
// checks and uses them. A parameter that an editor changes during the run reaches GH2GT
// as it comes, unconverted.
//#end

// The block is GH2GT under a name of its own: gh2gt2_block in blocks.h.
