// Fuzzes the batch input's line reader: every line of the input goes through the five-item
// layout and, when it gives a point, through the coordinate decoder, as a batch run takes it.
// Beyond "no crash": items written back quoted split into the same items again, and a point
// keeps what its items said, and a line read the quick way is read the same the long way.
#include <string>
#include <string_view>
#include <vector>

#include "formats/batch_items.hpp"
#include "fuzz/fuzz_check.hpp"
#include "geo/decode_coord.hpp"
#include "util/line_reader.hpp"
#include "util/text.hpp"

namespace {

constexpr std::size_t batch_items_max = 6;  // five, and one more to notice a sixth

// Every item quoted with ' (a ' inside doubled), separated by a blank.
std::string quoted(const std::vector<std::string>& items, int count) {
    std::string line;
    for (int i = 0; i < count; ++i) {
        if (i > 0) line += ' ';
        line += '\'';
        for (char c : items[std::size_t(i)]) {
            if (c == '\'') line += '\'';
            line += c;
        }
        line += '\'';
    }
    return line;
}

void check_line(std::string_view line, std::vector<std::string>& items,
                std::vector<std::string>& again, BatchPoint& point) {
    const int count = split_items(line, items, batch_items_max);
    require(count >= -1 && count <= int(batch_items_max), "item count");
    if (count > 0) {
        const std::string requoted = quoted(items, count);
        require(split_items(requoted, again, batch_items_max) == count, "quoted items re-split");
        for (int i = 0; i < count; ++i)
            require(again[std::size_t(i)] == items[std::size_t(i)], "quoted item reads back");
    }

    UsualPoint usual;
    const bool quick = read_usual_batch_line(line, usual);
    const LineResult r = parse_batch_line(line, again, point);
    require(!quick || r == LineResult::point, "a line read the quick way is a point");
    if (r != LineResult::point) return;
    require(count == 5, "a point has five items");
    require(point.name == trim_right(items[1]) && point.c_lat == TextField<20>(items[2]) &&
                point.c_lon == TextField<20>(items[3]),
            "a point keeps its items");
    float lat = 0, lon = 0;
    int type = -1;
    decode_coord(point.c_lat, point.c_lon, lat, lon, type);
    require(type >= fmt_unknown && type <= fmt_decimal, "format code");
    require(
        !quick || (type == fmt_decimal && usual.lat == lat && usual.lon == lon &&
                   usual.nump == point.nump && usual.name == point.name && usual.alt == point.alt),
        "the quick way reads the point the long way reads");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::vector<std::string> items, again;
    BatchPoint point;
    LineReader in;
    in.open_bytes(as_text(data, size));
    for (std::string line; in.next(line);) check_line(line, items, again, point);
    return 0;
}
