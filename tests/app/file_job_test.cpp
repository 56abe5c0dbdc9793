// The window's file job against the command line: the same files byte for byte, the same exit
// status, the stop's text and the warnings the console shows; and what an input holds.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/jobs/conversion_setup.hpp"
#include "app/jobs/file_job.hpp"
#include "fixture.hpp"
#include "host/registry.hpp"
#include "include/common_data.hpp"

namespace {

class FileJobs : public ::testing::Test {
  protected:
    void SetUp() override {
        install.add_version(2);
        install.add_landscape(2, "Alps", TrnHeader{1000, 1500, 0, 100, 100, 560000, 5100000});
        store = install.write_store();
        setenv("VARNIX_REGISTRY", store.c_str(), 1);
        setenv("VARNIX_NO_DIALOGS", "1", 1);
        registry_reset();  // the store is read once a process: each test has its own
        old_cwd = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(old_cwd);
        unsetenv("VARNIX_REGISTRY");
    }

    // Every file under `dir` with its bytes.
    static std::map<std::string, std::string> files_in(const fs::path& dir) {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file()) files[fs::relative(e.path(), dir).string()] = read_text(e);
        return files;
    }

    TempDir root;
    Installation install{root.path()};
    fs::path store, old_cwd;
};

struct JobCase {
    std::string what;
    std::map<std::string, std::string> files;  // written into both folders
    FileJob job;
    int status;
    std::string read_only = {};  // a file of `files` marked read-only in both folders
};

const std::string cup_tasks = read_text(fs::path(VARNIX_TEST_DATA) / "tasks.cup");

TEST_F(FileJobs, WritesWhatTheCommandLineWrites) {
    const std::string two = "1 A 46.5 9.25 100\n1 B 48.5 9.3 200\n";
    const JobCase cases[] = {
        {"a batch with warnings, and its .cup", {{"in.txt", two}}, {"Alps", "in.txt", "in.fpl", true, ""}, 0},
        {"a task of a .cup", {{"t.cup", cup_tasks}}, {"Alps", "t.cup", "t.fpl", true, "2"}, 0},
        {"a landscape named in another case", {{"t.cup", cup_tasks}}, {"alps", "t.cup", "o.fpl", false, ""}, 0},
        {"a .cup line skipped",
         {{"s.cup", "name,code,country,lat,lon,elev,style\n\"A\",A,,4630.000N,00915.000E,1m,1\n"
                    "\"B\",B,,99XX.000N,00915.000E,1m,1\n"}},
         {"Alps", "s.cup", "s.fpl", true, ""},
         3},
        {"a route of a GPX file",
         {{"r.gpx", "<gpx><wpt lat=\"46.5\" lon=\"9.25\"><name>A</name></wpt>\n<rte><name>R</name>"
                    "<rtept lat=\"46.6\" lon=\"9.3\"/><rtept lat=\"x\" lon=\"9\"/></rte></gpx>"}},
         {"Alps", "r.gpx", "r.fpl", true, "R"},
         2},
        {"a .cup task that lost a point",
         {{"b.cup", "name,code,country,lat,lon,elev,style\n\"A\",A,,4630.000N,00915.000E,1m,1\n"
                    "\"B\",B,,99XX.000N,00915.000E,1m,1\n-----Related Tasks-----\n\"T\",\"A\",\"B\",\"A\"\n"}},
         {"Alps", "b.cup", "b.fpl", false, "1"},
         2},
        {"a read-only output", {{"in.txt", two}, {"o.fpl", "mine"}}, {"Alps", "in.txt", "o.fpl", false, ""}, 2, "o.fpl"},
        {"a flight plan back to .cup", {{"p.fpl", read_text(fs::path(VARNIX_TEST_DATA) / "batch_points.fpl")}},
         {"Alps", "p.fpl", "p.cup", false, ""}, 0},
        {"a line that stops the batch", {{"in.txt", two + "3 C 46.5 9.25\n"}}, {"Alps", "in.txt", "o.fpl", true, ""}, 2},
        {"coordinates that stop it", {{"in.txt", two + "3 C 46.5 x 0\n"}}, {"Alps", "in.txt", "o.fpl", false, ""}, 2},
        {"no input", {}, {"Alps", "none.txt", "o.fpl", false, ""}, 2},
        {"a task of no .cup", {{"in.txt", two}}, {"Alps", "in.txt", "o.fpl", false, "1"}, 2},
        {"no such task", {{"t.cup", cup_tasks}}, {"Alps", "t.cup", "o.fpl", false, "9"}, 2},
        // A fault of the lowest layer (the disk refusing the bytes) reaches the user's message
        // and status through the one path.
        {"a disk that is full", {{"in.txt", two}}, {"Alps", "in.txt", "/dev/full", false, ""}, 2},
    };
    for (const JobCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir cli_dir, job_dir, plan_dir;
        for (const auto& [name, text] : c.files)
            for (const TempDir* d : {&cli_dir, &job_dir, &plan_dir}) write_text(d->path() / name, text);
        if (!c.read_only.empty())
            for (const TempDir* d : {&cli_dir, &job_dir, &plan_dir})
                fs::permissions(d->path() / c.read_only, fs::perms::owner_read | fs::perms::group_read);
        std::vector<std::string> args = {"-batch"};
        if (c.job.cup) args.push_back("-cup");
        if (!c.job.task.empty()) args.insert(args.end(), {"-task", c.job.task});
        args.insert(args.end(), {c.job.landscape, c.job.infile, c.job.outfile});
        const RunResult r = run_varnix(args, cli_dir.path(), {{"VARNIX_REGISTRY", store.string()}});

        fs::current_path(job_dir.path());
        common_data.landscape = "Before";
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const FileJobReport report = run_file_job(c.job);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(common_data.landscape.view(), "Before");

        EXPECT_EQ(report.status, c.status);
        EXPECT_EQ(r.status, c.status);
        std::string console;
        for (const std::string& w : report.warnings) console += w + "\n";
        if (!report.error.empty()) console += "STOP " + report.error + "\n";
        // The window points to its Task list where the console names options.
        std::string cli_err = r.err;
        const std::string advice = ": -task N (from 1) or -task NAME converts one of them, -tasks lists them";
        if (const auto at = cli_err.find(advice); at != std::string::npos)
            cli_err.replace(at, advice.size(), ": choose one in the Task list");
        EXPECT_EQ(console, cli_err);
        EXPECT_EQ(files_in(job_dir.path()), files_in(cli_dir.path()));
        // The same job run on the file as the window read it, without reading it again.
        fs::current_path(plan_dir.path());
        JobPlan plan;
        plan.job = c.job;
        const FileJobReport planned = run_plan(plan, open_job_file(c.job.infile));
        EXPECT_EQ(planned.status, c.status);
        EXPECT_EQ(planned.warnings, report.warnings);
        EXPECT_EQ(files_in(plan_dir.path()), files_in(cli_dir.path()));
        for (const std::string& out : report.outputs) EXPECT_TRUE(fs::exists(job_dir.path() / out)) << out;
    }
}

// The console shows 20 warnings of a kind; the window's log wants every one.
TEST_F(FileJobs, HoldsBackNoWarning) {
    TempDir dir;
    std::string text;
    for (int k = 0; k < 30; ++k) text += "1 P" + std::to_string(k) + " 46.5 9.25 100\n";
    write_text(dir.path() / "in.txt", text);
    fs::current_path(dir.path());
    std::vector<std::string> seen;
    const FileJobReport report = run_file_job(
        {"Alps", "in.txt", "in.fpl", false, ""}, [&seen](const std::string& w) { seen.push_back(w); });
    EXPECT_EQ(report.warning_count, 29u) << report.error;
    EXPECT_EQ(seen.size(), 29u);
    EXPECT_EQ(report.warnings, seen);
    EXPECT_NE(seen.back().find("line 30"), std::string::npos) << seen.back();
}

TEST_F(FileJobs, ALandscapeThatIsNotInstalledIsTheError) {
    TempDir dir;
    write_text(dir.path() / "in.txt", "1 A 46.5 9.25 0\n");
    fs::current_path(dir.path());
    const FileJobReport report = run_file_job({"Nowhere", "in.txt", "in.fpl", false, ""});
    EXPECT_EQ(report.status, 2);
    EXPECT_EQ(report.error, "Landscape Nowhere not installed or corrupted");
    EXPECT_FALSE(fs::exists(dir.path() / "in.fpl"));
}

struct ContentsCase {
    std::string what, file, text, landscape;
    std::vector<std::string> names;  // the points
    std::vector<std::vector<int>> tasks;
    std::string error;
};

TEST_F(FileJobs, ReadsWhatAFileHolds) {
    const ContentsCase cases[] = {
        {"a batch", "in.txt", "Landscape=Alps\n1 A 46.5 9.25 0\n2 'B c' 46.6 9.3 0\n", "Alps", {"A", "B c"}, {}, ""},
        {"a batch stops at a bad line", "in.txt", "1 A 46.5 9.25 0\n2 B 46.6 9.3\n3 C 46 9 0\n", "", {"A"}, {},
         "in.txt, line 2: 4 items where 5 are expected (number, name, latitude, longitude, altitude)"},
        {"a .cup with two tasks", "t.cup", cup_tasks, "",
         {"Home Field", "North Peak", "West Pass", "East Lake", "Outlanding 7", "Inline TP"},
         {{0, 1, 2, 0}, {3, 5, 3}}, ""},
        {"a flight plan", "p.fpl", "Landscape=Alps\nTPName1=A\nTPPosX1=10\nTPPosY1=20\nTPName2=B\nTPPosX2=30\n",
         "Alps", {"A"}, {{0}}, ""},
        {"an XCSoar task, whatever its name says", "t.txt",
         "<Task><Point><Waypoint name=\"A\"><Location latitude=\"46.5\" longitude=\"9\"/></Waypoint>"
         "</Point><Point><Waypoint name=\"B\"><Location latitude=\"46\" longitude=\"9\"/>"
         "</Waypoint></Point></Task>",
         "", {"A", "B"}, {{0, 1}}, ""},
        {"broken JSON", "t.xctsk", "{\"turnpoints\": [", "", {}, {},
         "*** Error reading batch file :t.xctsk, line 1: not JSON ***"},
        {"no file", "none.cup", "", "", {}, {}, "*** Impossible to open batch input file :none.cup ***"},
    };
    for (const ContentsCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (!c.text.empty()) write_text(dir.path() / c.file, c.text);
        fs::current_path(dir.path());
        // Kept in memory, or read as it streams by (a large file): the same contents.
        for (const std::uintmax_t hold_max : {OpenedFile::hold_max_bytes, std::uintmax_t(0)}) {
            const FileContents fc = open_job_file(c.file, hold_max).contents;
            EXPECT_EQ(fc.error, c.error);
            EXPECT_EQ(fc.landscape, c.landscape);
            std::vector<std::string> names;
            for (const FilePoint& p : fc.points) names.emplace_back(fc.name(p));
            EXPECT_EQ(names, c.names);
            std::vector<std::vector<int>> tasks;
            for (const FileTask& t : fc.tasks) tasks.push_back(t.points);
            EXPECT_EQ(tasks, c.tasks);
        }
    }
}

struct PlanCase {
    std::string what;
    std::map<std::string, std::string> files;  // in the folder before
    std::string infile;
    JobChoices choices;
    std::vector<std::string> writes, replaces;
    std::string refusal;  // its start
    bool read_only = false;  // the output marked read-only
};

// The plan names exactly the files the job writes, so the one question is about them.
TEST_F(FileJobs, PlansTheFilesItWrites) {
    const std::string broken =
        "name,code,country,lat,lon,elev,style\n\"A\",A,,4630.000N,00915.000E,1m,1\n"
        "\"B\",B,,99XX.000N,00915.000E,1m,1\n-----Related Tasks-----\n\"T\",\"A\",\"B\",\"A\"\n";
    const PlanCase cases[] = {
        {"the .cup is named after the landscape, not the input", {{"t.cup", cup_tasks}}, "t.cup",
         {"Alps", 0, "t.fpl", true}, {"t.fpl", "t_Alps.cup"}, {}, ""},
        {"both outputs exist", {{"t.cup", cup_tasks}, {"t.fpl", "x"}, {"t_Alps.cup", "mine"}}, "t.cup",
         {"Alps", 0, "t.fpl", true}, {"t.fpl", "t_Alps.cup"}, {"t.fpl", "t_Alps.cup"}, ""},
        {"a batch's .cup beside its plan", {{"in.txt", "1 A 46.5 9.25 0\n"}, {"o.cup", "y"}}, "in.txt",
         {"Alps", -1, "o.fpl", true}, {"o.fpl", "o.cup"}, {"o.cup"}, ""},
        {"a flight plan writes its .cup alone", {{"p.fpl", "TPName1=A\nTPPosX1=1\nTPPosY1=2\n"}}, "p.fpl",
         {"Alps", 0, "p.cup", true}, {"p.cup"}, {}, ""},
        {"a read-only output is refused", {{"o.fpl", "x"}, {"in.txt", "1 A 46.5 9.25 0\n"}}, "in.txt",
         {"Alps", -1, "o.fpl", false}, {"o.fpl"}, {}, "o.fpl is read-only", true},
        {"a task that lost a point is refused", {{"b.cup", broken}}, "b.cup", {"Alps", 0, "b.fpl", false},
         {"b.fpl"}, {}, "Task \"T\" of b.cup lost a point, so it is not converted: point \"B\", line 3"},
        {"no output", {{"t.cup", cup_tasks}}, "t.cup", {"Alps", 0, "", false}, {}, {},
         "Choose an output file first"},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        for (const auto& [name, text] : c.files) write_text(dir.path() / name, text);
        if (c.read_only) fs::permissions(dir.path() / c.choices.outfile, fs::perms::owner_read);
        fs::current_path(dir.path());
        const JobPlan plan = plan_job(open_job_file(c.infile), c.choices);
        EXPECT_EQ(plan.writes, c.writes);
        EXPECT_EQ(plan.replaces, c.replaces);
        EXPECT_EQ(plan.refusal.substr(0, c.refusal.size()), c.refusal);
    }
}

TEST_F(FileJobs, AFileChangedSinceItWasReadSaysSo) {
    TempDir dir;
    write_text(dir.path() / "t.cup", cup_tasks);
    const OpenedFile f = open_job_file((dir.path() / "t.cup").string());
    EXPECT_FALSE(f.changed());
    write_text(dir.path() / "t.cup", cup_tasks.substr(0, cup_tasks.size() - 20));
    EXPECT_TRUE(f.changed());
}

// The landscape a file without Landscape= opens on.
TEST_F(FileJobs, FindsTheLandscapeHoldingThePoints) {
    install.add_landscape(2, "Twin", TrnHeader{1000, 1500, 0, 100, 100, 560000, 5100000});
    install.add_landscape(2, "North", TrnHeader{1000, 1500, 0, 100, 100, 560000, 6000000});
    store = install.write_store();
    registry_reset();
    std::string why;
    const std::string folder = active_install_folder(why);
    ASSERT_EQ(why, "");
    FileContents c;
    c.add("A", 46.5f, 9.25f, false);
    c.add("B", 54.6f, 9.2f, false);
    c.add("C", 54.7f, 9.3f, false);
    c.tasks = {{"T", {0, 1}, {}, ""}};
    const struct {
        std::string what;
        std::vector<std::string> landscapes;
        int task;
        std::string best;
    } cases[] = {
        {"most of the points", {"Alps", "North"}, -1, "North"},
        {"most of the task's", {"Alps", "North", "Nowhere"}, 0, ""},  // one each: a tie
        {"the task's, without a tie", {"Alps"}, 0, "Alps"},
        {"two landscapes at one place", {"Alps", "Twin"}, -1, ""},
        {"none holds any", {}, -1, ""},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(landscape_holding(c, row.task, row.landscapes, folder), row.best);
    }
}

// A task that lost a point is marked by -tasks and refused by -task N, whatever its format.
TEST_F(FileJobs, ATaskThatLostAPointIsRefusedOnTheCommandLine) {
    const struct {
        std::string file, text, listed;
    } cases[] = {
        {"b.cup",
         "name,code,country,lat,lon,elev,style\n\"A\",A,,4630.000N,00915.000E,1m,1\n"
         "\"B\",B,,99XX.000N,00915.000E,1m,1\n-----Related Tasks-----\n\"T\",\"A\",\"B\",\"A\"\n",
         "1 \"T\": 3 points, ? km: A > B > A - a point lost: point \"B\", line 3: lat \"99XX.000N\" "
         "is not a latitude\n"},
        {"t.tsk",
         "<Task><Point type=\"Start\"><Waypoint name=\"A\"><Location latitude=\"46.5\" longitude=\"9\"/>"
         "</Waypoint></Point>\n<Point><Waypoint name=\"B\"><Location longitude=\"9\"/></Waypoint></Point>"
         "\n<Point type=\"Finish\"><Waypoint name=\"C\"><Location latitude=\"46\" longitude=\"9\"/>"
         "</Waypoint></Point></Task>\n",
         " - a point lost: line 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        write_text(dir.path() / c.file, c.text);
        const std::map<std::string, std::string> env{{"VARNIX_REGISTRY", store.string()}};
        const RunResult listed = run_varnix({"-tasks", c.file}, dir.path(), env);
        EXPECT_NE(listed.out.find(c.listed), std::string::npos) << listed.out;
        const RunResult r = run_varnix({"-batch", "-task", "1", "Alps", c.file, "o.fpl"}, dir.path(), env);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("lost a point, so it is not converted"), std::string::npos) << r.err;
        EXPECT_FALSE(fs::exists(dir.path() / "o.fpl"));
    }
}

TEST_F(FileJobs, DefaultOutputsBesideTheInput) {
    EXPECT_EQ(default_output("/a/b.c/pts.txt", false), "/a/b.c/pts.fpl");
    EXPECT_EQ(default_output("/a/Plan.FPL", true), "/a/Plan.cup");
    EXPECT_EQ(default_output("/a/noext", false), "/a/noext.fpl");
}

}  // namespace
