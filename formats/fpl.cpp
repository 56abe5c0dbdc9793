// Reading a flight plan's turnpoint keys (TPName, TPPosX, TPPosY, TPPosZ) into records.
#include "formats/fpl.hpp"

#include <cmath>
#include <map>

#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

enum Key { k_name, k_x, k_y, k_z, k_none };

// "TPPosX12" gives k_x and 12; keys are compared without case, as Windows reads them.
Key turnpoint_key(std::string_view key, int& number) {
    static constexpr std::string_view names[] = {"TPName", "TPPosX", "TPPosY", "TPPosZ"};
    for (int k = k_name; k < k_none; ++k) {
        const std::string_view n = names[k];
        if (key.size() <= n.size() || !case_blind_compare(key.substr(0, n.size()), n)) continue;
        std::int32_t v = 0;
        const std::string_view digits = key.substr(n.size());
        if (!is_uint(digits) || !read_free_int(digits, v)) return k_none;
        number = v;
        return Key(k);
    }
    return k_none;
}

// Blanks and stray CRs around a value are line-end debris ("=Home  \r  \r\n"): kept, they
// would be written into the outputs' lines.
std::string_view trim_value(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \r");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \r") - first + 1);
}

}  // namespace

FlightPlan read_flight_plan(LineReader& in) {
    FlightPlan plan;
    std::map<int, FlightPlanPoint> by_number;
    std::string line;
    while (in.next(line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string_view key = trim(std::string_view(line).substr(0, eq));
        const std::string_view value = trim_value(std::string_view(line).substr(eq + 1));
        if (case_blind_compare(key, "Landscape")) {
            if (plan.landscape.empty()) plan.landscape = value;
            continue;
        }
        int number = 0;
        const Key k = turnpoint_key(key, number);
        if (k == k_none) continue;
        FlightPlanPoint& p = by_number[number];
        if (!p.has_name && !p.has_x && !p.has_y && !p.has_z) {
            p.number = number;
            p.line = in.line_number();
        }
        if (k == k_name) {
            p.name = value;
            p.has_name = true;
            continue;
        }
        float v = 0;
        if (!read_free_number(value, v) || !std::isfinite(v)) {
            p.faulty = true;
            plan.faults.emplace_back(
                in.line_number(),
                std::string(key) + " \"" + std::string(value) + "\" is not a number");
            continue;
        }
        (k == k_x ? p.x : k == k_y ? p.y : p.z) = v;
        (k == k_x ? p.has_x : k == k_y ? p.has_y : p.has_z) = true;
    }
    for (auto& [n, p] : by_number) plan.points.push_back(std::move(p));
    return plan;
}

FlightPlan read_flight_plan(std::string_view bytes) {
    LineReader in;
    in.open_bytes(bytes);
    return read_flight_plan(in);
}

bool is_flight_plan_name(std::string_view name) {
    return name.size() >= 4 && case_blind_compare(name.substr(name.size() - 4), ".fpl");
}
