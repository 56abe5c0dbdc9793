#include "app/cli/Varnix.hpp"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <utility>

#include "app/cli/Varnix_vers.hpp"
#include "app/cli/stop.hpp"
#include "app/jobs/conversion_setup.hpp"
#include "formats/cup_file.hpp"
#include "app/jobs/cup_tasks.hpp"
#include "app/jobs/file_job.hpp"
#include "app/jobs/fpl_file.hpp"
#include "app/jobs/read_batch.hpp"
#include "app/jobs/run_log.hpp"
#include "app/pages/window_mode.hpp"
#include "geo/UTM.hpp"
#include "geo/decode_coord.hpp"
#include "host/clipboard.hpp"
#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/install.hpp"
#include "host/log_files.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/line_reader.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

constexpr int max_args = 20;             // the command line has room for 20 arguments
constexpr float default_epsl = 5.0e-6f;  // degrees
constexpr float metres_per_degree = 110000.0f;

// What the command line settles, beside the shared program state.
struct CommandLine {
    std::string arg0;              // the program's own path (132 characters)
    std::vector<std::string> arg;  // arguments 1..narg
    int narg = 0, last_opt = 0, narg1 = 0;
    bool qverb = false, qdbg = false, qclip = false, qcup = false, qbatch = false;
    bool qtasks = false;  // -tasks: list the tasks of a .cup file
    std::string task;     // -task N: the task of a .cup input to convert
    bool qkeepwnd = false;
    float epsl = default_epsl;
    std::string infile, outfile;  // paths, carried whole
    TextField<20> c_lat, c_lon;
    float lat = 0, lon = 0;
};

// The landscape is a field of 80 characters: a longer name would silently name another folder.
void set_landscape(std::string_view name) {
    if (trim_right(name).size() > common_data.landscape.capacity) {
        stop_with_message("Landscape names are limited to " +
                          std::to_string(common_data.landscape.capacity) + " characters");
    }
    common_data.landscape = name;
}

// A line for every option, after the usage lines.
constexpr std::string_view option_lines[] = {
    " -v         diagnostic lines on standard output",
    " -debug     as -v, with each batch point's decoded values",
    " -line      messages on the console (the default with operands)",
    " -clip      1 WP: also put the two result lines on the clipboard",
    " -gui       open the converter window; -gui File opens the file on its file page",
    " -batch     batch: the operands are Landscape, BatchFile and an optional OutputFile",
    " -cup       batch: also write a .cup waypoint file (a .cup input keeps its columns and tasks)",
    " -task N    batch of a .cup file: only task N (from 1, or its name) into the flight plan",
    " -tasks     %0 -tasks File.cup lists the tasks of a .cup file",
    " -conv:EPS  accepted for compatibility: a number of degrees >= 0, changes no result",
    " -help      this text",
};

void print_usage(const CommandLine& cl) {
    const std::string a0(trim(cl.arg0));
    console_line(" Usage :");
    console_line(" 1 WP : " + a0 + " [-help] [-line] [-clip] [-v] Landscape Lat Lon");
    console_line(" Batch: " + a0 + " [-batch] [-v] [Landscape] BatchFile [OutputFile]");
    console_line(" Plan : " + a0 +
                 " [-batch Landscape] FlightPlan.fpl [Output.cup]   a flight plan into a .cup file"
                 " with its task (landscape from the plan's Landscape= line when not given)");
    for (std::string_view line : option_lines) {
        std::string text(line);
        if (const std::size_t at = text.find("%0"); at != std::string::npos)
            text.replace(at, 2, a0);
        console_line(text);
    }
}

// The options are the arguments before the first operand; a "-" after an operand (a negative
// coordinate) is an operand.
void classify_arguments(CommandLine& cl) {
    int first_non_opt = 0;
    cl.last_opt = 0;
    for (int i = 1; i <= cl.narg; ++i) {
        bool is_opt = cl.arg[i - 1].starts_with('-');
        if (is_opt) cl.last_opt = i;
        if (!is_opt && first_non_opt == 0) first_non_opt = i;
        // -task takes the next argument as its value, whatever it looks like.
        if (is_opt && first_non_opt == 0 && cl.arg[i - 1] == "-task" && i < cl.narg)
            cl.last_opt = ++i;
    }
    if (first_non_opt > 0 && cl.last_opt > first_non_opt) cl.last_opt = first_non_opt - 1;
}

void read_conv_option(CommandLine& cl, std::string_view value) {
    float epsl = 0;
    if (!read_free_number(value, epsl)) {
        stop_with_message("-conv: needs a number of degrees, for example -conv:5e-6");
    }
    cl.epsl = epsl;
    char line[160];
    std::snprintf(line, sizeof line,
                  " Lat/Lon convergence threshold : %g  - approx. equivalent distance (m) : %g",
                  double(epsl), double(epsl * metres_per_degree));
    console_line(line);
    if (epsl < 0) stop_with_message("Positive value required");
}

// The version as users quote it: 2.2.0.0 without its fourth part.
std::string version_text() {
    std::string v(trim(common_data.cvers.view()));
    if (std::count(v.begin(), v.end(), '.') == 3) v.erase(v.rfind('.'));
    return v;
}

void apply_options(CommandLine& cl) {
    for (int i = 1; i <= cl.last_opt; ++i) {
        const std::string& opt = cl.arg[i - 1];
        diag(opt);
        if (opt.starts_with("-v")) {
            cl.qverb = true;
        } else if (opt.starts_with("-conv:")) {
            read_conv_option(cl, std::string_view(opt).substr(6));
        } else if (opt.starts_with("-line")) {
            common_data.qline = true;
        } else if (opt.starts_with("-gui")) {
            common_data.qline = false;
        } else if (opt.starts_with("-clip")) {
            cl.qclip = true;
        } else if (opt.starts_with("-tasks")) {
            cl.qtasks = true;
        } else if (opt == "-task") {
            if (i == cl.last_opt)
                stop_with_message("-task needs a task: a number from 1 or a name");
            cl.task = console_arg_to_cp1252(cl.arg[i++]);
        } else if (opt.starts_with("-cup")) {
            cl.qcup = true;
        } else if (opt.starts_with("-debug")) {
            cl.qdbg = cl.qverb = true;
        } else if (opt.starts_with("-batch")) {
            cl.qbatch = true;
        } else if (opt.starts_with("-help") || opt == "--help" || opt == "-h") {
            print_usage(cl);
            stop_silently();
        } else if (opt == "--version" || opt == "-V") {
            console_line("varnix " + version_text());
            stop_silently();
        } else {
            // Still ignored, as scripts written for the older program may pass it, but named.
            console_error_line(" unknown option " + console_arg_to_cp1252(opt) + " ignored");
        }
    }
}

// Diagnostics are wanted from the first line when -v or -debug is among the options.
bool verbose_requested(const std::vector<std::string>& args) {
    for (std::size_t i = 1; i < args.size() && args[i].starts_with('-'); ++i) {
        if (args[i].starts_with("-v") || args[i].starts_with("-debug")) return true;
    }
    return false;
}

// Operands as given: paths and landscape names keep the user's bytes.
const std::string& operand(const CommandLine& cl, int n) { return cl.arg[cl.last_opt + n - 1]; }
// An operand read as text (a coordinate): in Windows-1252, so a typed degree sign is one.
std::string text_operand(const CommandLine& cl, int n) {
    return console_arg_to_cp1252(operand(cl, n));
}

// The first line of a batch file: its landscape when it reads Landscape=NAME (a flight plan:
// any Landscape= line). A single operand that is not a readable file is most often a forgotten
// pair of coordinates: say what failed.
void read_batch_landscape(CommandLine& cl) {
    LineReader in;
    const bool opened = file_exists(cl.infile) && in.open(open_file(cl.infile, "rb"));
    if (cl.qverb) diag("open status", opened ? 0 : 1, path_text(cl.infile));
    if (!opened) {
        stop_reporting(batch_file_message(BatchFileFailure::open_input, cl.infile),
                       common_data.qline);
    }
    if (is_flight_plan_name(cl.infile)) {
        set_landscape(read_flight_plan(in).landscape);
        return;
    }
    std::string line;
    if (!in.next(line)) return;
    std::string key, val;
    extract_key_val(std::string_view(line).substr(0, std::min<std::size_t>(line.size(), 132)), key,
                    val);
    if (key == "Landscape") set_landscape(val);
}

void log_batch_files(const CommandLine& cl) {
    if (cl.qverb) {
        diag("BATCH : ");
        diag("BatchFile=" + path_text(cl.infile));
        diag("OutFile=" + path_text(cl.outfile));
    }
    log_run_files(cl.infile, cl.outfile);
}

std::string trimmed(const std::string& s) { return std::string(trim(s)); }

// A hemisphere given as its own operand may be lower case ("46 30 n 9 15 e").
std::string hemisphere_operand(std::string op) {
    if (trim(op).size() == 1 &&
        std::string_view("nsew").find(trim(op)[0]) != std::string_view::npos)
        for (char& c : op) c = char(std::toupper(static_cast<unsigned char>(c)));
    return op;
}

void decode_args(CommandLine& cl) {
    const int n = cl.narg1;
    set_landscape(operand(cl, 1));
    std::string_view lat, lon;
    const std::string pair = n == 2 ? text_operand(cl, 2) : std::string();
    if (n == 3) {
        cl.c_lat = text_operand(cl, 2);
        cl.c_lon = text_operand(cl, 3);
    } else if (n == 2 && split_coord_pair(pair, lat, lon)) {
        // One operand holding the pair, as a position is copied from a web page.
        cl.c_lat = lat;
        cl.c_lon = lon;
    } else if (n < 7) {
        stop_with_message("# of args");
    } else {
        // Degrees, minutes (seconds) and hemisphere as separate operands; the last operands
        // holding a hemisphere letter win over a landscape name that happens to hold one.
        int ns = 0, lo = 0;
        for (int i = 1; i <= n; ++i) {
            const std::string op = hemisphere_operand(text_operand(cl, i));
            if (op.find_first_of("NS") != std::string::npos)
                ns = i;
            else if (op.find_first_of("WE") != std::string::npos)
                lo = i;
        }
        if (ns == 0 || lo == 0) stop_with_message("incorrect format");
        auto op = [&](int i) {
            return i <= n ? hemisphere_operand(text_operand(cl, i)) : std::string();
        };
        auto join = [&](int first, int count) {
            std::string t = trimmed(op(first)) + degree_sign + trimmed(op(first + 1)) + "'";
            if (count == 3) return t + op(first + 2);
            return t + trimmed(op(first + 2)) + op(first + 3);
        };
        cl.c_lat = ns == 4 ? join(2, 3) : ns == 5 ? join(2, 4) : std::string();
        cl.c_lon = lo == ns + 3 ? join(ns + 1, 3) : lo == ns + 4 ? join(ns + 1, 4) : std::string();
    }
    if (cl.qverb) {
        diag("Lat =", cl.c_lat.view());
        diag("Lon =", cl.c_lon.view());
    }
    int type = 0;
    decode_coord(cl.c_lat, cl.c_lon, cl.lat, cl.lon, type);
    if (cl.qverb) diag("Type, Lat, Lon : ", type, cl.lat, cl.lon);
    // An undecodable field shows only in its value, not always in the combined type.
    if (type == 0 || cl.lat == coord_invalid || cl.lon == coord_invalid) {
        // A decimal comma cannot be told from the comma between two operands here: say so.
        std::string msg = "incorrect coordinate format";
        for (const auto* field : {&cl.c_lat, &cl.c_lon}) {
            const std::string pointed = decimal_comma_as_point(field->view());
            if (!pointed.empty()) {
                msg += "; use a point: " + pointed;
                break;
            }
        }
        stop_with_message(msg);
    }
}

void convert_single_point(const CommandLine& cl) {
    float tpx0 = 0, tpy0 = 0;
    int status = latlontoxy(cl.lat, cl.lon, tpx0, tpy0);
    if (cl.qverb) diag("latlontoxy status", status);
    if (status != 1) stop_with_message("*** conversion failed ***");
    if (outside_landscape(tpx0, tpy0)) {
        console_error_line(" Warning: the point lies outside landscape " +
                           path_text(common_data.landscape.view()));
    }
    std::string ligne = "TPPosX=" + std::string(trim(format_fixed(tpx0, 15, 3))) +
                        "\nTPPosY=" + std::string(trim(format_fixed(tpy0, 15, 3)));
    console_line(ligne);
    if (cl.qclip) {
        if (Fault f = wr_clp(ligne)) stop_on(std::move(f));
    }
}

}  // namespace

namespace {

// Start-up: version, flags, diagnostics, argument 0 and the console window rule.
CommandLine start_up(const std::vector<std::string>& args) {
    common_data.nvers = vers_num();
    common_data.cvers = numver_to_char(common_data.nvers);
    common_data.landscape.clear();
    common_data.qline = true;
    common_data.qfr = IsLanguageFrench();
    set_language(user_language());
    set_diag_on(diag_on() || verbose_requested(args));

    CommandLine cl;
    const std::string arg0 = args.empty() ? std::string() : console_arg_to_cp1252(args[0]);
    cl.arg0 = arg0.substr(0, std::min<std::size_t>(arg0.size(), 132));
    diag(cl.arg0);
    std::size_t colon = cl.arg0.find(':'), backslash = cl.arg0.find('\\');
    // Started by bare name from a console: no drive and no folder in argument 0.
    cl.qkeepwnd = colon == std::string::npos && backslash == std::string::npos &&
                  cl.arg0.find('/') == std::string::npos;
    diag("*** Console window ", colon == std::string::npos ? 0 : colon + 1,
         backslash == std::string::npos ? 0 : backslash + 1, tf(cl.qkeepwnd));

    cl.narg = int(args.size()) - 1;
    if (cl.narg > max_args) {
        stop_with_message("Too many arguments: at most " + std::to_string(max_args) + " are read");
    }
    cl.arg.assign(args.begin() + 1, args.end());
    return cl;
}

enum class Mode { form, single_point, batch };

// Mode selection; sets up the batch's files, or decodes the single point.
Mode choose_mode(CommandLine& cl) {
    cl.narg1 = cl.narg - cl.last_opt;
    if (cl.narg == 0) {
        common_data.qline = false;
        cl.qbatch = false;
    }
    // A file dropped on the program or opened with it: the window's file page, not a batch whose
    // messages would go to a console that closes at once.
    if (cl.narg1 == 1 && cl.last_opt == 0 && started_from_desktop()) {
        common_data.qline = false;
        cl.qbatch = false;
    }
    if (!common_data.qline && !cl.qbatch && cl.narg1 >= 1) common_data.open_file = operand(cl, 1);
    cl.qkeepwnd = cl.qkeepwnd || common_data.qline || cl.qverb || cl.qbatch;
    if (!cl.qkeepwnd) HideConsole();
    diag(cl.narg, cl.last_opt, cl.narg1, tf(common_data.qline), tf(cl.qbatch));
    if (!common_data.qline && !cl.qbatch) return Mode::form;
    if (cl.narg == cl.last_opt) stop_with_message("*** no arguments ***");
    if (cl.qverb) diag("NARG", cl.narg, cl.last_opt + 1);

    if (cl.qtasks) {
        settle_run(list_tasks(operand(cl, cl.narg1 == 1 ? 1 : 2)), common_data.qline);
        stop_silently();
    }
    if (cl.narg1 == 1) {
        cl.qbatch = true;
        common_data.qline = false;
        set_box_echo(true);  // no console of its own is assumed, but a script may be watching
        cl.infile = operand(cl, 1);
        read_batch_landscape(cl);
        cl.outfile = batch_output_name(cl.infile);
        log_batch_files(cl);
        return Mode::batch;
    }
    if (!cl.qbatch && cl.narg1 == 2 && is_flight_plan_name(operand(cl, 1)) &&
        file_exists(operand(cl, 1))) {
        // FlightPlan.fpl Output.cup: the landscape is the plan's own (its Landscape= line).
        cl.qbatch = true;
        set_box_echo(!common_data.qline);
        cl.infile = operand(cl, 1);
        read_batch_landscape(cl);
        cl.outfile = operand(cl, 2);
        log_batch_files(cl);
        return Mode::batch;
    }
    if (cl.qbatch) {
        if (cl.narg1 < 2) {
            print_usage(cl);
            stop_with_message("*** Syntax ***");
        }
        set_box_echo(!common_data.qline);
        set_landscape(operand(cl, 1));
        cl.infile = operand(cl, 2);
        cl.outfile = cl.narg1 == 3 ? operand(cl, 3) : batch_output_name(cl.infile);
        log_batch_files(cl);
        return Mode::batch;
    }
    decode_args(cl);
    return Mode::single_point;
}

void run_mode(Mode mode, const CommandLine& cl) {
    if (mode == Mode::form) {
        // Started from the desktop, the current folder is the pilot's files' or the home
        // folder: no log belongs there.
        keep_logs_in_user_folder();
        if (Fault f = run_window_mode()) stop_on(std::move(f));
        stop_silently();
    }
    if (mode == Mode::batch) {
        const std::string refused = task_refusal(cl.infile, cl.task);
        if (!refused.empty()) stop_with_message(refused);
    }
    const int setup = init_conv();
    if (setup == init_conv_no_install) stop_with_message(init_conv_failure());
    if (setup != 1) {
        std::string msg = "Landscape " + path_text(common_data.landscape.view()) +
                          " impossible to initialize coordinates conversion";
        msg.resize(std::min<std::size_t>(msg.size(), 200));
        // init_conv has said why; this line says that the run ends.
        if (!common_data.qline) error_message(s_error, message_literal(msg), common_data.qline);
        stop_with_message(msg);
    }
    if (mode == Mode::batch) {
        BatchOptions options;
        options.infile = cl.infile;
        options.outfile = cl.outfile;
        options.qcup = cl.qcup;
        options.qverb = cl.qverb;
        options.qdbg = cl.qdbg;
        options.qline = common_data.qline;
        options.epsl = cl.epsl;
        options.task = cl.task;
        settle_run(convert_file(options), common_data.qline);
    } else {
        convert_single_point(cl);
    }
}

}  // namespace

int varnix_main(const std::vector<std::string>& args) {
    try {
        CommandLine cl = start_up(args);
        classify_arguments(cl);
        apply_options(cl);
        run_mode(choose_mode(cl), cl);
    } catch (const RunEnd& end) {
        return settle_end(end);
    }
    return settle_end(RunEnd{});
}
