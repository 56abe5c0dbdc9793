// Coordinate texts: recognising and decoding latitudes/longitudes typed in several notations,
// and writing them back in fixed layouts. Texts are Windows-1252; the degree sign is the byte
// 0xB0. Values are single-precision degrees, north and east positive.
//
// Notations read (format codes):
//   1 degree sign, optional minutes and seconds, hemisphere letter last: 46°30'15.5"N
//   2 waypoint-file DDMM.mmmN / DDDMM.mmmE, also DD.MM.mmmN and DDMMmmmN (normalised in place)
//   3 signed decimal degrees: -9.25
//   0 anything else, or out of range (|lat| > 90, |lon| > 180)
// Read as their ASCII forms: ’ (0x92) and two apostrophes for ', ” (0x94) for ", and a
// lower-case hemisphere letter at the end.
// Nothing here allocates, so the batch reader can decode point after point.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "util/text_field.hpp"

inline constexpr char degree_sign = '\xB0';

inline constexpr int fmt_unknown = 0;
inline constexpr int fmt_degree_sign = 1;
inline constexpr int fmt_waypoint = 2;
inline constexpr int fmt_decimal = 3;

inline constexpr float coord_invalid = -999.999f;  // what_format/decode_coord: not decodable
inline constexpr float dms_invalid = -999.f;       // decode_lat_lon: a number unreadable
inline constexpr float cu_invalid = -10000.f;      // decode_lat_cu/_lon_cu: layout not met

// --- decoding ---------------------------------------------------------------------------------

// Degrees with a degree sign, optional minutes (') and seconds ("), a hemisphere letter.
float decode_lat_lon(std::string_view text);
// Waypoint-file notation in fixed columns: DDMM.mmmN (3-5 decimals) / DDDMM.mmmE.
float decode_lat_cu(std::string_view text);
float decode_lon_cu(std::string_view text);

namespace coord_detail {
// Recognises field[0, len); may rewrite it (len changes by one) when normalising a waypoint
// variant, so field needs room for len + 1 bytes.
int what_format(char* field, std::size_t& len, float& xlat, std::string_view c_ori);
// The two notations files hold, signed decimal degrees and DDMM.mmmN, read without the
// searches and rewriting above (same results). False for any other text.
bool read_usual(std::string_view field, float& xlat, std::string_view c_ori, int& code);
}  // namespace coord_detail

// Recognises and decodes one field. c_ori is "NS" for a latitude, "WE" for a longitude.
// Returns the format code; xlat is the value or coord_invalid. Waypoint variants are rewritten
// in the field as DDMM.mmmN.
template <std::size_t N>
int what_format(TextField<N>& lat, float& xlat, std::string_view c_ori) {
    const std::string_view v = lat.view();
    if (int code = fmt_unknown; coord_detail::read_usual(v, xlat, c_ori, code)) return code;
    std::array<char, N + 1> buf;
    std::copy(v.begin(), v.end(), buf.begin());
    std::size_t len = v.size();
    const int code = coord_detail::what_format(buf.data(), len, xlat, c_ori);
    if (std::string_view(buf.data(), len) != v) lat.assign(std::string_view(buf.data(), len));
    return code;
}

// A latitude and a longitude given as one text, as positions are pasted: "46.5, 9.25",
// "46°30'N 9°15'E". True when the text splits in one way only, at its one comma or at a run
// of blanks, into a latitude and a longitude that decode; lat and lon are then parts of text.
// A comma between two integers is a decimal comma ("46,5"), not a pair.
bool split_coord_pair(std::string_view text, std::string_view& lat, std::string_view& lon);

// A coordinate written with a decimal comma, as French and German pilots write it ("46,5",
// "-9,25", "46,5N"): the same text with a point ("46.5"); "" for any other text.
std::string decimal_comma_as_point(std::string_view text);

// Both fields of a position. type is the larger of the two codes: a caller must still check
// each value against coord_invalid, since one field can be valid and the other not.
template <std::size_t N>
void decode_coord(TextField<N>& lat, TextField<N>& lon, float& xlat, float& xlon, int& type) {
    const int tlat = what_format(lat, xlat, "NS");
    const int tlon = what_format(lon, xlon, "WE");
    type = std::max(tlat, tlon);
}

// --- formatting -------------------------------------------------------------------------------

// A formatted coordinate: at most 14 bytes.
struct CoordText {
    std::array<char, 16> buf{};
    std::uint8_t len = 0;
    std::string_view view() const { return {buf.data(), len}; }
};

// nlon: 1 latitude (2 degree digits), otherwise longitude (3). Zero is "S"/"W".
CoordText dms(float lon, int nlon);     // 46°30'15"N
CoordText dms_oa(float lon, int nlon);  // 46:30:15 N
CoordText dms_d(float lon, int nlon);   // 46°30'15.25"N
// Zero is "N"/"E".
CoordText lat_cu(float v);    // 4630.250N
CoordText lon_cu(float v);    // 00915.000E
CoordText lat_vlro(float v);  // 46.30.250N
CoordText lon_vlro(float v);  // 009.15.000E

// The same into a blank-padded field, cut at its capacity.
template <std::size_t N>
void dms(float lon, int nlon, TextField<N>& clon) {
    clon = dms(lon, nlon).view();
}
template <std::size_t N>
void dms_oa(float lon, int nlon, TextField<N>& clon) {
    clon = dms_oa(lon, nlon).view();
}
template <std::size_t N>
void dms_d(float lon, int nlon, TextField<N>& clon) {
    clon = dms_d(lon, nlon).view();
}
template <std::size_t N>
void lat_cu(float v, TextField<N>& str) {
    str = lat_cu(v).view();
}
template <std::size_t N>
void lon_cu(float v, TextField<N>& str) {
    str = lon_cu(v).view();
}
template <std::size_t N>
void lat_vlro(float v, TextField<N>& str) {
    str = lat_vlro(v).view();
}
template <std::size_t N>
void lon_vlro(float v, TextField<N>& str) {
    str = lon_vlro(v).view();
}

// --- interpolated conversion ------------------------------------------------------------------

inline constexpr int cnv_max_points = 21;
inline constexpr std::string_view cnv_impossible = "Conversion impossible";

// Fills tplat/tplon of points 1 .. nb_wp-1 whose wpnum < 1 by interpolating each axis linearly
// between point 0 and the known point (wpnum >= 1) farthest from it in X/Y. Returns 1, or 0 when
// no known point lies away from point 0 on both axes: the caller stops with cnv_impossible.
int cnv_coord(int nb_wp, const std::array<int, cnv_max_points>& wpnum,
              const std::array<float, cnv_max_points>& tpx,
              const std::array<float, cnv_max_points>& tpy,
              std::array<float, cnv_max_points>& tplat, std::array<float, cnv_max_points>& tplon);
