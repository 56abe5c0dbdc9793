#include "app/read_batch.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/batch_items.hpp"
#include "app/run_log.hpp"
#include "app/stop.hpp"
#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

constexpr std::size_t io_buffer_size = 1 << 16;

// A file written from its first line, with write errors kept until the close reports them.
class OutputFile {
  public:
    bool open(const std::string& name) {
        name_ = name;
        file_ = std::fopen(to_host_path(name).c_str(), "wb");
        if (file_) std::setvbuf(file_, nullptr, _IOFBF, io_buffer_size);
        return file_ != nullptr;
    }
    void write(std::string_view text) {
        if (file_ && std::fwrite(text.data(), 1, text.size(), file_) != text.size()) ok_ = false;
    }
    // Flushes and closes; false when anything failed to reach the file.
    bool close() {
        if (!file_) return ok_;
        if (std::fclose(file_) != 0) ok_ = false;
        file_ = nullptr;
        return ok_;
    }
    bool is_open() const { return file_ != nullptr; }
    const std::string& name() const { return name_; }

  private:
    std::FILE* file_ = nullptr;
    std::string name_;
    bool ok_ = true;
};

// Lines of a text file in Windows-1252 or UTF-8, CR LF or LF.
class InputLines {
  public:
    bool open(const std::string& name) {
        file_ = std::fopen(to_host_path(name).c_str(), "rb");
        return file_ != nullptr;
    }
    ~InputLines() {
        if (file_) std::fclose(file_);
    }
    // The next line (Windows-1252, no line end); false at the end or on a read error.
    bool next(std::string& line) {
        line.clear();
        for (;;) {
            if (pos_ == len_) {
                if (!fill()) return !line.empty();
            }
            const char* start = buf_.data() + pos_;
            const char* nl = static_cast<const char*>(std::memchr(start, '\n', len_ - pos_));
            std::size_t n = nl ? std::size_t(nl - start) : len_ - pos_;
            line.append(start, n);
            pos_ += n;
            if (nl) {
                ++pos_;
                break;
            }
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (std::any_of(line.begin(), line.end(), [](char c) { return c & 0x80; })) {
            line = utf8_or_cp1252_to_cp1252(line);
        }
        ++number_;
        return true;
    }
    bool failed() const { return file_ && std::ferror(file_); }
    int line_number() const { return number_; }

  private:
    bool fill() {
        if (!file_ || std::feof(file_) || std::ferror(file_)) return false;
        len_ = std::fread(buf_.data(), 1, buf_.size(), file_);
        pos_ = 0;
        return len_ > 0;
    }

    std::FILE* file_ = nullptr;
    std::vector<char> buf_ = std::vector<char>(io_buffer_size);
    std::size_t pos_ = 0, len_ = 0;
    int number_ = 0;
};

bool is_cup_input(std::string_view name) {
    return name.size() >= 4 && case_blind_compare(name.substr(name.size() - 4), ".cup");
}

bool same_file(const std::string& a, const std::string& b) {
    const std::filesystem::path pa = to_host_path(a), pb = to_host_path(b);
    std::error_code ec;
    if (std::filesystem::equivalent(pa, pb, ec)) return true;
    return std::filesystem::weakly_canonical(pa, ec) == std::filesystem::weakly_canonical(pb, ec);
}

// Fixed point with three decimals, as a 15-character field would hold it (asterisks when the
// value does not fit), without the blanks.
void append_fixed3(std::string& out, float v) {
    char buf[16];
    char* end = fixed_to_chars(buf, buf + 15, v, 3);
    if (!end) {
        out.append(15, '*');
        return;
    }
    out.append(buf, std::size_t(end - buf));
}

// The four flight-plan lines of a point.
void append_flight_plan(std::string& out, const BatchPoint& p, float x, float y) {
    char num[16];
    auto n = std::to_chars(num, num + sizeof num, p.nump).ptr;
    std::string_view cci(num, std::size_t(n - num));
    out += "TPName";
    out += cci;
    out += '=';
    out += p.name.view();
    out += "\r\nTPPosX";
    out += cci;
    out += '=';
    append_fixed3(out, x);
    out += "\r\nTPPosY";
    out += cci;
    out += '=';
    append_fixed3(out, y);
    out += "\r\nTPPosZ";
    out += cci;
    out += '=';
    append_fixed3(out, p.alt);
    out += "\r\n";
}

// The eleven fields of a waypoint line.
void append_waypoint(std::string& out, const BatchPoint& p, float lat, float lon) {
    std::string_view name = p.name.view();
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

void echo_point(const BatchPoint& p) {
    char head[64];
    std::snprintf(head, sizeof head, "%4d ", int(p.nump));
    std::string line = head;
    line += p.name.view();
    line.resize(std::max<std::size_t>(line.size() + 1, 29), ' ');
    line += p.c_lat.padded();
    line += p.c_lon.padded();
    char alt[32];
    std::snprintf(alt, sizeof alt, "%6ld", std::lround(double(p.alt)));
    line += alt;
    console_line(line);
}

struct Batch {
    std::string infile, outfile, cupfile;
    bool qcup, qverb, qdbg, qline;
    OutputFile fpl, cup;
    int npt = 0;

    // Reports a file failure as the console or a box, and in the program log.
    [[noreturn]] void fail(const std::string& msg) {
        error_message(s_error, msg, qline);
        log_message_f(msg);
        stop_silently();
    }
    // Ends a run that stops on a point: what was written stays.
    void close_outputs() {
        fpl.close();
        cup.close();
    }
    void write_count() {
        std::string line = std::to_string(npt) + " points read in batch file";
        if (qverb) console_line(" " + line);
        run_log_line(line);
    }
};

}  // namespace

void read_batch(std::string_view infile, std::string_view outfile, bool qcup, bool qverb, bool qdbg,
                bool qline, float epsl) {
    (void)epsl;  // the threshold belongs to the command line; the batch does not iterate
    Batch b{std::string(infile), std::string(outfile), "", qcup, qverb, qdbg, qline, {}, {}, 0};

    // Nothing is written when an output would replace the input.
    if (same_file(b.outfile, b.infile)) {
        stop_with_message("The flight-plan file " + b.outfile + " would overwrite the batch input");
    }
    if (qcup) {
        b.cupfile = cup_file_name(b.outfile);
        if (same_file(b.cupfile, b.infile)) {
            stop_with_message("The waypoint file " + b.cupfile +
                              " would overwrite the batch input; name another output file");
        }
    }
    InputLines in;
    if (qcup && !b.cup.open(b.cupfile)) {
        b.fail("*** Impossible to open batch output file :" + b.cupfile + " ***");
    }
    if (!b.fpl.open(b.outfile)) {
        b.fail("*** Impossible to open batch output file :" + b.outfile + " ***");
    }
    if (!in.open(b.infile)) {
        b.fail("*** Impossible to open batch input file :" + b.infile + " ***");
    }

    const bool cup_input = is_cup_input(b.infile);
    CupColumns cols;
    std::vector<std::string> scratch;
    std::string line, fpl_text, cup_text;
    BatchPoint p;
    bool first_line = true;
    while (in.next(line)) {
        LineResult r;
        if (cup_input) {
            if (is_cup_tasks_line(line)) break;
            if (first_line && split_csv(line, scratch) && read_cup_header(scratch, cols)) {
                first_line = false;
                continue;
            }
            r = parse_cup_line(line, cols, scratch, p);
            if (r == LineResult::point) p.nump = b.npt;
        } else {
            r = parse_batch_line(line, scratch, p);
        }
        if (r != LineResult::skip) first_line = false;
        if (r == LineResult::skip) continue;
        if (r == LineResult::bad) {
            b.close_outputs();
            b.write_count();
            std::string what = cup_input ? "name, code, country, lat, lon, elev"
                                         : "number, name, latitude, longitude, altitude";
            b.fail("*** Error reading batch file :" + b.infile + ", line " +
                   std::to_string(in.line_number()) + ": " + what + " expected ***");
        }
        ++b.npt;
        if (qdbg) console_line("");
        if (qverb || qdbg) echo_point(p);

        float lat = 0, lon = 0, x = 0, y = 0;
        int type = 0;
        decode_coord(p.c_lat, p.c_lon, lat, lon, type);
        if (qdbg) diag("Type, Lat, Lon : ", type, lat, lon);
        if (type == 0 || lat == coord_invalid || lon == coord_invalid) {
            b.close_outputs();
            stop_with_message("incorrect coordinate format");
        }
        int status = latlontoxy(lat, lon, x, y);
        if (qdbg) diag(status);
        if (status != 1) {
            b.close_outputs();
            stop_with_message("*** conversion failed ***");
        }
        fpl_text.clear();
        append_flight_plan(fpl_text, p, x, y);
        b.fpl.write(fpl_text);
        if (qcup) {
            cup_text.clear();
            append_waypoint(cup_text, p, lat, lon);
            b.cup.write(cup_text);
        }
    }
    const bool read_failed = in.failed();
    if (!b.fpl.close()) b.fail("*** Error writing batch output file :" + b.outfile + " ***");
    if (!b.cup.close()) b.fail("*** Error writing batch output file :" + b.cupfile + " ***");
    b.write_count();
    if (read_failed) b.fail("*** Error reading batch file :" + b.infile + " ***");
}
