#include "formats/xml_points.hpp"

#include <algorithm>

XmlFile::XmlFile(std::string_view bytes) : places(bytes) {
    // Entities and character references are read; nothing outside the file is.
    const pugi::xml_parse_result result =
        doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (!result) {
        // A fault at the very end (nothing but blanks) belongs to the last line.
        const std::size_t at = std::min(std::size_t(std::max<std::ptrdiff_t>(result.offset, 0)),
                                        bytes.empty() ? 0 : bytes.size() - 1);
        error = places.at(at) + ": not XML (" + result.description() + ")";
    }
}

std::string child_text(const pugi::xml_node& node, const char* name) {
    return point_name(node.child(name).text().as_string());
}

bool xml_point(const XmlFile& file, const pugi::xml_node& node, const char* lat_name,
               const char* lon_name, std::string name, std::string_view elevation,
               FormatPoint& point, FormatFault& fault) {
    point = FormatPoint{};
    point.place = file.place(node);
    fault.place = point.place;
    const pugi::xml_attribute lat = node.attribute(lat_name), lon = node.attribute(lon_name);
    auto bad = [&](const char* field, const pugi::xml_attribute& a, const char* what) {
        fault.what = a ? std::string(field) + " \"" + a.value() + "\" is not a " + what
                       : std::string(node.name()) + " without " + field;
        return false;
    };
    if (!format_degrees(lat.value(), 90, point.lat) || !lat) return bad(lat_name, lat, "latitude");
    if (!format_degrees(lon.value(), 180, point.lon) || !lon)
        return bad(lon_name, lon, "longitude");
    if (!format_elevation(elevation, point.elevation)) {
        fault.what = "elevation \"" + std::string(elevation) + "\" is not a number";
        return false;
    }
    point.name = point_name(name);
    return true;
}
