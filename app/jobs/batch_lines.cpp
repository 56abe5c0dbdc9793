#include "app/jobs/batch_lines.hpp"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/jobs/pilot_words.hpp"
#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "host/console.hpp"
#include "host/diag.hpp"
#include "util/cp1252.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

void echo_point(const BatchPoint& p) {
    char head[64];
    std::snprintf(head, sizeof head, "%4d ", int(p.nump));
    std::string line = head;
    line += p.name;
    line.resize(std::max<std::size_t>(line.size() + 1, 29), ' ');
    line += p.c_lat.padded();
    line += p.c_lon.padded();
    char alt[32];
    std::snprintf(alt, sizeof alt, "%6ld", std::lround(double(p.alt)));
    line += alt;
    console_line(line);
}

}  // namespace

std::string describe_bad_batch_line(std::string_view line) {
    std::vector<std::string> items;
    const int count = split_items(line, items, 5);
    if (count < 0) return "an empty item, or a quote left open";
    if (count < 5) {
        return std::to_string(count) +
               " items where 5 are expected (number, name, latitude, longitude, altitude)";
    }
    std::int32_t number = 0;
    float altitude = 0;
    if (!read_free_int(items[0], number))
        return "the number \"" + items[0] + "\" is not a whole number";
    if (!read_free_number(items[4], altitude))
        return "the altitude \"" + items[4] + "\" is not a number";
    return "number, name, latitude, longitude, altitude expected";
}

std::string coordinate_fault(std::string_view lat_text, std::string_view lon_text, float lat,
                             float lon, int type, bool cup_input) {
    if (type != 0 && lat != coord_invalid && lon != coord_invalid) return {};
    // Named as the file names it: the .cup column, or the batch item.
    const bool bad_lat = lat == coord_invalid || (type == 0 && lon != coord_invalid);
    const std::string_view item =
        bad_lat ? (cup_input ? "lat" : "latitude") : (cup_input ? "lon" : "longitude");
    const std::string_view text = bad_lat ? lat_text : lon_text;
    return with_point_advice(std::string(item) + " \"" + std::string(text) + "\" is not a " +
                                 (bad_lat ? "latitude" : "longitude"),
                             text);
}

std::string cup_record_fault(std::string_view record, const CupColumns& cols) {
    std::vector<CupField> fields;
    BatchPoint p;
    std::string fault;
    if (!parse_cup_record(record, cols, fields, p, fault)) return fault;
    float lat = 0, lon = 0;
    int type = 0;
    const TextField<20> lat_text = p.c_lat, lon_text = p.c_lon;
    decode_coord(p.c_lat, p.c_lon, lat, lon, type);
    return coordinate_fault(lat_text.view(), lon_text.view(), lat, lon, type, true);
}

void append_waypoint(std::string& out, const BatchPoint& p, float lat, float lon) {
    std::string_view name = p.name;
    append_csv_field(out, name, true);
    out += ',';
    append_csv_field(out, name.substr(0, std::min<std::size_t>(name.size(), 8)), false);
    out += ",,";
    out += lat_cu(lat).view();
    out += ',';
    out += lon_cu(lon).view();
    out += ',';
    char alt[48];
    char* end = fixed_to_chars(alt, alt + sizeof alt, p.alt == 0 ? 0.0f : p.alt, 1);  // no "-0.0m"
    out.append(alt, end ? std::size_t(end - alt) : 0);
    out += "m,1,,,,\r\n";
}

void Converter::convert(Block& b, const CupColumns& cols) {
    Part& part = b.part;
    part.outcomes.clear();
    part.cup.clear();
    for (std::size_t i = 0; i < b.size; ++i) {
        Outcome& out = part.outcomes.emplace_back();
        out.line = b.numbers[i];
        out.lossy = b.lossy[i];
        out.open_quote = b.open_quote[i];
        convert_line(b.line(i), cols, out, part);
        out.cup_end = part.cup.size();
        // A .cup input goes on past a line it cannot read; the batch layout stops there.
        if (!cup_input_ && out.kind != Outcome::skip && out.kind != Outcome::landscape_skipped &&
            out.kind != Outcome::point)
            return;
    }
}

void Converter::convert_line(std::string_view line, const CupColumns& cols, Outcome& out,
                             Part& part) {
    LineResult r;
    if (cup_input_ && is_cup_comment(line)) {
        if (write_cup_) {
            part.cup += line;
            part.cup += "\r\n";
        }
        out.kind = Outcome::skip;
        return;
    }
    const bool quick = !o_.qverb && !o_.qdbg;  // nothing to echo or explain
    if (cup_input_ && quick && read_usual_cup_record(line, cols, usual_, p_.alt_empty)) {
        p_.name = usual_.name;
        p_.alt = usual_.alt;
        take_cup_name(out);
        convert_point(line, usual_.lat, usual_.lon, out, part, true);
        return;
    }
    if (cup_input_) {
        r = parse_cup_record(line, cols, fields_, p_, out.fault) ? LineResult::point
                                                                 : LineResult::bad;
        if (r == LineResult::point) take_cup_name(out);
    } else if (quick && read_usual_batch_line(line, usual_)) {
        p_.nump = usual_.nump;
        p_.name = usual_.name;
        p_.alt = usual_.alt;
        convert_point(line, usual_.lat, usual_.lon, out, part);
        return;
    } else {
        r = parse_batch_line(line, scratch_, p_);
    }
    switch (r) {
        case LineResult::skip:
            out.kind = Outcome::skip;
            return;
        case LineResult::landscape_skipped:
            out.kind = Outcome::landscape_skipped;
            return;
        case LineResult::too_many_items:
            out.kind = Outcome::bad_coordinates;
            out.fault = "more than 5 items (a decimal comma?)";
            return;
        case LineResult::bad:
            out.kind = Outcome::unreadable;
            if (!cup_input_) out.fault = describe_bad_batch_line(line);
            return;
        case LineResult::point:
            break;
    }
    if (o_.qdbg) console_line("");
    if (o_.qverb || o_.qdbg) echo_point(p_);
    float lat = 0, lon = 0;
    int type = 0;
    const TextField<20> lat_text = p_.c_lat, lon_text = p_.c_lon;
    decode_coord(p_.c_lat, p_.c_lon, lat, lon, type);
    if (o_.qdbg) diag("Type, Lat, Lon : ", type, lat, lon);
    out.fault = coordinate_fault(lat_text.view(), lon_text.view(), lat, lon, type, cup_input_);
    if (!out.fault.empty()) {
        out.kind = Outcome::bad_coordinates;
        return;
    }
    convert_point(line, lat, lon, out, part);
}

void Converter::take_cup_name(Outcome& out) {
    if (!is_ascii(p_.name)) {
        bool lossy = false;
        p_.name = utf8_or_cp1252_to_cp1252(p_.name, lossy);
        out.lossy = lossy;
    }
}

void Converter::convert_point(std::string_view line, float lat, float lon, Outcome& out, Part& part,
                              bool record_as_is) {
    int status = 1;
    if (o_.projection)
        to_xy(*o_.projection, lat, lon, out.x, out.y);
    else
        status = latlontoxy(lat, lon, out.x, out.y);
    if (o_.qdbg) diag(status);
    if (status != 1) {
        out.kind = Outcome::conversion_failed;
        return;
    }
    out.kind = Outcome::point;
    out.nump = p_.nump;
    out.name = p_.name;
    out.alt = p_.alt;
    out.no_elevation = cup_input_ && p_.alt_empty;
    if (cup_input_ && !record_as_is) out.fault = p_.elevation_fault;
    if (write_cup_) {
        if (record_as_is) {
            part.cup += line;
            part.cup += "\r\n";
        } else if (cup_input_) {
            append_cup_waypoint(part.cup, line, p_, lat, lon);
        } else {
            append_waypoint(part.cup, p_, lat, lon);
        }
    }
}
