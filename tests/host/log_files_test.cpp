// Where the logs go: the current folder, else the user's own log folder; bounded by rotation;
// a message repeated in a run written once.
#include "host/log_files.hpp"

#include <gtest/gtest.h>

#include "host/files.hpp"
#include "host/messages.hpp"
#include "host/user_dirs.hpp"
#include "host_test_util.hpp"

namespace {

bool write_and_close(std::FILE* f, const std::string& text) {
    return f && std::fputs(text.c_str(), f) >= 0 && std::fclose(f) == 0;
}

// A name whose folder cannot be written: it lies under a file, which no user can change.
std::string unwritable_name(const TempDir& dir, const char* name) {
    write_file(dir.path() / "file", "");
    return (dir.path() / "file" / name).string();
}

TEST(LogFiles, TheCurrentFolderElseTheUsersOwn) {
    TempDir home, state, here;
    ChangeDir cd(here.path());
    struct Case {
        std::optional<std::string> xdg_state_home;
        bool writable;    // the log's own folder
        bool window;      // a window's run: never beside the pilot's files
        fs::path folder;  // where the logs go
    };
    const Case cases[] = {
        {state.path().string(), true, false, ""},
        {state.path().string(), false, false, state.path() / "varnix"},
        {std::nullopt, false, false, home.path() / ".local" / "state" / "varnix"},
        {"relative/state", false, false, home.path() / ".local" / "state" / "varnix"},  // ignored
        {state.path().string(), true, true, state.path() / "varnix"},
    };
    for (const Case& c : cases) {
        EnvOverride env{{"HOME", home.path().string()}, {"XDG_STATE_HOME", c.xdg_state_home}};
        for (const char* name : {"Logfile.txt", "Varnix.log", "frm_forms.log"}) {
            reset_log_files();
            if (c.window) keep_logs_in_user_folder();
            const std::string asked = c.writable ? name : unwritable_name(here, name);
            EXPECT_TRUE(write_and_close(open_log_file(asked, name[0] == 'L' ? "a" : "w"), "x\n"));
            EXPECT_EQ(log_file_path(asked), (c.folder / name).string());
            const bool here_too = c.writable && !c.window;
            const fs::path written = here_too ? here.path() / name : c.folder / name;
            EXPECT_EQ(read_file(written).substr(0, 2), "x\n") << name;
            if (here_too) {
                EXPECT_FALSE(fs::exists(state.path() / "varnix" / name));
            }
            EXPECT_EQ(fs::exists(here.path() / name), here_too) << name;
            fs::remove(written);
        }
    }
    reset_log_files();
}

TEST(LogFiles, AnAppendedLogPastTheBoundIsMovedAside) {
    for (const std::uintmax_t size : {log_rotate_bytes, log_rotate_bytes + 1}) {
        const bool moved = size > log_rotate_bytes;
        TempDir here;
        const fs::path log = here.path() / "Logfile.txt", old = here.path() / "Logfile.old.txt";
        write_file(log, std::string(size, 'o'));
        reset_log_files();
        write_and_close(open_log_file(log.string(), "a"), "new\n");
        EXPECT_EQ(read_file(log), moved ? "new\n" : std::string(size, 'o') + "new\n");
        EXPECT_EQ(fs::exists(old) ? fs::file_size(old) : 0, moved ? size : 0);
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
    // A long run stops remembering and writes every new message.
    for (int i = 0; i < 4096; ++i) log_message_f(std::to_string(i));
    for (int i = 0; i < 2; ++i) log_message_f("late");  // nothing left to remember it in
    log_message_f("0");                                 // remembered: still written once
    EXPECT_TRUE(read_file(here.path() / "Logfile.txt").ends_with("4095\nlate\nlate\n"));
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
