// Whole-program runs: logs that are never lost in a folder that cannot be written, the
// system's reason for an output that cannot be opened, and the pilot's language.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <utility>

#include "fixture.hpp"

namespace {

// A folder this user cannot write to ("chattr +i" for root, whom permissions do not stop);
// writable again when the object goes.
struct Unwritable {
    explicit Unwritable(fs::path d) : dir(std::move(d)) {
        if (!root) fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    }
    ~Unwritable() { root ? void(chattr("-i")) : fs::permissions(dir, fs::perms::owner_all); }
    bool chattr(const std::string& flag) const {
        return std::system(("chattr " + flag + " '" + dir.string() + "' 2>/dev/null").c_str()) == 0;
    }
    fs::path dir;
    bool root = geteuid() == 0, ok = !root || chattr("+i");
};

class LogsAndLanguage : public AlpsInstalled {
  protected:
    std::map<std::string, std::string> env(std::map<std::string, std::string> more = {}) const {
        more.try_emplace("VARNIX_REGISTRY", store.string());
        more.try_emplace("XDG_STATE_HOME", state.path().string());
        return more;
    }
    // A run in the locked work folder: its output goes elsewhere.
    RunResult run_locked(std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"-c", "cd \"$0\" && exec \"$@\"", work.path().string(), VARNIX_BINARY});
        return run_program("/bin/sh", args, out.path(), env({{"HOME", work.path().string()}}));
    }
    fs::path logs() const { return state.path() / "varnix"; }

    TempDir work, state, out;
};

// A missing output folder's reason is in the batch tests; here the locked one's.
TEST_F(LogsAndLanguage, AFolderThatCannotBeWrittenStillConvertsAndLogsToTheUsersFolder) {
    write_text(work.path() / "points.txt", "Landscape=Alps\n1,North,46.5,9.25,1000\n");
    Unwritable locked(work.path());
    if (!locked.ok) GTEST_SKIP() << "no way to lock a folder here";

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

    const RunResult r = run_locked({"-batch", "Alps", "points.txt"});
    EXPECT_EQ(r.status, 2);
    const std::string reason = locked.root ? "Operation not permitted" : "Permission denied";
    EXPECT_NE(r.err.find("points.fpl ***\n" + reason + "\n"), std::string::npos) << r.err;
}

TEST_F(LogsAndLanguage, StopMessagesInThePilotsLanguage) {
    const std::string fr =
        " Paysage Nowhere non install\303\251 ou endommag\303\251\nSTOP Paysage Nowhere : "
        "impossible de pr\303\251parer la conversion des coordonn\303\251es\n";
    const std::string de =
        " Landschaft Nowhere nicht installiert oder besch\303\244digt\nSTOP Landschaft Nowhere: "
        "Koordinatenumrechnung kann nicht vorbereitet werden\n";
    const std::string en =
        " Landscape Nowhere not installed or corrupted\n"
        "STOP Landscape Nowhere impossible to initialize coordinates conversion\n";
    // The messages in UTF-8, as the terminal shows them.
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"LANG", "fr_FR.UTF-8"}}, fr},
        {{{"LC_ALL", "de_DE.UTF-8"}, {"LANG", "fr_FR.UTF-8"}}, de},
        {{{"LC_MESSAGES", "de_AT.UTF-8"}}, de},
        {{{"LANG", "en_GB.UTF-8"}}, en},
    };
    for (const auto& [vars, err] : cases) {
        const RunResult r = run_varnix({"Nowhere", "46.5", "9.25"}, work.path(), env(vars));
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out + r.err, err);
    }
    const RunResult help = run_varnix({"-help"}, work.path(), env({{"LANG", "de_DE.UTF-8"}}));
    EXPECT_NE(help.out.find(" Aufruf:\n"), std::string::npos) << help.out;
    EXPECT_NE(help.out.find("Landschaft Breite L\xC3\xA4nge"), std::string::npos) << help.out;
}

}  // namespace
