// The registry on Windows: the current user's registry itself, read only. VARNIX_REGISTRY
// still names a store file to read instead, for tests and odd set-ups.
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "host/console.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/platform.hpp"
#include "host/reg_file.hpp"
#include "host/registry.hpp"
#include "host/win32_text.hpp"
#include "util/text.hpp"

namespace {

constexpr std::size_t value_buffer = 255;  // the caller's buffer, terminator included
constexpr UINT text_code_page = 1252;      // values come back as the program's text

struct RegistryStore {
    bool located = false;
    std::string path;  // VARNIX_REGISTRY; "" for the system's registry
    bool read = false;
    RegFile file;
};
RegistryStore registry_store;

void locate() {
    if (registry_store.located) return;
    registry_store.located = true;
    registry_store.path = platform::get_env("VARNIX_REGISTRY").value_or("");
}

const RegFile& store() {
    locate();
    if (!registry_store.read) {
        registry_store.read = true;
        std::string bytes;
        if (std::FILE* f = open_file(registry_store.path, "rb")) {
            char buf[1 << 16];
            for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
            std::fclose(f);
            registry_store.file.load(std::move(bytes));
        }
    }
    return registry_store.file;
}

std::string to_text(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int n = WideCharToMultiByte(text_code_page, 0, wide.data(), int(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(text_code_page, 0, wide.data(), int(wide.size()), out.data(), n,
                            nullptr, nullptr);
    return out;
}

// A value of the system's registry as the store reader gives it.
int read_system_value(std::string_view subkey, std::string_view name, std::string& outval) {
    std::string key(subkey);
    while (!key.empty() && key.back() == '\\') key.pop_back();
    HKEY handle = nullptr;
    LONG status = RegOpenKeyExW(HKEY_CURRENT_USER, widen(key).c_str(), 0, KEY_QUERY_VALUE, &handle);
    diag("USER Open Status :", status);
    if (status != ERROR_SUCCESS) return int(status);

    const std::wstring wname = widen(name == "@" ? std::string_view{} : name);
    DWORD type = 0, size = 0;
    status = RegQueryValueExW(handle, wname.c_str(), nullptr, &type, nullptr, &size);
    std::wstring data((size + 1) / sizeof(wchar_t) + 1, L'\0');
    if (status == ERROR_SUCCESS)
        status = RegQueryValueExW(handle, wname.c_str(), nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
    RegCloseKey(handle);
    if (status != ERROR_SUCCESS) return int(status);

    std::string text;
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        data.resize(size / sizeof(wchar_t));
        text = to_text(std::wstring_view(data.c_str()));  // a multi-string: its first string
    } else if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD v = 0;
        std::memcpy(&v, data.data(), sizeof v);
        text = std::to_string(v);
    } else {
        text.assign(reinterpret_cast<const char*>(data.data()), size);
    }
    diag("Query Status, Length :", 0, text.size() + 1);
    if (text.size() + 1 > value_buffer) return reg_more_data;
    diag("value :", text);
    outval = std::move(text);
    return reg_ok;
}

}  // namespace

int RdUsrReg(std::string_view subkey, std::string_view name, std::string& outval) {
    locate();
    if (!registry_store.path.empty()) return read_store_value(store(), subkey, name, outval);
    diag("Subkey,name :", subkey, name);
    return read_system_value(subkey, name, outval);
}

bool registry_is_system() {
    locate();
    return registry_store.path.empty();
}

std::string registry_store_path() {
    locate();
    return registry_store.path;
}

std::string registry_prefix_dir() { return {}; }

std::string map_windows_path(std::string_view path) {
    std::string out = text_path(trim(path));
    if (out.empty()) return {};
    const bool absolute = (out.size() >= 3 && out[1] == ':' && is_path_separator(out[2])) ||
                          is_path_separator(out[0]);
    locate();
    // A relative path in a hand-written store is taken from the store's own folder.
    if (!absolute && !registry_store.path.empty()) {
        const std::string store_path = registry_store.path;
        out = path_join(store_path.substr(0, path_name_start(store_path)), out);
    }
    return out;
}

std::optional<std::string> prefix_environment(std::string_view) { return std::nullopt; }

void registry_reset() { registry_store = RegistryStore{}; }
