// Whole-program runs of varnix against fixture installations: standard output, standard error,
// exit status and the files the program leaves.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "fixture.hpp"
#include "geo/UTM.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

class Cli : public AlpsInstalled {
  protected:
    RunResult run(const std::vector<std::string>& args,
                  std::map<std::string, std::string> env = {}) {
        env.try_emplace("VARNIX_REGISTRY", store.string());
        return run_varnix(args, work.path(), env);
    }

    // The result lines our own projection gives for a point in the fixture landscape.
    static std::string expected_point(float lat, float lon) {
        float rx = 0, ry = 0;
        utm_reset();
        float xmax = 0, ymax = 0;
        TempDir dir;
        write_trn(dir.path() / "Alps.trn", TrnHeader{});
        EXPECT_EQ(utm_init((dir.path() / "Alps.trn").string(), xmax, ymax), 1);
        EXPECT_EQ(latlontoxy(lat, lon, rx, ry), 1);
        return "TPPosX=" + std::string(trim(format_fixed(rx, 15, 3))) +
               "\nTPPosY=" + std::string(trim(format_fixed(ry, 15, 3))) + "\n";
    }

    TempDir work;
};

struct StopCase {
    std::vector<std::string> args;
    std::string err;  // expected standard error
};

TEST_F(Cli, StopsWithTheirMessages) {
    const StopCase cases[] = {
        {{"-conv:-1", "Alps", "46.5", "9.25"}, "STOP Positive value required\n"},
        {{"-v", "-line"}, "STOP *** no arguments ***\n"},
        {{"-line"}, "STOP *** no arguments ***\n"},
        {{"Alps", "46.5"}, "STOP # of args\n"},
        {{"Alps", "46", "30", "N"}, "STOP # of args\n"},
        {{"Alps", "46", "30", "N", "9"}, "STOP # of args\n"},
        {{"Alps", "46", "30", "N", "9", "15"}, "STOP # of args\n"},
        {{"Alps", "46", "30", "0", "9", "15", "0"}, "STOP incorrect format\n"},
        {{"Alps", "abc", "9.25"}, "STOP incorrect coordinate format\n"},
        {{"Alps", "95", "7.25"}, "STOP incorrect coordinate format\n"},  // latitude out of range
        {{"Alps", "46.5", "400"}, "STOP incorrect coordinate format\n"},
        {{"Alps", "nan", "9.25"}, "STOP incorrect coordinate format\n"},
        {{"Alps", "46.5", "inf"}, "STOP incorrect coordinate format\n"},
        {{"Alps", "", ""}, "STOP incorrect coordinate format\n"},
    };
    for (const auto& c : cases) {
        RunResult r = run(c.args);
        std::string what = c.args.empty() ? "" : c.args[0] + " " + std::to_string(c.args.size());
        EXPECT_EQ(r.err, c.err) << what;
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_EQ(r.out.find("TPPos"), std::string::npos) << what;
    }
}

TEST_F(Cli, ConvertsOnePointInEveryNotation) {
    const std::string want = expected_point(46.5f, 9.25f);
    const std::vector<std::string> cases[] = {
        {"Alps", "46.5", "9.25"},
        {"Alps",
         "46\xC2\xB0"
         "30'N",
         "9\xC2\xB0"
         "15'E"},  // UTF-8 terminal input
        {"Alps", "46", "30", "N", "9", "15", "E"},
        {"Alps", "46", "30", "0", "N", "9", "15", "0", "E"},
        {"Alps", "4630.000N", "00915.000E"},
        {"-conv:0", "Alps", "46.5", "9.25"},
        // as the web writes them: primes, a lower-case letter, one operand for both
        {"Alps", "46°30′0″n", "9°15’E"},
        {"Alps", "4630.000n", "00915.000e"},
        {"Alps", "46", "30", "n", "9", "15", "e"},
        {"Alps", "46.5, 9.25"},
        {"Alps", "46°30′N 9°15′E"},
    };
    for (const auto& args : cases) {
        RunResult r = run(args);
        EXPECT_EQ(r.status, 0) << args[1];
        EXPECT_EQ(r.err, "") << args[1];
        if (args[0].starts_with("-conv")) {
            EXPECT_NE(r.out.find("Lat/Lon convergence threshold :"), std::string::npos);
            EXPECT_TRUE(r.out.ends_with(want)) << r.out;
        } else {
            EXPECT_EQ(r.out, want) << args[1];
        }
    }
}

TEST_F(Cli, LandscapeNameOutsideAscii) {
    install.add_landscape(2, "Zürich");
    RunResult r = run({"Zürich", "46.5", "9.25"});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected_point(46.5f, 9.25f));
}

TEST_F(Cli, NegativeNumbersAfterTheLandscapeAreOperands) {
    RunResult r = run({"Alps", "-45.5", "-7.25"});
    // Converted all the same, as the simulator would take it.
    EXPECT_EQ(r.err, " Warning: the point lies outside landscape Alps\n");
    EXPECT_EQ(r.out, expected_point(-45.5f, -7.25f));
    EXPECT_EQ(r.status, 0);
}

// No operand, or -gui whatever follows, opens the converter (here without a display).
TEST_F(Cli, FormModeStartsTheConverter) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"-gui", "Alps", "46.5", "9.25"}}) {
        RunResult r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.err.starts_with("STOP frm_create_form: no display")) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

// The command line needs no window module: a copy of the program alone converts, and only the
// window stops, naming the file it misses.
TEST_F(Cli, CommandLineRunsWithoutTheWindowModule) {
    TempDir bin;
    const fs::path varnix = bin.path() / "varnix";
    fs::copy_file(VARNIX_BINARY, varnix);
    const std::map<std::string, std::string> env = {{"VARNIX_REGISTRY", store.string()}};
    RunResult r = run_program(varnix, {"Alps", "46.5", "9.25"}, work.path(), env);
    EXPECT_EQ(r.out, expected_point(46.5f, 9.25f));
    EXPECT_EQ(r.status, 0) << r.err;
    const fs::path module = VARNIX_WINDOW_MODULE;
    if (module.empty()) return;  // the window is linked in
    r = run_program(varnix, {"-gui"}, work.path(), env);
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.ends_with("STOP The converter window needs its module " +
                                (bin.path() / module.filename()).string() +
                                ": cannot open shared object file: No such file or directory\n"))
        << r.err;
}

TEST_F(Cli, VerboseShowsDiagnosticsBeforeTheResult) {
    RunResult r = run({"-v", "Alps", "46.5", "9.25"});
    EXPECT_NE(r.out.find(" Lat = 46.5\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find(" Trnfile="), std::string::npos) << r.out;
    EXPECT_TRUE(r.out.ends_with(expected_point(46.5f, 9.25f)));
}

TEST_F(Cli, HelpPrintsUsageAndStopsSilently) {
    RunResult r = run({"-help", "Alps", "1", "2"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::string a0 = VARNIX_BINARY;
    EXPECT_EQ(r.out, " Usage :\n 1 WP : " + a0 +
                         " [-help] [-line] [-clip] [-v] Landscape Lat Lon\n Batch: " + a0 +
                         " [-batch] [-v] [Landscape] BatchFile [OutputFile]\n Plan : " + a0 +
                         " [-batch Landscape] FlightPlan.fpl [Output.cup]   a flight plan into a"
                         " .cup file with its task (landscape from the plan's Landscape= line when"
                         " not given)\n"
                         " -v         diagnostic lines on standard output\n"
                         " -debug     as -v, with each batch point's decoded values\n"
                         " -line      messages on the console (the default with operands)\n"
                         " -clip      1 WP: also put the two result lines on the clipboard\n"
                         " -gui       open the converter window; -gui File opens the file on its file page\n"
                         " -batch     batch: the operands are Landscape, BatchFile and an optional"
                         " OutputFile\n"
                         " -cup       batch: also write a .cup waypoint file (a .cup input keeps"
                         " its columns and tasks)\n"
                         " -task N    batch of a .cup file: only task N (from 1, or its name) into"
                         " the flight plan\n"
                         " -tasks     " +
                         a0 +
                         " -tasks File.cup lists the tasks of a .cup file\n"
                         " -conv:EPS  accepted for compatibility: a number of degrees >= 0, changes"
                         " no result\n"
                         " -help      this text\n");
}

// What a user of other command-line programs types first; an option matching nothing is named
// but still ignored. The first line of standard output and of standard error.
TEST_F(Cli, OtherCommandLineHabits) {
    const std::string point = expected_point(46.5f, 9.25f);
    const std::string x_line = point.substr(0, point.find('\n'));
    const std::string self = std::string(" ") + VARNIX_BINARY;
    struct Case {
        std::vector<std::string> args;
        std::string out, err;
        std::map<std::string, std::string> env = {};
    };
    const Case cases[] = {
        {{"--help"}, " Usage :", ""},
        {{"-h", "Alps", "46.5", "9.25"}, " Usage :", ""},
        {{"--version"}, "varnix 2.2.0", ""},
        {{"-V", "Alps", "46.5", "9.25"}, "varnix 2.2.0", ""},
        {{"-version", "Alps", "46.5", "9.25"}, self, ""},  // -v: diagnostics, as before
        {{"-line", "-x", "Alps", "46.5", "9.25"}, x_line, " unknown option -x ignored"},
        {{"--verbose", "-", "Alps", "46.5", "9.25"}, x_line, " unknown option --verbose ignored"},
        {{"-x", "Alps", "46.5", "9.25"}, x_line, " option inconnue -x ignorée",
         {{"LC_ALL", "fr_FR.UTF-8"}}},
        {{"-x", "-line"}, "", " unknown option -x ignored"},  // then the stop
    };
    const std::string help = run({"-help"}).out;
    for (const Case& c : cases) {
        RunResult r = run(c.args, c.env);
        const std::string what = c.args[0];
        EXPECT_EQ(r.status, c.args.size() == 2 ? 2 : 0) << what;
        EXPECT_EQ(r.out.substr(0, r.out.find('\n')), c.out) << what;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err) << what;
        if (c.out == " Usage :") {
            EXPECT_EQ(r.out, help) << what;
        }
    }
}

TEST_F(Cli, BadCommandLinesBeyondTheLimitsStopClearly) {
    std::vector<std::string> many(21, "x");
    RunResult r = run(many);
    EXPECT_EQ(r.err, "STOP Too many arguments: at most 20 are read\n");
    for (const char* opt : {"-conv:", "-conv:abc", "-conv:1e", "-conv:nan"}) {
        r = run({opt, "Alps", "46.5", "9.25"});
        EXPECT_EQ(r.err, "STOP -conv: needs a number of degrees, for example -conv:5e-6\n") << opt;
        EXPECT_EQ(r.out, "") << opt;
    }
}

TEST_F(Cli, LandscapeNotInstalled) {
    // A name holding "/" stays whole in the message.
    for (const char* name : {"Nowhere", "..", ".", "..\\Volaro2", "../Volaro2", "Alps/../Alps"}) {
        RunResult r = run({name, "46.5", "9.25"});
        std::string n = name;
        EXPECT_EQ(r.out, " Landscape " + n + " not installed or corrupted\n") << name;
        EXPECT_EQ(r.err,
                  "STOP Landscape " + n + " impossible to initialize coordinates conversion\n")
            << name;
        EXPECT_EQ(r.status, 2);
    }
}

TEST_F(Cli, NoInstallationFound) {
    write_text(root.path() / "empty.reg", "WINE REGISTRY Version 2\n");
    RunResult r =
        run({"Alps", "46.5", "9.25"}, {{"VARNIX_REGISTRY", (root.path() / "empty.reg").string()}});
    const std::string store = "Registry store read: " + (root.path() / "empty.reg").string();
    EXPECT_EQ(r.out,
              " *** Volaro2 installation not detected on this computer ***\n"
              " *** Volaro3 installation not detected on this computer ***\n"
              " *** No Volaro installation found (2 or 3) ***\n" +
                  store + "\n");
    EXPECT_EQ(r.err, "STOP Landscape Alps impossible to initialize coordinates conversion\n");
    EXPECT_EQ(r.status, 2);
    const std::string logged = "*** No Volaro installation found (2 or 3) ***\n" + store + "\n";
    EXPECT_EQ(read_text(work.path() / "Logfile.txt"), logged);
    // A second run appends to the program log.
    run({"Alps", "46.5", "9.25"}, {{"VARNIX_REGISTRY", (root.path() / "empty.reg").string()}});
    EXPECT_EQ(read_text(work.path() / "Logfile.txt"), logged + logged);
    // A store that is not there was not read.
    const std::string missing = (root.path() / "missing.reg").string();
    r = run({"Alps", "46.5", "9.25"}, {{"VARNIX_REGISTRY", missing}});
    EXPECT_NE(r.out.find("\nRegistry store not found: " + missing + "\n"), std::string::npos)
        << r.out;
    EXPECT_EQ(r.status, 2);
}

TEST_F(Cli, InstallationWithoutProgramOrVersionLineIsNotInstalled) {
    // What was tried and why it was refused: the folder as stored and as found.
    const std::string dir = (root.path() / "Volaro2").string();
    const std::string tried = "Volaro2 InstallDir " + dir + " = " + dir + ": ";
    fs::remove(root.path() / "Volaro2" / "Volaro.exe");
    RunResult r = run({"Alps", "46.5", "9.25"});
    EXPECT_NE(r.out.find("*** No Volaro installation found (2 or 3) ***\nRegistry store read: " +
                         store.string() + "\n" + tried + "no Volaro.exe in that folder\n"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(r.out.find("TPPos"), std::string::npos);
    EXPECT_EQ(r.status, 2);

    install.add_version(2);
    write_text(root.path() / "Volaro2" / "Logs" / "Logfile.txt",
               "a\nb\nc\nd\ne\nf\nVolaro version: 2100\n");
    r = run({"Alps", "46.5", "9.25"});
    EXPECT_NE(r.out.find(tried +
                         "no \"Volaro version:\" line with a number for version 2 in the "
                         "first 6 lines of " +
                         dir + "/Logs/Logfile.txt\n"),
              std::string::npos)
        << r.out;
}

TEST_F(Cli, BatchOptionWithOneOperandTakesItAsTheBatchFile) {
    // Most often a forgotten pair of coordinates: say that no such batch file exists.
    RunResult r = run({"-batch", "Alps"});
    EXPECT_EQ(r.err,
              "Varnix: *** Impossible to open batch input file :Alps ***\n"
              "STOP *** Impossible to open batch input file :Alps ***\n");
    EXPECT_EQ(r.status, 2);
    EXPECT_FALSE(fs::exists(work.path() / "Varnix.log"));
}

TEST_F(Cli, SingleOperandWithoutLandscapeLine) {
    write_text(work.path() / "points.txt", "1 A 46.5 9.25 100\n");
    RunResult r = run({"points.txt"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("No landscape specified"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Landscape  impossible to initialize coordinates conversion"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(read_text(work.path() / "Varnix.log"), "points.txt\npoints.fpl\n\n");
}

TEST_F(Cli, RunLogUntouchedByARunThatWritesNothing) {
    write_text(work.path() / "Varnix.log", "earlier\n");
    run({"Alps", "46.5", "9.25"});
    EXPECT_EQ(read_text(work.path() / "Varnix.log"), "earlier\n");
}

TEST_F(Cli, WinePrefixLayout) {
    // A prefix whose C: drive holds the installation; the store names it by its Windows path.
    TempDir prefix;
    fs::path drive_c = prefix.path() / "drive_c";
    Installation inst(drive_c / "Program Files (x86)");
    inst.add_version(2);
    inst.add_landscape(2, "Alps");
    fs::create_directories(prefix.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:");
    write_text(prefix.path() / "user.reg",
               "WINE REGISTRY Version 2\n\n[Software\\\\Volaro2] 1796672679\n#time=1\n"
               "\"InstallDir\"=\"C:\\\\Program Files (x86)\\\\Volaro2\\\\\"\n");
    RunResult r = run({"Alps", "46.5", "9.25"},
                      {{"VARNIX_REGISTRY", ""}, {"WINEPREFIX", prefix.path().string()}});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected_point(46.5f, 9.25f));
}

TEST_F(Cli, ExportOutsideAPrefixMapsDrivesThroughTheUsersPrefix) {
    TempDir prefix;
    Installation inst(prefix.path() / "drive_c" / "Games");
    inst.add_version(2);
    inst.add_landscape(2, "Alps");
    fs::create_directories(prefix.path() / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:");
    const fs::path export_file = root.path() / "exported.reg";
    write_text(export_file,
               "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Volaro2]\r\n"
               "\"InstallDir\"=\"C:\\\\Games\\\\Volaro2\"\r\n");
    RunResult r = run({"Alps", "46.5", "9.25"}, {{"VARNIX_REGISTRY", export_file.string()},
                                                 {"WINEPREFIX", prefix.path().string()}});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, expected_point(46.5f, 9.25f));
}

TEST_F(Cli, PathsAndLandscapesOutsideWindows1252) {
    install.add_landscape(2, "Łódź Alps");
    const fs::path dir = work.path() / "Łódź dir";
    write_text(dir / "pts.txt", "Landscape=Łódź Alps\n1 A 46.5 9.25 0\n");
    RunResult r = run({"Łódź dir/pts.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "pts.fpl"));
    r = run({"łódź alps", "46.5", "9.25"});
    EXPECT_EQ(r.out, expected_point(46.5f, 9.25f));
}

TEST_F(Cli, AResultThatCannotBePrintedIsNoSuccess) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "needs /dev/full";
    const std::string command = "cd '" + work.path().string() + "' && VARNIX_REGISTRY='" +
                                store.string() +
                                "' '" VARNIX_BINARY "' Alps 46.5 9.25 > /dev/full 2> err.txt";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WEXITSTATUS(status), 2);
    EXPECT_EQ(read_text(work.path() / "err.txt"), "STOP *** Error writing standard output ***\n");
}

TEST_F(Cli, ClipboardHoldsTheTwoLinesWithoutFinalLineFeed) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display";
    RunResult r = run({"-clip", "Alps", "46.5", "9.25"}, {{"DISPLAY", std::getenv("DISPLAY")}});
    EXPECT_EQ(r.status, 0);
    std::string want = expected_point(46.5f, 9.25f);
    EXPECT_EQ(r.out, want);
    want.pop_back();
    FILE* p = popen("xclip -o -selection clipboard", "r");
    ASSERT_NE(p, nullptr);
    std::string got;
    char buf[256];
    while (size_t n = fread(buf, 1, sizeof buf, p)) got.append(buf, n);
    pclose(p);
    EXPECT_EQ(got, want);
}

TEST_F(Cli, NoClipboardIsFatal) {
    RunResult r =
        run({"-clip", "Alps", "46.5", "9.25"}, {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Exiting: Can't open clipboard\n");
}

}  // namespace
