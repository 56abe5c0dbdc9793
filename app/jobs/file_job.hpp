// A file job: what the command line does with an input file (a batch, a .cup with its tasks, a
// flight plan back to .cup), as an operation that returns. The command line and the window's
// file page both go through convert_file; run_file_job is the window's whole job, its messages
// gathered into a report instead of the console or a box.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/jobs/read_batch.hpp"
#include "app/jobs/run_outcome.hpp"
#include "formats/records.hpp"
#include "geo/UTM.hpp"
#include "host/files.hpp"

struct FileJob {            // what the window's file page chose
    std::string landscape;  // landscape name
    std::string infile;     // host path of the input (.txt batch, .cup, .fpl...)
    std::string outfile;    // flight plan (or, for a flight-plan input, the .cup) to write
    bool cup = false;       // also write the .cup waypoint file
    std::string task;       // "" = all waypoints, else as -task takes it
};

struct FileJobReport {
    int status = 0;     // the exit status the command line would give (0, 2, 3)
    std::string error;  // the stop's text as the user reads it, "" none
    int written = 0, outside = 0, skipped = 0;
    static constexpr std::size_t warnings_kept = 100;
    std::vector<std::string> warnings;  // the first warnings, in order, as the console shows them
    std::size_t warning_count = 0;      // all of them
    std::vector<std::string> outputs;   // files written
};

// Writes exactly what `varnix -batch [-cup] [-task N] LAND FILE OUT` writes, byte for byte
// (outputs, run log, program log), but holds back no warning; never exits, prints nothing, opens
// no box. `on_warning` has every warning as it arises (the report keeps the first ones). The
// job holds its landscape's projection as a value: the shared program state is not touched.
using WarningSink = std::function<void(const std::string&)>;
FileJobReport run_file_job(const FileJob& job, const WarningSink& on_warning = {});

// What an input is: XML and JSON are known by their content (a GPX or task file whatever its
// name), the rest by the extension (.cup, .fpl; anything else is a batch file).
enum class FileKind { batch, cup, flight_plan, tsk, gpx, xctsk };
FileKind input_kind(const std::string& infile);
// A task or GPX input as the .cup file the batch reads. False with `outcome` the stop (a file
// that cannot be opened or is not what it should be, naming the place).
bool convert_input(const std::string& infile, FileKind kind, ConvertedInput& in,
                   RunOutcome& outcome);
// -tasks: number, name and points of each task of `infile` on standard output.
RunOutcome list_tasks(const std::string& infile);

// The conversion of the command line's batch mode once init_conv has set up the landscape: the
// reader is chosen by the input's kind.
RunOutcome convert_file(const BatchOptions& options);
// Why -task cannot apply to `infile` ("" when it can, or when no task is asked for).
std::string task_refusal(const std::string& infile, const std::string& task);
// The run log's head of a batch run: input, output, landscape (the set-up one when empty).
void log_run_files(const std::string& infile, const std::string& outfile,
                   std::string_view landscape = {});

// --- what a file holds, read once -----------------------------------------------------------

// A point as small as it can be: a file may hold a million of them.
struct FilePoint {
    // Latitude/longitude (degrees), or for a flight plan's turnpoint landscape X/Y (metres).
    float a = 0, b = 0;
    std::uint32_t name_at = 0;    // its name in FileContents::names
    std::uint16_t name_size = 0;  // (a longer name is cut)
    bool has_xy = false;
};
struct FileTask {
    std::string name;            // Windows-1252
    std::vector<int> points;     // indices into FileContents::points in flying order; -1: a gap
    std::vector<ObsZone> zones;  // the observation zone of each of `points` (none: a point)
    std::string broken;          // "" when whole, else which point was lost and why
};
struct FileContents {
    std::string landscape;          // from a `Landscape=` line, "" when none
    std::vector<FilePoint> points;  // every waypoint, in file order
    std::string names;              // the points' names one after the other, UTF-8 as spelt
    std::string_view name(const FilePoint& p) const {
        return std::string_view(names).substr(p.name_at, p.name_size);
    }
    // Appends a point named `name`.
    void add(std::string_view name, float a, float b, bool has_xy);
    std::vector<FileTask> tasks;  // tasks in file order (a flight plan: its one task)
    bool is_flight_plan = false;
    std::string error;  // why it could not be read (file, line, field), "" when it could
    static constexpr std::size_t faults_kept = 100;
    std::vector<std::string> faults;  // the first lines that cannot be read ("line 12: ...")
    std::size_t fault_count = 0;      // all of them
};
// Reads the points and tasks of an input without writing or printing anything. Points the
// conversion would skip are left out (and named in `faults`); a fault that would stop it ends
// the reading there.
FileContents read_file_contents(const std::string& infile);
// The output name the command line derives for `infile`, in the same folder: a flight plan
// for a points input, a .cup for a flight-plan input.
std::string default_output(const std::string& infile, bool flight_plan_input);

// An input as the window opened it: read once, with what tells whether it changed since. The
// job converts these bytes, not the file again.
struct OpenedFile {
    std::string path;  // host path
    FileStamp stamp;
    FileKind kind = FileKind::batch;
    // The file as read, when it is small enough to keep (a flight plan, being small, is read
    // again; a file past hold_max_bytes is too, once its stamp says it is unchanged).
    static constexpr std::uintmax_t hold_max_bytes = std::uintmax_t(16) << 20;
    std::string bytes;
    ConvertedInput converted;  // a task or GPX file as the .cup the batch reads
    bool held = false;         // bytes or converted hold the input (else the job reads the file)
    FileContents contents;
    // True when the file on disk is no longer what was read.
    bool changed() const { return file_stamp(path) != stamp; }
};
// `hold_max`: the largest file whose bytes are kept (tests try both ways).
OpenedFile open_job_file(const std::string& path,
                         std::uintmax_t hold_max = OpenedFile::hold_max_bytes);

// What the user chose for an opened file.
struct JobChoices {
    std::string landscape;  // landscape name (a folder name)
    int task = -1;          // index into the file's tasks, -1 every waypoint
    std::string outfile;    // host path
    bool cup = false;       // also the .cup waypoint file
};
// The job those choices make: the files it writes (the waypoint file's rename rule included),
// and why it must not run.
struct JobPlan {
    FileJob job;                        // what run_file_job is given
    std::vector<std::string> writes;    // every file it writes, in order
    std::vector<std::string> replaces;  // those of them that exist now
    std::string refusal;                // "" when it may run, else why not
};
JobPlan plan_job(const OpenedFile& file, const JobChoices& choices);
// Runs the plan on the file as it was read: run_file_job without reading the file again.
FileJobReport run_plan(const JobPlan& plan, const OpenedFile& file,
                       const WarningSink& on_warning = {});

// The task's length in metres along its legs: in the landscape's X/Y plane when `projection` is
// given (as the simulator flies it), else as -tasks measures it; NaN when it lost a point.
double task_length(const FileContents& contents, const FileTask& task, const Utm000* projection);

// Of `landscapes` (installed ones, under `install`), the one holding most of the task's points
// (task -1: of the file's); "" on a tie or when none holds any.
std::string landscape_holding(const FileContents& contents, int task,
                              const std::vector<std::string>& landscapes, std::string_view install);
