// Whole-program batch runs: the flight-plan fragment, the waypoint file, the run log, and every
// way a batch can stop.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "fixture.hpp"
#include "geo/UTM.hpp"
#include "formats/cup_write.hpp"
#include "geo/decode_coord.hpp"
#include "util/text.hpp"

namespace {

class Batch : public ::testing::Test {
  protected:
    // 100 by 150 km, 46.0-47.4 N and 8.5-9.8 E: the test points lie inside unless said.
    static constexpr TrnHeader alps{1000, 1500, 0, 100, 100, 560000, 5100000};

    void SetUp() override {
        install.add_version(2);
        install.add_landscape(2, "Alps", alps);
        store = install.write_store();
        utm_reset();
        float xmax = 0, ymax = 0;
        write_trn(root.path() / "Alps.trn", alps);
        ASSERT_EQ(utm_init((root.path() / "Alps.trn").string(), xmax, ymax), 1);
    }

    RunResult run(const std::vector<std::string>& args) {
        return run_varnix(args, work.path(), {{"VARNIX_REGISTRY", store.string()}});
    }
    fs::path at(const std::string& name) const { return work.path() / name; }

    // X and Y as the flight plan writes them.
    static std::pair<std::string, std::string> xy(float lat, float lon) {
        float x = 0, y = 0;
        EXPECT_EQ(latlontoxy(lat, lon, x, y), 1);
        char bx[32], by[32];
        std::snprintf(bx, sizeof bx, "%.3f", double(x));
        std::snprintf(by, sizeof by, "%.3f", double(y));
        return {bx, by};
    }
    static std::string fpl_lines(const std::string& n, const std::string& name, float lat,
                                 float lon, const std::string& z) {
        auto [x, y] = xy(lat, lon);
        return "TPName" + n + "=" + name + "\r\nTPPosX" + n + "=" + x + "\r\nTPPosY" + n + "=" + y +
               "\r\nTPPosZ" + n + "=" + z + "\r\n";
    }

    TempDir root, work;
    Installation install{root.path()};
    fs::path store;
};

std::string read_back(const char* kind, const fs::path& file) {
    std::string cmd = std::string("python3 " VARNIX_SOURCE_DIR "/tests/app/read_back.py ") + kind +
                      " '" + file.string() + "'";
    FILE* p = popen(cmd.c_str(), "r");
    std::string out;
    char buf[512];
    while (std::size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0) << cmd;
    return out;
}

TEST_F(Batch, SingleOperandWritesTheFlightPlanAndTheRunLog) {
    write_text(at("pts.txt"),
               "Landscape=Alps\n"
               "\n"
               "1 Start 46.5 9.25 1250\n"
               "2,'Col, high',\"46\xB0"
               "30'15\"\"N\",00915.000E,2500.5 / comment\r\n"
               "2 Again 4630.500N 9.3 0\n");
    RunResult r = run({"pts.txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, " Warning: pts.txt, line 5: turnpoint number 2 already used on line 4\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(read_text(at("pts.fpl")),
              fpl_lines("1", "Start", 46.5f, 9.25f, "1250.000") +
                  fpl_lines("2", "Col, high", 46.504166f, 9.25f, "2500.500") +
                  fpl_lines("2", "Again", decode_lat_cu("4630.500N"), 9.3f, "0.000"));
    EXPECT_EQ(read_text(at("Varnix.log")), "pts.txt\npts.fpl\nAlps\n3 points read in batch file\n");
    EXPECT_FALSE(fs::exists(at("pts.cup")));
}

TEST_F(Batch, WaypointFileFieldsAndQuoting) {
    write_text(at("in.txt"),
               "0 'Zell am \"See\", Nord' -46.5 -9.25 1250.5\n"
               "100 LongTurnpointName 46.5 9.25 0\n"
               "-1 Ab 46.99999237 9.25 -12\n");
    RunResult r = run({"-batch", "-cup", "Alps", "in.txt", "out.txt"});
    EXPECT_EQ(
        r.err,
        " Warning: in.txt, line 1: point Zell am \"See\", Nord lies outside landscape Alps\n");
    EXPECT_EQ(read_text(at("out.cup")),
              "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
              "\"Zell am \"\"See\"\", Nord\",Zell am ,,4630.000S,00915.000W,1250.5m,1,,,,\r\n"
              "\"LongTurnpointName\",LongTurn,,4630.000N,00915.000E,0.0m,1,,,,\r\n"
              "\"Ab\",Ab,,4700.000N,00915.000E,-12.0m,1,,,,\r\n");
    EXPECT_EQ(read_back("cup", at("out.cup")),
              "name|code|country|lat|lon|elev|style|rwdir|rwlen|freq|desc\n"
              "Zell am \"See\", Nord|Zell am ||4630.000S|00915.000W|1250.5m|1||||\n"
              "LongTurnpointName|LongTurn||4630.000N|00915.000E|0.0m|1||||\n"
              "Ab|Ab||4700.000N|00915.000E|-12.0m|1||||\n");
    std::string ini = read_back("fpl", at("out.txt"));
    EXPECT_NE(ini.find("TPName0=Zell am \"See\", Nord\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("TPName100=LongTurnpointName\nTPPosX100="), std::string::npos) << ini;
    EXPECT_NE(ini.find("TPPosZ-1=-12.000\n"), std::string::npos) << ini;
    EXPECT_EQ(
        read_text(at("Varnix.log")),
        "in.txt\nout.txt\nAlps\n3 points read in batch file\n1 points outside the landscape\n");
}

TEST_F(Batch, NamesInUtf8OrWindows1252AreWrittenInWindows1252) {
    write_text(at("in.txt"), "1 Z\xC3\xBCrich 46.5 9.25 400\n2 S\xE4ntis 46.5 9.25 2500\n");
    run({"-batch", "-cup", "Alps", "in.txt", "in.fpl"});
    std::string fpl = read_text(at("in.fpl"));
    EXPECT_NE(fpl.find("TPName1=Z\xFCrich\r\n"), std::string::npos);
    EXPECT_NE(fpl.find("TPName2=S\xE4ntis\r\n"), std::string::npos);
    EXPECT_NE(read_back("cup", at("in.cup")).find("\nZürich|Zürich||4630.000N"), std::string::npos);
}

TEST_F(Batch, FileNamesOutsideAscii) {
    // Names on the command line and on disk are UTF-8; inside they are Windows-1252.
    write_text(at("Zürich.txt"), "Landscape=Alps\n1 A 46.5 9.25 0\n");
    RunResult r = run({"-cup", "Zürich.txt"});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(read_text(at("Zürich.fpl")), fpl_lines("1", "A", 46.5f, 9.25f, "0.000"));
    EXPECT_TRUE(fs::exists(at("Zürich.cup")));
    EXPECT_EQ(read_text(at("Varnix.log")),
              "Z\xFCrich.txt\nZ\xFCrich.fpl\nAlps\n1 points read in batch file\n");
}

TEST_F(Batch, VerboseEchoesPointsAndCount) {
    write_text(at("in.txt"), "7 Home 46.5 9.25 1234.6\n");
    RunResult r = run({"-batch", "-v", "Alps", "in.txt"});
    EXPECT_NE(
        r.out.find("   7 Home                    46.5                9.25                  1235\n"),
        std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find(" 1 points read in batch file\n"), std::string::npos);
}

TEST_F(Batch, OnlyALandscapeLineGivesEmptyFiles) {
    write_text(at("in.txt"), "Landscape=Alps\n\n   \n");
    RunResult r = run({"-cup", "in.txt"});
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(read_text(at("in.fpl")), "");
    EXPECT_EQ(read_text(at("in.cup")),
              "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n");
    EXPECT_EQ(read_text(at("Varnix.log")), "in.txt\nin.fpl\nAlps\n0 points read in batch file\n");
}

struct StopCase {
    std::string input;
    std::string err;        // standard error
    std::string out;        // standard output (console messages)
    int points_written;     // flight-plan points left in the file
    std::string log_count;  // the run log's count line, "" when none
};

TEST_F(Batch, StopsKeepWhatWasWritten) {
    const std::string two = "1 A 46.5 9.25 0\n2 B 46.6 9.3 0\n";
    const StopCase cases[] = {
        {two + "3 C 4630.5N 9.25 0\n",
         "STOP incorrect coordinate format : in.txt, line 3: latitude \"4630.5N\" is not a "
         "latitude\n",
         "", 2, "2 points read in batch file\n"},
        {two + "3 C 95 9.25 0\n",
         "STOP incorrect coordinate format : in.txt, line 3: latitude \"95\" is not a latitude\n",
         "", 2, "2 points read in batch file\n"},
        {two + "3 C 46.5 abc 0\n",
         "STOP incorrect coordinate format : in.txt, line 3: longitude \"abc\" is not a "
         "longitude\n",
         "", 2, "2 points read in batch file\n"},
        {two + "3 C 46.5 9.25\n",
         "STOP *** Error reading batch file :in.txt, line 3: 4 items where 5 are expected "
         "(number, name, latitude, longitude, altitude) ***\n",
         "", 2, "2 points read in batch file\n"},
        {"x A 46.5 9.25 0\n",
         "STOP *** Error reading batch file :in.txt, line 1: the number \"x\" is not a whole "
         "number ***\n",
         "", 0, "0 points read in batch file\n"},
    };
    for (const auto& c : cases) {
        write_text(at("in.txt"), c.input);
        write_text(at("out.fpl"), "earlier\r\n");
        RunResult r = run({"-batch", "Alps", "in.txt", "out.fpl"});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, c.err) << c.input;
        // The console message, then its copy in the program log.
        EXPECT_TRUE(r.out.starts_with(c.out)) << r.out;
        std::string fpl = read_text(at("out.fpl"));
        // Points written are kept; a stop before the first leaves the earlier file alone.
        if (c.points_written == 0)
            EXPECT_EQ(fpl, "earlier\r\n") << c.input;
        else
            EXPECT_EQ(std::count(fpl.begin(), fpl.end(), '\n'), 4 * c.points_written) << c.input;
        std::string log = read_text(at("Varnix.log"));
        EXPECT_TRUE(log.ends_with("Alps\n" + c.log_count)) << log;
    }
}

TEST_F(Batch, FilesThatCannotBeOpened) {
    write_text(at("in.txt"), "1 A 46.5 9.25 0\n");
    struct Case {
        std::vector<std::string> args;
        std::string msg;  // with an output, the system's reason on its next line
    };
    const Case cases[] = {
        {{"-batch", "Alps", "missing.txt", "out.fpl"},
         "*** Impossible to open batch input file :missing.txt ***"},
        {{"-batch", "Alps", "in.txt", "no/such/dir/out.fpl"},
         "*** Impossible to open batch output file :no/such/dir/out.fpl ***\n"
         "No such file or directory"},
        {{"-batch", "-cup", "Alps", "in.txt", "no/such/dir/out.fpl"},
         "*** Impossible to open batch output file :no/such/dir/out.cup ***\n"
         "No such file or directory"},
    };
    for (const auto& c : cases) {
        fs::remove(at("Logfile.txt"));
        RunResult r = run(c.args);
        EXPECT_EQ(r.status, 2);
        // A path stays whole in the message and in the log.
        EXPECT_EQ(r.err, "STOP " + c.msg + "\n");
        EXPECT_TRUE(read_text(at("Logfile.txt")).ends_with("\n" + c.msg + "\n"));
    }
}

TEST_F(Batch, NeverOverwritesTheInput) {
    write_text(at("x.cup"), "\"A\",A,,4630.000N,00915.000E,500m,1,,,,\n");
    write_text(at("pts.txt"), "1 A 46.5 9.25 0\n");
    // The obvious command for a .cup input: its waypoints go beside it under another name.
    write_text(at("x_Alps.cup"), "not the input\n");
    RunResult r = run({"-batch", "-cup", "Alps", "x.cup"});
    EXPECT_EQ(r.err, " The waypoint file is x_Alps.cup: x.cup is the input\n");
    EXPECT_EQ(read_text(at("x.cup")), "\"A\",A,,4630.000N,00915.000E,500m,1,,,,\n");
    EXPECT_EQ(read_text(at("x_Alps.cup")), std::string(cup_header) +
                                               "\r\n\"A\",A,,4630.000N,00915.000E,500m,1,,,,\r\n");
    r = run({"-batch", "Alps", "pts.txt", "./pts.txt"});
    EXPECT_EQ(r.err, "STOP The flight-plan file ./pts.txt would overwrite the batch input\n");
    EXPECT_EQ(read_text(at("pts.txt")), "1 A 46.5 9.25 0\n");
}

TEST_F(Batch, CupInputInBothLayouts) {
    const std::string classic =
        "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
        "\"S\xC3\xA4ntis\",SAENTIS,CH,4714.980N,00920.580E,8202ft,1,,,,\r\n"
        "\"Home, field\",HOME,CH,4630.000N,00915.000E,500.0m,5,090,800m,122.500,\"A \"\"good\"\" "
        "one\"\r\n"
        "\r\n"
        "-----Related Tasks-----\r\n"
        "\"Task\",\"S\xC3\xA4ntis\",\"Home, field\"\r\n";
    const std::string newer =
        "name,code,country,lat,lon,elev,style,rwdir,rwlen,rwwidth,freq,desc,userdata,pics\n"
        "\"Home, field\",HOME,CH,4630.000N,00915.000E,500,5,090,800m,20m,122.500,,,\n";
    const std::string reordered = "code,lat,lon,name,elev\nHOME,4630.000N,00915.000E,Home,1640ft\n";
    const std::string headless = "\"Home\",HOME,CH,4630.000N,00915.000E,500m,1,,,,\n";

    write_text(at("classic.cup"), classic);
    RunResult r = run({"-batch", "Alps", "classic.cup", "classic.fpl"});
    EXPECT_EQ(r.err,
              " classic.cup holds 1 task: -task N (from 1) or -task NAME converts one of them, "
              "-tasks lists them\n");
    EXPECT_EQ(read_text(at("classic.fpl")),
              fpl_lines("0", "S\xE4ntis", decode_lat_cu("4714.980N"), decode_lon_cu("00920.580E"),
                        "2499.969") +
                  fpl_lines("1", "Home, field", 46.5f, 9.25f, "500.000"));

    for (const auto& [name, text, z] : {std::tuple{"newer.cup", newer, "500.000"},
                                        std::tuple{"reordered.cup", reordered, "499.872"},
                                        std::tuple{"headless.CUP", headless, "500.000"}}) {
        write_text(at(name), text);
        r = run({"-batch", "Alps", name, "out.fpl"});
        EXPECT_EQ(r.err, "") << name;
        std::string want_name = std::string(name) == "reordered.cup" ? "Home"
                                : std::string(name) == "newer.cup"   ? "Home, field"
                                                                     : "Home";
        EXPECT_EQ(read_text(at("out.fpl")), fpl_lines("0", want_name, 46.5f, 9.25f, z)) << name;
    }
}

TEST_F(Batch, CupInputNeedsALandscape) {
    write_text(at("w.cup"), "\"Home\",HOME,CH,4630.000N,00915.000E,500m,1,,,,\n");
    RunResult r = run({"w.cup"});
    EXPECT_NE(r.err.find("No landscape specified"), std::string::npos);
    EXPECT_FALSE(fs::exists(at("w.fpl")));
}

TEST_F(Batch, CupRecordsWhoseElevationCannotBeReadAreKept) {
    // As a published file has them: the record stays, its elevation written empty so that strict
    // readers take the waypoint file.
    const std::string record = "\"B\",B,,4630.000N,00915.000E,NoneNone";
    write_text(at("w.cup"), "name,code,country,lat,lon,elev\n" + record + "\n");
    RunResult r = run({"-batch", "-cup", "Alps", "w.cup", "o.fpl"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              " Warning: w.cup, line 2: elev \"NoneNone\" is not an elevation: TPPosZ is 0\n");
    EXPECT_EQ(read_text(at("o.fpl")), fpl_lines("0", "B", 46.5f, 9.25f, "0.000"));
    EXPECT_EQ(read_text(at("o.cup")),
              "name,code,country,lat,lon,elev\r\n\"B\",B,,4630.000N,00915.000E,\r\n");
}

TEST_F(Batch, CupLinesThatCannotBeReadAreSkipped) {
    const std::string head = "name,code,country,lat,lon,elev\n\"A\",A,,4630.000N,00915.000E,500m\n";
    const std::string last = "\"C\",C,,4630.000N,00915.000E,\n";
    struct Case {
        std::string bad_line, warning;
    };
    const Case cases[] = {
        {"\"B\",B,,4630.50N,00915.000E,500m", "lat \"4630.50N\" is not a latitude"},
        {"\"B\",B,,4630.000N,915E,500m", "lon \"915E\" is not a longitude"},
        {"\"B\",B", "2 fields, 6 needed for name, lat, lon and elev"},
        {"\"\",B,,4630.000N,00915.000E,500m", "the name is empty"},
    };
    for (const Case& c : cases) {
        write_text(at("w.cup"), head + c.bad_line + "\n" + last);
        RunResult r = run({"-batch", "Alps", "w.cup", "w.fpl"});
        EXPECT_EQ(r.status, 3) << c.bad_line;
        EXPECT_EQ(r.err, " Warning: w.cup, line 3: line skipped: " + c.warning +
                             "\n Warning: w.cup, line 4: no elevation: TPPosZ is 0\n"
                             " 1 lines skipped in w.cup\n");
        EXPECT_EQ(read_text(at("w.fpl")), fpl_lines("0", "A", 46.5f, 9.25f, "500.000") +
                                              fpl_lines("1", "C", 46.5f, 9.25f, "0.000"));
        EXPECT_TRUE(read_text(at("Varnix.log"))
                        .ends_with("2 points read in batch file\n1 lines skipped in w.cup\n"));
    }
}

}  // namespace

// --- real files, real users ---------------------------------------------------------------------

// One whole run: the files it starts with, what it prints, how it ends and what it leaves.
struct RunCase {
    const char* what;
    std::vector<std::string> args;
    std::map<std::string, std::string> files;  // written before the run
    int status;
    std::string out, err;                       // fragments of standard output / error
    std::map<std::string, std::string> leaves;  // expected contents; "" = no such file
};

// A waypoint file from a .cup input is the input as it stands (columns, quotes, units, encoding,
// byte-order mark, comments, task section), without its empty lines, CR LF.
std::string kept(const std::string& text) {
    std::string out, line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) out += line + "\r\n";
    }
    return out;
}

class RealFiles : public Batch {
  protected:
    void check(const RunCase& c) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const auto& [name, text] : c.files) write_text(dir.path() / name, text);
        RunResult r = run_varnix(c.args, dir.path(), {{"VARNIX_REGISTRY", store.string()}});
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        for (const auto& [name, want] : c.leaves) {
            if (want.empty())
                EXPECT_FALSE(fs::exists(dir.path() / name)) << name;
            else
                EXPECT_EQ(read_text(dir.path() / name), want) << name;
        }
        // Outputs are written aside and renamed: nothing of that may stay behind.
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            EXPECT_FALSE(entry.path().filename().string().starts_with(".varnix-")) << entry.path();
    }
    static std::string fixture(const char* name) {
        return read_text(fs::path(VARNIX_TEST_DATA) / name);
    }
};

TEST_F(RealFiles, NothingLostNoWrongResult) {
    const std::string one = "1 A 46.5 9.25 0\n";
    const std::string long_dir(150, 'd'), long_name(120, 'n');
    const std::string long_out = long_dir + "/" + long_name + ".fpl";  // 275 characters
    const RunCase cases[] = {
        {"a failed run leaves earlier outputs untouched",
         {"-batch", "-cup", "Alps", "nosuchfile.txt", "keep.fpl"},
         {{"keep.fpl", "earlier plan\r\n"}, {"keep.cup", "earlier waypoints\r\n"}},
         2,
         "",
         "STOP *** Impossible to open batch input file :nosuchfile.txt ***\n",
         {{"keep.fpl", "earlier plan\r\n"}, {"keep.cup", "earlier waypoints\r\n"}}},
        {"an input that cannot be read leaves earlier outputs untouched",
         {"-batch", "-cup", "Alps", "folder", "keep.fpl"},
         {{"folder/x", ""},
          {"keep.fpl", "earlier plan\r\n"},
          {"keep.cup", "earlier waypoints\r\n"}},
         2,
         "",
         "STOP *** Error reading batch file :folder ***\n",
         {{"keep.fpl", "earlier plan\r\n"}, {"keep.cup", "earlier waypoints\r\n"}}},
        {"a long output path is written whole",
         {"-batch", "Alps", "in.txt", long_out},
         {{"in.txt", one}, {long_dir + "/x", ""}},
         0,
         "",
         "",
         {{long_out, fpl_lines("1", "A", 46.5f, 9.25f, "0.000")}}},
        {"a long input path is no false overwrite",
         {"-batch", "Alps", long_dir + "/" + long_name + ".txt", "out.fpl"},
         {{long_dir + "/" + long_name + ".txt", one}},
         0,
         "",
         "",
         {{"out.fpl", fpl_lines("1", "A", 46.5f, 9.25f, "0.000")}}},
        {"an output name longer than a folder may hold cannot be written; it is not the input",
         {"-batch", "Alps", "in.txt", std::string(300, 'o') + ".fpl"},
         {{"in.txt", one}},
         2,
         "",
         "STOP *** Error writing batch output file :ooo",
         {}},
        {"so is an input name that long",
         {"-batch", "Alps", std::string(300, 'i') + ".txt"},
         {},
         2,
         "",
         "STOP *** Impossible to open batch input file :iii",
         {}},
        {"a flight plan named .cup is not overwritten by the waypoint file",
         {"-batch", "-cup", "Alps", "in.txt", "out.cup"},
         {{"in.txt", one}, {"out.cup", "earlier\r\n"}},
         2,
         "",
         "STOP The waypoint file out.cup would overwrite the flight-plan file; name it with .fpl\n",
         {{"out.cup", "earlier\r\n"}}},
        {"a decimal comma is no point",
         {"-batch", "Alps", "in.txt", "out.fpl"},
         {{"in.txt", one + "2 Comma 46,5 9,25 1000\n"}},
         2,
         "",
         "STOP incorrect coordinate format : in.txt, line 2: more than 5 items (a decimal "
         "comma?)\n",
         {{"out.fpl", fpl_lines("1", "A", 46.5f, 9.25f, "0.000")}}},
        {"an altitude with trailing text is an unreadable line",
         {"-batch", "Alps", "in.txt", "out.fpl"},
         {{"in.txt", "1 A 46.5 9.25 1000x\n"}},
         2,
         "",
         "STOP *** Error reading batch file :in.txt, line 1: the altitude \"1000x\" is not a "
         "number ***\n",
         {{"out.fpl", ""}}},
    };
    for (const RunCase& c : cases) check(c);
}

TEST_F(RealFiles, MessagesKeepPathsWhole) {
    const RunCase cases[] = {
        {"on the console",
         {"-batch", "Alps", "sub/none.txt", "sub/out.fpl"},
         {{"sub/x", ""}},
         2,
         "",
         "STOP *** Impossible to open batch input file :sub/none.txt ***\n",
         {{"sub/out.fpl", ""}}},
        {"with the file and line",
         {"-batch", "Alps", "sub/in.txt", "out.fpl"},
         {{"sub/in.txt", "1 A 46.5 9.25 0\n2 B 46.5 x 0\n"}},
         2,
         "",
         "STOP incorrect coordinate format : sub/in.txt, line 2: longitude \"x\" is not a "
         "longitude\n",
         {{"Varnix.log", "sub/in.txt\nout.fpl\nAlps\n1 points read in batch file\n"}}},
    };
    for (const RunCase& c : cases) check(c);
    TempDir dir;
    run_varnix({"-batch", "Alps", "sub/none.txt"}, dir.path(),
               {{"VARNIX_REGISTRY", store.string()}});
    EXPECT_NE(read_text(dir.path() / "Logfile.txt")
                  .find("*** Impossible to open batch input file :sub/none.txt ***\n"),
              std::string::npos);
}

TEST_F(RealFiles, ImpossibleCoordinatesOnTheCommandLine) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"Alps", "46,5", "9,25"},
             {"Alps", "4670.500N", "9.25"},
             {"Alps", "4675.000N", "9.25"},
             {"Alps", "46.5",
              "9\xC2\xB0"
              "75'E"},
             {"Alps",
              "46\xC2\xB0"
              "30'75\"N",
              "9.25"},
             {"Alps", "95", "9.25"},
             {"Alps", "46.5", "189"},
         }) {
        RunCase c{"", args, {}, 2, "", "STOP incorrect coordinate format\n", {}};
        c.what = args[1].c_str();
        check(c);
    }
}

TEST_F(RealFiles, CorruptTerrainHeadersAreNotInstalled) {
    struct Spoil {
        const char* what;
        void (*apply)(TrnHeader&);
    };
    const Spoil spoils[] = {
        {"zone 0", [](TrnHeader& h) { h.zone = 0; }},
        {"zone 99", [](TrnHeader& h) { h.zone = 99; }},
        {"hemisphere X", [](TrnHeader& h) { h.hemisphere = 'X'; }},
        {"no columns", [](TrnHeader& h) { h.ncols = 0; }},
        {"negative rows", [](TrnHeader& h) { h.nrows = -5; }},
        {"zero cell", [](TrnHeader& h) { h.rew = 0; }},
    };
    for (const Spoil& s : spoils) {
        TrnHeader h = alps;
        s.apply(h);
        install.add_landscape(2, "Bad", h);
        check({s.what,
               {"Bad", "46.5", "9.25"},
               {},
               2,
               " Landscape Bad not installed or corrupted\n",
               "",
               {}});
    }
}

TEST_F(RealFiles, PublishedWaypointFiles) {
    const std::string alpine_cup = kept(fixture("alpine_bom.cup"));
    const std::string alpine_fpl =
        fpl_lines("0", "S\xE4ntis", decode_lat_cu("4714.980N"), decode_lon_cu("00920.580E"),
                  "2502.000") +
        fpl_lines("1", "Buochs", decode_lat_cu("4658.500N"), decode_lon_cu("00824.000E"),
                  "450.000") +
        fpl_lines("2", "Samedan Engadin Airport, glider fiel", decode_lat_cu("4632.030N"),
                  decode_lon_cu("00942.050E"), "1707.000") +
        fpl_lines("3", "Passo dello Spluga", decode_lat_cu("4628.800N"),
                  decode_lon_cu("00920.000E"), "2117.141") +
        fpl_lines("4", "Leba Gipfel", 47.f, 9.25f, "1200.000");
    const std::string newer_cup = kept(fixture("newer_cp1252.cup"));
    const RunCase cases[] = {
        {"a BOM, comments, a task section, a long name and names outside Windows-1252",
         {"-batch", "-cup", "Alps", "club.cup", "alpine.fpl"},
         {{"club.cup", fixture("alpine_bom.cup")}},
         0,
         "",
         " Warning: club.cup, line 5: point Buochs lies outside landscape Alps\n"
         " Warning: club.cup, line 6: name cut to 36 characters in the flight plan\n"
         " Warning: club.cup, line 9: name written Leba Gipfel in the flight plan: Windows-1252 "
         "cannot hold all of its letters\n",
         {{"alpine.fpl", alpine_fpl}}},
        {"the 14-column layout in Windows-1252 keeps its fields",
         {"-batch", "-cup", "Alps", "newer.cup", "out.fpl"},
         {{"newer.cup", fixture("newer_cp1252.cup")}},
         0,
         "",
         " Warning: newer.cup, line 3: point Amlikon lies outside landscape Alps\n",
         {{"out.cup", newer_cup}}},
    };
    for (const RunCase& c : cases) check(c);
    // The waypoint output of the first, read back: its header, then every waypoint.
    TempDir dir;
    write_text(dir.path() / "alpine.cup", fixture("alpine_bom.cup"));
    run_varnix({"-batch", "-cup", "Alps", "alpine.cup", "w.fpl"}, dir.path(),
               {{"VARNIX_REGISTRY", store.string()}});
    EXPECT_EQ(read_text(dir.path() / "w.cup"), alpine_cup);
}

TEST_F(RealFiles, WhatFilesAndTerminalsHold) {
    const std::string a = fpl_lines("1", "A", 46.5f, 9.25f, "0.000");
    const RunCase cases[] = {
        {"a byte-order mark before the landscape line",
         {"pts.txt"},
         {{"pts.txt", "\xEF\xBB\xBFLandscape=Alps\r\n1 A 46.5 9.25 0\r\n"}},
         0,
         "",
         "",
         {{"pts.fpl", a}}},
        {"a data line holding Landscape is skipped with a warning",
         {"-batch", "Alps", "in.txt", "out.fpl"},
         {{"in.txt", "1 A 46.5 9.25 0\n2 LandscapeView 46.5 9.25 0\n"}},
         0,
         "",
         " Warning: in.txt, line 2: line skipped: it holds \"Landscape\"\n",
         {{"out.fpl", a}}},
        {"landscape names match without case",
         {"-batch", "alps", "in.txt", "out.fpl"},
         {{"in.txt", "1 A 46.5 9.25 0\n"}},
         0,
         "",
         "",
         {{"out.fpl", a}}},
        {"a quoted degree-sign latitude from a UTF-8 file",
         {"-batch", "Alps", "in.txt", "out.fpl"},
         {{"in.txt",
           "1 A \"46\xC2\xB0"
           "30'N\" 9.25 0\n"}},
         0,
         "",
         "",
         {{"out.fpl", a}}},
    };
    for (const RunCase& c : cases) check(c);
    RunResult r = run_varnix({"Alps",
                              "46\xC2\xB0"
                              "30'N",
                              "9\xC2\xB0"
                              "15'E"},
                             work.path(),
                             {{"VARNIX_REGISTRY", store.string()}, {"LANG", ""}, {"LC_ALL", "C"}});
    auto [x, y] = xy(46.5f, 9.25f);
    EXPECT_EQ(r.out, "TPPosX=" + x + "\nTPPosY=" + y + "\n");
}

TEST_F(RealFiles, AnExactLandscapeNameWinsOverOneDifferingInCase) {
    TrnHeader other = alps;
    other.orig_e = 550000;
    install.add_landscape(2, "alps", other);
    RunResult upper = run({"Alps", "46.5", "9.25"});
    RunResult lower = run({"alps", "46.5", "9.25"});
    auto [x, y] = xy(46.5f, 9.25f);
    EXPECT_EQ(upper.out, "TPPosX=" + x + "\nTPPosY=" + y + "\n");
    EXPECT_NE(lower.out, upper.out);
}

TEST_F(Batch, LargeBatchesKeepFileOrderUpToAStop) {
    // Several blocks, split between threads: the text must still come in file order, and a stop
    // deep inside keeps exactly the points before it.
    constexpr int points = 20000, bad_line = 15000;
    std::string input;
    for (int i = 1; i <= points; ++i) {
        const float lat = 46.1f + float(i % 700) * 0.001f, lon = 8.6f + float(i % 900) * 0.001f;
        char line[96];
        std::snprintf(line, sizeof line, "%d P%d %.4f %.4f %d\n", i % 100, i, double(lat),
                      double(lon), i % 3000);
        input += i == bad_line ? std::string("0 Bad 46,1 8,6 0\n") : std::string(line);
    }
    write_text(at("big.txt"), input);
    RunResult r = run({"-batch", "Alps", "big.txt", "big.fpl"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(
        r.err.ends_with("STOP incorrect coordinate format : big.txt, line 15000: more than 5 items "
                        "(a decimal comma?)\n"));
    const std::string fpl = read_text(at("big.fpl"));
    EXPECT_EQ(std::count(fpl.begin(), fpl.end(), '\n'), 4 * (bad_line - 1));
    // Names and numbers in order; the point of line 14999 is the last.
    EXPECT_TRUE(fpl.starts_with("TPName1=P1\r\n"));
    EXPECT_NE(fpl.find("TPName99=P14999\r\nTPPosX99="), std::string::npos);
    EXPECT_EQ(fpl.find("TPName0=P15000"), std::string::npos);
    EXPECT_TRUE(read_text(at("Varnix.log")).ends_with("14999 points read in batch file\n"));
}

// --- waypoint files with tasks, and flight plans back -------------------------------------------

TEST_F(RealFiles, WaypointFilesWithTasks) {
    const std::string tasks = fixture("tasks.cup");
    auto tp = [](const char* n, const char* name, const char* lat, const char* lon, const char* z) {
        return fpl_lines(n, name, decode_lat_cu(lat), decode_lon_cu(lon), z);
    };
    const std::string home0 = tp("0", "Home Field", "4630.000N", "00915.000E", "450.000");
    const std::string lake = "4620.000N", lake_lon = "00935.000E";
    const std::string no_waypoint = "name,code,country,lat,lon,elev\r\n* none yet\r\n";
    const RunCase cases[] = {
        {"a task by number: its points in order, an airfield named twice in a row once",
         {"-batch", "-task", "1", "Alps", "tasks.cup", "t.fpl"},
         {{"tasks.cup", tasks}},
         0,
         "",
         "",
         {{"t.fpl", home0 + tp("1", "North Peak", "4705.500N", "00910.250E", "2100.000") +
                        tp("2", "West Pass", "4640.125N", "00845.750E", "1800.000") +
                        tp("3", "Home Field", "4630.000N", "00915.000E", "450.000")}}},
        {"a task by name, with a point defined in the task section",
         {"-batch", "-task", "Out and return", "Alps", "tasks.cup", "t.fpl"},
         {{"tasks.cup", tasks}},
         0,
         "",
         "",
         {{"t.fpl", tp("0", "East Lake", lake.c_str(), lake_lon.c_str(), "350.000") +
                        tp("1", "Inline TP", "4655.000N", "00900.000E", "900.000") +
                        tp("2", "East Lake", lake.c_str(), lake_lon.c_str(), "350.000")}}},
        {"a task that is not there",
         {"-batch", "-task", "3", "Alps", "tasks.cup", "t.fpl"},
         {{"tasks.cup", tasks}},
         2,
         "",
         "STOP No task 3 among the 2 tasks in tasks.cup\n",
         {{"t.fpl", ""}}},
        {"a task naming a waypoint the file does not hold",
         {"-batch", "-task", "1", "Alps", "w.cup", "t.fpl"},
         {{"w.cup",
           "\"A\",A,,4630.000N,00915.000E,500m,1,,,,\n-----Related Tasks-----\n"
           "\"T\",\"A\",\"Nowhere\",\"A\"\n"}},
         2,
         "",
         "STOP Task T (line 3) names the waypoint Nowhere, which is not in the file\n",
         {{"t.fpl", ""}}},
        {"-tasks lists number, name, points and length",
         {"-tasks", "tasks.cup"},
         {{"tasks.cup", tasks}},
         0,
         "1 \"Triangle 120\": 4 points, 164.2 km: Home Field > North Peak > West Pass > "
         "Home Field\n"
         "2 \"Out and return\": 3 points, 157.4 km: East Lake > Inline TP > East Lake\n",
         "",
         {}},
        {"without -task every waypoint, and how to pick a task",
         {"-batch", "Alps", "tasks.cup", "all.fpl"},
         {{"tasks.cup", tasks}},
         0,
         "",
         " tasks.cup holds 2 tasks: -task N (from 1) or -task NAME converts one of them, -tasks "
         "lists them\n",
         {}},
        {"-task -cup: the task's waypoints once each, and its task lines",
         {"-batch", "-cup", "-task", "1", "Alps", "tasks.cup", "t.fpl"},
         {{"tasks.cup", tasks}},
         0,
         "",
         "",
         {{"t.cup", kept(tasks.substr(0, tasks.find("\"East Lake\"")) +
                         tasks.substr(tasks.find("-----"),
                                      tasks.find("\"Out and") - tasks.find("-----")))}}},
        {"UTF-8 stays UTF-8 with its mark; line breaks and blanks inside quotes stay",
         {"-batch", "-cup", "Alps", "u.cup", "u.fpl"},
         {{"u.cup", fixture("utf8_names.cup")}},
         0,
         "",
         " Warning: u.cup, line 4: no elevation: TPPosZ is 0\n",
         {{"u.cup", fixture("utf8_names.cup")}, {"u_Alps.cup", kept(fixture("utf8_names.cup"))}}},
        {"CR-only line ends are line ends",
         {"-batch", "Alps", "mac.cup", "m.fpl"},
         {{"mac.cup", fixture("old_mac.cup")}},
         0,
         "",
         "",
         {{"m.fpl", tp("0", "Z\xFCrich Nord", "4640.000N", "00905.000E", "500.000") +
                        tp("1", "Chur", "4650.000N", "00930.000E", "600.000")}}},
        {"a file with no waypoint says so and leaves the outputs alone",
         {"-batch", "-cup", "Alps", "none.cup", "keep.fpl"},
         {{"none.cup", no_waypoint}, {"keep.fpl", "earlier\r\n"}},
         2,
         "",
         "STOP No waypoint in none.cup\n",
         {{"keep.fpl", "earlier\r\n"}, {"keep.cup", ""}}},
        {"a quote never closed is named, its line read to the end",
         {"-batch", "Alps", "q.cup", "q.fpl"},
         {{"q.cup",
           "\"A\",A,,4630.000N,00915.000E,500m,1,,,,\"open\n"
           "\"B\",B,,4630.000N,00915.000E,600m,1,,,,\n"}},
         0,
         "",
         " Warning: q.cup, line 1: a quote is not closed: the line is read up to its end\n",
         {{"q.fpl", fpl_lines("0", "A", 46.5f, 9.25f, "500.000") +
                        fpl_lines("1", "B", 46.5f, 9.25f, "600.000")}}},
    };
    for (const RunCase& c : cases) check(c);
}

TEST_F(RealFiles, FlightPlansBecomeWaypointFilesWithTheirTask) {
    auto [x0, y0] = xy(46.5f, 9.25f);
    auto [x1, y1] = xy(46.6f, 9.3f);
    // A simulator flight plan: other keys and sections are left alone.
    const std::string plan =
        "[Version]\r\nVersion=3\r\n[Task]\r\nLandscape=Alps\r\nCount=3\r\n"
        "TPName0=Home\r\nTPPosX0=" +
        x0 + "\r\nTPPosY0=" + y0 +
        "\r\nTPPosZ0=450\r\nTPRadius0=3000\r\n"
        "TPName1=Peak \"A\"\r\nTPPosX1=" +
        x1 + "\r\nTPPosY1=" + y1 + "\r\nTPName2=Home\r\nTPPosX2=" + x0 + "\r\nTPPosY2=" + y0 +
        "\r\nTPPosZ2=450\r\nTPName3=Lost\r\nTPPosY3=5\r\n";
    const std::string cup =
        "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
        "\"Home\",Home,,4630.000N,00915.000E,450.0m,1,,,,\r\n"
        "\"Peak \"\"A\"\"\",\"Peak \"\"A\"\"\",,4636.000N,00918.000E,0.0m,1,,,,\r\n"
        "-----Related Tasks-----\r\n"
        "\"plan\",\"Home\",\"Home\",\"Peak \"\"A\"\"\",\"Home\",\"Home\"\r\n";
    const RunCase cases[] = {
        {"the landscape from the plan; a turnpoint without X skipped, one without Z at 0",
         {"plan.fpl"},
         {{"plan.fpl", plan}},
         3,
         "",
         " Warning: plan.fpl, line 11: turnpoint 1 has no TPPosZ: elevation 0\n"
         " Warning: plan.fpl, line 18: line skipped: turnpoint 3 has no TPPosX\n"
         " 1 lines skipped in plan.fpl\n",
         {{"plan.cup", cup}}},
        {"the landscape and the output named on the command line",
         {"-batch", "Alps", "plan.fpl", "out.cup"},
         {{"plan.fpl", plan}},
         3,
         "",
         "",
         {{"out.cup", cup}}},
        {"plan and output: the landscape from the plan",
         {"plan.fpl", "out.cup"},
         {{"plan.fpl", plan}},
         3,
         "",
         " 1 lines skipped in plan.fpl\n",
         {{"out.cup", cup}}},
        {"a take-off and landing the plan does not name are unknown",
         {"-batch", "Alps", "plan.fpl", "out.cup"},
         {{"plan.fpl", "TPPosX0=" + x0 + "\r\nTPPosY0=" + y0 + "\r\nTPName1=B\r\nTPPosX1=" + x1 +
                           "\r\nTPPosY1=" + y1 + "\r\n"}},
         0,
         "",
         "",
         {{"out.cup",
           "name,code,country,lat,lon,elev,style,rwdir,rwlen,freq,desc\r\n"
           "\"TP0\",TP0,,4630.000N,00915.000E,0.0m,1,,,,\r\n"
           "\"B\",B,,4636.000N,00918.000E,0.0m,1,,,,\r\n"
           "-----Related Tasks-----\r\n"
           "\"plan\",\"???\",\"TP0\",\"B\",\"B\"\r\n"}}},
        {"plan and output, the plan naming no landscape",
         {"plan.fpl", "out.cup"},
         {{"plan.fpl", "TPName0=A\r\nTPPosX0=1\r\nTPPosY0=1\r\n"}},
         2,
         " No landscape specified\n",
         "STOP Landscape  impossible to initialize coordinates conversion\n",
         {{"out.cup", ""}}},
    };
    for (const RunCase& c : cases) check(c);
}

TEST_F(RealFiles, FlightPlansBecomeTheTaskFormatTheOutputNames) {
    auto [x0, y0] = xy(46.5f, 9.25f);
    auto [x1, y1] = xy(46.6f, 9.3f);
    const std::string plan = "TPName0=Home\r\nTPPosX0=" + x0 + "\r\nTPPosY0=" + y0 +
                             "\r\nTPPosZ0=450\r\nTPName1=Peak\r\nTPPosX1=" + x1 + "\r\nTPPosY1=" +
                             y1 + "\r\nTPPosZ1=2100\r\nTPName2=Home\r\nTPPosX2=" + x0 +
                             "\r\nTPPosY2=" + y0 + "\r\nTPPosZ2=450\r\n";
    // Each output read back lists the plan's points and the same length; a .cup and a GPX route
    // keep the plan's name, the task files are named by the file.
    const struct {
        const char* output;
        std::string listed;
    } cases[] = {
        {"out.cup", "1 \"plan\": 3 points, 23.5 km: Home > Peak > Home\n"},
        {"out.tsk", "1 \"out\": 3 points, 23.5 km: Home > Peak > Home\n"},
        {"out.xctsk", "1 \"out\": 3 points, 23.5 km: Home > Peak > Home\n"},
        {"out.GPX", "1 \"plan\": 3 points, 23.5 km: Home > Peak > Home\n"},
    };
    const std::map<std::string, std::string> env{{"VARNIX_REGISTRY", store.string()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output);
        TempDir dir;
        write_text(dir.path() / "plan.fpl", plan);
        const RunResult r = run_varnix({"-batch", "Alps", "plan.fpl", c.output}, dir.path(), env);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(run_varnix({"-tasks", c.output}, dir.path(), env).out, c.listed);
    }
}

TEST_F(RealFiles, TaskToFlightPlanAndBackKeepsPointsAndOrder) {
    TempDir dir;
    write_text(dir.path() / "tasks.cup", fixture("tasks.cup"));
    const std::map<std::string, std::string> env{{"VARNIX_REGISTRY", store.string()}};
    EXPECT_EQ(run_varnix({"-batch", "-task", "1", "Alps", "tasks.cup", "tri.fpl"}, dir.path(), env)
                  .status,
              0);
    EXPECT_EQ(run_varnix({"-batch", "Alps", "tri.fpl"}, dir.path(), env).status, 0);
    EXPECT_EQ(read_back("cup", dir.path() / "tri.cup"),
              "name|code|country|lat|lon|elev|style|rwdir|rwlen|freq|desc\n"
              "Home Field|Home Fie||4630.000N|00915.000E|450.0m|1||||\n"
              "North Peak|North Pe||4705.500N|00910.250E|2100.0m|1||||\n"
              "West Pass|West Pas||4640.125N|00845.750E|1800.0m|1||||\n"
              "-----Related Tasks-----\n"
              "tri|Home Field|Home Field|North Peak|West Pass|Home Field|Home Field\n");
    // As open readers take the task: from the .cup written beside the plan, and back from it.
    for (const auto& [task, reading] :
         {std::pair{"1", "Home Field > North Peak > West Pass > Home Field\n"},
          std::pair{"2", "East Lake > Inline TP > East Lake\n"}}) {
        const auto run_in = [&](const std::vector<std::string>& args) {
            return run_varnix(args, dir.path(), env).status;
        };
        EXPECT_EQ(run_in({"-batch", "-cup", "-task", task, "Alps", "tasks.cup", "one.fpl"}), 0);
        EXPECT_EQ(read_back("task", dir.path() / "one.cup"), reading) << task;
        EXPECT_EQ(run_in({"-batch", "Alps", "one.fpl", "back.cup"}), 0);
        EXPECT_EQ(read_back("task", dir.path() / "back.cup"), reading) << task;
    }
}

TEST_F(Batch, EveryDuplicateNumberIsCountedInBigFiles) {
    // 110,000 distinct numbers, then 10,000 of them again: past any table of first lines.
    std::string input;
    for (int i = 0; i < 120000; ++i)
        input += std::to_string(i < 110000 ? i : i - 10000) + " P 46.5 9.25 0\n";
    write_text(at("big.txt"), input);
    RunResult r = run({"-batch", "Alps", "big.txt", "big.fpl"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(
        r.err.starts_with(" Warning: big.txt, line 110001: turnpoint number 100000 already used\n"))
        << r.err.substr(0, 200);
    EXPECT_TRUE(r.err.ends_with(" Warning: 9980 more warnings not shown\n"));
}

TEST_F(Batch, LargeCupFilesNumberTheirPointsWithoutGaps) {
    // Converted a block of lines at a time, on a second thread: a skipped line must not leave a
    // gap or a repeat in the numbers that follow it, within its block or after, and files and
    // messages come as on one thread (-verbose).
    std::string input = "name,code,country,lat,lon,elev\n";
    for (int i = 0; i < 9000; ++i)
        input += (i == 6000 ? "* a comment\n" : "") + ("\"P" + std::to_string(i)) + "\",P,," +
                 (i == 100 || i == 4095 ? "bad" : "4630.000N") + ",00915.000E,500m\n";
    write_text(at("big.cup"), input);
    RunResult r = run({"-batch", "-cup", "Alps", "big.cup", "two.fpl"});
    EXPECT_EQ(r.status, 3);
    const std::string fpl = read_text(at("two.fpl"));
    EXPECT_NE(fpl.find("TPName99=P99\r\n"), std::string::npos);
    EXPECT_NE(fpl.find("TPName100=P101\r\n"), std::string::npos);
    EXPECT_NE(fpl.find("TPName4200=P4202\r\n"), std::string::npos);
    EXPECT_TRUE(fpl.ends_with("TPPosZ8997=500.000\r\n"));

    RunResult one = run({"-batch", "-cup", "-verbose", "Alps", "big.cup", "one.fpl"});
    EXPECT_EQ(one.err, r.err);
    EXPECT_TRUE(read_text(at("one.fpl")) == fpl);
    EXPECT_TRUE(read_text(at("one.cup")) == read_text(at("two.cup")));
}

// A fixed file of every notation, separator and name kind against outputs stored before the
// batch path was tuned: the written bytes never change.
TEST(BatchOutputs, StayByteForByteAsStored) {
    const fs::path data = VARNIX_TEST_DATA;
    TempDir work;
    fs::copy_file(data / "batch_points.txt", work.path() / "batch_points.txt");
    RunResult r = run_varnix({"-batch", "-cup", "Demo", "batch_points.txt", "out.fpl"}, work.path(),
                             {{"VARNIX_REGISTRY", VARNIX_SOURCE_DIR "/data/demo/user.reg"}});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_text(work.path() / "out.fpl"), read_text(data / "batch_points.fpl"));
    EXPECT_EQ(read_text(work.path() / "out.cup"), read_text(data / "batch_points.cup"));
}

namespace {

// A task of a GPX route, an XCSoar task and an XContest task, with the batch file of the same
// points typed by hand.
const std::string gpx_file =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
    "<wpt lat=\"46.5\" lon=\"9.25\"><ele>450</ele><name>Home</name></wpt>\n"
    "<rte><name>Loop</name>\n"
    "<rtept lat=\"46.5\" lon=\"9.25\"><ele>450</ele><name>Home</name></rtept>\n"
    "<rtept lat=\"46.7125\" lon=\"9.170833\"><ele>2100.5</ele><name>Z\xC3\xBCri Peak</name></rtept>\n"
    "<rtept lat=\"46.5\" lon=\"9.25\"><ele>450</ele><name>Home</name></rtept>\n"
    "</rte></gpx>\n";
const std::string gpx_batch =
    "0 Home 46.5 9.25 450\n1 'Z\xC3\xBCri Peak' 46.7125 9.170833 2100.5\n2 Home 46.5 9.25 450\n";
const std::string tsk_file =
    "<Task type=\"RT\">\n"
    "<Point type=\"Start\"><Waypoint name=\"Home\" altitude=\"450.0\">"
    "<Location latitude=\"46.5\" longitude=\"9.25\"/></Waypoint></Point>\n"
    "<Point type=\"Area\"><Waypoint name=\"Pass\" altitude=\"1800.0\">"
    "<Location latitude=\"46.668750\" longitude=\"8.762500\"/></Waypoint></Point>\n"
    "<Point type=\"Finish\"><Waypoint name=\"Home\" altitude=\"450.0\">"
    "<Location latitude=\"46.5\" longitude=\"9.25\"/></Waypoint></Point>\n"
    "</Task>\n";
const std::string tsk_batch =
    "0 Home 46.5 9.25 450.0\n1 Pass 46.668750 8.762500 1800.0\n2 Home 46.5 9.25 450.0\n";
const std::string xctsk_file =
    R"({"taskType":"CLASSIC","version":1,"turnpoints":[)"
    R"({"type":"TAKEOFF","waypoint":{"name":"Home","lat":46.5,"lon":9.25,"altSmoothed":450}},)"
    R"({"type":"SSS","waypoint":{"name":"Start","lat":46.55,"lon":9.2,"altSmoothed":900}},)"
    R"({"waypoint":{"name":"Peak","lat":46.7125,"lon":9.170833,"altSmoothed":2100}},)"
    R"({"type":"ESS","waypoint":{"name":"Home","lat":46.5,"lon":9.25,"altSmoothed":450}}]})";
const std::string xctsk_batch =
    "0 Home 46.5 9.25 450\n1 Start 46.55 9.2 900\n2 Peak 46.7125 9.170833 2100\n"
    "3 Home 46.5 9.25 450\n";

}  // namespace

TEST_F(RealFiles, TaskFilesBecomeTheFlightPlanOfTheirPointsTyped) {
    struct Case {
        std::string file, bytes, task, batch, tasks_listed;
        std::string route;  // start > ... > finish of the .cup written ("" not checked)
    };
    const Case cases[] = {
        {"r.gpx", gpx_file, "Loop", gpx_batch,
         "1 \"Loop\": 3 points, 48.8 km: Home > Z\xC3\xBCri Peak > Home\n", ""},
        {"t.tsk", tsk_file, "", tsk_batch, "1 \"t\": 3 points, 83.6 km: Home > Pass > Home\n",
         "Home > Pass > Home\n"},
        {"x.xctsk", xctsk_file, "", xctsk_batch,
         "1 \"x\": 4 points, 49.3 km: Home > Start > Peak > Home\n", "Start > Peak > Home\n"},
    };
    const std::map<std::string, std::string> env{{"VARNIX_REGISTRY", store.string()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        write_text(dir.path() / c.file, c.bytes);
        write_text(dir.path() / "typed.txt", c.batch);
        std::vector<std::string> args = {"-batch", "-cup"};
        if (!c.task.empty()) args.insert(args.end(), {"-task", c.task});
        args.insert(args.end(), {"Alps", c.file, "out.fpl"});
        const RunResult r = run_varnix(args, dir.path(), env);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(run_varnix({"-batch", "Alps", "typed.txt", "typed.fpl"}, dir.path(), env).status,
                  0);
        EXPECT_EQ(read_text(dir.path() / "out.fpl"), read_text(dir.path() / "typed.fpl"));
        EXPECT_EQ(run_varnix({"-tasks", c.file}, dir.path(), env).out, c.tasks_listed);
        // The waypoint file's task, as open readers take it (field 2 the take-off).
        if (!c.route.empty()) {
            EXPECT_EQ(read_back("task", dir.path() / "out.cup"), c.route);
        }
    }
}

namespace {

// ASCII text as UTF-16 with its byte-order mark.
std::string utf16(const std::string& text, bool big_endian) {
    std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) out += big_endian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

}  // namespace

TEST_F(RealFiles, CupFaultsOfPublishedFiles) {
    const std::string a = "\"A\",A,,4630.000N,00915.000E,500m,1,,,,";
    const std::string b = "\"B\",B,,4636.000N,00918.000E,600m,1,,,,";
    const std::string a_north = "\"A\",A2,,4700.000N,00915.000E,700m,1,,,,";
    const std::string s2 = "\"S2\",S2,,4633.000N,00916.000E,650m,1,,,,";
    const std::string head = std::string(cup_header) + "\r\n";
    const std::string task = "-----Related Tasks-----\n\"T\",\"???\",\"A\",\"B\",\"A\",\"???\"\n";
    const RunCase cases[] = {
        {"a task naming a waypoint held at two places says which it took",
         {"-batch", "-task", "1", "Alps", "d.cup", "o.fpl"},
         {{"d.cup", head + a + "\n" + b + "\n" + a_north + "\n" + task}},
         0,
         "",
         " Warning: d.cup, line 6: the file holds the waypoint A at two places (lines 2 and 4): "
         "task T uses the first\n",
         {{"o.fpl", fpl_lines("0", "A", 46.5f, 9.25f, "500.000") +
                        fpl_lines("1", "B", 46.6f, 9.3f, "600.000") +
                        fpl_lines("2", "A", 46.5f, 9.25f, "500.000")}}},
        {"the other starts a task's options name are in the file written",
         {"-batch", "-cup", "-task", "1", "Alps", "s.cup", "o.fpl"},
         {{"s.cup", head + a + "\n" + b + "\n" + s2 + "\n" + task + "STARTS=\"S2\",\"A\"\n"}},
         0,
         "",
         "",
         {{"o.cup", head + a + "\r\n" + b + "\r\n" + s2 +
                        "\r\n-----Related Tasks-----\r\n\"T\",\"???\",\"A\",\"B\",\"A\",\"???\"\r\n"
                        "STARTS=\"S2\",\"A\"\r\n"}}},
        {"a UTF-16 file is read as its UTF-8",
         {"-batch", "-task", "1", "Alps", "u.cup", "o.fpl"},
         {{"u.cup", utf16(head + a + "\r\n" + b + "\r\n" + task, false)}},
         0,
         "",
         "",
         {{"o.fpl", fpl_lines("0", "A", 46.5f, 9.25f, "500.000") +
                        fpl_lines("1", "B", 46.6f, 9.3f, "600.000") +
                        fpl_lines("2", "A", 46.5f, 9.25f, "500.000")}}},
        {"a UTF-16 file of the other byte order",
         {"-tasks", "v.cup"},
         {{"v.cup", utf16(head + a + "\r\n" + b + "\r\n" + task, true)}},
         0,
         "1 \"T\": 3 points, 23.5 km: A > B > A\n",
         "",
         {}},
        {"a name outside Windows-1252 gets its closest spelling, said once",
         {"-batch", "Alps", "n.txt", "o.fpl"},
         {{"n.txt", "1 \xC5\x81\xC3\xB3\x64\xC5\xBA 46.5 9.25 0\n2 \xC5\x81\xC3\xB3\x64\xC5\xBA 46.6 9.3 0\n"}},
         0,
         "",
         " Warning: n.txt, line 1: name written L\xC3\xB3\x64z in the flight plan: Windows-1252 "
         "cannot hold all of its letters\n",
         {{"o.fpl", fpl_lines("1", "L\xF3\x64z", 46.5f, 9.25f, "0.000") +
                        fpl_lines("2", "L\xF3\x64z", 46.6f, 9.3f, "0.000")}}},
    };
    for (const RunCase& c : cases) check(c);
}
