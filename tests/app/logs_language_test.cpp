// Whole-program runs: logs that are never lost in a folder that cannot be written, the
// system's reason for an output that cannot be opened, and the pilot's language.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "fixture.hpp"

namespace {

// A folder this user cannot write to ("chattr +i" for root, whom permissions do not stop);
// writable again when the object goes.
class Unwritable {
  public:
    explicit Unwritable(fs::path dir) : dir_(std::move(dir)) {
        if (root_)
            ok_ = chattr("+i");
        else
            fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec), ok_ = true;
    }
    ~Unwritable() { root_ ? void(chattr("-i")) : fs::permissions(dir_, fs::perms::owner_all); }
    bool ok() const { return ok_; }

  private:
    bool chattr(const char* flag) const {
        const std::string command = "chattr " + std::string(flag) + " '" + dir_.string() + "'";
        return std::system((command + " 2>/dev/null").c_str()) == 0;
    }
    fs::path dir_;
    bool root_ = geteuid() == 0, ok_ = false;
};

class LogsAndLanguage : public ::testing::Test {
  protected:
    void SetUp() override {
        install.add_version(2);
        install.add_landscape(2, "Alps");
        store = install.write_store();
    }
    RunResult run(const std::vector<std::string>& args,
                  std::map<std::string, std::string> env = {}) {
        env.try_emplace("VARNIX_REGISTRY", store.string());
        env.try_emplace("XDG_STATE_HOME", state.path().string());
        return run_varnix(args, work.path(), env);
    }
    // A run in the locked work folder: its output goes elsewhere.
    RunResult run_locked(const std::vector<std::string>& args) {
        std::string command = "cd '" + work.path().string() + "' && env -i PATH=/usr/bin:/bin" +
                              " HOME='" + work.path().string() + "' LANG=C.UTF-8" +
                              " VARNIX_NO_DIALOGS=1 VARNIX_REGISTRY='" + store.string() +
                              "' XDG_STATE_HOME='" + state.path().string() + "'";
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"})
            if (const char* v = std::getenv(name))
                command += std::string(" ") + name + "='" + v + "'";
        command += " '" + std::string(VARNIX_BINARY) + "'";
        for (const std::string& a : args) command += " '" + a + "'";
        command += " > '" + (out.path() / "stdout").string() + "' 2> '" +
                   (out.path() / "stderr").string() + "'";
        const int status = std::system(command.c_str());
        return {read_text(out.path() / "stdout"), read_text(out.path() / "stderr"),
                WIFEXITED(status) ? WEXITSTATUS(status) : -1};
    }
    fs::path logs() const { return state.path() / "varnix"; }

    TempDir root, work, state, out;
    Installation install{root.path()};
    fs::path store;
};

TEST_F(LogsAndLanguage, AFolderThatCannotBeWrittenStillConvertsAndLogsToTheUsersFolder) {
    write_text(work.path() / "points.txt", "Landscape=Alps\n1,North,46.5,9.25,1000\n");
    Unwritable locked(work.path());
    if (!locked.ok()) GTEST_SKIP() << "no way to lock a folder here";

    RunResult point = run_locked({"Alps", "46.5", "9.25"});
    EXPECT_EQ(point.status, 0) << point.err;
    EXPECT_NE(point.out.find("TPPosX="), std::string::npos);

    const fs::path fpl = out.path() / "points.fpl";
    RunResult batch = run_locked({"-batch", "Alps", "points.txt", fpl.string()});
    EXPECT_EQ(batch.status, 0) << batch.err;
    EXPECT_TRUE(fs::exists(fpl));

    EXPECT_NE(read_text(logs() / "Logfile.txt").find("Volaro 2 install path"), std::string::npos);
    EXPECT_NE(read_text(logs() / "Varnix.log").find("points.txt"), std::string::npos);
    EXPECT_FALSE(fs::exists(work.path() / "Logfile.txt"));
    EXPECT_FALSE(fs::exists(work.path() / "Varnix.log"));
}

// A missing folder's reason is in the batch tests; here the locked one's.
TEST_F(LogsAndLanguage, AnOutputThatCannotBeOpenedNamesTheSystemsReason) {
    write_text(work.path() / "points.txt", "Landscape=Alps\n1,North,46.5,9.25,1000\n");
    Unwritable locked(work.path());
    if (!locked.ok()) GTEST_SKIP() << "no way to lock a folder here";
    const RunResult r = run_locked({"-batch", "Alps", "points.txt"});
    EXPECT_EQ(r.status, 2);
    const std::string reason = geteuid() == 0 ? "Operation not permitted" : "Permission denied";
    EXPECT_NE(r.err.find("points.fpl ***\n" + reason + "\n"), std::string::npos) << r.err;
}

TEST_F(LogsAndLanguage, StopMessagesInThePilotsLanguage) {
    const std::string fr =
        " Paysage Nowhere non install\xC3\xA9 ou endommag\xC3\xA9\nSTOP Paysage Nowhere : "
        "impossible de pr\xC3\xA9parer la conversion des coordonn\xC3\xA9"
        "es\n";
    const std::string de =
        " Landschaft Nowhere nicht installiert oder besch\xC3\xA4"
        "digt\nSTOP Landschaft Nowhere: "
        "Koordinatenumrechnung kann nicht vorbereitet werden\n";
    const std::string en =
        " Landscape Nowhere not installed or corrupted\n"
        "STOP Landscape Nowhere impossible to initialize coordinates conversion\n";
    struct Case {
        std::map<std::string, std::string> env;
        const std::string& err;  // UTF-8, as the terminal shows it
    };
    const Case cases[] = {
        {{{"LANG", "fr_FR.UTF-8"}}, fr},
        {{{"LC_ALL", "de_DE.UTF-8"}, {"LANG", "fr_FR.UTF-8"}}, de},
        {{{"LC_MESSAGES", "de_AT.UTF-8"}}, de},
        {{{"LANG", "en_GB.UTF-8"}}, en},
    };
    for (const Case& c : cases) {
        const RunResult r = run({"Nowhere", "46.5", "9.25"}, c.env);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out + r.err, c.err);
    }
    const RunResult help = run({"-help"}, {{"LANG", "de_DE.UTF-8"}});
    EXPECT_NE(help.out.find(" Aufruf:\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Landschaft Breite L\xC3\xA4nge"), std::string::npos) << help.out;
}

}  // namespace
