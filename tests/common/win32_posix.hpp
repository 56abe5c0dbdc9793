// The few POSIX calls the module tests use, for their Windows build (run under Wine); the
// build force-includes this header there.
#pragma once

#define _USE_MATH_DEFINES  // M_PI, as glibc gives it

#include <direct.h>
#include <sys/utime.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name) != nullptr) return 0;
    return _putenv_s(name, value);
}
// fs::path::c_str() gives wide text on Windows.
inline int setenv(const char* name, const wchar_t* value, int overwrite) {
    return setenv(name, std::filesystem::path(value).string().c_str(), overwrite);
}
inline int unsetenv(const char* name) { return _putenv_s(name, ""); }  // empty removes it

inline char* mkdtemp(char* tmpl) {
    if (_mktemp_s(tmpl, std::strlen(tmpl) + 1) != 0) return nullptr;
    return _mkdir(tmpl) == 0 ? tmpl : nullptr;
}

#ifndef AT_FDCWD
#define AT_FDCWD (-100)
#endif
inline int utimensat(int, const wchar_t* file, const timespec times[2], int) {
    __utimbuf64 t{times[0].tv_sec, times[1].tv_sec};
    return _wutime64(file, &t);
}
