#include "host/install.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/messages.hpp"
#include "host/platform.hpp"
#include "host/registry.hpp"
#include "host/timing.hpp"
#include "include/common_data.hpp"
#include "util/line_reader.hpp"
#include "util/numbers.hpp"
#include "util/text.hpp"

namespace {

constexpr std::string_view shell_folders_key =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\";
constexpr std::size_t player_max = 40;
constexpr int sim_log_lines = 6;
constexpr std::size_t sim_log_line_max = 132;
constexpr std::string_view version_tag = "Volaro version:";

std::string version_key(int nc) { return nc == 3 ? "SOFTWARE\\Volaro3\\" : "SOFTWARE\\Volaro2\\"; }

std::string sim_log(std::string_view inst) {
    return path_join(path_join(inst, "Logs"), "Logfile.txt");
}

// The simulator's major version from the first lines of its own log; 0 when none.
int sim_log_version(const std::string& log_name) {
    LineReader log;
    if (!log.open(open_file(log_name, "rb"))) return 0;
    std::string line;
    for (int i = 0; i < sim_log_lines && log.next(line); ++i) {
        line.resize(std::min(line.size(), sim_log_line_max));
        if (!line.starts_with(version_tag)) continue;
        std::int32_t version = 0;
        return read_free_int(std::string_view(line).substr(version_tag.size()), version)
                   ? version / 1000
                   : 0;
    }
    return 0;
}

// Modification time of `name` in `folder`; a blank folder has no files.
long long time_in(std::string_view folder, std::string_view name) {
    return folder.empty() ? -1 : modified_date(path_join(folder, name));
}

// Replaces every %NAME% by the variable's value; false (with `missing` set) when one is unset.
bool expand_variables(std::string& path, std::string& missing) {
    for (std::size_t start = path.find('%'); start != std::string::npos;
         start = path.find('%', start)) {
        std::size_t end = path.find('%', start + 1);
        if (end == std::string::npos) break;
        std::string name = path.substr(start + 1, end - start - 1);
        diag("ENV", name);
        std::string value;
        if (MyGetEnv(name, value) == 0) {
            missing = name;
            return false;
        }
        path.replace(start, end - start + 1, value);
        start += value.size();
    }
    return true;
}

// This notice always goes to the console, whatever the mode.
void not_detected(int nc) {
    std::string msg = "*** Volaro";
    msg += nc == 3 ? '3' : '2';
    msg += " installation not detected on this computer ***";
    error_message(s_info, msg, true);
}

void use_version(int version) {
    CommonData& cd = common_data;
    cd.volaro_version = version;
    cd.vlrorootpath = version == 3 ? cd.rootpath3 : cd.rootpath2;
    cd.vlropilpath = version == 3 ? cd.pilpath3 : cd.pilpath2;
    cd.vlroinstpath = version == 3 ? cd.instpath3 : cd.instpath2;
}

}  // namespace

int get_volaro_inst_dir(int nc, std::string& path, bool silent) {
    std::string value;
    int status = RdUsrReg(version_key(nc), "InstallDir", value);
    diag("status", status);
    if (status != reg_ok) {
        path.clear();
        if (!silent) not_detected(nc);
        return 0;
    }
    path = map_windows_path(value);
    std::string log_name = sim_log(path);
    diag(path_text(path));
    diag(path_text(log_name));
    if (path.empty()) return 0;  // the folder's drive exists nowhere on this system
    return sim_log_version(log_name);
}

namespace {

// What the check of one version found; `why` is empty when it is installed.
struct VersionCheck {
    bool key = false;  // the store has its InstallDir value
    std::string windows_path, host_path, why;
};

VersionCheck check_version(int nc, std::string& inst) {
    VersionCheck c;
    const int version = get_volaro_inst_dir(nc, inst, true);
    c.key = RdUsrReg(version_key(nc), "InstallDir", c.windows_path) == reg_ok;
    c.host_path = inst;
    const std::string log = sim_log(inst);
    if (!c.key) {
        c.why = "no InstallDir value";
    } else if (inst.empty()) {
        c.why = "its drive leads to no folder";
    } else if (inst.size() > common_data.instpath2.capacity) {
        c.why = "the folder's path is longer than " +
                std::to_string(common_data.instpath2.capacity) + " characters";
    } else if (!dir_exists(inst)) {
        c.why = "that folder does not exist";
    } else if (!file_exists(path_join(inst, "Volaro.exe"))) {
        c.why = "no Volaro.exe in that folder";
    } else if (version != nc) {
        c.why = "no \"" + std::string(version_tag) + "\" line with a number for version " +
                std::to_string(nc) + " in the first " + std::to_string(sim_log_lines) +
                " lines of " + path_text(log);
    }
    return c;
}

// The lines that tell a user what was tried when nothing was found.
std::string tried_lines(const VersionCheck (&checks)[2]) {
    const std::string store = registry_store_path();
    std::string text = registry_is_system()
                           ? "Registry read: HKEY_CURRENT_USER\\" + version_key(2) +
                                 "InstallDir, " + version_key(3) + "InstallDir"
                       : store.empty()       ? "No registry store found"
                       : !file_exists(store) ? "Registry store not found: " + path_text(store)
                                             : "Registry store read: " + path_text(store);
    for (int i = 0; i < 2; ++i) {
        const VersionCheck& c = checks[i];
        if (!c.key) continue;
        text += "\nVolaro" + std::to_string(i + 2) + " InstallDir " + c.windows_path;
        if (!c.host_path.empty()) text += " = " + path_text(c.host_path);
        text += ": " + c.why;
    }
    return text;
}

std::string last_tried;

}  // namespace

int check_volaro_install(std::string_view msgpltfldr) {
    CommonData& cd = common_data;
    std::string inst2, inst3;
    const VersionCheck checks[2] = {check_version(2, inst2), check_version(3, inst3)};
    cd.qc2 = checks[0].why.empty();
    cd.instpath2 = inst2;
    cd.qc3 = checks[1].why.empty();
    cd.instpath3 = inst3;
    // The notice for a missing version is kept until no version at all is found: with one
    // version installed it would only stand in front of every result.
    last_tried.clear();
    if (!cd.qc2 && !cd.qc3) {
        for (int nc : {2, 3})
            if (!checks[nc - 2].key) not_detected(nc);
        last_tried = tried_lines(checks);
    }

    int result = 0;
    if (cd.qc2) {
        // Quoted: one log line even though a host path holds the "/" line breaks.
        log_message_f("\"Volaro 2 install path: " + path_text(inst2) + "\"");
        std::string pil, root;
        get_volaro_2_path(msgpltfldr, false, true, pil);
        get_volaro_2_path(msgpltfldr, false, false, root);
        cd.pilpath2 = pil;
        cd.rootpath2 = root;
        result = 2;
    }
    if (cd.qc3) {
        log_message_f("\"Volaro 3 install path: " + path_text(inst3) + "\"");
        std::string pil = "3", root = "3";
        get_volaro_2_path(msgpltfldr, false, true, pil);
        get_volaro_2_path(msgpltfldr, false, false, root);
        cd.pilpath3 = pil;
        cd.rootpath3 = root;
        result = 3;
    }
    if (cd.qc2 && cd.qc3) {
        use_version(3);  // provisional until get_active_volaro_version decides
        cd.volaro_version = 0;
    } else if (cd.qc2 || cd.qc3) {
        use_version(result);
    }
    return result;
}

bool require_volaro_install(std::string_view title, bool qline) {
    if (check_volaro_install(std::string(32, ' ')) != 0) return true;
    std::string msg = "*** No Volaro installation found (2 or 3) ***";
    // The lines of what was tried hold paths: their "/" are no line breaks.
    for (std::string_view rest = last_tried; !rest.empty();) {
        const std::size_t nl = rest.find('\n');
        msg += "/" + message_literal(rest.substr(0, nl));
        rest = nl == std::string_view::npos ? std::string_view{} : rest.substr(nl + 1);
    }
    error_message_tit(s_error, title, msg, qline);
    log_message_f(msg);
    return false;
}

namespace {

// The entry of `folder` named `name`: the exact name first, else the same name without regard
// to case, as Windows finds it.
std::string entry_named(const std::string& folder, std::string_view name) {
    std::error_code ec;
    if (std::filesystem::exists(fs_path(path_join(folder, name)), ec)) return std::string(name);
    const std::string want = path_text(name);
    for (std::filesystem::directory_iterator it(fs_path(folder), ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        std::string entry = path_from_fs(it->path().filename());
        if (cp1252_equal_ci(path_text(entry), want)) return entry;
    }
    return {};
}

}  // namespace

std::string landscape_header(std::string_view install, std::string_view name) {
    const std::string landscapes = path_join(install, "Landscapes");
    const std::string folder = entry_named(landscapes, name);
    if (folder.empty()) return {};
    const std::string dir = path_join(landscapes, folder);
    const std::string header = entry_named(dir, folder + ".trn");
    if (header.empty()) return {};
    const std::string path = path_join(dir, header);
    return file_exists(path) ? path : std::string();
}

void get_active_volaro_version() {
    CommonData& cd = common_data;
    diag("get_active_volaro_version");
    diag("");
    int chosen = 0;
    if (cd.qc3 && !cd.qc2) {
        chosen = 3;
    } else if (cd.qc2 && !cd.qc3) {
        chosen = 2;
    } else if (cd.qc2 && cd.qc3) {
        // The most recently used installation wins; ties go to the file met first.
        struct Candidate {
            long long time;
            int version;
        };
        const Candidate files[] = {
            {time_in(cd.pilpath3.view(), "FlightPlan.fpl"), 3},
            {time_in(cd.pilpath2.view(), "FlightPlan.fpl"), 2},
            {time_in(cd.instpath3.view(), "Logs/Logfile.txt"), 3},
            {time_in(cd.instpath2.view(), "Logs/Logfile.txt"), 2},
        };
        Candidate newest = files[0].time > 0 ? files[0] : Candidate{0, 0};
        for (const Candidate& c : files)
            if (c.time > newest.time) newest = c;
        chosen = newest.version == 3 ? 3 : 2;
    }
    if (chosen != 0) use_version(chosen);
    diag(cd.volaro_version, path_text(cd.vlroinstpath.view()), path_text(cd.vlropilpath.view()));
}

int get_volaro_2_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot,
                      std::string& volarouserpath) {
    int found = get_volaro_user_path(msgpltfldr, qconfirm, qpilot, true, volarouserpath);
    diag("get_volaro_user_path=", found);
    return found;
}

int get_volaro_user_path(std::string_view msgpltfldr, bool qconfirm, bool qpilot, bool qdocreg,
                         std::string& volarouserpath) {
    diag(msgpltfldr, tf(qconfirm), tf(qpilot), tf(qdocreg), volarouserpath);
    bool v3 = trim(volarouserpath) == "3";
    std::string_view sub = v3 ? "Volaro3" : "Volaro";
    volarouserpath.clear();

    std::string docs;
    if (qdocreg) {
        std::string value;
        if (RdUsrReg(shell_folders_key, "Personal", value) != reg_ok) {
            diag(
                "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders "
                "NOT READABLE");
        } else {
            diag("path", value);
            std::string missing;
            if (!expand_variables(value, missing)) {
                error_message_tit(s_error, "get_volaro_user_path",
                                  "Error getting environment variable/" + missing,
                                  common_data.qline);
                return 0;
            }
            docs = map_windows_path(value);
        }
    }

    std::string folder;
    if (!docs.empty()) {
        std::string player;
        if (!qpilot) {
            folder = path_join(path_join(docs, sub), "");
        } else if (RdUsrReg(version_key(v3 ? 3 : 2), "LastPlayer", player) == reg_ok) {
            player.resize(std::min(player.size(), player_max));
            diag("player", player);
            folder = path_join(path_join(path_join(docs, sub), "Pilots"), text_path(player));
        } else {
            folder = docs;
        }
    }
    diag("Final Path :", path_text(folder));
    volarouserpath = folder;
    return folder.empty() ? 0 : 1;
}

std::string get_inst_path() {
    std::string exe = platform::executable_path();
    const std::size_t name_start = path_name_start(exe);
    if (name_start == 0) return {};
    exe.resize(name_start);
    if (exe.size() > 1 && exe[1] == ':')
        exe[0] = char(std::toupper(static_cast<unsigned char>(exe[0])));
    return exe;
}

std::size_t MyGetEnv(std::string_view name, std::string& value) {
    std::optional<std::string> v = platform::get_env(name);
    if (v && !v->empty()) {
        value = utf8_or_cp1252_to_cp1252(*v);
    } else {
        value = prefix_environment(name).value_or("");
    }
    return value.size();
}

bool installed_landscapes(std::vector<std::string>& names, bool qline) {
    constexpr std::size_t max_landscape_name = 64;  // what a list line holds of a name
    names.clear();
    if (!require_volaro_install("Error", qline)) return false;
    get_active_volaro_version();
    const std::string folder = path_join(common_data.vlroinstpath.view(), "Landscapes");
    for (const std::string& entry : list_folder(folder)) {
        // A list shows names as text; the converter finds the folder again by that text.
        const std::string name = path_text(entry);
        if (name.size() > max_landscape_name) continue;
        if (!file_exists(path_join(path_join(folder, entry), entry + ".trn"))) continue;
        names.push_back(name);
    }
    diag("landscapes in", path_text(folder), names.size());
    return true;
}
