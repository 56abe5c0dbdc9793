// The conversion of a batch's lines, a block at a time: each line read (batch layout or .cup
// record), decoded, projected and checked into what became of it, with its waypoint text. The
// pipeline (read_batch.cpp) reads the blocks, hands them here, possibly on a second thread, and
// takes the outcomes in file order; nothing here writes a file or a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/jobs/batch_options.hpp"
#include "formats/batch_items.hpp"
#include "formats/cup_file.hpp"

// Why a line of the batch layout could not be read, naming the item that failed.
std::string describe_bad_batch_line(std::string_view line);
// Why decode_coord's result (lat, lon, type) is no position, naming the item or .cup column as
// the file does and the text as read; "" when it is one.
std::string coordinate_fault(std::string_view lat_text, std::string_view lon_text, float lat,
                             float lon, int type, bool cup_input);
// Why a .cup record cannot be a waypoint (its field and text), "" when it can.
std::string cup_record_fault(std::string_view record, const CupColumns& cols);
// The waypoint line of a point that did not come from a .cup input: name, code (the name's first
// 8 characters), latitude, longitude, elevation, style 1.
void append_waypoint(std::string& out, const BatchPoint& p, float lat, float lon);

// Lines are read, converted and written a block at a time, small enough that its lines and text
// are still in the cache when they are written; larger when a second thread converts them
// (the pipeline's), for fewer hand-overs.
inline constexpr std::size_t block_lines = 1024;
inline constexpr std::size_t pipelined_block_lines = 4096;

// What became of one line, with the end of its waypoint text in the block's buffer.
struct Outcome {
    enum Kind { skip, landscape_skipped, unreadable, bad_coordinates, conversion_failed, point };
    Kind kind = skip;
    int line = 0;
    bool lossy = false;
    bool open_quote = false;  // a .cup record whose quote is never closed
    bool no_elevation = false;
    std::string fault;      // what could not be read, for the kinds that end or skip a line
    std::int32_t nump = 0;  // the batch's; .cup waypoints are numbered as they are taken
    std::string name;
    float x = 0, y = 0, alt = 0;
    std::size_t cup_end = 0;
};

// The converted lines of a block: what became of each line, and the waypoint text.
struct Part {
    std::vector<Outcome> outcomes;
    std::string cup;
};

// The lines lie one after the other in one text, so that going through them is a stream.
struct Block {
    std::string text;
    std::vector<std::size_t> ends;  // where each line ends in `text`
    std::vector<int> numbers;
    std::vector<char> lossy, open_quote;
    std::size_t size = 0;
    Part part;

    std::string_view line(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends[i - 1];
        return std::string_view(text).substr(begin, ends[i] - begin);
    }
};

// Converts lines into outcomes and waypoint text.
class Converter {
  public:
    // -task writes its waypoint file itself: each waypoint once, however often the task
    // passes it.
    Converter(const BatchOptions& o, bool cup_input)
        : o_(o), cup_input_(cup_input), write_cup_(o.qcup && o.task.empty()) {}

    // The lines of `b` into its part; stops after the first line that ends the run.
    void convert(Block& b, const CupColumns& cols);

  private:
    void convert_line(std::string_view line, const CupColumns& cols, Outcome& out, Part& part);
    // The input keeps its encoding in the waypoint file; the flight plan and the messages want
    // Windows-1252.
    void take_cup_name(Outcome& out);
    // A point read: projected, checked and written. `record_as_is`: a .cup record whose
    // waypoint is written as it stands.
    void convert_point(std::string_view line, float lat, float lon, Outcome& out, Part& part,
                       bool record_as_is = false);

    const BatchOptions& o_;
    const bool cup_input_, write_cup_;
    std::vector<std::string> scratch_;
    std::vector<CupField> fields_;
    BatchPoint p_;
    UsualPoint usual_;
};
