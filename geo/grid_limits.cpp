#include "geo/grid_limits.hpp"

#include <algorithm>
#include <cmath>

#include "geo/UTM.hpp"
#include "geo/read_trn.hpp"

namespace {
constexpr int limit_samples = 100;  // intervals per landscape edge
}  // namespace

std::int32_t get_trn_lim(std::string_view trnfil, float& rlatmin1, float& rlatmax1, float& rlonmin1,
                         float& rlonmax1) {
    float rxm = 0, rym = 0;
    if (utm_init(trnfil, rxm, rym) == 0) return 1;
    TrnHeader h;
    if (read_trn_raw(trnfil, h) != 0) return 1;
    float x_scn_mx = std::fabs(h.rew) * static_cast<float>(h.long_);
    float y_scn_mx = std::fabs(h.rns) * static_cast<float>(h.larg);

    float latmin = -1000, latmax = 1000, lonmin = -1000, lonmax = 1000;
    float lat = 0, lon = 0;
    for (int j = 0; j <= limit_samples; ++j) {
        float xx = x_scn_mx * static_cast<float>(j) / limit_samples;
        xytolatlon(xx, 0, lat, lon);
        latmin = std::max(latmin, lat);
        xytolatlon(xx, y_scn_mx, lat, lon);
        latmax = std::min(latmax, lat);
    }
    for (int j = 0; j <= limit_samples; ++j) {
        float yy = y_scn_mx * static_cast<float>(j) / limit_samples;
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
    const HeaderKind kind = header_kind(fich);
    if (kind == HeaderKind::trn) return get_trn_lim(fich, rlatmin1, rlatmax1, rlonmin1, rlonmax1);

    double latmin = 0, latmax = 0, lonmin = 0, lonmax = 0;
    std::int32_t long_ = 0, larg = 0, nzon = 0;
    char zlat = ' ';
    std::int32_t ios;
    if (kind == HeaderKind::asc) {
        ios = read_ascdem_hdr(fich, latmin, latmax, lonmin, lonmax, long_, larg, nzon, zlat);
    } else if (kind == HeaderKind::dem) {
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
