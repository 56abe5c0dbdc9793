#include "geo/UTM.hpp"

#include <cmath>
#include <sstream>
#include <string>

#include "geo/read_trn.hpp"
#include "host/diag.hpp"
#include "host/messages.hpp"
#include "util/text.hpp"

namespace {

using namespace utm_const;

UtmState state;

// Set-up trace, on standard output while utm_debug is on (independent of -v).
template <class... Args>
void trace(const Args&... args) {
    if (!state.utm001.debug) return;
    std::ostringstream os;
    ((os << args << ' '), ...);
    std::string line = os.str();
    line.pop_back();
    diag_write(line);
}

// One log line; the quotes keep a path's "/" from being taken as a line break.
void log_line(std::string_view text, std::string_view name) {
    std::string msg;
    msg.reserve(text.size() + name.size() + 2);
    msg += '"';
    msg += text;
    msg += name;
    msg += '"';
    log_message(msg);
}

// --- series -----------------------------------------------------------------------------------

void forward(const Utm000& u, double rlat, double rlon, double& rx, double& ry) {
    const double phi = u.degrad * rlat;
    // One sine and cosine; the tangent and the sines of 2, 4 and 6 phi follow by the angle-sum
    // rules, a few units in the last place of a double from libm's own: far below a float's.
    const double sphi = std::sin(phi), cphi = std::cos(phi), tphi = sphi / cphi;
    const double sin2 = 2 * sphi * cphi, cos2 = (cphi - sphi) * (cphi + sphi);
    const double sin4 = 2 * sin2 * cos2, cos4 = (cos2 - sin2) * (cos2 + sin2);
    const double sin6 = sin4 * cos2 + cos4 * sin2;
    const double n = re / std::sqrt(1 - ee2 * sphi * sphi);
    const double t = tphi * tphi;
    const double c = eee * cphi * cphi;
    const double a = cphi * (rlon - u.rlon0) * u.degrad;
    const double m = re * (m0 * phi - m2 * sin2 + m4 * sin4 - m6 * sin6);
    const double a2 = a * a, a3 = a2 * a, a4 = a2 * a2, a5 = a4 * a, a6 = a4 * a2, a7 = a6 * a,
                 a8 = a4 * a4;
    const double t2 = t * t, t3 = t2 * t;
    const double c2 = c * c, c3 = c2 * c, c4 = c2 * c2;

    const double e =
        ko * n *
        (a + (1 - t + c) * a3 / 6 +
         (5 - 18 * t + t2 + 72 * c - eee58 + 13 * c2 + 4 * c3 - 64 * c2 * t - 24 * c3 * t) * a5 /
             120 +
         (61 - 479 * t + 179 * t2 - t3) * a7 / 5040);
    const double nk = ko * (m + n * tphi *
                                    (a2 / 2 + (5 - t + 9 * c + 4 * c2) * a4 / 24 +
                                     (61 - 58 * t + t2 + 600 * c - eee330 + 445 * c2 + 324 * c3 -
                                      680 * c2 * t + 88 * c4 - 600 * c3 * t - 192 * c4 * t) *
                                         a6 / 720 +
                                     (1385 - 3111 * t + 543 * t2 - t3) * a8 / 40320));

    rx = u.orig_e - (e + false_easting_km) * 1000;
    ry = nk * 1000 + u.n0 - u.orig_n;
}

void inverse(const Utm000& u, double rx, double ry, double& rlat, double& rlon) {
    const double x = (u.orig_e - rx) / 1000 - false_easting_km;  // km east of the meridian
    const double y = (ry + u.orig_n - u.n0) / 1000;              // km north of the equator
    if (x > 1'000'000 || y > 1'000'000) diag(x, y);

    const double mu = y / ko / rect_radius;
    const double phi1 = mu + fp2 * std::sin(2 * mu) + fp4 * std::sin(4 * mu) +
                        fp6 * std::sin(6 * mu) + fp8 * std::sin(8 * mu);
    const double s1 = std::sin(phi1), c1phi = std::cos(phi1), t1phi = std::tan(phi1);
    const double c1 = eee * c1phi * c1phi;
    const double t1 = t1phi * t1phi;
    const double w = std::sqrt(1 - ee2 * s1 * s1);
    const double n1 = re / w;
    const double r1 = re_1_ee2 / (w * w * w);
    const double d = x / (n1 * ko);
    const double d2 = d * d, d3 = d2 * d, d4 = d2 * d2, d5 = d4 * d, d6 = d4 * d2, d7 = d6 * d,
                 d8 = d4 * d4;
    const double t12 = t1 * t1, t13 = t12 * t1;
    const double c12 = c1 * c1, c13 = c12 * c1, c14 = c12 * c12;

    const double phi =
        phi1 - (n1 * t1phi / r1) * (d2 / 2 - (5 + 3 * t1 + 10 * c1 - 4 * c12 - eee9) * d4 / 24 +
                                    (61 + 90 * t1 + 298 * c1 + 45 * t12 - eee252 - 3 * c12 -
                                     90 * c1 * t12 - 66 * c12 * t1 + 255 * c12 * t12 + 100 * c13 +
                                     84 * t1 * c13 + 88 * c14 - 192 * t1 * c14) *
                                        d6 / 720 -
                                    (1385 + 3633 * t1 + 4095 * t12 + 1574 * t13) * d8 / 40320);
    const double lambda = (d - (1 + 2 * t1 + c1) * d3 / 6 +
                           (5 - 2 * c1 + 28 * t1 - 3 * c12 + eee8 + 24 * t12 + 4 * t1 * c12 -
                            4 * c13 + 24 * t1 * c13) *
                               d5 / 120 -
                           (61 + 662 * t1 + 1320 * t12 + 720 * t13) * d7 / 5040) /
                          c1phi;

    rlat = phi * u.raddeg;
    rlon = lambda * u.raddeg + u.rlon0;
}


// --- fitting a landscape into a geographic grid -----------------------------------------------

struct Grid {
    double latmin = 0, latmax = 0, lonmin = 0, lonmax = 0;
    std::int32_t long_ = 0, larg = 0;
};

constexpr float fit_step = 90;             // landscape raster, m
constexpr int max_fit_steps = 1'000'000;   // 90 000 km: past any real grid
constexpr int max_edge_samples = 1 << 22;  // > 1000 deg at 1" cells
constexpr double corner_slack = 1e-4;      // deg (~10 m): float rounding, well under a row

// A grid the fitting can work on; anything else would loop or give a meaningless landscape.
bool usable(const Grid& g) {
    return std::isfinite(g.latmin) && std::isfinite(g.latmax) && std::isfinite(g.lonmin) &&
           std::isfinite(g.lonmax) && g.latmin < g.latmax && g.lonmin < g.lonmax &&
           g.latmin > -90 && g.latmax < 90 && g.long_ > 0 && g.larg > 0;
}

// Steps x by `step` until done(lon) along northing y; false when it never gets there.
template <class Done>
bool walk_x(const Utm000& u, float& x, float y, float step, Done done) {
    float lat = 0, lon = 0;
    for (int i = 0; i < max_fit_steps; ++i) {
        to_latlon(u, x, y, lat, lon);
        if (done(lon)) return true;
        x += step;
    }
    return false;
}

// Extreme Y of a grid edge at latitude `lat`, sampled at the grid's columns from lonmax west.
template <class Pick>
bool edge_y(const Utm000& u, const Grid& g, float lat, float start, Pick pick, float& yext) {
    const float dlon = static_cast<float>((g.lonmax - g.lonmin) / g.long_);
    float lambda = static_cast<float>(g.lonmax);
    yext = start;
    for (int i = 0; i < max_edge_samples; ++i) {
        float x = 0, y = 0;
        to_xy(u, lat, lambda, x, y);
        yext = pick(yext, y);
        if (!(lambda > g.lonmin)) return true;  // the first sample at or past the west limit
        const float next = lambda - dlon;
        if (next == lambda) return false;  // the step vanished in single precision
        lambda = next;
    }
    return false;
}

// Fits the largest 90 m-raster landscape inside the grid; sets origin and size in u.
bool fit_grid(Utm000& u, const Grid& g, float& rxm, float& rym) {
    if (!usable(g)) return false;
    u.orig_e = 0;
    u.orig_n = 0;
    diag(g.latmin, g.latmax, g.lonmin, g.lonmax);
    diag((g.latmax - g.latmin) * 3600 / g.larg, (g.lonmax - g.lonmin) * 3600 / g.long_);

    const float latmin = static_cast<float>(g.latmin), latmax = static_cast<float>(g.latmax);
    const float lonmin = static_cast<float>(g.lonmin), lonmax = static_cast<float>(g.lonmax);
    const bool north = u.zlat == 'N';
    // The edge toward the equator is where the landscape touches the grid's corners; the edge
    // toward the pole bulges, so its extreme Y over all columns bounds the landscape.
    const float lat_near = north ? latmin : latmax;
    const float lat_far = north ? latmax : latmin;

    float xe = 0, ye = 0, xw = 0, yw = 0;
    to_xy(u, lat_near, lonmax, xe, ye);
    to_xy(u, lat_near, lonmin, xw, yw);

    float yfar = 0;
    bool ok = north ? edge_y(
                          u, g, lat_far, 10'000'000.f,
                          [](float a, float b) { return std::min(a, b); }, yfar)
                    : edge_y(
                          u, g, lat_far, -10'000'000.f,
                          [](float a, float b) { return std::max(a, b); }, yfar);
    if (!ok) return false;

    float x0 = xe, x1 = xw;
    if (!walk_x(u, x0, yfar, fit_step, [&](float lon) { return lon < g.lonmax; })) return false;
    if (!walk_x(u, x1, yfar, -fit_step, [&](float lon) { return lon > g.lonmin; })) return false;
    const float xs = (north ? ye > yw : ye < yw) ? x0 : x1;

    // From the far edge toward the near one, the last 90 m row still inside the grid.
    float ynear = 0;
    bool found = false;
    float y = yfar;
    const float ystep = north ? -fit_step : fit_step;
    for (int i = 0; i < max_fit_steps; ++i) {
        float lat = 0, lon = 0;
        to_latlon(u, xs, y, lat, lon);
        if (!(north ? lat > g.latmin : lat < g.latmax)) break;
        ynear = y;
        found = true;
        y += ystep;
    }
    if (!found) return false;  // grid narrower than one 90 m row

    const float y0 = north ? ynear : yfar;
    const float ytop = north ? yfar : ynear;
    const float width = x1 - x0, height = ytop - y0;

    u.orig_e = -x0;
    u.orig_n = y0;
    rxm = std::trunc(width / fit_step) * fit_step;
    rym = std::trunc(height / fit_step) * fit_step;
    u.xmax = rxm;
    u.ymax = rym;
    u.ori = 90;
    diag(rxm, rym);
    if (!(rxm > 0 && rym > 0)) return false;
    // Far from the meridian the series no longer invert each other and the walk above ends on
    // nonsense; a landscape whose corners are not inside the grid is refused.
    for (float x : {0.f, rxm}) {
        for (float yc : {0.f, rym}) {
            float lat = 0, lon = 0;
            to_latlon(u, x, yc, lat, lon);
            if (!(lat >= g.latmin - corner_slack && lat <= g.latmax + corner_slack &&
                  lon >= g.lonmin - corner_slack && lon <= g.lonmax + corner_slack)) {
                return false;
            }
        }
    }
    return true;
}

void set_zone(Utm000& u) {
    u.rlon0 = 6.0 * u.nzon - 183;
    u.n0 = u.zlat == 'S' ? false_northing_south : 0;
}

void trace_corners(const Utm000& u) {
    if (!state.utm001.debug) return;
    const float xs[] = {0, static_cast<float>(u.xmax)};
    const float ys[] = {0, static_cast<float>(u.ymax)};
    for (float y : ys) {
        for (float x : xs) {
            float lat = 0, lon = 0;
            to_latlon(u, x, y, lat, lon);
            trace(x, y, lat, lon);
        }
    }
}

}  // namespace

const UtmState& utm_state() { return state; }

void utm_reset() { state = UtmState{}; }

void to_xy(const Utm000& u, float lat, float lon, float& x, float& y) {
    double dx = 0, dy = 0;
    forward(u, lat, lon, dx, dy);
    x = static_cast<float>(dx);
    y = static_cast<float>(dy);
}

void to_latlon(const Utm000& u, float x, float y, float& lat, float& lon) {
    double dlat = 0, dlon = 0;
    inverse(u, x, y, dlat, dlon);
    lat = static_cast<float>(dlat);
    lon = static_cast<float>(dlon);
}

void to_xy_d(const Utm000& u, double lat, double lon, double& x, double& y) {
    forward(u, lat, lon, x, y);
}

Utm000 utm_zone(std::int32_t zone, char zlat) {
    Utm000 u;
    u.nzon = zone;
    u.zlat = zlat;
    set_zone(u);
    return u;
}

int utm_read(std::string_view fich, Utm000& out, float& rxm, float& rym) {
    const std::string_view name = trim_right(fich);
    Utm000 u;
    u.raddeg = raddeg;
    u.degrad = degrad;
    auto fail = [&](std::string_view text) {
        log_line(text, name);
        return 0;
    };

    float xm = 0, ym = 0;
    const HeaderKind kind = header_kind(name);
    const bool trn = kind == HeaderKind::trn;
    const bool dem = kind == HeaderKind::dem;
    const bool asc = kind == HeaderKind::asc;
    if (trn) {
        float orig_e = 0, orig_n = 0;
        if (read_trn_hdr(name, xm, ym, orig_e, orig_n, u.ori, u.nzon, u.zlat) != 0 ||
            !std::isfinite(xm) || !std::isfinite(ym) || !std::isfinite(orig_e) ||
            !std::isfinite(orig_n)) {
            return fail("UTM unable to read ");
        }
        trace(xm, ym, orig_e, orig_n, u.ori, u.nzon, u.zlat);
        set_zone(u);
        u.orig_e = orig_e;
        u.orig_n = orig_n;
        u.xmax = xm;
        u.ymax = ym;
    } else if (dem || asc) {
        Grid g;
        const std::int32_t ios = dem ? read_dem_hdr(name, g.latmin, g.latmax, g.lonmin, g.lonmax,
                                                    g.long_, g.larg, u.nzon, u.zlat)
                                     : read_ascdem_hdr(name, g.latmin, g.latmax, g.lonmin, g.lonmax,
                                                       g.long_, g.larg, u.nzon, u.zlat);
        if (ios != 0) return fail("UTM unable to read ");
        trace(g.latmin, g.latmax, g.lonmin, g.lonmax, g.long_, g.larg, u.nzon, u.zlat);
        set_zone(u);
        if (!fit_grid(u, g, xm, ym)) return fail("UTM unable to read ");
    } else {
        diag("unrecognised file type", name);
        return fail("UTM unrecognised file type ");
    }
    out = u;
    rxm = xm;
    rym = ym;
    return 1;
}

int utm_init(std::string_view fich, float& rxm, float& rym) {
    const std::string_view name = trim_right(fich);
    diag("utm_init", name);
    if (state.utm001.initialized && state.fich_old == name) {
        diag("utm_init : ALREADY INITIALIZED", tf(state.utm001.initialized));
        rxm = static_cast<float>(state.utm000.xmax);
        rym = static_cast<float>(state.utm000.ymax);
        return 1;
    }
    Utm000 u;
    float xm = 0, ym = 0;
    if (utm_read(name, u, xm, ym) != 1) {
        state.utm001.initialized = false;
        return 0;
    }
    state.utm000 = u;
    state.utm001.initialized = true;
    state.fich_old = name;
    rxm = xm;
    rym = ym;
    trace("Orig_e, orig_n", u.orig_e, u.orig_n);
    trace("DX, DY", u.xmax, u.ymax);
    trace("UTM_INIT", u.orig_e, u.orig_n, u.xmax, u.ymax, u.nzon, u.rlon0, u.zlat);
    trace_corners(u);
    return 1;
}

int utm_init_c(const char* fich, float& rxm, float& rym) {
    TextField<256> field;
    if (fich != nullptr) strcpy_c2f(fich, field);
    return utm_init(field.view(), rxm, rym);
}

void utm_get_ori(float& xo, float& yo, char& zla, signed char& zlo) {
    xo = static_cast<float>(state.utm000.orig_e);
    yo = static_cast<float>(state.utm000.orig_n);
    zla = state.utm000.zlat;
    zlo = static_cast<signed char>(state.utm000.nzon);
}

void utm_debug(int flag) {
    state.utm001.debug = flag != 0;
    log_message(state.utm001.debug ? "UTM : Debug ACTIVATED" : "UTM : Debug STOPPED");
}

int latlontoxy(float rlat, float rlon, float& rx, float& ry) {
    if (!state.utm001.initialized) {
        log_message("UTM NOT INITIALIZED");
        return 0;
    }
    to_xy(state.utm000, rlat, rlon, rx, ry);
    return 1;
}

int xytolatlon(float rx, float ry, float& rlat, float& rlon) {
    if (!state.utm001.initialized) {
        log_message("UTM NOT INITIALIZED");
        return 0;
    }
    to_latlon(state.utm000, rx, ry, rlat, rlon);
    return 1;
}

void latlontoxy_d(double rlat, double rlon, double& rx, double& ry) {
    forward(state.utm000, rlat, rlon, rx, ry);
}

void xytolatlon_d(double rx, double ry, double& rlat, double& rlon) {
    inverse(state.utm000, rx, ry, rlat, rlon);
}
