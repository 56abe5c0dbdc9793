// Installation discovery on fixture Wine prefixes: versions found, their folders, the active
// version, and the documents folder from the registry and the environment.
#include "host/install.hpp"

#include <gtest/gtest.h>

#include "host/messages.hpp"
#include "host_test_util.hpp"
#include "include/common_data.hpp"

namespace {

class Prefix : public ::testing::Test {
  protected:
    void SetUp() override {
        reset_common_data();
        reset_messages();
        fs::create_directories(prefix() / "dosdevices");
        fs::create_directories(prefix() / "drive_c");
        fs::create_directory_symlink("../drive_c", prefix() / "dosdevices" / "c:");
        drive_c = fs::canonical(prefix() / "drive_c").string();
        docs = drive_c + "/users/pilot/Documents";
    }

    fs::path prefix() const { return tmp.path() / "prefix"; }

    // Install folder C:\VolaroN with its program and a log reading `log`.
    void add_install(int n, const std::string& log) {
        fs::path dir = prefix() / "drive_c" / ("Volaro" + std::to_string(n));
        write_file(dir / "Volaro.exe", "");
        write_file(dir / "Logs" / "Logfile.txt", log);
    }

    // The store; `keys` is added to the simulator keys and the shell folder.
    void write_store(const std::string& personal = "str(2):\"%USERPROFILE%\\\\Documents\"",
                     const std::string& keys = "") {
        std::string text = "WINE REGISTRY Version 2\n\n";
        text +=
            "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\User Shell "
            "Folders] 1\n\"Personal\"=" +
            personal + "\n\n";
        text +=
            "[Software\\\\Volaro2] 1\n\"InstallDir\"=\"C:\\\\Volaro2\"\n"
            "\"LastPlayer\"=\"J\\xfcrgen\"\n\n";
        text +=
            "[Software\\\\Volaro3] 1\n\"InstallDir\"=\"C:\\\\Volaro3\"\n"
            "\"LastPlayer\"=\"Anna\"\n\n";
        text += "[Volatile Environment] 1\n\"USERPROFILE\"=\"C:\\\\users\\\\pilot\"\n\n";
        text += keys;
        write_file(prefix() / "user.reg", text);
    }

    TempDir tmp, cwd;
    ChangeDir in_cwd{cwd.path()};  // the program log lands here
    EnvOverride env{{"VARNIX_REGISTRY", (tmp.path() / "prefix" / "user.reg").string()},
                    {"USERPROFILE", std::nullopt},
                    {"VARNIX_DEBUG", std::nullopt}};
    std::string drive_c, docs;
};

TEST_F(Prefix, FindsBothVersionsAndTheirFolders) {
    add_install(2, "Volaro version: 2150\r\n");
    add_install(3, "Volaro version: 3012\r\n");
    write_store();
    testing::internal::CaptureStdout();
    EXPECT_EQ(check_volaro_install(std::string(32, ' ')), 3);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const CommonData& cd = common_data;
    EXPECT_TRUE(cd.qc2 && cd.qc3);
    EXPECT_EQ(cd.instpath2, drive_c + "/Volaro2");
    EXPECT_EQ(cd.instpath3, drive_c + "/Volaro3");
    EXPECT_EQ(cd.pilpath2, docs + "/Volaro/Pilots/J\xC3\xBCrgen");  // a path: UTF-8
    EXPECT_EQ(cd.pilpath3, docs + "/Volaro3/Pilots/Anna");
    EXPECT_EQ(cd.rootpath2, docs + "/Volaro/");
    EXPECT_EQ(cd.rootpath3, docs + "/Volaro3/");
    // Undecided, with version 3's folders for the time being.
    EXPECT_EQ(cd.volaro_version, 0);
    EXPECT_EQ(cd.vlroinstpath, cd.instpath3);
    EXPECT_EQ(read_file(cwd.path() / "Logfile.txt"),
              "Volaro 2 install path: " + drive_c + "/Volaro2\nVolaro 3 install path: " + drive_c +
                  "/Volaro3\n");
}

TEST_F(Prefix, SimulatorLogDecidesWhetherAVersionIsInstalled) {
    struct Case {
        std::string log;
        int version;  // get_volaro_inst_dir's result
    };
    const Case cases[] = {
        {"Volaro version: 2150\n", 2},
        {"Volaro version:2999\r\nmore\n", 2},
        {"a\nb\nc\nd\ne\nVolaro version: 2100\n", 2},     // sixth line
        {"a\nb\nc\nd\ne\nf\nVolaro version: 2100\n", 0},  // seventh: too late
        {"Volaro version: abc\n", 0},
        {"volaro version: 2150\n", 0},
        {"", 0},
        {std::string(140, 'x') + "\nVolaro version: 2001", 2},  // long lines are one line each
    };
    write_store();
    for (const Case& c : cases) {
        add_install(2, c.log);
        std::string path;
        EXPECT_EQ(get_volaro_inst_dir(2, path, true), c.version) << c.log;
        EXPECT_EQ(path, drive_c + "/Volaro2");
    }
    fs::remove(prefix() / "drive_c" / "Volaro2" / "Logs" / "Logfile.txt");
    std::string path;
    EXPECT_EQ(get_volaro_inst_dir(2, path, true), 0);
}

TEST_F(Prefix, NoticesOnlyWhenNothingIsInstalled) {
    // Version 3 missing entirely: no notice in front of the results.
    add_install(2, "Volaro version: 2150\n");
    write_store();
    write_file(prefix() / "user.reg",
               read_file(prefix() / "user.reg")
                   .replace(read_file(prefix() / "user.reg").find("[Software\\\\Volaro3]"), 19,
                            "[Software\\\\Other3]"));
    testing::internal::CaptureStdout();
    EXPECT_EQ(check_volaro_install(""), 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(common_data.volaro_version, 2);
    EXPECT_EQ(common_data.vlropilpath, docs + "/Volaro/Pilots/J\xC3\xBCrgen");

    // Version 2's program gone, version 3's key missing: both told, nothing found.
    fs::remove(prefix() / "drive_c" / "Volaro2" / "Volaro.exe");
    testing::internal::CaptureStdout();
    EXPECT_EQ(check_volaro_install(""), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " *** Volaro3 installation not detected on this computer ***\n");
    EXPECT_FALSE(common_data.qc2 || common_data.qc3);
}

TEST_F(Prefix, InstallOnAnUnmappedDriveIsNotInstalled) {
    add_install(3, "Volaro version: 3012\n");
    write_store("\"C:\\\\Docs\"", "");
    std::string text = read_file(prefix() / "user.reg");
    text.replace(text.find("C:\\\\Volaro2"), 11, "D:\\\\Volaro2");
    write_file(prefix() / "user.reg", text);
    EXPECT_EQ(check_volaro_install(""), 3);
    EXPECT_FALSE(common_data.qc2);
    EXPECT_EQ(common_data.instpath2, "");
}

TEST_F(Prefix, DocumentsFolderFromTheEnvironment) {
    struct Case {
        std::string personal;
        std::vector<std::pair<const char*, std::string>> env;
        std::string root;  // the user-files root found, "" when none
    };
    const Case cases[] = {
        // Wine's own USERPROFILE when the process has none
        {"str(2):\"%USERPROFILE%\\\\Documents\"", {}, docs + "/Volaro/"},
        // the process environment first
        {"str(2):\"%USERPROFILE%\\\\Documents\"",
         {{"USERPROFILE", "C:\\users\\other"}},
         drive_c + "/users/other/Documents/Volaro/"},
        {"str(2):\"%USERPROFILE%\\\\Documents\"",
         {{"USERPROFILE", "/home/pilot"}},
         "/home/pilot/Documents/Volaro/"},
        // every variable is expanded, not only the first
        {"str(2):\"%VARNIX_T_DRIVE%%VARNIX_T_PATH%\\\\Docs\"",
         {{"VARNIX_T_DRIVE", "C:"}, {"VARNIX_T_PATH", "\\users\\x"}},
         drive_c + "/users/x/Docs/Volaro/"},
        {"\"C:\\\\My Docs\"", {}, drive_c + "/My Docs/Volaro/"},
        {"\"E:\\\\Docs\"", {}, ""},  // a drive the prefix lacks
    };
    for (const Case& c : cases) {
        write_store(c.personal);
        EnvOverride env{{"VARNIX_T_DRIVE", std::nullopt}, {"VARNIX_T_PATH", std::nullopt}};
        for (const auto& [name, value] : c.env) setenv(name, value.c_str(), 1);
        std::string root;
        EXPECT_EQ(get_volaro_2_path("", false, false, root), c.root.empty() ? 0 : 1) << c.personal;
        EXPECT_EQ(root, c.root) << c.personal;
        unsetenv("USERPROFILE");
    }
}

TEST_F(Prefix, UnsetVariableInTheDocumentsFolderIsReported) {
    write_store("str(2):\"%VARNIX_T_UNSET%\\\\Documents\"");
    EnvOverride env{{"VARNIX_T_UNSET", std::nullopt}};
    std::string folder = "3";
    testing::internal::CaptureStdout();
    EXPECT_EQ(get_volaro_user_path("", false, true, true, folder), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              " Error getting environment variable\nVARNIX_T_UNSET\n");
    EXPECT_EQ(folder, "");  // never the version selector left as a path
}

TEST_F(Prefix, PilotsFolderFallsBackToTheDocumentsWithoutAPlayer) {
    write_store("\"C:\\\\Docs\"",
                "[Software\\\\Volaro9] 1\n");  // keys without LastPlayer below
    std::string text = read_file(prefix() / "user.reg");
    text.erase(text.find("\"LastPlayer\"=\"Anna\"\n"), 20);
    write_file(prefix() / "user.reg", text);
    std::string folder = "3";
    EXPECT_EQ(get_volaro_2_path("", false, true, folder), 1);
    EXPECT_EQ(folder, drive_c + "/Docs");
}

TEST_F(Prefix, NoDocumentsFolderLeavesFoldersBlank) {
    add_install(2, "Volaro version: 2150\n");
    write_file(
        prefix() / "user.reg",
        "WINE REGISTRY Version 2\n[Software\\\\Volaro2] 1\n\"InstallDir\"=\"C:\\\\Volaro2\"\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(check_volaro_install(""), 2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(common_data.pilpath2.blank());
    EXPECT_TRUE(common_data.rootpath2.blank());
}

// The active version among two installations, from the modification times of four files.
TEST(ActiveVersion, MostRecentlyUsedInstallationWins) {
    struct Case {
        long long fpl3, fpl2, log3, log2;  // -1: file missing
        int version;
    };
    const Case cases[] = {
        {100, 200, 50, 50, 2},   // version 2's flight plan newer, logs older
        {-1, 100, 50, 300, 2},   // version 3 never flew; version 2's log the newest
        {-1, -1, -1, -1, 2},     // nothing to compare: version 2
        {100, 100, 50, 50, 3},   // a tie goes to the file met first
        {100, 50, 200, 150, 3},  // version 3's log the newest
        {50, 100, 200, 300, 2}, {0, 0, 0, 0, 2},  // times of 0 count as no time
        {0, -1, 5, -1, 3},
    };
    for (const Case& c : cases) {
        TempDir dir;
        auto place = [&](const fs::path& file, long long t) {
            if (t < 0) return;
            write_file(file, "x");
            set_mtime(file, t);
        };
        reset_common_data();
        CommonData& cd = common_data;
        cd.qc2 = cd.qc3 = true;
        for (int n : {2, 3}) {
            std::string s = std::to_string(n);
            (n == 2 ? cd.pilpath2 : cd.pilpath3) = (dir.path() / ("pil" + s)).string();
            (n == 2 ? cd.instpath2 : cd.instpath3) = (dir.path() / ("inst" + s)).string();
            (n == 2 ? cd.rootpath2 : cd.rootpath3) = (dir.path() / ("root" + s)).string();
        }
        place(dir.path() / "pil3" / "FlightPlan.fpl", c.fpl3);
        place(dir.path() / "pil2" / "FlightPlan.fpl", c.fpl2);
        place(dir.path() / "inst3" / "Logs" / "Logfile.txt", c.log3);
        place(dir.path() / "inst2" / "Logs" / "Logfile.txt", c.log2);
        get_active_volaro_version();
        std::string s = std::to_string(c.version);
        EXPECT_EQ(cd.volaro_version, c.version) << c.fpl3 << " " << c.fpl2 << " " << c.log3;
        EXPECT_EQ(cd.vlroinstpath, (dir.path() / ("inst" + s)).string());
        EXPECT_EQ(cd.vlropilpath, (dir.path() / ("pil" + s)).string());
        EXPECT_EQ(cd.vlrorootpath, (dir.path() / ("root" + s)).string());
    }
}

TEST(ActiveVersion, SingleInstallationIsActive) {
    for (int n : {2, 3}) {
        reset_common_data();
        common_data.qc2 = n == 2;
        common_data.qc3 = n == 3;
        common_data.instpath2 = "/two";
        common_data.instpath3 = "/three";
        get_active_volaro_version();
        EXPECT_EQ(common_data.volaro_version, n);
        EXPECT_EQ(common_data.vlroinstpath, n == 2 ? "/two" : "/three");
    }
}

TEST(InstallPath, FolderOfTheRunningProgram) {
    std::string dir = get_inst_path();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(dir.ends_with('/'));
    EXPECT_TRUE(fs::exists(fs::path(dir) / "test_host"));
}

}  // namespace
