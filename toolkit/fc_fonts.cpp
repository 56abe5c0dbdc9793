// The system's fonts on Linux, through fontconfig: the Windows file a form names when it is
// installed, else a metric-compatible family (Liberation, Croscore), else any font of the same
// role.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

#include "toolkit/cpw_font_files.hpp"
#include "toolkit/cpw_state.hpp"
#include "util/text.hpp"

namespace {

// Windows font files the forms name, with fonts that take their place where they are missing:
// first the metric-compatible families, then any installed font of the same role.
struct Substitute {
    const char* file;
    const char* pattern;  // fontconfig name of the Windows font
    const char* families[3];
    const char* role;  // fontconfig name of the generic family
    bool mono;
};
constexpr Substitute substitutes[] = {
    {"arial.ttf", "Arial", {"Arial", "Liberation Sans", "Arimo"}, "sans-serif", false},
    {"arialbd.ttf", "Arial:bold", {"Arial", "Liberation Sans", "Arimo"}, "sans-serif:bold", false},
    {"ariali.ttf",
     "Arial:italic",
     {"Arial", "Liberation Sans", "Arimo"},
     "sans-serif:italic",
     false},
    {"arialbi.ttf",
     "Arial:bold:italic",
     {"Arial", "Liberation Sans", "Arimo"},
     "sans-serif:bold:italic",
     false},
    {"cour.ttf", "Courier New", {"Courier New", "Liberation Mono", "Cousine"}, "monospace", true},
    {"courbd.ttf",
     "Courier New:bold",
     {"Courier New", "Liberation Mono", "Cousine"},
     "monospace:bold",
     true},
    {"couri.ttf",
     "Courier New:italic",
     {"Courier New", "Liberation Mono", "Cousine"},
     "monospace:italic",
     true},
    {"courbi.ttf",
     "Courier New:bold:italic",
     {"Courier New", "Liberation Mono", "Cousine"},
     "monospace:bold:italic",
     true},
    {"times.ttf",
     "Times New Roman",
     {"Times New Roman", "Liberation Serif", "Tinos"},
     "serif",
     false},
    {"timesbd.ttf",
     "Times New Roman:bold",
     {"Times New Roman", "Liberation Serif", "Tinos"},
     "serif:bold",
     false},
};

CpwFontFile file_of(FcPattern* p) {
    CpwFontFile f;
    FcChar8* file = nullptr;
    if (FcPatternGetString(p, FC_FILE, 0, &file) == FcResultMatch)
        f.path = reinterpret_cast<char*>(file);
    FcPatternGetInteger(p, FC_INDEX, 0, &f.index);
    return f;
}

// The best installed match for a fontconfig name; accepted when `accept` says so.
template <class Accept>
CpwFontFile fc_match(FcConfig* fc, const char* name, Accept accept) {
    CpwFontFile found;
    FcPattern* pat = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    if (pat == nullptr) return found;
    FcConfigSubstitute(fc, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult result = FcResultNoMatch;
    if (FcPattern* m = FcFontMatch(fc, pat, &result)) {
        if (accept(m)) found = file_of(m);
        FcPatternDestroy(m);
    }
    FcPatternDestroy(pat);
    return found;
}

}  // namespace

CpwFontFile cpw_find_system_font(CpwFontState& fs, std::string_view name) {
    if (fs.system_fonts == nullptr) fs.system_fonts = FcInitLoadConfigAndFonts();
    FcConfig* fc = static_cast<FcConfig*>(fs.system_fonts);
    if (fc == nullptr) return {};
    // The file itself, in any of the folders fontconfig knows.
    for (FcSetName which : {FcSetSystem, FcSetApplication}) {
        FcFontSet* set = FcConfigGetFonts(fc, which);
        for (int i = 0; set != nullptr && i < set->nfont; ++i) {
            CpwFontFile f = file_of(set->fonts[i]);
            if (case_blind_compare(std::filesystem::path(f.path).filename().string(), name))
                return f;
        }
    }
    const Substitute* sub = nullptr;
    for (const Substitute& s : substitutes)
        if (case_blind_compare(s.file, name)) sub = &s;
    if (sub == nullptr) return {};

    CpwFontFile f = fc_match(fc, sub->pattern, [&](FcPattern* m) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(m, FC_FAMILY, 0, &family) != FcResultMatch) return false;
        // An unknown family still "matches" some default font: only trust the named ones.
        const std::string_view got = reinterpret_cast<const char*>(family);
        return std::any_of(
            std::begin(sub->families), std::end(sub->families),
            [&](const char* want) { return want != nullptr && case_blind_compare(got, want); });
    });
    if (!f.path.empty()) return f;
    return fc_match(fc, sub->role, [&](FcPattern* m) {
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(m, FC_SPACING, 0, &spacing);
        return (spacing == FC_MONO) == sub->mono;
    });
}

void cpw_system_fonts_free(CpwFontState& fs) {
    if (fs.system_fonts != nullptr) FcConfigDestroy(static_cast<FcConfig*>(fs.system_fonts));
    fs.system_fonts = nullptr;
}
