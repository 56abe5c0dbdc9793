// .cup waypoint files as pilots have them: the header and its columns, records (a quoted field
// may span lines), the fields a conversion needs, and the task section after
// "-----Related Tasks-----". Everything reads lines from a LineReader, so one code path reads a
// file on disk or bytes in memory; nothing here writes a file, a log or a message.
//
// The record is kept as read: a waypoint file written from a .cup input copies it and replaces
// only the latitude and longitude, so every column, quote and encoding of the input survives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "formats/batch_items.hpp"
#include "util/line_reader.hpp"

// True when `name` ends in .cup (any case): such an input is read as a waypoint file.
bool is_cup_input(std::string_view name);

// Column positions, from the header line when there is one (else the classic eleven columns).
struct CupColumns {
    int name = 0, lat = 3, lon = 4, elev = 5;
};

// A field of a record: its value (quotes removed, "" inside quotes one quote; an unquoted field
// trimmed, a quoted one kept whole) and where its text lies in the record. The value is a piece
// of the record, or of `unquoted` when quotes had to be undone: it lasts as long as both.
struct CupField {
    std::string_view value;
    std::string unquoted;
    bool owned = false;  // value is `unquoted`
    std::size_t begin = 0, end = 0;
};

// Splits a record at the commas outside double quotes, into `max_fields` fields at the most.
// False when a quote is left open (that field then runs to the end of the record).
bool split_cup_fields(std::string_view record, std::vector<CupField>& fields,
                      std::size_t max_fields = SIZE_MAX);
// True when `fields` is a header line (it names the name, lat and lon columns); sets `cols`.
// Older files spell the columns out (Title, Latitude...).
bool read_cup_header(const std::vector<CupField>& fields, CupColumns& cols);
// Elevation text in metres: "504.0m", "1640ft", "504" (metres); empty gives 0.
bool read_cup_elevation(std::string_view text, float& metres);
// The line that ends the waypoints of a .cup file.
bool is_cup_tasks_line(std::string_view line);

// A record or a task-section line as read.
struct CupRecord {
    std::string text;         // lines of one quoted field are joined by CR LF
    int line = 0;             // the record's first line
    bool open_quote = false;  // a quote closed on no later line: the record is its line alone
};

// The waypoint records of a .cup file, one after the other, then its task section.
class CupReader {
  public:
    explicit CupReader(LineReader& in) : in_(in) {}

    // The next waypoint record or "*" comment line (comments before the header line come after
    // it); empty lines and the header line are passed over. False at the task section or the end
    // of the file.
    bool next(CupRecord& rec);
    const CupColumns& columns() const { return cols_; }
    // The header line as read; empty when the file has none.
    const std::string& header() const { return header_; }
    // The lines after the task marker, as they stand; read once next() has returned false.
    const std::vector<CupRecord>& task_section();
    bool has_tasks() const { return tasks_reached_; }

  private:
    bool next_line(CupRecord& l);

    LineReader& in_;
    CupColumns cols_;
    std::string header_;
    bool header_checked_ = false, tasks_reached_ = false, section_read_ = false;
    std::vector<CupRecord> pending_;  // lines read ahead for an open quote, in reverse order
    std::vector<CupRecord> section_;
    std::deque<CupRecord> held_;  // comments read before the header was known
    std::vector<CupField> scratch_;
};

// A "*" comment line among the waypoints.
bool is_cup_comment(std::string_view record);
// A waypoint record into a point (name, coordinate texts, elevation, the spans of its latitude
// and longitude). False with `fault` saying which field could not be read; an elevation that
// cannot be read is 0, with point.elevation_fault saying so.
bool parse_cup_record(std::string_view record, const CupColumns& cols,
                      std::vector<CupField>& scratch, BatchPoint& point, std::string& fault);
// The usual waypoint record, read in one pass: up to the last column needed, fields without
// blanks around them, quoted ones without "" inside; a name that is not blank, a latitude and
// longitude in DDMM.mmmN / DDDMM.mmmE within range, an elevation in metres ("504.0m") or none.
// False for any other record, which parse_cup_record and decode_coord read; for a record this
// takes they give this same point, and the waypoint file keeps the record as it stands.
// (`point.nump` is left alone: the caller numbers waypoints.)
bool read_usual_cup_record(std::string_view record, const CupColumns& cols, UsualPoint& point,
                           bool& no_elevation);

// --- tasks ---------------------------------------------------------------------------------------

// A task line: its name, then take-off, start, turnpoints, finish and landing, each naming a
// waypoint ("???" for none), followed by its Options, ObsZone=, Point= and STARTS= lines.
struct CupTask {
    std::string name;
    std::vector<std::string> points;                               // as written, "???" included
    std::vector<std::pair<std::size_t, CupRecord>> inline_points;  // Point=N: points[N] inline
    std::size_t first = 0, last = 0;  // its lines in the section: [first, last)
    int line = 0;
};
// The waypoints a task flies through, in order: every point that names a waypoint, take-off and
// landing included; "???" and empty places left out, and a waypoint named twice in a row taken
// once. Indices into `task.points`.
std::vector<std::size_t> task_route(const CupTask& task);
std::vector<CupTask> read_cup_tasks(const std::vector<CupRecord>& section);

// --- whole files in memory ------------------------------------------------------------------

// What a .cup file holds, read from its bytes without touching the disk (tests, fuzzing).
struct CupContent {
    CupColumns columns;
    std::string header;
    bool bom = false;
    std::vector<CupRecord> records;     // every waypoint record, readable or not
    std::vector<BatchPoint> waypoints;  // the readable ones, numbered by their record's index
    std::vector<std::pair<int, std::string>> skipped;  // line and fault of each unreadable one
    std::vector<CupRecord> task_section;
    std::vector<CupTask> tasks;
};
// A UTF-16 file (either byte order, known by its byte-order mark) is read as its UTF-8.
CupContent read_cup(std::string_view bytes);
// True when `bytes` begin with a UTF-16 byte-order mark; `utf8` is then their text as UTF-8
// with its byte-order mark (a lone surrogate becomes U+FFFD).
bool utf16_to_utf8(std::string_view bytes, std::string& utf8);
// The tasks of a task section given as bytes (the lines after the marker line).
std::vector<CupTask> read_cup_tasks(std::string_view section_bytes);

// --- output --------------------------------------------------------------------------------------

// The waypoint line of a point read from `record`: the record as it stands with its latitude
// and longitude written in the waypoint notation (a text already in it is kept), CR LF.
void append_cup_waypoint(std::string& out, std::string_view record, const BatchPoint& p, float lat,
                         float lon);
