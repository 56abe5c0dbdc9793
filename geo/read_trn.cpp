#include "geo/read_trn.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

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

// Header paths are host paths (the landscape's folder keeps the bytes the system gave it).
std::filesystem::path file_name(std::string_view fich) { return fs_path(trim_right(fich)); }

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

HeaderKind header_kind(std::string_view name) {
    auto has = [&](std::string_view a, std::string_view b) {
        return name.find(a) != std::string_view::npos || name.find(b) != std::string_view::npos;
    };
    if (has(".trn", ".TRN")) return HeaderKind::trn;
    if (has(".dem", ".DEM")) return HeaderKind::dem;
    if (has(".asc", ".ASC")) return HeaderKind::asc;
    return HeaderKind::unknown;
}

// --- terrain header ---------------------------------------------------------------------------

bool trn_header_sound(const TrnHeader& h) {
    auto usable = [](float v) { return std::isfinite(v) && v != 0; };
    return h.zlon >= utm_zone_min && h.zlon <= utm_zone_max && (h.zlat == 'N' || h.zlat == 'S') &&
           h.long_ > 0 && h.larg > 0 && usable(h.rew) && usable(h.rns) && std::isfinite(h.orig_e) &&
           std::isfinite(h.orig_n);
}

namespace {

void decode_trn(const std::array<unsigned char, trn_header_size>& b, TrnHeader& hdr) {
    hdr.long_ = le_i32(&b[0]);
    hdr.larg = le_i32(&b[4]);
    hdr.orien = le_f32(&b[8]);
    hdr.rew = le_f32(&b[12]);
    hdr.rns = le_f32(&b[16]);
    hdr.orig_e = le_f32(&b[20]);
    hdr.orig_n = le_f32(&b[24]);
    hdr.zlon = static_cast<std::int8_t>(b[28]);
    hdr.zlat = static_cast<char>(b[32]);
}

}  // namespace

std::int32_t read_trn_raw(std::istream& in, TrnHeader& hdr) {
    std::array<unsigned char, trn_header_size> b{};
    if (!read_bytes(in, b.data(), b.size())) return hdr_short;
    decode_trn(b, hdr);
    return 0;
}

std::int32_t read_trn_raw(std::string_view fich, TrnHeader& hdr) {
    // stdio rather than a stream: a single point reads this one header, and a stream would set
    // up the C++ locale for it.
    std::FILE* in = open_file(trim_right(fich), "rb");
    if (!in) return hdr_open_failed;
    std::array<unsigned char, trn_header_size> b{};
    const bool whole = std::fread(b.data(), 1, b.size(), in) == b.size();
    std::fclose(in);
    if (!whole) return hdr_short;
    decode_trn(b, hdr);
    return 0;
}

std::int32_t read_trn_hdr(std::string_view fich, float& xmax, float& ymax, float& orig_e,
                          float& orig_n, float& orien, std::int32_t& nlon, char& zlat) {
    TrnHeader h;
    if (std::int32_t ios = read_trn_raw(fich, h); ios != 0) return ios;
    if (!trn_header_sound(h)) return hdr_bad_values;
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
