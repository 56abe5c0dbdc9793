// What the XML readers share: a parsed document with the places of its nodes, and a point read
// from attributes and child elements.
#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "formats/records.hpp"

struct XmlFile {
    pugi::xml_document doc;
    LinePlaces places;
    std::string error;  // why it is no XML document, with its place; "" when parsed

    explicit XmlFile(std::string_view bytes);
    std::string place(const pugi::xml_node& node) const {
        return places.at(std::size_t(node.offset_debug()));
    }
};

// The text of child `name` as a name (point_name), "" when there is none.
std::string child_text(const pugi::xml_node& node, const char* name);
// A point from `node`'s latitude/longitude attributes (named `lat_name`/`lon_name`), with `name`
// and `elevation` as given. False with `fault` naming the field when a coordinate is missing or
// unreadable.
bool xml_point(const XmlFile& file, const pugi::xml_node& node, const char* lat_name,
               const char* lon_name, std::string name, std::string_view elevation,
               FormatPoint& point, FormatFault& fault);
