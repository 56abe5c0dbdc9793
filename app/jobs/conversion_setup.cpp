#include "app/jobs/conversion_setup.hpp"

#include "formats/fpl.hpp"
#include "geo/UTM.hpp"
#include "host/diag.hpp"
#include "host/files.hpp"
#include "host/install.hpp"
#include "host/messages.hpp"
#include "include/common_data.hpp"
#include "util/text.hpp"

bool outside_landscape(float x, float y) {
    return !(x >= 0 && x <= common_data.xmax && y >= 0 && y <= common_data.ymax);
}

std::string batch_output_name(const std::string& infile) {
    // A flight plan becomes a waypoint file of the same name.
    if (is_flight_plan_name(infile)) return infile.substr(0, infile.size() - 4) + ".cup";
    std::size_t name_start = infile.find_last_of('/');
    name_start = name_start == std::string::npos ? 0 : name_start + 1;
    std::size_t dot = infile.find('.', name_start);
    return (dot == std::string::npos ? infile : infile.substr(0, dot)) + ".fpl";
}

namespace {
std::string setup_failure;  // the words of the last failed init_conv
}  // namespace

std::string_view init_conv_failure() { return setup_failure; }

int init_conv() {
    constexpr std::string_view title = "Varnix";
    const bool qline = common_data.qline;
    setup_failure.clear();
    auto fail = [&](std::string_view msg) {
        setup_failure = msg;
        error_message(s_error, msg, qline);
        return 0;
    };
    if (common_data.landscape.blank()) return fail("No landscape specified");
    if (!require_volaro_install(title, qline)) return 0;
    get_active_volaro_version();
    std::string path(common_data.vlroinstpath.view());
    diag(path.size(), path_text(path));
    if (path.empty()) {
        // Told once: the console copy of the stop is the message itself.
        setup_failure = "*** No Volaro installation detected ***";
        if (!qline) error_message_tit(s_error, title, setup_failure, qline);
        return init_conv_no_install;
    }
    const std::string_view name = common_data.landscape.view();
    const std::string not_installed =
        "Landscape " + message_literal(path_text(name)) + " not installed or corrupted";
    // A landscape is a folder name: nothing outside the landscapes folder is read through it.
    if (name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos)
        return fail(not_installed);
    const std::string trnfile = landscape_header(path, name);
    diag("Trnfile=" + path_text(trnfile));
    bool exists = file_exists(trnfile);
    diag(tf(exists));
    if (!exists) return fail(not_installed);
    int result = utm_init(trnfile, common_data.xmax, common_data.ymax);
    diag(result);
    diag(common_data.xmax, common_data.ymax);
    if (result != 1) fail(not_installed);
    return result;
}

std::string active_install_folder(std::string& why) {
    if (check_volaro_install(std::string(32, ' ')) == 0) {
        why = "*** No Volaro installation found (2 or 3) ***";
        return {};
    }
    get_active_volaro_version();
    std::string path(common_data.vlroinstpath.view());
    if (path.empty()) why = "*** No Volaro installation detected ***";
    return path;
}

std::string landscape_setup(std::string_view name, LandscapeSetup& out, std::string_view install) {
    name = trim(name);
    if (name.empty()) return "No landscape specified";
    std::string why, folder(install);
    if (folder.empty()) folder = active_install_folder(why);
    if (folder.empty()) return why;
    const std::string not_installed =
        "Landscape " + message_literal(path_text(name)) + " not installed or corrupted";
    if (name == "." || name == ".." || name.find_first_of("/\\") != std::string_view::npos)
        return not_installed;
    const std::string trnfile = landscape_header(folder, name);
    if (trnfile.empty() || !file_exists(trnfile) ||
        utm_read(trnfile, out.projection, out.xmax, out.ymax) != 1)
        return not_installed;
    return {};
}
