#include "formats/xctsk.hpp"

#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

// A number or a text holding one, as the file has it; "" for anything else.
std::string value_text(const json& v) {
    if (v.is_number()) return v.dump();
    if (v.is_string()) return v.get<std::string>();
    return {};
}

// Where a broken file stops being JSON: a reading pass that keeps nothing, and says where
// without throwing.
struct FaultPlace : nlohmann::json_sax<json> {
    std::size_t byte = 0;
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t at, const std::string&,
                     const nlohmann::detail::exception&) override {
        byte = at;
        return false;
    }
};

bool take_turnpoint(const json& tp, std::size_t index, FormatPoint& p, FormatFault& fault) {
    p.place = fault.place = "turnpoint " + std::to_string(index + 1);
    if (!tp.is_object() || !tp.contains("waypoint") || !tp["waypoint"].is_object()) {
        fault.what = "no waypoint";
        return false;
    }
    const json& wp = tp["waypoint"];
    auto field = [&](const char* name) { return wp.contains(name) ? value_text(wp[name]) : ""; };
    if (wp.contains("name") && wp["name"].is_string())
        p.name = point_name(wp["name"].get<std::string>());
    if (p.name.empty()) p.name = "Turnpoint " + std::to_string(index + 1);
    const std::string lat = field("lat"), lon = field("lon"), alt = field("altSmoothed");
    if (!format_degrees(lat, 90, p.lat)) {
        fault.what = wp.contains("lat") ? "waypoint.lat " + wp["lat"].dump() + " is not a latitude"
                                        : "waypoint without lat";
        return false;
    }
    if (!format_degrees(lon, 180, p.lon)) {
        fault.what = wp.contains("lon") ? "waypoint.lon " + wp["lon"].dump() + " is not a longitude"
                                        : "waypoint without lon";
        return false;
    }
    if (!format_elevation(alt, p.elevation)) {
        fault.what = "waypoint.altSmoothed " + wp["altSmoothed"].dump() + " is not a number";
        return false;
    }
    return true;
}

}  // namespace

FormatContent read_xctsk(std::string_view bytes) {
    FormatContent c;
    const json doc = json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (doc.is_discarded()) {
        FaultPlace fault;
        json::sax_parse(bytes.begin(), bytes.end(), &fault);
        c.error = LinePlaces(bytes).at(fault.byte > 0 ? fault.byte - 1 : 0) + ": not JSON";
        return c;
    }
    if (!doc.is_object() || !doc.contains("turnpoints") || !doc["turnpoints"].is_array()) {
        c.error = doc.is_object() && doc.contains("version") && doc["version"] != 1
                      ? "version " + doc["version"].dump() + " is not read: version 1 files are"
                      : "no turnpoints: not a task file";
        return c;
    }
    FormatTask task;
    const json& tps = doc["turnpoints"];
    for (std::size_t i = 0; i < tps.size(); ++i) {
        FormatPoint p;
        FormatFault fault;
        if (!take_turnpoint(tps[i], i, p, fault)) {
            c.skipped.push_back({fault.place, fault.what, 0});
            continue;
        }
        const bool takeoff = tps[i].contains("type") && tps[i]["type"] == "TAKEOFF";
        if (takeoff && task.points.empty()) task.has_takeoff = true;
        task.points.push_back(std::move(p));
    }
    c.tasks.push_back(std::move(task));
    return c;
}
