// Landscape headers: the simulator's binary terrain header (".trn", UTM metres) and the two
// geographic elevation grid headers (binary ".dem", text ".asc" in the ESRI ASCII grid layout),
// and which of them a file name denotes. The landscape limits, which need the projection, are in
// geo/grid_limits.hpp.
//
// Readers open the file by name, read only the header and close it. They return 0 when the
// header was read, non-zero otherwise; on failure their out-arguments are not to be relied on.
// They write no log lines: utm_init turns a failure into one.
#pragma once

#include <cstdint>
#include <istream>
#include <string_view>

// Reader statuses besides 0. Callers only test for zero.
inline constexpr std::int32_t hdr_open_failed = 2;  // missing or unreadable file
inline constexpr std::int32_t hdr_short = -1;       // ended before the header did
inline constexpr std::int32_t hdr_bad_keys = 9999;  // ".asc": not exactly the five header keys
inline constexpr std::int32_t hdr_bad_values = 3;   // ".trn": values no landscape can have

inline constexpr int utm_zone_min = 1, utm_zone_max = 60;

// The kind of header a file name denotes: ".trn" before ".dem" before ".asc" (either case),
// anywhere in the name.
enum class HeaderKind { trn, dem, asc, unknown };
HeaderKind header_kind(std::string_view name);

// The 36-byte terrain header as stored (little-endian).
struct TrnHeader {
    std::int32_t long_ = 0;  // grid columns, west-east
    std::int32_t larg = 0;   // grid rows, south-north
    float orien = 0;         // carried along, never used
    float rew = 0;           // column spacing, m (sign ignored)
    float rns = 0;           // row spacing, m (sign ignored)
    float orig_e = 0;        // UTM easting of X = 0 (east edge), m
    float orig_n = 0;        // UTM northing of Y = 0 (south edge), m
    std::int8_t zlon = 0;    // UTM zone
    char zlat = 'N';         // hemisphere letter
};
inline constexpr std::size_t trn_header_size = 36;

// A zone in 1..60, hemisphere N or S, positive counts, finite non-zero cell sizes and a finite
// origin: anything else would project to numbers that mean nothing.
bool trn_header_sound(const TrnHeader& h);
// Terrain header (hdr_bad_values when not sound) with the landscape size xmax = |long * rew|, ymax
// = |larg * rns|.
std::int32_t read_trn_hdr(std::string_view fich, float& xmax, float& ymax, float& orig_e,
                          float& orig_n, float& orien, std::int32_t& nlon, char& zlat);
// The header fields as stored.
std::int32_t read_trn_raw(std::string_view fich, TrnHeader& hdr);
std::int32_t read_trn_raw(std::istream& in, TrnHeader& hdr);
// Writes a 36-byte terrain header (fixtures, demo data). 1 written, 0 failed.
int write_trn_hdr(std::string_view fich, const TrnHeader& hdr);

// Binary geographic grid header (first 48 bytes). Derives zone and hemisphere.
std::int32_t read_dem_hdr(std::string_view fich, double& latmin, double& latmax, double& lonmin,
                          double& lonmax, std::int32_t& long_, std::int32_t& larg,
                          std::int32_t& nzon, char& zlat);
std::int32_t read_dem_hdr(std::istream& in, double& latmin, double& latmax, double& lonmin,
                          double& lonmax, std::int32_t& long_, std::int32_t& larg,
                          std::int32_t& nzon, char& zlat);
// Text geographic grid header: exactly the five keys ncols, nrows, xllcorner, yllcorner,
// cellsize among the first six lines (else hdr_bad_keys). Derives zone and hemisphere.
std::int32_t read_ascdem_hdr(std::string_view fich, double& latmin, double& latmax, double& lonmin,
                             double& lonmax, std::int32_t& long_, std::int32_t& larg,
                             std::int32_t& nzon, char& zlat);
std::int32_t read_ascdem_hdr(std::istream& in, double& latmin, double& latmax, double& lonmin,
                             double& lonmax, std::int32_t& long_, std::int32_t& larg,
                             std::int32_t& nzon, char& zlat);

// Zone of a grid from its west and east limits: round((mid + 177) / 6) + 1, halves away from
// zero (so a grid centred on -180 gets 0). 0 for limits that are not finite.
std::int32_t grid_zone(double lonmin, double lonmax);
// Hemisphere of a grid: 'N' when its middle latitude is north of the equator, else 'S'.
char grid_hemisphere(double latmin, double latmax);
