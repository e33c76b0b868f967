//#Block MTM2, MTMLALO2
//#Description
// Monthly climate of one site of the monthly weather database, for a longitude counted
// positive east of Greenwich: MTM2 chooses the site by name, country, continent or a
// latitude/longitude window; MTMLALO2 takes the site with radiation and temperature data
// nearest to a point.
//#Layout
//#Inputs 1
//#Outputs 9
//#Parameters 0--6
//#Strings 0--1
//#Group 3 (standard)
//#Details
//#Inputs
//#IN[0] Month, 1 to 12; rounded to the nearest month after the range test (-)
//#Outputs
//#OUT[0] Monthly mean of the radiation, in the unit the database holds (W/m$^2$)
//#OUT[1] Monthly mean wind speed, in the unit the database holds (m/s)
//#OUT[2] Monthly mean air temperature ($^\circ$C)
//#OUT[3] Monthly mean of the daily minimum temperature ($^\circ$C)
//#OUT[4] Monthly mean of the daily maximum temperature ($^\circ$C)
//#OUT[5] Rain of the month times 10, in the unit the database holds (mm)
//#OUT[6] Annual mean temperature: the mean of the twelve monthly means ($^\circ$C)
//#OUT[7] Highest monthly maximum temperature less the lowest monthly minimum (K)
//#OUT[8] Relative humidity of the month, as a fraction (-)
//#Parameters MTM2
//#BP[0] Latitude, of the search window: north positive, -90 to 90 (degrees)
//#BP[1] Longitude, of the search window: east of Greenwich positive (degrees)
//#BP[2] Latitude tolerance of the window, 0 to 180 (degrees)
//#BP[3] Longitude tolerance of the window, 0 to 360 (degrees)
//#BP[4] Country code, 0 to 999; 0 any (-)
//#BP[5] Continent code, 0 to 9; 0 any (-)
//#Parameters MTMLALO2
//#BP[0] Latitude, of the point: north positive, -90 to 90 (degrees)
//#BP[1] Longitude, of the point: east of Greenwich positive (degrees)
//#BP[2] Latitude tolerance of the window: not used (degrees)
//#BP[3] Longitude tolerance of the window: not used (degrees)
//#BP[4] Country code: not used (-)
//#BP[5] Continent code: not used (-)
//#Strings MTM2
//#SP[0] Site name, up to 20 characters, compared without regard to case; a trailing *
// makes it a prefix; blank to search by country, continent or window (-)
//#Strings MTMLALO2
//#SP[0] Not used (-)
//#Remarks
// MTM2 and MTMLALO2 are MTM and MTMLALO for a longitude counted positive east: at
// initialisation they rewrite the longitude into the database's convention (positive
// west) and hand every call to MTM, which searches and loads the site. The database keeps
// its sites' longitudes positive west, so a site at 9.2 degrees east is found by MTM2 at
// 9.2 and by MTM at 350.8 (or -9.2).
//#end

// The block is MTM under a name of its own: mtm2_block in blocks.h.
