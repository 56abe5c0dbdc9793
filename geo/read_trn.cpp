#include "geo/read_trn.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

#include "geo/UTM.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

// Little-endian fields from a byte buffer, independent of the host's byte order.
std::uint32_t le_u32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}
std::uint64_t le_u64(const unsigned char* p) {
    return std::uint64_t(le_u32(p)) | std::uint64_t(le_u32(p + 4)) << 32;
}
std::int32_t le_i32(const unsigned char* p) { return std::bit_cast<std::int32_t>(le_u32(p)); }
float le_f32(const unsigned char* p) { return std::bit_cast<float>(le_u32(p)); }
double le_f64(const unsigned char* p) { return std::bit_cast<double>(le_u64(p)); }

void put_u32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

// Reads exactly n bytes; false when the stream ends first.
bool read_bytes(std::istream& in, unsigned char* buf, std::size_t n) {
    in.read(reinterpret_cast<char*>(buf), static_cast<std::streamsize>(n));
    return in.gcount() == static_cast<std::streamsize>(n);
}

// Names are Windows-1252 text like every text of the program; the file system wants its own.
std::string file_name(std::string_view fich) { return to_host_path(trim_right(fich)); }

constexpr std::size_t dem_header_size = 48;
constexpr std::size_t asc_line_max = 80;
constexpr int asc_lines_examined = 6;
constexpr int asc_keys = 5;

void derive_zone(double latmin, double latmax, double lonmin, double lonmax, std::int32_t& nzon,
                 char& zlat) {
    zlat = grid_hemisphere(latmin, latmax);
    nzon = grid_zone(lonmin, lonmax);
}

}  // namespace

std::int32_t grid_zone(double lonmin, double lonmax) {
    double zone = ((lonmin + lonmax) / 2 + 177) / 6;
    // Far outside any longitude the result means nothing; keep lround in range.
    if (!std::isfinite(zone) || std::fabs(zone) > 1e6) return 0;
    return static_cast<std::int32_t>(std::lround(zone)) + 1;
}

char grid_hemisphere(double latmin, double latmax) { return (latmin + latmax) / 2 > 0 ? 'N' : 'S'; }

// --- terrain header ---------------------------------------------------------------------------

std::int32_t read_trn_raw(std::istream& in, TrnHeader& hdr) {
    std::array<unsigned char, trn_header_size> b{};
    if (!read_bytes(in, b.data(), b.size())) return hdr_short;
    hdr.long_ = le_i32(&b[0]);
    hdr.larg = le_i32(&b[4]);
    hdr.orien = le_f32(&b[8]);
    hdr.rew = le_f32(&b[12]);
    hdr.rns = le_f32(&b[16]);
    hdr.orig_e = le_f32(&b[20]);
    hdr.orig_n = le_f32(&b[24]);
    hdr.zlon = static_cast<std::int8_t>(b[28]);
    hdr.zlat = static_cast<char>(b[32]);
    return 0;
}

std::int32_t read_trn_raw(std::string_view fich, TrnHeader& hdr) {
    std::ifstream in(file_name(fich), std::ios::binary);
    if (!in) return hdr_open_failed;
    return read_trn_raw(in, hdr);
}

std::int32_t read_trn_hdr(std::string_view fich, float& xmax, float& ymax, float& orig_e,
                          float& orig_n, float& orien, std::int32_t& nlon, char& zlat) {
    TrnHeader h;
    if (std::int32_t ios = read_trn_raw(fich, h); ios != 0) return ios;
    xmax = std::fabs(static_cast<float>(h.long_) * h.rew);
    ymax = std::fabs(static_cast<float>(h.larg) * h.rns);
    orig_e = h.orig_e;
    orig_n = h.orig_n;
    orien = h.orien;
    nlon = h.zlon;
    zlat = h.zlat;
    return 0;
}

int write_trn_hdr(std::string_view fich, const TrnHeader& h) {
    std::array<unsigned char, trn_header_size> b{};
    put_u32(&b[0], std::bit_cast<std::uint32_t>(h.long_));
    put_u32(&b[4], std::bit_cast<std::uint32_t>(h.larg));
    put_u32(&b[8], std::bit_cast<std::uint32_t>(h.orien));
    put_u32(&b[12], std::bit_cast<std::uint32_t>(h.rew));
    put_u32(&b[16], std::bit_cast<std::uint32_t>(h.rns));
    put_u32(&b[20], std::bit_cast<std::uint32_t>(h.orig_e));
    put_u32(&b[24], std::bit_cast<std::uint32_t>(h.orig_n));
    b[28] = static_cast<unsigned char>(h.zlon);
    b[32] = static_cast<unsigned char>(h.zlat);
    std::ofstream out(file_name(fich), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), b.size());
    out.close();
    return out ? 1 : 0;
}

// --- binary geographic grid -------------------------------------------------------------------

std::int32_t read_dem_hdr(std::istream& in, double& latmin, double& latmax, double& lonmin,
                          double& lonmax, std::int32_t& long_, std::int32_t& larg,
                          std::int32_t& nzon, char& zlat) {
    std::array<unsigned char, dem_header_size> b{};
    if (!read_bytes(in, b.data(), b.size())) return hdr_short;
    lonmin = le_f64(&b[0]);
    lonmax = le_f64(&b[8]);
    latmax = le_f64(&b[16]);
    latmin = le_f64(&b[24]);
    double orien = le_f64(&b[32]);
    larg = le_i32(&b[40]);
    long_ = le_i32(&b[44]);
    diag(orien * 3600);
    derive_zone(latmin, latmax, lonmin, lonmax, nzon, zlat);
    return 0;
}

std::int32_t read_dem_hdr(std::string_view fich, double& latmin, double& latmax, double& lonmin,
                          double& lonmax, std::int32_t& long_, std::int32_t& larg,
                          std::int32_t& nzon, char& zlat) {
    std::ifstream in(file_name(fich), std::ios::binary);
    if (!in) return hdr_open_failed;
    return read_dem_hdr(in, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
}

// --- text geographic grid ---------------------------------------------------------------------

std::int32_t read_ascdem_hdr(std::istream& in, double& latmin, double& latmax, double& lonmin,
                             double& lonmax, std::int32_t& long_, std::int32_t& larg,
                             std::int32_t& nzon, char& zlat) {
    enum Key { k_ncols, k_nrows, k_xll, k_yll, k_cellsize };
    struct KeyCol {
        std::string_view key;
        std::size_t value_col;  // 0-based column where the value starts
    };
    static constexpr std::array<KeyCol, asc_keys> keys{
        {{"ncols", 5}, {"nrows", 5}, {"xllcorner", 9}, {"yllcorner", 9}, {"cellsize", 8}}};

    double dlatlon = 0;
    int count = 0;
    unsigned seen = 0;
    std::int32_t ios = 0;
    std::string line;
    for (int i = 0; i < asc_lines_examined; ++i) {
        if (!std::getline(in, line)) {
            ios = hdr_short;
            break;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF files
        if (line.size() > asc_line_max) line.resize(asc_line_max);
        diag(trim_right(line));
        std::string_view l = line;
        for (std::size_t k = 0; k < keys.size(); ++k) {
            if (!l.starts_with(keys[k].key)) continue;
            std::string_view value = l.substr(keys[k].value_col);
            bool ok = false;
            switch (k) {
                case k_ncols:
                    ok = read_free_int(value, long_);
                    break;
                case k_nrows:
                    ok = read_free_int(value, larg);
                    break;
                case k_xll:
                    ok = read_free_number(value, lonmin);
                    break;
                case k_yll:
                    ok = read_free_number(value, latmin);
                    break;
                case k_cellsize:
                    ok = read_free_number(value, dlatlon);
                    break;
            }
            if (ok) {
                ++count;
                seen |= 1u << k;
            }
            break;
        }
    }
    // Five good values could also be one key twice and another missing: require all five.
    if (count != asc_keys || seen != (1u << asc_keys) - 1) {
        ios = hdr_bad_keys;
    } else {
        lonmax = dlatlon * long_ + lonmin;
        latmax = dlatlon * larg + latmin;
        if (ios == 0) {
            diag(dlatlon * 3600);
            derive_zone(latmin, latmax, lonmin, lonmax, nzon, zlat);
            diag("NZON", nzon, lonmin, lonmax, ((lonmin + lonmax) / 2 + 177) / 6);
        }
    }
    diag("IOS", ios);
    return ios;
}

std::int32_t read_ascdem_hdr(std::string_view fich, double& latmin, double& latmax, double& lonmin,
                             double& lonmax, std::int32_t& long_, std::int32_t& larg,
                             std::int32_t& nzon, char& zlat) {
    diag("read_ascdem_hdr");
    std::ifstream in(file_name(fich));
    if (!in) {
        diag("IOS", hdr_open_failed);
        return hdr_open_failed;
    }
    return read_ascdem_hdr(in, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
}

// --- limits -----------------------------------------------------------------------------------

std::int32_t get_trn_lim(std::string_view trnfil, float& rlatmin1, float& rlatmax1, float& rlonmin1,
                         float& rlonmax1) {
    constexpr int samples = 100;  // intervals per edge
    float rxm = 0, rym = 0;
    if (utm_init(trnfil, rxm, rym) == 0) return 1;
    TrnHeader h;
    if (read_trn_raw(trnfil, h) != 0) return 1;
    float x_scn_mx = std::fabs(h.rew) * static_cast<float>(h.long_);
    float y_scn_mx = std::fabs(h.rns) * static_cast<float>(h.larg);

    float latmin = -1000, latmax = 1000, lonmin = -1000, lonmax = 1000;
    float lat = 0, lon = 0;
    for (int j = 0; j <= samples; ++j) {
        float xx = 0.01f * x_scn_mx * static_cast<float>(j);
        xytolatlon(xx, 0, lat, lon);
        latmin = std::max(latmin, lat);
        xytolatlon(xx, y_scn_mx, lat, lon);
        latmax = std::min(latmax, lat);
    }
    for (int j = 0; j <= samples; ++j) {
        float yy = 0.01f * y_scn_mx * static_cast<float>(j);
        xytolatlon(x_scn_mx, yy, lat, lon);  // west edge: X grows westward
        lonmin = std::max(lonmin, lon);
        xytolatlon(0, yy, lat, lon);
        lonmax = std::min(lonmax, lon);
    }
    rlatmin1 = latmin;
    rlatmax1 = latmax;
    rlonmin1 = lonmin;
    rlonmax1 = lonmax;
    return 0;
}

std::int32_t get_latlon_lim(std::string_view fich, float& rlatmin1, float& rlatmax1,
                            float& rlonmin1, float& rlonmax1) {
    auto has = [&](std::string_view a, std::string_view b) {
        return fich.find(a) != std::string_view::npos || fich.find(b) != std::string_view::npos;
    };
    if (has(".trn", ".TRN")) return get_trn_lim(fich, rlatmin1, rlatmax1, rlonmin1, rlonmax1);

    double latmin = 0, latmax = 0, lonmin = 0, lonmax = 0;
    std::int32_t long_ = 0, larg = 0, nzon = 0;
    char zlat = ' ';
    std::int32_t ios;
    if (has(".asc", ".ASC")) {
        ios = read_ascdem_hdr(fich, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
    } else if (has(".dem", ".DEM")) {
        ios = read_dem_hdr(fich, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
    } else {
        return 1;
    }
    if (ios != 0) return ios;
    rlatmin1 = static_cast<float>(latmin);
    rlatmax1 = static_cast<float>(latmax);
    rlonmin1 = static_cast<float>(lonmin);
    rlonmax1 = static_cast<float>(lonmax);
    return 0;
}
