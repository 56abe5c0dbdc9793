#include "app/read_batch.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/Varnix.hpp"
#include "app/batch_items.hpp"
#include "app/run_log.hpp"
#include "app/stop.hpp"
#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/line_reader.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

// Warnings of one kind stop being printed after this many; the count of the rest is given at
// the end, so a file with thousands of them still shows what the matter is.
constexpr int warnings_shown_max = 20;
// Turnpoint numbers remembered for the duplicate warning: memory stays flat on huge batches.
constexpr std::size_t numbers_tracked_max = 100000;

bool is_cup_input(std::string_view name) {
    return name.size() >= 4 && case_blind_compare(name.substr(name.size() - 4), ".cup");
}

bool same_file(const std::string& a, const std::string& b) {
    const std::filesystem::path pa = a, pb = b;
    std::error_code ec;
    if (std::filesystem::equivalent(pa, pb, ec)) return true;
    // A path that cannot be resolved (a name too long, a folder that cannot be searched) is
    // not the input: opening it fails with its own message.
    std::error_code eca, ecb;
    const std::filesystem::path ca = std::filesystem::weakly_canonical(pa, eca);
    const std::filesystem::path cb = std::filesystem::weakly_canonical(pb, ecb);
    return !eca && !ecb && ca == cb;
}

// A turnpoint number as text, in a buffer of fixed size.
struct NumberText {
    explicit NumberText(std::int32_t n)
        : len(std::size_t(std::to_chars(text, text + 11, n).ptr - text)) {}
    char text[16];  // "-2147483648", and room to copy the whole buffer at once
    std::size_t len;
};

// Builds a point's flight-plan lines in a stack buffer: one append to the output per point.
class FlightPlanLines {
  public:
    void text(std::string_view t) {
        std::memcpy(end_, t.data(), t.size());
        end_ += t.size();
    }
    // Fixed point with three decimals, as a 15-character field would hold it (asterisks when
    // the value does not fit), without the blanks.
    void fixed3(float v) {
        char* end = fixed_to_chars(end_, end_ + 15, v, 3);
        if (!end) {
            std::memset(end_, '*', 15);
            end = end_ + 15;
        }
        end_ = end;
    }
    // The number's whole buffer is copied, a move of fixed size, and the text advanced by its
    // length.
    void key(std::string_view name, const NumberText& number) {
        text(name);
        std::memcpy(end_, number.text, sizeof number.text);
        end_ += number.len;
        *end_++ = '=';
    }
    std::string_view done() const { return {buf_, std::size_t(end_ - buf_)}; }

  private:
    // Four keys (a line end, six letters, a number's buffer, "="), the name, three
    // 15-character values and the last line end.
    char buf_[4 * (2 + 6 + sizeof(NumberText::text) + 1) + flight_plan_name_max + 3 * 15 + 2];
    char* end_ = buf_;
};

std::string_view flight_plan_name(const BatchPoint& p) {
    return trim_right(std::string_view(p.name).substr(0, flight_plan_name_max));
}

// The four flight-plan lines of a point.
void append_flight_plan(std::string& out, const BatchPoint& p, float x, float y) {
    const NumberText cci(p.nump);
    FlightPlanLines f;
    f.key("TPName", cci);
    f.text(flight_plan_name(p));
    f.key("\r\nTPPosX", cci);
    f.fixed3(x);
    f.key("\r\nTPPosY", cci);
    f.fixed3(y);
    f.key("\r\nTPPosZ", cci);
    f.fixed3(p.alt);
    f.text("\r\n");
    out += f.done();
}

// The eleven fields of a waypoint line; a .cup input keeps its own fields beside the position.
void append_waypoint(std::string& out, const BatchPoint& p, float lat, float lon) {
    std::string_view name = p.name;
    auto field = [&](CupField f) { return std::string_view(p.cup_fields[f]); };
    append_csv_field(out, name, true);
    out += ',';
    append_csv_field(
        out, p.from_cup ? field(cup_code) : name.substr(0, std::min<std::size_t>(name.size(), 8)),
        false);
    out += ',';
    if (p.from_cup) append_csv_field(out, field(cup_country), false);
    out += ',';
    out += lat_cu(lat).view();
    out += ',';
    out += lon_cu(lon).view();
    out += ',';
    char alt[48];
    char* end = fixed_to_chars(alt, alt + sizeof alt, p.alt == 0 ? 0.0f : p.alt, 1);  // no "-0.0m"
    out.append(alt, end ? std::size_t(end - alt) : 0);
    out += "m,";
    if (!p.from_cup) {
        out += "1,,,,\r\n";
        return;
    }
    append_csv_field(out, field(cup_style).empty() ? "1" : field(cup_style), false);
    for (CupField f : {cup_rwdir, cup_rwlen, cup_freq}) {
        out += ',';
        append_csv_field(out, field(f), false);
    }
    out += ',';
    if (!field(cup_desc).empty()) append_csv_field(out, field(cup_desc), true);
    out += "\r\n";
}

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

enum Warning { w_name_cut, w_unmappable, w_landscape_line, w_outside, w_duplicate, w_kinds };

// Lines are read, converted and written a block at a time, small enough that its lines and text
// are still in the cache when they are written. One thread: a second one, converting half of
// each block, spent more CPU time moving lines and text between the cores than it saved.
constexpr std::size_t block_lines = 1024;

// What became of one line, with the end of its text in the block's output buffers.
struct Outcome {
    enum Kind { skip, landscape_skipped, unreadable, bad_coordinates, conversion_failed, point };
    Kind kind = skip;
    int line = 0;
    bool lossy = false;
    std::int32_t nump = 0;
    std::string name;
    float x = 0, y = 0;
    std::size_t fpl_end = 0, cup_end = 0;
};

// The converted lines of a block: what became of each line, and the output text.
struct Part {
    std::vector<Outcome> outcomes;
    std::string fpl, cup;
};

struct Block {
    std::vector<std::string> lines;
    std::vector<int> numbers;
    std::vector<char> lossy;
    std::size_t size = 0;
    Part part;
};

// Converts lines into outcomes and output text.
class Converter {
  public:
    Converter(const BatchOptions& o, bool cup_input) : o_(o), cup_input_(cup_input) {}

    // Lines [first, last) of `b` into `part`; stops after the first line that ends the run.
    // `cup_number` numbers .cup waypoints (they have no number of their own).
    void convert(const Block& b, std::size_t first, std::size_t last, const CupColumns& cols,
                 std::int32_t cup_number, Part& part) {
        part.outcomes.clear();
        part.fpl.clear();
        part.cup.clear();
        for (std::size_t i = first; i < last; ++i) {
            Outcome& out = part.outcomes.emplace_back();
            out.line = b.numbers[i];
            out.lossy = b.lossy[i];
            convert_line(b.lines[i], cols, cup_number, out, part);
            if (out.kind == Outcome::point) ++cup_number;
            out.fpl_end = part.fpl.size();
            out.cup_end = part.cup.size();
            if (out.kind != Outcome::skip && out.kind != Outcome::landscape_skipped &&
                out.kind != Outcome::point)
                return;
        }
    }

  private:
    void convert_line(std::string_view line, const CupColumns& cols, std::int32_t cup_number,
                      Outcome& out, Part& part) {
        LineResult r;
        if (cup_input_) {
            r = parse_cup_line(line, cols, scratch_, p_);
            p_.nump = cup_number;
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
                return;
            case LineResult::bad:
                out.kind = Outcome::unreadable;
                return;
            case LineResult::point:
                break;
        }
        if (o_.qdbg) console_line("");
        if (o_.qverb || o_.qdbg) echo_point(p_);
        float lat = 0, lon = 0;
        int type = 0;
        decode_coord(p_.c_lat, p_.c_lon, lat, lon, type);
        if (o_.qdbg) diag("Type, Lat, Lon : ", type, lat, lon);
        if (type == 0 || lat == coord_invalid || lon == coord_invalid) {
            out.kind = Outcome::bad_coordinates;
            return;
        }
        int status = latlontoxy(lat, lon, out.x, out.y);
        if (o_.qdbg) diag(status);
        if (status != 1) {
            out.kind = Outcome::conversion_failed;
            return;
        }
        out.kind = Outcome::point;
        out.nump = p_.nump;
        out.name = p_.name;
        append_flight_plan(part.fpl, p_, out.x, out.y);
        if (o_.qcup) append_waypoint(part.cup, p_, lat, lon);
    }

    const BatchOptions& o_;
    const bool cup_input_;
    std::vector<std::string> scratch_;
    BatchPoint p_;
};

class Batch {
  public:
    explicit Batch(const BatchOptions& o)
        : o_(o),
          cup_input_(is_cup_input(o.infile)),
          converter_(o, cup_input_) {}

    void run() {
        refuse_outputs_over_input();
        open_files();
        while (read_block(block_)) {
            converter_.convert(block_, 0, block_.size, cols_, npt_, block_.part);
            take(block_.part);
        }
        finish();
    }

  private:
    void refuse_outputs_over_input() {
        if (same_file(o_.outfile, o_.infile)) {
            stop_with_message("The flight-plan file " + from_host_path(o_.outfile) +
                              " would overwrite the batch input");
        }
        if (!o_.qcup) return;
        cupfile_ = cup_file_name(o_.outfile);
        if (same_file(cupfile_, o_.infile)) {
            stop_with_message("The waypoint file " + from_host_path(cupfile_) +
                              " would overwrite the batch input; name another output file");
        }
        if (same_file(cupfile_, o_.outfile)) {
            stop_with_message("The waypoint file " + from_host_path(cupfile_) +
                              " would overwrite the flight-plan file; name it with .fpl");
        }
    }

    // The input first: a run that cannot read it leaves the outputs as they were.
    void open_files() {
        if (!in_.open(o_.infile)) {
            report("*** Impossible to open batch input file :" +
                   message_literal(from_host_path(o_.infile)) + " ***");
        }
        if (o_.qcup && !cup_.open(cupfile_)) {
            report("*** Impossible to open batch output file :" +
                   message_literal(from_host_path(cupfile_)) + " ***");
        }
        if (!fpl_.open(o_.outfile)) {
            report("*** Impossible to open batch output file :" +
                   message_literal(from_host_path(o_.outfile)) + " ***");
        }
        if (o_.qcup) cup_.write(std::string(cup_header) + "\r\n");
    }

    // The next lines to convert; the .cup header and task section are dealt with here, in
    // file order. False when nothing is left.
    bool read_block(Block& b) {
        b.size = 0;
        std::string line;
        while (b.size < block_lines && !tasks_reached_ && in_.next(line)) {
            if (cup_input_) {
                if (is_cup_tasks_line(line)) {
                    tasks_reached_ = true;  // the tasks that follow are no waypoints
                    break;
                }
                if (!header_checked_ && !line.empty() && !line.starts_with('*')) {
                    header_checked_ = true;
                    if (split_csv(line, scratch_) && read_cup_header(scratch_, cols_)) continue;
                }
            }
            if (b.lines.size() <= b.size) {
                b.lines.emplace_back();
                b.numbers.emplace_back();
                b.lossy.emplace_back();
            }
            b.lines[b.size].swap(line);
            b.numbers[b.size] = in_.line_number();
            b.lossy[b.size] = in_.lossy();
            ++b.size;
        }
        return b.size > 0;
    }

    // The outcomes of a part in file order: warnings, counts, the text, or the stop.
    void take(const Part& part) {
        std::size_t fpl_done = 0, cup_done = 0;
        for (const Outcome& out : part.outcomes) {
            switch (out.kind) {
                case Outcome::skip:
                    break;
                case Outcome::landscape_skipped:
                    warn(w_landscape_line, out.line,
                         [] { return "line skipped: it holds \"Landscape\""; });
                    break;
                case Outcome::point:
                    check_point(out);
                    ++npt_;
                    break;
                default:
                    fpl_.write(std::string_view(part.fpl).substr(0, fpl_done));
                    cup_.write(std::string_view(part.cup).substr(0, cup_done));
                    stop_on(out);
            }
            fpl_done = out.fpl_end;
            cup_done = out.cup_end;
        }
        fpl_.write(part.fpl);
        cup_.write(part.cup);
    }

    [[noreturn]] void stop_on(const Outcome& out) {
        const std::string line = std::to_string(out.line);
        switch (out.kind) {
            case Outcome::bad_coordinates:
                stop_after_writing("incorrect coordinate format : " + from_host_path(o_.infile) +
                                   ", line " + line);
            case Outcome::conversion_failed:
                stop_after_writing("*** conversion failed ***");
            default: {
                std::string what = cup_input_ ? "name, code, country, lat, lon, elev"
                                              : "number, name, latitude, longitude, altitude";
                settle_outputs();
                write_count();
                stop_reporting(
                    "*** Error reading batch file :" + message_literal(from_host_path(o_.infile)) +
                        ", line " + line + ": " + what + " expected ***",
                    o_.qline);
            }
        }
    }

    // What is converted all the same but may surprise the user.
    void check_point(const Outcome& out) {
        if (out.name.size() > flight_plan_name_max) {
            warn(w_name_cut, out.line, [] {
                return "name cut to " + std::to_string(flight_plan_name_max) +
                       " characters in the flight plan";
            });
        }
        if (out.lossy) {
            warn(w_unmappable, out.line,
                 [] { return "a character Windows-1252 cannot hold is written as ?"; });
        }
        if (outside_landscape(out.x, out.y)) {
            ++outside_;
            warn(w_outside, out.line, [&] {
                return "point " + out.name + " lies outside landscape " +
                       from_host_path(common_data.landscape.view());
            });
        }
        if (!cup_input_) {
            auto [it, first] = first_line_of_.try_emplace(out.nump, out.line);
            if (!first) {
                warn(w_duplicate, out.line, [&] {
                    return "turnpoint number " + std::to_string(out.nump) +
                           " already used on line " + std::to_string(it->second);
                });
            }
            if (first_line_of_.size() > numbers_tracked_max) first_line_of_.erase(it);
        }
    }

    // `what` makes the text only when it will be shown: a huge file may warn on every line.
    template <class What>
    void warn(Warning kind, int line, What what) {
        if (++warnings_[kind] > warnings_shown_max) return;
        console_error_line(" Warning: " + from_host_path(o_.infile) + ", line " +
                           std::to_string(line) + ": " + what());
    }

    void write_count() {
        std::string line = std::to_string(npt_) + " points read in batch file";
        if (o_.qverb) console_line(" " + line);
        run_log_line(line);
        if (outside_ > 0) run_log_line(std::to_string(outside_) + " points outside the landscape");
        int hidden = 0;
        for (int n : warnings_) hidden += std::max(0, n - warnings_shown_max);
        if (hidden > 0)
            console_error_line(" Warning: " + std::to_string(hidden) + " more warnings not shown");
    }

    // Keeps the points written so far (the run is worth them); with none, the user's earlier
    // files stay as they were.
    void settle_outputs() {
        if (npt_ == 0) {
            fpl_.discard();
            cup_.discard();
            return;
        }
        fpl_.commit();
        if (o_.qcup) cup_.commit();
    }

    [[noreturn]] void report(const std::string& msg) {
        settle_outputs();
        stop_reporting(msg, o_.qline);
    }
    [[noreturn]] void stop_after_writing(const std::string& msg) {
        settle_outputs();
        write_count();
        stop_with_message(msg);
    }

    void finish() {
        const bool read_failed = in_.failed();
        in_.close();
        const std::string read_error =
            "*** Error reading batch file :" + message_literal(from_host_path(o_.infile)) + " ***";
        if (read_failed && npt_ == 0) {
            // Nothing was read: the outputs the user had stay as they were.
            write_count();
            report(read_error);
        }
        if (!fpl_.commit()) {
            cup_.discard();
            report("*** Error writing batch output file :" +
                   message_literal(from_host_path(o_.outfile)) + " ***");
        }
        if (o_.qcup && !cup_.commit()) {
            report("*** Error writing batch output file :" +
                   message_literal(from_host_path(cupfile_)) + " ***");
        }
        write_count();
        if (read_failed) report(read_error);
    }

    const BatchOptions& o_;
    const bool cup_input_;
    std::string cupfile_;
    LineReader in_;
    AsideFile fpl_, cup_;
    CupColumns cols_;
    bool header_checked_ = false, tasks_reached_ = false;
    std::vector<std::string> scratch_;
    Block block_;
    Converter converter_;
    int npt_ = 0, outside_ = 0;
    std::array<int, w_kinds> warnings_{};
    std::unordered_map<std::int32_t, int> first_line_of_;
};

}  // namespace

void read_batch(const BatchOptions& options) {
    Batch batch(options);
    batch.run();
}
