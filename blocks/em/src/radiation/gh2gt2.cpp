//#Block GH2GT2
//#Description
// Irradiance on a tilted surface, split into beam, sky-diffuse and ground-reflected
// parts, from the global and diffuse irradiance on the horizontal, by one of ten
// sky-diffuse models. The block finds the sun for the clock time of the inputs and a site
// in the second sign convention (longitude and time zone counted positive east). The
// surface's tilt, azimuth and ground reflectance are inputs, not parameters, so that a
// tracking surface may move: a CONST block feeds a fixed one.
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
// GH2GT2 is GH2GT for a site whose longitude and time zone count positive east. At
// initialisation it rewrites both, in its own parameters, into GH2GT's convention and then
// hands every call to GH2GT, which checks and uses them: the longitude becomes degrees
// west within -179 to 181 (180 and -180 east both become 180); a zone up to 12 hours east
// becomes 24 less its hours (1 becomes 23, 5.5 becomes 18.5, 12 stays 12), a zone west
// becomes its hours (-5 becomes 5), and 13 and 14 hours east become -13 and -14, which
// GH2GT reads as those eastern zones. GH2GT takes zone 12 as 12 hours east at a site
// east of Greenwich and 12 hours west elsewhere. A parameter that an editor changes
// during the run reaches GH2GT as it comes, unconverted.
//#end

// The block is GH2GT under a name of its own: gh2gt2_block in blocks.h.
