// The registry store reader on real Wine files and hand-written regedit exports, and the mapping
// of the Windows paths it holds to host paths.
#include "host/registry.hpp"

#include <gtest/gtest.h>

#include "host_test_util.hpp"

namespace {

const fs::path data_dir = VARNIX_TEST_DATA;

struct ValueCase {
    const char* key;
    const char* name;
    int status;
    std::string value;
};

void expect_values(const fs::path& store, const std::vector<ValueCase>& cases) {
    EnvOverride env{{"VARNIX_REGISTRY", store.string()}};
    for (const ValueCase& c : cases) {
        std::string value = "untouched";
        EXPECT_EQ(RdUsrReg(c.key, c.name, value), c.status) << c.key << " " << c.name;
        EXPECT_EQ(value, c.status == reg_ok ? c.value : "untouched") << c.key << " " << c.name;
    }
}

constexpr const char* test_app = "Software\\TestVendor\\TestApp";

TEST(RegistryStore, ReadsWineUserReg) {
    expect_values(
        data_dir / "wine-user.reg",
        {
            {"Software\\Volaro2\\", "InstallDir", reg_ok, "C:\\Program Files (x86)\\Volaro2"},
            {"SOFTWARE\\VOLARO2\\", "lastplayer", reg_ok, "J\xFCrgen"},
            {"software\\volaro3", "InstallDir", reg_ok, "D:\\Games\\Volaro3"},
            {test_app, "", reg_ok, "default value"},
            {test_app, "@", reg_ok, "default value"},
            {test_app, "Count", reg_ok, "42"},
            {test_app, "ExpandPath", reg_ok, "%USERPROFILE%\\Documents\\Test"},
            // \x takes at most four hex digits: u-umlaut, "a", the euro sign, "b"
            {test_app, "Hexnext", reg_ok,
             "\xFC"
             "a\x80"
             "b"},
            {test_app, "InstallDir", reg_ok, "C:\\Program Files\\Test App\\\"q\""},
            {test_app, "Multi", reg_ok, "one"},
            {test_app, "Unicode", reg_ok, "Z\xFCrich \xF1"},
            {test_app, "Blob", reg_ok, "\x01\x02\xAB\xFF"},
            {"Software\\TestVendor\\TestApp\\Sub", "X", reg_ok, "1"},
            {"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\",
             "Personal", reg_ok, "%USERPROFILE%\\Documents"},
            {"Volatile Environment", "USERPROFILE", reg_ok, "C:\\users\\root"},
            {"Software\\Volaro4\\", "InstallDir", reg_file_not_found, ""},
            {"Software\\Volaro2\\", "Missing", reg_file_not_found, ""},
            // a key's name is not one of its values, nor is a subkey's value its parent's
            {"Software\\TestVendor", "X", reg_file_not_found, ""},
        });
}

TEST(RegistryStore, ReadsUtf16RegeditExport) {
    expect_values(
        data_dir / "regedit-export-utf16.reg",
        {
            {"Software\\Volaro2\\", "InstallDir", reg_ok, "C:\\Program Files (x86)\\Volaro2"},
            {"Software\\Volaro2\\", "LastPlayer", reg_ok, "J\xFCrgen"},
            {"Software\\Volaro3\\", "InstallDir", reg_file_not_found, ""},
        });
}

// "%HOME%\Docs" as UTF-16LE bytes, wrapped as regedit wraps long hex values.
const std::string utf16_hex =
    "hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,5c,00,44,00,6f,00,\\\r\n"
    "  63,00,73,00,00,00\r\n";

TEST(RegistryStore, ReadsHandWrittenExports) {
    TempDir dir;
    write_file(dir.path() / "ansi.reg",
               "REGEDIT4\r\n\r\n"
               "; a comment\r\n"
               "[HKEY_LOCAL_MACHINE\\Software\\Volaro3]\r\n"
               "\"InstallDir\"=\"Z:\\\\wrong root\"\r\n\r\n"
               "[-HKEY_CURRENT_USER\\Software\\Volaro2]\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\Volaro3]\r\n"
               "\"InstallDir\"=\"E:\\\\Sim \xE9t\xE9\"\r\n"
               "\"Docs\"=hex(2):25,48,4f,4d,45,25,5c,44,6f,63,73,00\r\n"
               "\"Gone\"=-\r\n");
    write_file(dir.path() / "utf8.reg",
               "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_CURRENT_USER\\Software\\Volaro3]\r\n"
               "\"LastPlayer\"=\"Ren\xC3\xA9\"\r\n"
               "\"Docs\"=" +
                   utf16_hex + "\"Flags\"=dword:ffffffff\r\n");
    write_file(dir.path() / "long.reg", "WINE REGISTRY Version 2\n[Software\\\\A] 1\n\"Long\"=\"" +
                                            std::string(255, 'x') + "\"\n\"Fits\"=\"" +
                                            std::string(254, 'y') + "\"\n");
    expect_values(dir.path() / "ansi.reg",
                  {
                      {"Software\\Volaro3", "InstallDir", reg_ok, "E:\\Sim \xE9t\xE9"},
                      {"Software\\Volaro3", "Docs", reg_ok, "%HOME%\\Docs"},
                      {"Software\\Volaro3", "Gone", reg_file_not_found, ""},
                      {"Software\\Volaro2", "InstallDir", reg_file_not_found, ""},
                  });
    expect_values(dir.path() / "utf8.reg",
                  {
                      {"Software\\Volaro3", "LastPlayer", reg_ok, "Ren\xE9"},
                      {"Software\\Volaro3", "Docs", reg_ok, "%HOME%\\Docs"},
                      {"Software\\Volaro3", "Flags", reg_ok, "4294967295"},
                  });
    // The caller's buffer holds 254 characters and the terminator.
    expect_values(dir.path() / "long.reg",
                  {{"Software\\A", "Long", reg_more_data, ""},
                   {"Software\\A", "Fits", reg_ok, std::string(254, 'y')}});
}

TEST(RegistryStore, ValueTypePastThirtyTwoBitsIsNoValue) {
    TempDir dir;
    write_file(dir.path() / "types.reg",
               "WINE REGISTRY Version 2\n[Software\\\\A] 1\n"
               "\"Hex\"=hex(fffffffff):41,00\n\"Str\"=str(123456789):\"x\"\n"
               "\"Wide\"=hex(00000007):41,00,00,00\n\"Path\"=str(00000002):\"C:\\\\x\"\n");
    expect_values(dir.path() / "types.reg", {
                                                {"Software\\A", "Hex", reg_file_not_found, ""},
                                                {"Software\\A", "Str", reg_file_not_found, ""},
                                                {"Software\\A", "Wide", reg_ok, "A"},
                                                {"Software\\A", "Path", reg_ok, "C:\\x"},
                                            });
}

TEST(RegistryStore, MissingOrForeignStoreReadsNothing) {
    TempDir dir;
    write_file(dir.path() / "notes.txt", "[Software\\\\Volaro2]\n\"InstallDir\"=\"C:\\\\x\"\n");
    for (const fs::path& store :
         {dir.path() / "absent.reg", dir.path() / "notes.txt", dir.path()}) {
        EnvOverride env{{"VARNIX_REGISTRY", store.string()}};
        std::string value;
        EXPECT_EQ(RdUsrReg("Software\\Volaro2", "InstallDir", value), reg_no_store) << store;
    }
}

TEST(RegistryStore, LocationFollowsTheEnvironment) {
    TempDir home, prefix;
    {
        EnvOverride env{{"VARNIX_REGISTRY", std::nullopt},
                        {"WINEPREFIX", prefix.path().string()},
                        {"HOME", home.path().string()}};
        EXPECT_EQ(registry_store_path(), (prefix.path() / "user.reg").string());
        EXPECT_EQ(registry_prefix_dir(), prefix.path().string());
    }
    {
        EnvOverride env{{"VARNIX_REGISTRY", std::nullopt},
                        {"WINEPREFIX", std::nullopt},
                        {"HOME", home.path().string()}};
        EXPECT_EQ(registry_store_path(), (home.path() / ".wine" / "user.reg").string());
    }
    {
        // A hand-written store outside a prefix has no prefix.
        EnvOverride env{{"VARNIX_REGISTRY", (home.path() / "my.reg").string()},
                        {"WINEPREFIX", prefix.path().string()}};
        EXPECT_EQ(registry_store_path(), (home.path() / "my.reg").string());
        EXPECT_EQ(registry_prefix_dir(), "");
    }
}

TEST(PathMapping, WindowsPathsThroughThePrefix) {
    TempDir tmp;
    const fs::path prefix = tmp.path() / "prefix";
    const fs::path inst = prefix / "drive_c" / "Program Files (x86)" / "Volaro2";
    fs::create_directories(inst);
    fs::create_directories(prefix / "dosdevices");
    fs::create_directory_symlink("../drive_c", prefix / "dosdevices" / "c:");
    fs::create_directory_symlink("/", prefix / "dosdevices" / "z:");
    write_file(prefix / "user.reg", "WINE REGISTRY Version 2\n");
    EnvOverride env{{"VARNIX_REGISTRY", (prefix / "user.reg").string()}};
    const std::string drive_c = fs::canonical(prefix / "drive_c").string();

    const std::pair<const char*, std::string> cases[] = {
        {"C:\\Program Files (x86)\\Volaro2", drive_c + "/Program Files (x86)/Volaro2"},
        {"c:\\PROGRAM FILES (X86)\\volaro2\\", drive_c + "/Program Files (x86)/Volaro2/"},
        {"C:\\Program Files (x86)\\New\\Sub", drive_c + "/Program Files (x86)/New/Sub"},
        {"Z:\\usr\\bin", "/usr/bin"},
        {"D:\\Games\\Volaro3", ""},  // no such drive in the prefix
        {"\\\\server\\share\\x", ""},
        {"/opt/sim\\Volaro2", "/opt/sim/Volaro2"},
        {"drive_c\\Program Files (x86)", (prefix / "drive_c" / "Program Files (x86)").string()},
        {"  C:\\Program Files (x86)  ", drive_c + "/Program Files (x86)"},
        {"", ""},
    };
    for (const auto& [path, want] : cases) EXPECT_EQ(map_windows_path(path), want) << path;
}

TEST(PathMapping, DriveCWithoutDosdevices) {
    TempDir prefix;
    fs::create_directories(prefix.path() / "drive_c" / "Sim");
    EnvOverride env{{"VARNIX_REGISTRY", std::nullopt}, {"WINEPREFIX", prefix.path().string()}};
    EXPECT_EQ(map_windows_path("C:\\Sim"), (prefix.path() / "drive_c" / "Sim").string());
    EXPECT_EQ(map_windows_path("E:\\Sim"), "");
}

}  // namespace
