// Windows-1252 at the boundaries (terminal, UTF-8 tools and files) and folder listings.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "host/console.hpp"
#include "host/files.hpp"
#include "host_test_util.hpp"

namespace {

TEST(Cp1252, EveryByteSurvivesUtf8) {
    for (int b = 1; b < 256; ++b) {
        std::string in(1, char(b)), out;
        EXPECT_TRUE(utf8_to_cp1252(cp1252_to_utf8(in), out)) << b;
        EXPECT_EQ(out, in) << b;
    }
}

TEST(Cp1252, ConversionsOfTypicalTexts) {
    struct Case {
        std::string cp1252, utf8;
    };
    const Case cases[] = {
        {"46\xB0"
         "30'N",
         "46\xC2\xB0"
         "30'N"},
        {"\x80 \x9F \xFF", "\xE2\x82\xAC \xC5\xB8 \xC3\xBF"},
        {"plain", "plain"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cp1252_to_utf8(c.cp1252), c.utf8);
        std::string out;
        EXPECT_TRUE(utf8_to_cp1252(c.utf8, out));
        EXPECT_EQ(out, c.cp1252);
    }
    const std::pair<std::string, std::string> bad[] = {
        {"\xE6\x97\xA5", "?"},  // outside Windows-1252
        {"a\xFF"
         "b",
         "a?b"},                  // not UTF-8
        {"\xC0\xAF", "??"},       // overlong
        {"\xED\xA0\x80", "???"},  // a surrogate
    };
    for (const auto& [in, want] : bad) {
        std::string out;
        EXPECT_FALSE(utf8_to_cp1252(in, out)) << in;
        EXPECT_EQ(out, want);
    }
}

TEST(Console, ArgumentsFromAUtf8Terminal) {
    EnvOverride env{{"LC_ALL", "C.UTF-8"}};
    console_init();
    const std::pair<std::string, std::string> cases[] = {
        {"46\xC2\xB0"
         "30'N",
         "46\xB0"
         "30'N"},
        {"46\xB0"
         "30'N",
         "46\xB0"
         "30'N"},  // already Windows-1252: kept
        {"\xE2\x82\xAC", "\x80"},
        {"\xE6\x97\xA5", "?"},
        {"ascii", "ascii"},
    };
    for (const auto& [arg, want] : cases) EXPECT_EQ(console_arg_to_cp1252(arg), want) << arg;
    EXPECT_EQ(console_from_cp1252("46\xB0"), "46\xC2\xB0");
}

TEST(Console, CPosixAndMissingLocalesCountAsUtf8) {
    // The README's own "46°30'N" example must work in a bare C locale and with a LANG naming a
    // UTF-8 locale that is not installed.
    for (const char* lang : {"C", "POSIX", "xx_NOWHERE.UTF-8"}) {
        EnvOverride env{{"LC_ALL", lang}};
        console_init();
        EXPECT_EQ(console_arg_to_cp1252("46\xC2\xB0"
                                        "30'N"),
                  "46\xB0"
                  "30'N")
            << lang;
        EXPECT_EQ(console_from_cp1252("trouv\xE9"
                                      "e"),
                  "trouv\xC3\xA9"
                  "e")
            << lang;
    }
    console_init();
}

TEST(Files, ListFolderAsWindowsSortsIt) {
    TempDir dir;
    for (const char* name : {"b.trn", "Alps", "alps2", ".hidden", "C", "\xC3\x84rger", "a"})
        write_file(dir.path() / name, "");
    fs::create_directory(dir.path() / "Zeta");
    EXPECT_EQ(
        list_folder(dir.path().string()),
        (std::vector<std::string>{"a", "Alps", "alps2", "b.trn", "C", "Zeta", "\xC3\x84rger"}));
    EXPECT_TRUE(list_folder((dir.path() / "none").string()).empty());
}

TEST(Files, Queries) {
    TempDir dir;
    write_file(dir.path() / "J\xC3\xBCrgen" / "FlightPlan.fpl", "");
    const std::string folder = dir.path().string() + "/J\xC3\xBCrgen";
    EXPECT_TRUE(dir_exists(folder));
    // A path is UTF-8 from end to end; the same name as Windows-1252 text is no path to it.
    EXPECT_FALSE(dir_exists(dir.path().string() + "/J\xFCrgen"));
    EXPECT_EQ(path_text(folder), dir.path().string() + "/J\xFCrgen");
    EXPECT_EQ(text_path(path_text(folder)), folder);
    EXPECT_TRUE(file_exists(path_join(folder, "FlightPlan.fpl")));
    EXPECT_FALSE(file_exists(folder));
    EXPECT_FALSE(file_exists(""));
    const std::array<std::array<const char*, 3>, 4> joins = {{
        {"/a", "b", "/a/b"},
        {"/a/", "b", "/a/b"},
        {"", "b", "b"},
        {"/a", "", "/a/"},
    }};
    for (const auto& [d, n, want] : joins) EXPECT_EQ(path_join(d, n), want);
}

// Replacing an output must not widen its permissions nor cut a link the user made to it.
TEST(AsideFile, KeepsPermissionsAndFollowsLinks) {
    TempDir dir;
    const std::string kept = dir.write("private.fpl", "old");
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const std::string real = dir.write("real.fpl", "old");
    const std::string link = dir.file("link.fpl");
    fs::create_symlink(real, link);
    for (const std::string& target : {kept, link}) {
        AsideFile out;
        ASSERT_TRUE(out.open(target)) << target;
        out.write("new");
        ASSERT_TRUE(out.commit()) << target;
        EXPECT_EQ(read_file(target), "new") << target;
    }
    EXPECT_EQ(fs::status(kept).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read_file(real), "new");
}

// A large output over an existing file is written out while it grows; it arrives whole.
TEST(AsideFile, ALargeOutputReplacingAFileArrivesWhole) {
    TempDir dir;
    const std::string target = dir.write("big.fpl", "old"), piece(std::size_t(1) << 20, 'x');
    AsideFile out;
    ASSERT_TRUE(out.open(target));
    for (int i = 0; i < 10; ++i) out.write(piece);  // past the first write-out at 8 MiB
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(fs::file_size(target), 10 * piece.size());
}

// Ctrl-C or a kill during a run leaves no temporary file beside the outputs.
TEST(AsideFile, AnInterruptedRunLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string target = dir.file("out.fpl");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AsideFile out;
        if (!out.open(target)) _exit(3);
        out.write("half");
        raise(SIGTERM);
        _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

// A pipe or device given as an output (/dev/stdout) is written to; replacing it would remove it.
TEST(AsideFile, WritesIntoAPipeInPlace) {
    TempDir dir;
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    AsideFile out;
    ASSERT_TRUE(out.open(pipe));
    out.write("new");
    EXPECT_TRUE(out.commit());
    char got[8] = {};
    EXPECT_EQ(::read(reader, got, sizeof got), 3);
    EXPECT_STREQ(got, "new");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(pipe));
}

}  // namespace
