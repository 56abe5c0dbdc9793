// Dialogs on Windows: the system's message box and its common dialogs for files, folders and
// colours, all through the wide calls. The form's window owns each, so it stays modal.
// These need windows.h before them.
// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
// clang-format on

#include <cstdio>

#include "host/console.hpp"
#include "host/platform.hpp"
#include "host/win32_text.hpp"
#include "util/cp1252.hpp"
#include "util/i18n.hpp"

namespace {

constexpr DWORD path_buffer = 32768;  // the longest path Windows has

UINT box_style(DialogButtons buttons, DialogIcon icon) {
    UINT style = MB_SETFOREGROUND;
    switch (buttons) {
        case DialogButtons::ok:
            style |= MB_OK;
            break;
        case DialogButtons::okcancel:
            style |= MB_OKCANCEL;
            break;
        case DialogButtons::yesno:
            style |= MB_YESNO;
            break;
        case DialogButtons::yesnocancel:
            style |= MB_YESNOCANCEL;
            break;
    }
    switch (icon) {
        case DialogIcon::info:
            style |= MB_ICONINFORMATION;
            break;
        case DialogIcon::warning:
            style |= MB_ICONWARNING;
            break;
        case DialogIcon::error:
            style |= MB_ICONERROR;
            break;
        case DialogIcon::question:
            style |= MB_ICONQUESTION;
            break;
    }
    return style;
}

// "Description\0*.a;*.b\0All files\0*.*\0\0" as the file dialogs want their filter.
std::wstring filter_of(const std::vector<std::string>& patterns, std::string_view description) {
    if (patterns.empty()) return {};
    std::wstring list;
    for (const std::string& p : patterns) list += (list.empty() ? L"" : L";") + widen(p);
    std::wstring filter = description.empty() ? list : widen(description);
    filter += L'\0';
    filter += list;
    filter += L'\0';
    // The choice Windows users expect, in the pilot's language.
    filter += widen(cp1252_to_utf8(translate("All files")));
    filter += L'\0';
    filter += L"*.*";
    filter += L'\0';
    return filter;
}

int CALLBACK select_start_folder(HWND window, UINT message, LPARAM, LPARAM start) {
    if (message == BFFM_INITIALIZED && start) SendMessageW(window, BFFM_SETSELECTIONW, TRUE, start);
    return 0;
}

std::optional<std::string> choose_folder(const std::wstring& title, const std::wstring& start) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    BROWSEINFOW info{};
    info.hwndOwner = GetActiveWindow();
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = select_start_folder;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    std::optional<std::string> chosen;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info)) {
        std::wstring path(path_buffer, L'\0');
        if (SHGetPathFromIDListEx(list, path.data(), path_buffer, GPFIDL_DEFAULT)) {
            path.resize(wcslen(path.c_str()));
            chosen = narrow(path);
        }
        CoTaskMemFree(list);
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return chosen;
}

}  // namespace

namespace platform {

bool message_box(std::string_view title, std::string_view text, DialogButtons buttons,
                 DialogIcon icon, int& answer) {
    const int pressed = MessageBoxW(GetActiveWindow(), widen(text).c_str(), widen(title).c_str(),
                                    box_style(buttons, icon));
    if (pressed == 0) return false;  // no box could be shown: the console tells instead
    console_box_shown(text);
    answer = pressed == IDOK || pressed == IDYES                        ? 1
             : pressed == IDNO && buttons == DialogButtons::yesnocancel ? 2
                                                                        : 0;
    return true;
}

bool file_dialog(FileDialogKind kind, std::string_view title, std::string_view default_path,
                 const std::vector<std::string>& patterns, std::string_view description,
                 std::optional<std::string>& chosen) {
    const std::wstring wtitle = widen(title);
    std::wstring start = widen(default_path);
    chosen.reset();
    if (kind == FileDialogKind::folder) {
        chosen = choose_folder(wtitle, start);
        return true;
    }
    // A default that names a folder opens there; a file name is offered as the name.
    const bool start_is_folder = !start.empty() && (start.back() == L'\\' || start.back() == L'/');
    std::wstring file(path_buffer, L'\0');
    if (!start_is_folder)
        start.copy(file.data(), std::min<std::size_t>(start.size(), path_buffer - 1));
    const std::wstring filter = filter_of(patterns, description);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = GetActiveWindow();
    ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = path_buffer;
    ofn.lpstrInitialDir = start_is_folder ? start.c_str() : nullptr;
    ofn.lpstrTitle = wtitle.empty() ? nullptr : wtitle.c_str();
    ofn.Flags = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_HIDEREADONLY;
    BOOL done = FALSE;
    if (kind == FileDialogKind::save) {
        ofn.Flags |= OFN_OVERWRITEPROMPT;
        done = GetSaveFileNameW(&ofn);
    } else {
        ofn.Flags |= OFN_FILEMUSTEXIST;
        done = GetOpenFileNameW(&ofn);
    }
    if (done) {
        file.resize(wcslen(file.c_str()));
        chosen = narrow(file);
    }
    return true;
}

bool color_dialog(std::string_view, std::string_view default_hex,
                  std::optional<std::string>& chosen) {
    static COLORREF custom[16];
    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = GetActiveWindow();
    cc.lpCustColors = custom;
    cc.Flags = CC_FULLOPEN;
    if (std::optional<int> rgb = parse_hex_colour(default_hex)) {
        cc.rgbResult = RGB((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF, *rgb & 0xFF);
        cc.Flags |= CC_RGBINIT;
    }
    chosen.reset();
    if (!ChooseColorW(&cc)) return true;
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(cc.rgbResult),
                  GetGValue(cc.rgbResult), GetBValue(cc.rgbResult));
    chosen = hex;
    return true;
}

}  // namespace platform
