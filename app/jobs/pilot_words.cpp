#include "app/jobs/pilot_words.hpp"

#include "geo/decode_coord.hpp"
#include "util/i18n.hpp"

namespace {

std::string with_part(std::string text, std::string_view part) {
    if (const std::size_t at = text.find("{2}"); at != std::string::npos) text.replace(at, 3, part);
    return text;
}

}  // namespace

std::string tasks_held_text(std::string_view file, std::size_t tasks, bool window) {
    const long long n = static_cast<long long>(tasks);
    if (window)
        return with_part(plural(n, "{2} holds {1} task: choose it in the Task list",
                                "{2} holds {1} tasks: choose one in the Task list"),
                         file);
    return with_part(
        plural(n,
               "{2} holds {1} task: -task N (from 1) or -task NAME converts one of them, "
               "-tasks lists them",
               "{2} holds {1} tasks: -task N (from 1) or -task NAME converts one of them, "
               "-tasks lists them"),
        file);
}

std::string lines_skipped_text(std::size_t skipped, std::string_view file) {
    return with_part(plural(static_cast<long long>(skipped), "{1} line skipped in {2}",
                            "{1} lines skipped in {2}"),
                     file);
}

std::string with_point_advice(std::string reason, std::string_view coordinate_text) {
    const std::string pointed = decimal_comma_as_point(coordinate_text);
    if (!pointed.empty()) reason += "; use a point: " + pointed;
    return reason;
}

std::string contents_text(std::size_t points, std::size_t tasks, std::size_t unreadable) {
    std::string text = plural(static_cast<long long>(points), "{1} point", "{1} points") + ", " +
                       plural(static_cast<long long>(tasks), "{1} task", "{1} tasks");
    if (unreadable > 0)
        text += ", " + plural(static_cast<long long>(unreadable), "{1} line cannot be read",
                              "{1} lines cannot be read");
    return text;
}
