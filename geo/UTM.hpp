// Latitude/longitude <-> landscape X/Y through the landscape's UTM zone.
//
// A landscape is a rectangle of one UTM zone's Transverse Mercator grid. Its terrain header
// gives the zone, the hemisphere and the grid origin; utm_init reads it (or fits a landscape
// into a geographic elevation grid) into the one process-wide projection state, and the
// conversions then work in that landscape:
//   X = orig_e - easting   (metres; 0 on the east edge, grows toward the WEST)
//   Y = northing - orig_n  (metres; 0 on the south edge, grows toward the north)
// where easting includes the 500 km false easting and northing the 10 000 km false northing of
// a southern landscape.
//
// The arithmetic is the classic truncated series (terms to A^8 forward, D^8 inverse, closed
// footpoint series) on an ellipsoid with a = 6378.137 km and e = 0.0818192. That is what the
// simulator itself computes, so landscape X/Y agree with the simulator rather than with an
// exact projection. Measured against an exact Transverse Mercator (latitudes 0..80 deg N and S):
// on the same ellipsoid the series stay within 1.0 mm up to 6 deg from the central meridian,
// 2.2 mm at 7.5 deg and 8.3 mm at 9 deg; against WGS84 the difference is at most 5.2 mm up to
// 7.5 deg (mostly the rounded eccentricity) and 8.3 mm at 9 deg. The inverse returns a
// forward-projected point to within 7e-9 deg up to 6 deg, 7e-8 deg at 7.5 deg, 4e-7 deg at
// 9 deg. Storing X/Y as float adds half a float step (2 mm for values of 32..65 km).
//
// Positions are single-precision degrees (north and east positive) and metres; all arithmetic
// is double and rounded to float only when stored. Points are always projected in the
// landscape's own zone: no zone switching, no limit on the distance from the central meridian
// (the caller decides what is too far).
#pragma once

#include <cstdint>
#include <string_view>

#include "util/text_field.hpp"

// --- constants --------------------------------------------------------------------------------

namespace utm_const {
// Ellipsoid and projection. Lengths in kilometres, as the series use them.
inline constexpr double re = 6378.137;               // semi-major axis a, km
inline constexpr double ko = 0.9996;                 // scale factor on the central meridian
inline constexpr double ee = 0.0818192;              // first eccentricity e, given to 7 digits
inline constexpr double ee2 = ee * ee;               // e^2 = 0.00669438148864
inline constexpr double ee4 = ee2 * ee2;             // e^4
inline constexpr double ee6 = ee2 * ee2 * ee2;       // e^6
inline constexpr double eee = 0.006739498261041437;  // e'^2 = e^2 / (1 - e^2)

// Meridian arc M(phi) = re * (m0 phi - m2 sin 2phi + m4 sin 4phi - m6 sin 6phi).
inline constexpr double m0 = 0.9983242980772261;           // 1 - e^2/4 - 3e^4/64 - 5e^6/256
inline constexpr double m2 = 0.0025146076243454745;        // 3e^2/8 + 3e^4/32 + 45e^6/1024
inline constexpr double m4 = 2.6390477787598745e-6;        // 15e^4/256 + 45e^6/1024
inline constexpr double m6 = 3.4180483819265186e-9;        // 35e^6/3072
inline constexpr double rect_radius = 6367.4491435653845;  // re * m0, km
inline constexpr double re_1_ee2 = 6335.43931773519;       // re * (1 - e^2), km

// Footpoint latitude from mu, e1 = (1 - sqrt(1 - e^2)) / (1 + sqrt(1 - e^2)).
inline constexpr double e1 = 0.0016792207635320776;
inline constexpr double fp2 = 0.002518827150110556;   // 3e1/2 - 27e1^3/32
inline constexpr double fp4 = 3.7009506980609384e-6;  // 21e1^2/16 - 55e1^4/32
inline constexpr double fp6 = 7.44781878578177e-9;    // 151e1^3/96
inline constexpr double fp8 = 1.703600854355413e-11;  // 1097e1^4/512

// e'^2 multiples that appear in the series, kept as the simulator rounds them.
inline constexpr double eee58 = 0.3908908991404033;   // 58 e'^2  (forward A^5 term)
inline constexpr double eee330 = 2.224034426143674;   // 330 e'^2 (forward A^6 term)
inline constexpr double eee8 = 0.053915986088331494;  // 8 e'^2   (inverse D^5 term)
inline constexpr double eee9 = 9 * eee;               // 9 e'^2   (inverse D^4 term)
inline constexpr double eee252 = 252 * eee;           // 252 e'^2 (inverse D^6 term)

inline constexpr double false_easting_km = 500.0;
inline constexpr double false_northing_south = 10'000'000.0;  // metres, southern landscapes
inline constexpr double raddeg = 57.29577951308232;           // degrees per radian
inline constexpr double degrad = 0.017453292519943295;        // radians per degree
}  // namespace utm_const

// --- state ------------------------------------------------------------------------------------

struct Utm000 {
    double xmax = 0;    // landscape width, m (X range 0 .. xmax)
    double ymax = 0;    // landscape height, m
    double orig_e = 0;  // easting of the line X = 0 (east edge), false easting included
    double orig_n = 0;  // northing of the line Y = 0 (south edge), false northing included
    double n0 = 0;      // false northing: 10 000 000 m for "S", else 0
    double rlon0 = 0;   // central meridian, degrees: 6 * nzon - 183
    double raddeg = utm_const::raddeg;
    double degrad = utm_const::degrad;
    float ori = 0;          // header's orien; carried, never used
    std::int32_t nzon = 0;  // UTM zone
    char zlat = ' ';        // hemisphere letter; anything but 'S' is northern
};

struct Utm001 {
    bool initialized = false;
    bool debug = false;  // trace lines on standard output during set-up
};

struct UtmState {
    Utm000 utm000;
    Utm001 utm001;
    TextField<256> fich_old;  // file of the last successful set-up
};

// The projection state, read-only (tests, diagnostics).
const UtmState& utm_state();
// Back to the start-up state (tests).
void utm_reset();

// --- set-up -----------------------------------------------------------------------------------

// Sets up the projection for a terrain header (".trn"/".TRN") or a geographic elevation grid
// (".dem"/".DEM", ".asc"/".ASC"; the first of these substrings found in the name decides).
// Returns 1 with the landscape size in rxm/rym, or 0 (logged; state left not initialised).
// Returns at once when the same file (trailing blanks ignored) is already set up.
int utm_init(std::string_view fich, float& rxm, float& rym);
// Same with a NUL-terminated name (cut at 256 characters).
int utm_init_c(const char* fich, float& rxm, float& rym);
// Origin, hemisphere and zone as they stand (no check that the state is initialised).
void utm_get_ori(float& xo, float& yo, char& zla, signed char& zlo);
// Turns the set-up trace on (flag != 0) or off, and logs the change.
void utm_debug(int flag);

// --- conversions ------------------------------------------------------------------------------

// Latitude/longitude (degrees) to landscape X/Y (metres). 0 when not initialised (outputs
// untouched, logged), else 1.
int latlontoxy(float rlat, float rlon, float& rx, float& ry);
// Landscape X/Y (metres) to latitude/longitude (degrees). 0 when not initialised, else 1.
int xytolatlon(float rx, float ry, float& rlat, float& rlon);

// The same conversions before rounding to float: what latlontoxy/xytolatlon compute in double
// precision. For accuracy checks and callers that keep doubles; the state must be initialised.
void latlontoxy_d(double rlat, double rlon, double& rx, double& ry);
void xytolatlon_d(double rx, double ry, double& rlat, double& rlon);

// --- projection values ------------------------------------------------------------------------
// One landscape's projection as a value, for code that must not touch the process-wide state
// (a file job, a picture, a task's length): the same record utm_init keeps, and the same
// arithmetic.

// Reads a terrain header or elevation grid into `u`, as utm_init does, leaving the state alone.
// 1 with the landscape size in rxm/rym, or 0 (logged).
int utm_read(std::string_view fich, Utm000& u, float& rxm, float& rym);
// The projection of a bare zone (grid origin 0): planar lengths where no landscape is given.
Utm000 utm_zone(std::int32_t zone, char zlat);
void to_xy(const Utm000& u, float lat, float lon, float& x, float& y);
void to_latlon(const Utm000& u, float x, float y, float& lat, float& lon);
void to_xy_d(const Utm000& u, double lat, double lon, double& x, double& y);
