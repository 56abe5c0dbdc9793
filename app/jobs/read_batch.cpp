#include "app/jobs/read_batch.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/jobs/batch_lines.hpp"
#include "app/jobs/conversion_setup.hpp"
#include "app/jobs/cup_tasks.hpp"
#include "app/jobs/pilot_words.hpp"
#include "app/jobs/run_log.hpp"
#include "formats/batch_items.hpp"
#include "formats/cup_file.hpp"
#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/cp1252.hpp"
#include "util/line_reader.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"
#include "util/worker.hpp"

namespace {

// Warnings of one kind stop being printed after this many; the count of the rest is given at
// the end, so a file with thousands of them still shows what the matter is.
constexpr int warnings_shown_max = 20;
// Turnpoint numbers whose first line is remembered for the duplicate warning; every duplicate is
// still found (SeenNumbers), the message then says only that the number was used before.
constexpr std::size_t numbers_tracked_max = 100000;

bool same_file(const std::string& a, const std::string& b) {
    const std::filesystem::path pa = fs_path(a), pb = fs_path(b);
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

// The four flight-plan lines of a point.
void append_flight_plan(std::string& out, std::int32_t nump, std::string_view name, float x,
                        float y, float alt) {
    const NumberText cci(nump);
    FlightPlanLines f;
    f.key("TPName", cci);
    f.text(trim_right(name.substr(0, std::min(name.size(), flight_plan_name_max))));
    f.key("\r\nTPPosX", cci);
    f.fixed3(x);
    f.key("\r\nTPPosY", cci);
    f.fixed3(y);
    f.key("\r\nTPPosZ", cci);
    f.fixed3(alt);
    f.text("\r\n");
    out += f.done();
}

enum Warning {
    w_name_cut,
    w_unmappable,
    w_landscape_line,
    w_outside,
    w_duplicate,
    w_skipped,
    w_no_elevation,
    w_open_quote,
    w_two_places,
    w_note,
    w_kinds
};

// Turnpoint numbers seen so far: a bitmap for the usual small non-negative numbers (a few MB at
// most), a set for the others.
class SeenNumbers {
  public:
    // True when `n` was seen before; remembers it.
    bool seen(std::int32_t n) {
        if (n >= 0 && n < bitmap_numbers_max) {
            const std::size_t word = std::size_t(n) / 64;
            const std::uint64_t bit = std::uint64_t(1) << (n % 64);
            if (word >= bits_.size()) bits_.resize(std::max(word + 1, bits_.size() * 2));
            const bool was = (bits_[word] & bit) != 0;
            bits_[word] |= bit;
            return was;
        }
        return !others_.insert(n).second;
    }

  private:
    static constexpr std::int32_t bitmap_numbers_max = 1 << 25;  // 4 MB of bits
    std::vector<std::uint64_t> bits_;
    std::unordered_set<std::int32_t> others_;
};

class Batch {
  public:
    explicit Batch(const BatchOptions& o)
        : o_(o),
          cup_input_(is_cup_input(o.infile) || o.converted),
          in_(cup_input_ ? LineReader::Encoding::bytes : LineReader::Encoding::to_cp1252),
          converter_(o, cup_input_) {}

    RunOutcome run() {
        try {
            refuse_outputs_over_input();
            open_files();
            if (cup_input_ && !o_.task.empty()) take_task();
            if (o_.converted) warn_skipped_points();
            if (cup_input_ && !task_mode_ && !o_.qverb && !o_.qdbg && !diag_on()) {
                run_pipelined();
            } else {
                while (read_block(blocks_[0], block_lines)) convert_and_take(blocks_[0]);
            }
            finish();
        } catch (const Stopped&) {
        }
        outcome_.written = npt_;
        outcome_.outside = outside_;
        outcome_.skipped = skipped_;
        return outcome_;
    }

  private:
    // A stop unwinds to run(), which returns it: the outputs are settled before it is thrown.
    struct Stopped {};
    [[noreturn]] void stop(RunOutcome::Stop how, std::string text) {
        outcome_.status = ExitStatus::stopped;
        outcome_.stop = how;
        outcome_.text = std::move(text);
        throw Stopped{};
    }

    void convert_and_take(Block& b) {
        converter_.convert(b, cup_reader_.columns());
        take(b.part);
    }

    // A .cup line costs more to read than a batch line. A large .cup input is converted on a
    // second thread, a block at a time, while this one reads the next block and takes the one
    // before (messages, flight-plan text, writing), in about equal shares; messages and outputs
    // stay on this thread, in file order. A five-item batch, echoes and diagnostics stay on one
    // thread: handing blocks between the cores costs CPU time, which only the costlier .cup
    // line wins back in wall time.
    void run_pipelined() {
        Block* job = &blocks_[0];
        Block* next = &blocks_[1];
        if (!read_block(*job, pipelined_block_lines)) return;
        if (job->size < pipelined_block_lines) {  // the whole input
            convert_and_take(*job);
            return;
        }
        const CupColumns cols = cup_reader_.columns();  // known from the first record on
        std::optional<Worker> worker;
        try {
            worker.emplace([&] { converter_.convert(*job, cols); });
        } catch (const std::system_error&) {  // no thread to be had: this one does it all
            do convert_and_take(*job);
            while (read_block(*job, pipelined_block_lines));
            return;
        }
        worker_ = &*worker;
        worker->start();
        for (;;) {
            const bool more = read_block(*next, pipelined_block_lines);
            worker->wait();
            Block* done = job;
            if (more) {
                job = next;
                worker->start();
            }
            take(done->part);
            if (!more) break;
            next = done;
        }
        worker_ = nullptr;
    }

    void refuse_outputs_over_input() {
        if (same_file(o_.outfile, o_.infile)) {
            stop(RunOutcome::Stop::message, "The flight-plan file " + path_text(o_.outfile) +
                                                " would overwrite the batch input");
        }
        if (!o_.qcup) return;
        cupfile_ = waypoint_output_name(o_.infile, o_.outfile, landscape());
        if (cupfile_ != cup_file_name(o_.outfile)) {
            say(" The waypoint file is " + path_text(cupfile_) + ": " + path_text(o_.infile) +
                " is the input");
        }
        if (same_file(cupfile_, o_.outfile)) {
            stop(RunOutcome::Stop::message,
                 "The waypoint file " + path_text(cupfile_) +
                     " would overwrite the flight-plan file; name it with .fpl");
        }
    }

    // The input first: a run that cannot read it leaves the outputs as they were.
    void open_files() {
        if (o_.converted) {
            in_.open_bytes(o_.converted->cup);
        } else if (o_.bytes) {
            in_.open_bytes(*o_.bytes);
        } else if (!in_.open(open_file(o_.infile, "rb"))) {
            report(batch_file_message(BatchFileFailure::open_input, o_.infile));
        }
        if (o_.qcup && !cup_.open(cupfile_)) {
            report(
                batch_file_message(BatchFileFailure::open_output, cupfile_, cup_.failure_reason()));
        }
        if (!fpl_.open(o_.outfile)) {
            report(batch_file_message(BatchFileFailure::open_output, o_.outfile,
                                      fpl_.failure_reason()));
        }
        if (o_.qcup && !cup_input_) cup_.write(std::string(cup_header) + "\r\n");
    }

    // -task: the whole waypoint list is read first, then the task's points are the batch.
    void take_task() {
        std::vector<CupRecord> records;
        CupRecord rec;
        while (cup_reader_.next(rec)) records.push_back(std::move(rec));
        write_cup_head();
        const std::vector<CupRecord>& section = cup_reader_.task_section();
        const std::vector<CupTask> tasks = read_cup_tasks(section);
        std::string error;
        const CupTask* task = pick_task(tasks, o_.task, error);
        if (!task) report(error + " in " + message_literal(path_text(o_.infile)));
        task_index_ = int(task - tasks.data());
        task_name_ = task->name;
        std::vector<std::string> notes;
        task_records_ = route_records(*task, records, cup_reader_.columns(), error, notes);
        if (!error.empty()) report(error);
        // A task that lost a point would be flown another way: none of it is converted.
        for (const CupRecord& r : task_records_) {
            const std::string fault = cup_record_fault(r.text, cup_reader_.columns());
            if (fault.empty()) continue;
            BatchPoint p;
            std::string ignored;
            parse_cup_record(r.text, cup_reader_.columns(), fields_, p, ignored);
            report(broken_task_message(
                task->name,
                "point \"" + std::string(trim(p.name)) + "\", " + place_of(r.line) + ": " + fault,
                o_.infile));
        }
        for (const std::string& note : notes)
            warn_at(w_two_places, place_of(task->line), [&] { return note; });
        if (o_.qcup) {
            // The task's waypoints once each, and the other starts its options name: the file
            // written holds every waypoint its task lines name.
            std::unordered_set<std::string> written;
            for (const CupRecord& r : task_records_)
                if (written.insert(r.text).second) cup_.write(standard_record(r.text));
            for (const CupRecord& r : start_records(*task, section, records, cup_reader_.columns()))
                if (written.insert(r.text).second) cup_.write(standard_record(r.text));
        }
        task_lines_.assign(section.begin() + std::ptrdiff_t(task->first),
                           section.begin() + std::ptrdiff_t(task->last));
        task_mode_ = true;
    }

    // The points a converted input's reader left out, of the waypoints or of the task taken;
    // what it noted, and the rules a .cup output cannot hold.
    void warn_skipped_points() {
        for (const FormatFault& f : o_.converted->skipped) {
            if (f.task != task_index_) continue;
            if (f.task >= 0) report(broken_task_message(task_name_, f.text(), o_.infile));
            ++skipped_;
            warn_at(w_skipped, f.place, [&] { return "point skipped: " + f.what; });
        }
        for (const auto* faults : {&o_.converted->notes, &o_.converted->cup_losses}) {
            if (faults == &o_.converted->cup_losses && !o_.qcup) continue;
            for (const FormatFault& f : *faults)
                if (!task_mode_ || f.task == task_index_ || f.task < 0)
                    warn_at(w_note, f.place, [&] { return f.what; });
        }
    }

    // The head of a waypoint file written from a .cup input: its byte-order mark and header
    // line, as the input had them (the standard one when it had none).
    void write_cup_head() {
        if (head_written_) return;
        head_written_ = true;
        if (!o_.qcup) return;
        if (in_.had_bom()) cup_.write("\xEF\xBB\xBF");
        // A file without a header line has the classic columns; readers that need the header
        // would read nothing of it.
        cup_.write((cup_reader_.header().empty() ? std::string(cup_header) : cup_reader_.header()) +
                   "\r\n");
    }

    // Whatever follows the waypoints: the task section as it stands (-task: that task's lines).
    void write_cup_tail() {
        if (!o_.qcup) return;
        const std::vector<CupRecord>& lines = task_mode_ ? task_lines_ : cup_reader_.task_section();
        if (!task_mode_ && !cup_reader_.has_tasks()) return;
        cup_.write("-----Related Tasks-----\r\n");
        for (const CupRecord& l : lines) {
            const std::size_t comma = l.text.find(',');
            if (o_.converted && l.text.starts_with("Point=") && comma != std::string::npos) {
                cup_.write(l.text.substr(0, comma + 1) +
                           standard_record(std::string_view(l.text).substr(comma + 1)));
            } else {
                cup_.write(l.text + "\r\n");
            }
        }
    }

    // A record as the waypoint file has it, CR LF: a converted input's decimal degrees in the
    // waypoint notation; a .cup input's record as it stands.
    std::string standard_record(std::string_view record) {
        std::string out;
        BatchPoint p;
        std::string fault;
        float lat = 0, lon = 0;
        int type = 0;
        if (o_.converted && parse_cup_record(record, cup_reader_.columns(), fields_, p, fault)) {
            decode_coord(p.c_lat, p.c_lon, lat, lon, type);
            if (type != 0 && lat != coord_invalid && lon != coord_invalid) {
                append_cup_waypoint(out, record, p, lat, lon);
                return out;
            }
        }
        out = record;
        out += "\r\n";
        return out;
    }

    // The next record of a .cup input (-task: of the task), its text swapped into `text`.
    bool next_cup_record(std::string& text, bool& open_quote) {
        if (task_mode_) {
            if (task_next_ >= task_records_.size()) return false;
            record_ = task_records_[task_next_++];
        } else {
            const bool more = cup_reader_.next(record_);
            write_cup_head();
            if (!more) return false;
        }
        text.swap(record_.text);
        open_quote = record_.open_quote;
        return true;
    }

    // The next lines to convert; the .cup header and task section are dealt with by the .cup
    // reader, in file order. False when nothing is left.
    bool read_block(Block& b, std::size_t lines) {
        b.size = 0;
        b.text.clear();
        std::string line;
        while (b.size < lines) {
            bool open_quote = false;
            if (cup_input_) {
                if (!next_cup_record(line, open_quote)) break;
            } else if (!in_.next(line)) {
                break;
            }
            if (b.ends.size() <= b.size) {
                b.ends.emplace_back();
                b.numbers.emplace_back();
                b.lossy.emplace_back();
                b.open_quote.emplace_back();
            }
            b.text += line;
            b.ends[b.size] = b.text.size();
            b.numbers[b.size] = cup_input_ ? record_.line : in_.line_number();
            b.lossy[b.size] = !cup_input_ && in_.lossy();
            b.open_quote[b.size] = open_quote;
            ++b.size;
        }
        return b.size > 0;
    }

    // The outcomes of a part in file order: warnings, counts, the text, or the stop. The flight
    // plan is written here, where a .cup waypoint's number is known: the count of points before.
    void take(const Part& part) {
        fpl_text_.clear();
        std::size_t cup_done = 0;
        for (const Outcome& out : part.outcomes) {
            if (out.open_quote) {
                warn(w_open_quote, out.line,
                     [] { return "a quote is not closed: the line is read up to its end"; });
            }
            if (cup_input_ && out.kind != Outcome::skip && out.kind != Outcome::point) {
                ++skipped_;
                warn(w_skipped, out.line, [&] {
                    return "line skipped: " + (out.fault.empty()
                                                   ? std::string("its X/Y cannot be computed")
                                                   : out.fault);
                });
                continue;
            }
            switch (out.kind) {
                case Outcome::skip:
                    break;
                case Outcome::landscape_skipped:
                    warn(w_landscape_line, out.line,
                         [] { return "line skipped: it holds \"Landscape\""; });
                    break;
                case Outcome::point:
                    check_point(out);
                    append_flight_plan(fpl_text_, cup_input_ ? npt_ : out.nump, out.name, out.x,
                                       out.y, out.alt);
                    ++npt_;
                    break;
                default:
                    fpl_.write(fpl_text_);
                    cup_.write(std::string_view(part.cup).substr(0, cup_done));
                    stop_on(out);
            }
            cup_done = out.cup_end;
        }
        fpl_.write(fpl_text_);
        cup_.write(part.cup);
    }

    [[noreturn]] void stop_on(const Outcome& out) {
        const std::string line = std::to_string(out.line);
        switch (out.kind) {
            case Outcome::bad_coordinates:
                stop_after_writing("incorrect coordinate format : " + path_text(o_.infile) +
                                   ", line " + line + ": " + out.fault);
            case Outcome::conversion_failed:
                stop_after_writing("*** conversion failed ***");
            default: {
                settle_outputs();
                write_count();
                stop(RunOutcome::Stop::reported,
                     "*** Error reading batch file :" + message_literal(path_text(o_.infile)) +
                         ", line " + line + ": " + message_literal(out.fault) + " ***");
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
        if (out.lossy && respelt_.insert(out.name).second) {
            warn(w_unmappable, out.line, [&] {
                return "name written " + out.name +
                       " in the flight plan: Windows-1252 cannot hold all of its letters";
            });
        }
        if (outside(out.x, out.y)) {
            ++outside_;
            warn(w_outside, out.line, [&] {
                return "point " + out.name + " lies outside landscape " + path_text(landscape());
            });
        }
        if (out.no_elevation) {
            warn(w_no_elevation, out.line, [] { return "no elevation: TPPosZ is 0"; });
        } else if (!out.fault.empty()) {  // a point's only fault: its elevation
            warn(w_no_elevation, out.line, [&] { return out.fault + ": TPPosZ is 0"; });
        }
        if (!cup_input_ && seen_numbers_.seen(out.nump)) {
            warn(w_duplicate, out.line, [&] {
                auto it = first_line_of_.find(out.nump);
                return "turnpoint number " + std::to_string(out.nump) +
                       (it == first_line_of_.end()
                            ? std::string(" already used")
                            : " already used on line " + std::to_string(it->second));
            });
        } else if (!cup_input_ && first_line_of_.size() < numbers_tracked_max) {
            first_line_of_.emplace(out.nump, out.line);
        }
    }

    // `what` makes the text only when it will be shown: a huge file may warn on every line.
    template <class What>
    void warn(Warning kind, int line, What what) {
        if (warnings_[kind] >= shown_max_) {
            ++warnings_[kind];
            return;
        }
        warn_at(kind, place_of(line), what);
    }
    template <class What>
    void warn_at(Warning kind, const std::string& place, What what) {
        if (++warnings_[kind] > shown_max_) return;
        say(" Warning: " + path_text(o_.infile) + (place.empty() ? "" : ", " + place) + ": " +
            what());
    }
    // A line of the input, or of a converted input the place in its source.
    std::string place_of(int line) const {
        if (o_.converted && line >= 1 && std::size_t(line) <= o_.converted->places.size())
            return o_.converted->places[std::size_t(line - 1)];
        return "line " + std::to_string(line);
    }

    void write_count() {
        std::string line = std::to_string(npt_) + " points read in batch file";
        if (o_.qverb) console_line(" " + line);
        run_log_line(line);
        if (outside_ > 0) run_log_line(std::to_string(outside_) + " points outside the landscape");
        int hidden = 0;
        for (int n : warnings_) hidden += std::max(0, n - shown_max_);
        if (hidden > 0) say(" Warning: " + std::to_string(hidden) + " more warnings not shown");
    }

    // Keeps the points written so far (the run is worth them); with none, the user's earlier
    // files stay as they were.
    void settle_outputs() {
        if (worker_) worker_->wait();  // the program may stop: nothing may run on beside it
        if (npt_ == 0) {
            fpl_.discard();
            cup_.discard();
            return;
        }
        if (fpl_.commit()) outcome_.outputs.push_back(o_.outfile);
        if (o_.qcup && cup_.commit()) outcome_.outputs.push_back(cupfile_);
    }

    std::string landscape() const {
        return o_.projection ? o_.landscape : std::string(common_data.landscape.view());
    }
    bool outside(float x, float y) const {
        if (!o_.projection) return outside_landscape(x, y);
        return !(x >= 0 && x <= o_.xmax && y >= 0 && y <= o_.ymax);
    }
    void say(const std::string& line) const {
        if (o_.report)
            o_.report(line);
        else
            run_message(line);
    }

    [[noreturn]] void report(const std::string& msg) {
        settle_outputs();
        stop(RunOutcome::Stop::reported, msg);
    }
    [[noreturn]] void stop_after_writing(const std::string& msg) {
        settle_outputs();
        write_count();
        stop(RunOutcome::Stop::message, msg);
    }

    void finish() {
        if (cup_input_) finish_cup_input();
        const bool read_failed = in_.failed();
        in_.close();
        const std::string read_error = batch_file_message(BatchFileFailure::read_input, o_.infile);
        if (read_failed && npt_ == 0) {
            // Nothing was read: the outputs the user had stay as they were.
            write_count();
            report(read_error);
        }
        if (!fpl_.commit()) {
            cup_.discard();
            report(write_failure_message(o_.outfile, fpl_.failure_reason()));
        }
        outcome_.outputs.push_back(o_.outfile);
        if (o_.qcup && !cup_.commit())
            report(write_failure_message(cupfile_, cup_.failure_reason()));
        if (o_.qcup) outcome_.outputs.push_back(cupfile_);
        write_count();
        if (read_failed) report(read_error);
        if (skipped_ > 0) {
            const std::string count =
                lines_skipped_text(std::size_t(skipped_), path_text(o_.infile));
            say(" " + count);
            run_log_line(count);
            outcome_.status = ExitStatus::lines_skipped;
        }
    }

    // The task section, and what a .cup input must not leave unsaid.
    void finish_cup_input() {
        write_cup_head();
        if (npt_ == 0 && !in_.failed()) {
            // An empty result would look like a conversion: the earlier outputs stay.
            settle_outputs();
            write_count();
            stop(RunOutcome::Stop::message, "No waypoint in " + path_text(o_.infile));
        }
        write_cup_tail();
        const std::size_t tasks =
            task_mode_ ? 0 : read_cup_tasks(cup_reader_.task_section()).size();
        // A window has its Task list where the console has options.
        if (tasks > 0) say(" " + tasks_held_text(path_text(o_.infile), tasks, bool(o_.report)));
    }

    const BatchOptions& o_;
    const bool cup_input_;
    std::string cupfile_;
    LineReader in_;
    AsideFile fpl_, cup_;
    CupReader cup_reader_{in_};
    CupRecord record_;
    bool head_written_ = false, task_mode_ = false;
    int task_index_ = -1;  // -task: the task's index in the file
    std::string task_name_;
    std::vector<CupRecord> task_records_, task_lines_;
    std::size_t task_next_ = 0;
    SeenNumbers seen_numbers_;
    std::array<Block, 2> blocks_;
    Converter converter_;
    Worker* worker_ = nullptr;  // converting beside this thread (run_pipelined)
    std::string fpl_text_;      // the flight-plan lines of the part being taken
    int npt_ = 0, outside_ = 0, skipped_ = 0;
    std::array<int, w_kinds> warnings_{};
    const int shown_max_ = o_.all_warnings ? std::numeric_limits<int>::max() : warnings_shown_max;
    std::unordered_map<std::int32_t, int> first_line_of_;
    std::vector<CupField> fields_;
    std::unordered_set<std::string> respelt_;  // names warned of as written otherwise
    RunOutcome outcome_;
};

}  // namespace

std::string waypoint_output_name(const std::string& infile, const std::string& outfile,
                                 std::string_view landscape) {
    std::string cupfile = cup_file_name(outfile);
    if (!same_file(cupfile, infile)) return cupfile;
    // The obvious command for a .cup input: the waypoints go beside it, named after the
    // landscape.
    const std::string stem = cupfile.substr(0, cupfile.size() - 4) + "_" + std::string(landscape);
    cupfile = stem + ".cup";
    for (int k = 2; same_file(cupfile, infile) || same_file(cupfile, outfile); ++k)
        cupfile = stem + "_" + std::to_string(k) + ".cup";
    return cupfile;
}

RunOutcome read_batch(const BatchOptions& options) {
    Batch batch(options);
    return batch.run();
}
