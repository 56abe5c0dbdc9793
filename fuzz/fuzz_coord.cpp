// Fuzzes the coordinate notations: the input's first line is a latitude text, its second a
// longitude text, as a batch line or the converter hands them over. Beyond "no crash": a value
// decoded is a latitude or longitude, and every layout it is written in reads back as nearly
// the same value.
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "fuzz/fuzz_check.hpp"
#include "geo/decode_coord.hpp"

namespace {

using CoordField = TextField<20>;  // the batch and converter fields

// Thousandths of a minute (the waypoint layouts) and hundredths of a second (dms_d) lose at
// most half a unit; a float near 180 degrees adds about 1.5e-5.
constexpr float cu_tolerance = 0.0005f / 60 + 3e-5f;
constexpr float dms_d_tolerance = 0.005f / 3600 + 3e-5f;

void check_read_back(std::string_view text, float value, std::string_view c_ori, float tolerance) {
    require(text.size() <= 14, "a formatted coordinate is at most 14 bytes");
    CoordField field(text);
    float again = coord_invalid;
    require(what_format(field, again, c_ori) != fmt_unknown, "a formatted value reads back");
    require(std::fabs(again - value) <= tolerance, "a formatted value reads back as itself");
}

// Decodes `original` on its own, checks it against what decode_coord gave, and returns the
// format code.
int check(const CoordField& original, float value, std::string_view c_ori) {
    const bool latitude = c_ori == "NS";
    CoordField field = original;
    float v = coord_invalid;
    const int code = what_format(field, v, c_ori);
    require(v == value || (std::isnan(v) && std::isnan(value)), "decoding is repeatable");
    require(code >= fmt_unknown && code <= fmt_decimal, "format code");
    require((code == fmt_unknown) == (value == coord_invalid), "unknown format, invalid value");
    // The usual notations skip the long way, which must read them the same.
    std::array<char, CoordField::capacity + 1> buf;
    std::copy(original.view().begin(), original.view().end(), buf.begin());
    std::size_t len = original.view().size();
    float slow = coord_invalid;
    const int slow_code = coord_detail::what_format(buf.data(), len, slow, c_ori);
    require(slow_code == code && (slow == v || (std::isnan(v) && std::isnan(slow))),
            "the usual notations read as the long way reads them");
    if (code == fmt_unknown) return code;
    require(std::fabs(value) <= (latitude ? 90.f : 180.f), "value within its range");
    // A waypoint variant, normalised in place, decodes to the same value again.
    float again = coord_invalid;
    require(what_format(field, again, c_ori) == code && again == value, "normalised form reads");

    const int nlon = latitude ? 1 : 2;
    check_read_back(latitude ? lat_cu(value).view() : lon_cu(value).view(), value, c_ori,
                    cu_tolerance);
    check_read_back(latitude ? lat_vlro(value).view() : lon_vlro(value).view(), value, c_ori,
                    cu_tolerance);
    check_read_back(dms_d(value, nlon).view(), value, c_ori, dms_d_tolerance);
    require(dms(value, nlon).len <= 14 && dms_oa(value, nlon).len <= 14, "dms layouts fit");
    return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view in = as_text(data, size);
    const std::size_t nl = in.find('\n');
    CoordField lat(in.substr(0, nl));
    CoordField lon(nl == std::string_view::npos ? std::string_view() : in.substr(nl + 1));
    const CoordField lat_in = lat, lon_in = lon;
    float xlat = 0, xlon = 0;
    int type = -1;
    decode_coord(lat, lon, xlat, xlon, type);
    const int tlat = check(lat_in, xlat, "NS");
    const int tlon = check(lon_in, xlon, "WE");
    require(type == std::max(tlat, tlon), "the pair's code is the larger one");
    return 0;
}
