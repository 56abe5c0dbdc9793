// Where the logs go: the current folder, else the user's own log folder; bounded by rotation;
// a message repeated in a run written once.
#include "host/log_files.hpp"

#include <gtest/gtest.h>

#include "host/files.hpp"
#include "host/messages.hpp"
#include "host/user_dirs.hpp"
#include "host_test_util.hpp"

namespace {

std::string write_and_close(std::FILE* f, const std::string& text) {
    if (!f) return "not opened";
    std::fputs(text.c_str(), f);
    std::fclose(f);
    return "";
}

// A name whose folder cannot be written: it lies under a file, which no user can change.
std::string unwritable_name(const TempDir& dir, const char* name) {
    write_file(dir.path() / "file", "");
    return (dir.path() / "file" / name).string();
}

TEST(LogFiles, TheUsersFolderWhenTheLogsOwnCannotBeWritten) {
    TempDir home, state, here;
    struct Case {
        std::optional<std::string> xdg_state_home;
        fs::path folder;  // where the logs go
    };
    const Case cases[] = {
        {state.path().string(), state.path() / "varnix"},
        {std::nullopt, home.path() / ".local" / "state" / "varnix"},
        {"relative/state", home.path() / ".local" / "state" / "varnix"},  // to be ignored
    };
    for (const Case& c : cases) {
        EnvOverride env{{"HOME", home.path().string()}, {"XDG_STATE_HOME", c.xdg_state_home}};
        for (const char* name : {"Logfile.txt", "Varnix.log", "frm_forms.log"}) {
            reset_log_files();
            const std::string asked = unwritable_name(here, name);
            EXPECT_EQ(write_and_close(open_log_file(asked, name[0] == 'L' ? "a" : "w"), "x\n"), "")
                << name;
            EXPECT_EQ(log_file_path(asked), (c.folder / name).string());
            EXPECT_EQ(read_file(c.folder / name).substr(0, 2), "x\n") << name;
        }
    }
    reset_log_files();
}

TEST(LogFiles, TheCurrentFolderWhenItCanBeWritten) {
    TempDir here, state;
    EnvOverride env{{"XDG_STATE_HOME", state.path().string()}};
    ChangeDir cd(here.path());
    reset_log_files();
    EXPECT_EQ(write_and_close(open_log_file("Varnix.log", "w"), "x\n"), "");
    EXPECT_EQ(read_file(here.path() / "Varnix.log"), "x\n");
    EXPECT_EQ(log_file_path("Varnix.log"), "Varnix.log");
    EXPECT_FALSE(fs::exists(state.path() / "varnix" / "Varnix.log"));
    reset_log_files();
}

TEST(LogFiles, AnAppendedLogPastTheBoundIsMovedAside) {
    struct Case {
        std::uintmax_t size;
        bool moved;
    };
    const Case cases[] = {{log_rotate_bytes, false}, {log_rotate_bytes + 1, true}};
    for (const Case& c : cases) {
        TempDir here;
        const std::string old_text(c.size, 'o');
        write_file(here.path() / "Logfile.txt", old_text);
        reset_log_files();
        write_and_close(open_log_file((here.path() / "Logfile.txt").string(), "a"), "new\n");
        EXPECT_EQ(read_file(here.path() / "Logfile.txt"), c.moved ? "new\n" : old_text + "new\n");
        EXPECT_EQ(fs::exists(here.path() / "Logfile.old.txt"), c.moved);
        if (c.moved) {
            EXPECT_EQ(fs::file_size(here.path() / "Logfile.old.txt"), c.size);
        }
    }
    reset_log_files();
}

TEST(ProgramLog, AMessageRepeatedInARunIsWrittenOnce) {
    TempDir here;
    ChangeDir cd(here.path());
    reset_messages();
    for (int run = 0; run < 2; ++run) {
        for (int i = 0; i < 3; ++i) log_message_f("\"Volaro 2 install path: C:\\Volaro2\"");
        log_message_f("other");
        reset_messages();  // the next run
    }
    EXPECT_EQ(read_file(here.path() / "Logfile.txt"),
              "Volaro 2 install path: C:\\Volaro2\nother\n"
              "Volaro 2 install path: C:\\Volaro2\nother\n");
}

TEST(ProgramLog, ALongRunStopsRememberingAndWritesEveryNewMessage) {
    TempDir here;
    ChangeDir cd(here.path());
    reset_messages();
    for (int i = 0; i < 4096; ++i) log_message_f(std::to_string(i));
    for (int i = 0; i < 2; ++i) log_message_f("late");  // nothing left to remember it in
    log_message_f("0");                                 // remembered: still written once
    const std::string log = read_file(here.path() / "Logfile.txt");
    EXPECT_TRUE(log.ends_with("4095\nlate\nlate\n")) << log.substr(log.size() - 40);
    reset_messages();
}

TEST(AsideFile, AFailedOpenKeepsTheSystemsReason) {
    TempDir here;
    const std::pair<std::string, std::string> cases[] = {
        {(here.path() / "missing" / "out.fpl").string(), "No such file or directory"},
        {unwritable_name(here, "out.fpl"), "Not a directory"},
        {(here.path() / "fine.fpl").string(), ""},
    };
    for (const auto& [target, reason] : cases) {
        AsideFile f;
        EXPECT_EQ(f.open(target), reason.empty()) << target;
        EXPECT_EQ(f.failure_reason(), reason) << target;
    }
}

}  // namespace
