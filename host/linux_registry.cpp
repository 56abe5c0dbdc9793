// The registry on Linux: a registry text file, normally the user.reg of a Wine prefix.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/platform.hpp"
#include "host/reg_file.hpp"
#include "host/registry.hpp"
#include "util/text.hpp"

namespace fs = std::filesystem;

namespace {

struct RegistryStore {
    bool located = false;
    std::string path;    // host encoding
    std::string prefix;  // host encoding; "" outside a Wine prefix
    bool read = false;
    RegFile file;
};
RegistryStore registry_store;

std::string env(const char* name) { return platform::get_env(name).value_or(""); }

bool is_prefix(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir / "dosdevices", ec) || fs::is_directory(dir / "drive_c", ec);
}

void locate() {
    if (registry_store.located) return;
    registry_store.located = true;
    if (std::string explicit_store = env("VARNIX_REGISTRY"); !explicit_store.empty()) {
        registry_store.path = explicit_store;
        fs::path dir = fs::path(explicit_store).parent_path();
        if (is_prefix(dir)) {
            registry_store.prefix = dir.string();
        } else {
            // An export kept elsewhere still names the drives of the prefix it came from.
            std::string prefix = env("WINEPREFIX");
            if (prefix.empty() && !env("HOME").empty())
                prefix = (fs::path(env("HOME")) / ".wine").string();
            if (!prefix.empty() && is_prefix(prefix)) registry_store.prefix = prefix;
        }
    } else if (std::string prefix = env("WINEPREFIX"); !prefix.empty()) {
        registry_store.path = (fs::path(prefix) / "user.reg").string();
        registry_store.prefix = prefix;
    } else if (std::string home = env("HOME"); !home.empty()) {
        registry_store.prefix = (fs::path(home) / ".wine").string();
        registry_store.path = (fs::path(registry_store.prefix) / "user.reg").string();
    }
}

bool read_whole_file(const std::string& path, std::string& bytes) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        bytes.resize(std::size_t(st.st_size));
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0) break;
            done += std::size_t(n);
        }
        bytes.resize(done);
    }
    close(fd);
    return ok;
}

const RegFile& store() {
    locate();
    if (!registry_store.read) {
        registry_store.read = true;
        std::string bytes;
        if (!registry_store.path.empty() && read_whole_file(registry_store.path, bytes))
            registry_store.file.load(std::move(bytes));
    }
    return registry_store.file;
}

// `rest` ("a/b/c") under `dir`, each name matched without case when the exact one is missing.
fs::path resolve_names(fs::path dir, std::string_view rest) {
    std::error_code ec;
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        std::string_view name = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (name.empty()) continue;
        fs::path exact = dir / std::string(name);
        if (!fs::exists(exact, ec)) {
            std::string want = path_text(name);
            for (fs::directory_iterator it(dir, ec); !ec && it != fs::directory_iterator();
                 it.increment(ec)) {
                if (cp1252_equal_ci(path_text(it->path().filename().string()), want)) {
                    exact = it->path();
                    break;
                }
            }
        }
        dir = exact;
    }
    return dir;
}

}  // namespace

int RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval) {
    return read_store_value(store(), subkey, name, outval);
}

bool registry_is_system() { return false; }

std::string registry_store_path() {
    locate();
    return registry_store.path;
}

std::string registry_prefix_dir() {
    locate();
    return registry_store.prefix;
}

std::string map_windows_path(std::string_view path) {
    path = trim(path);
    std::string rest;
    if (path.starts_with('/')) {
        rest = text_path(path);
        std::replace(rest.begin(), rest.end(), '\\', '/');
        return rest;
    }
    bool drive = path.size() >= 2 && path[1] == ':' &&
                 ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    locate();
    if (!drive) {
        // A relative path in a hand-written store is taken from the store's own folder; UNC
        // and drive-relative paths mean nothing here.
        if (path.empty() || path.starts_with('\\') || registry_store.path.empty()) return {};
        rest.assign(path);
        std::replace(rest.begin(), rest.end(), '\\', '/');
        fs::path dir = fs::path(registry_store.path).parent_path();
        return resolve_names(dir.empty() ? fs::path(".") : dir, text_path(rest)).string();
    }
    if (registry_store.prefix.empty()) return {};
    rest.assign(path.substr(2));
    std::replace(rest.begin(), rest.end(), '\\', '/');

    char letter = char(path[0] | 0x20);
    fs::path prefix(registry_store.prefix);
    fs::path link = prefix / "dosdevices" / (std::string(1, letter) + ":");
    std::error_code ec;
    fs::path root;
    if (fs::exists(link, ec)) {
        root = fs::canonical(link, ec);
        if (ec) root = link;
    } else if (letter == 'c' && fs::is_directory(prefix / "drive_c", ec)) {
        root = prefix / "drive_c";
    } else {
        return {};
    }
    std::string mapped = resolve_names(root, text_path(rest)).string();
    if (rest.ends_with('/') && !mapped.ends_with('/')) mapped += '/';
    return mapped;
}

std::optional<std::string> prefix_environment(std::string_view name) {
    locate();
    if (registry_store.prefix.empty()) return std::nullopt;
    const RegFile& file = store();
    RegValue value;
    bool key_found = false;
    for (std::string_view key : {"Volatile Environment", "Environment"})
        if (file.query(key, name, value, key_found) && value.type != reg_binary)
            return value.data.substr(0, value.data.find('\0'));
    if (cp1252_equal_ci(name, "USERPROFILE")) {
        std::string user = platform::user_name();
        if (!user.empty()) return "C:\\users\\" + utf8_or_cp1252_to_cp1252(user);
    }
    return std::nullopt;
}

void registry_reset() { registry_store = RegistryStore{}; }
