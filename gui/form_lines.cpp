// The lines panel: lines an application shows over its form (the warnings of a run, say), each
// whole however long, broken at blanks to the panel's width and scrolled, until the pilot closes
// the panel. While it is shown the form underneath takes no mouse and no keys.
#include <algorithm>
#include <string>
#include <vector>

#include "gui/form_view.hpp"
#include "host/clipboard.hpp"
#include "util/i18n.hpp"

namespace {

enum : int {
    vk_return = 0x0D,
    vk_escape = 0x1B,
    vk_space = 0x20,
    vk_prior = 0x21,
    vk_next = 0x22,
    vk_end = 0x23,
    vk_home = 0x24,
    vk_up = 0x26,
    vk_down = 0x28,
};
constexpr int ch_copy = 3;  // Ctrl+C: every line, for a mail or a forum
constexpr int margin = 10, inset = 6;
constexpr int close_width = 100;
constexpr int wheel_rows = 3;

int text_width(std::string_view s) {
    const auto& v = form_view();
    return frm_text_box(v.Txt_Font, v.font_size, s).width;
}

// Appends `line` broken into rows of at most `width` pixels: at blanks, and within a word only
// when the word alone is wider than a row.
void wrap(std::string_view line, int width, std::vector<std::string>& rows) {
    std::string row;
    auto flush = [&] {
        rows.push_back(row);
        row.clear();
    };
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t blank = line.find(' ', at);
        const std::size_t end = blank == std::string_view::npos ? line.size() : blank;
        const std::string_view word = line.substr(at, end - at);
        const std::string candidate =
            row.empty() ? std::string(word) : row + " " + std::string(word);
        if (text_width(candidate) <= width) {
            row = candidate;
        } else {
            if (!row.empty()) flush();
            for (char c : word) {  // a word alone too wide: cut where the row is full
                if (!row.empty() && text_width(row + c) > width) flush();
                row += c;
            }
        }
        at = end + 1;
    }
    flush();
}

int last_top() {
    const LinesPanel& p = form_view().panel;
    return std::max(0, int(p.rows.size()) - p.room);
}

void scroll_to(int top) {
    LinesPanel& p = form_view().panel;
    p.top = std::clamp(top, 0, last_top());
    frm_post_redraw();
}

void close_panel() {
    LinesPanel& p = form_view().panel;
    p = LinesPanel{};
    frm_post_redraw();
}

bool inside(const Rect& r, int x, int y) { return r[0] < x && x < r[2] && r[1] < y && y < r[3]; }

}  // namespace

void show_lines(std::string_view title, const std::vector<std::string>& lines) {
    LinesPanel& p = form_view().panel;
    p = LinesPanel{};
    p.shown = true;
    p.title = translate(title);
    for (const std::string& line : lines) p.lines.push_back(translate(line));
    frm_post_redraw();
}

void lines_panel_layout() {
    auto& v = form_view();
    LinesPanel& p = v.panel;
    if (!p.shown) return;
    const int w = v.windowInfo.width, h = v.windowInfo.height;
    p.row_height = std::max(1, v.BoxH);
    const int button_w = int(close_width * v.scale);
    p.close = {(w - button_w) / 2, margin, (w + button_w) / 2, margin + v.BoxH};
    p.area = {margin, p.close[3] + margin, w - margin, h - margin};
    const int bar_w = std::max(8, 2 * v.DxI);
    p.text = {p.area[0] + inset, p.area[1] + inset, p.area[2] - inset - bar_w,
              p.area[3] - inset - p.row_height - inset};
    p.room = std::max(1, (p.text[3] - p.text[1]) / p.row_height);
    const int width = std::max(1, p.text[2] - p.text[0]);
    if (width != p.wrapped_width) {
        p.rows.clear();
        for (const std::string& line : p.lines) wrap(line, width, p.rows);
        p.wrapped_width = width;
    }
    p.top = std::clamp(p.top, 0, last_top());
    p.bar = {p.text[2] + 2, p.text[1], p.area[2] - inset, p.text[3]};
    p.thumb = {};
    const int n = int(p.rows.size());
    if (n > p.room) {
        const double span = p.bar[3] - p.bar[1];
        p.thumb = {p.bar[0], int(p.bar[3] - span * (p.top + p.room) / n), p.bar[2],
                   int(p.bar[3] - span * p.top / n)};
    }
}

bool lines_panel_mouse(int state, int button, int x, int y) {
    LinesPanel& p = form_view().panel;
    if (!p.shown) return false;
    if (state == cpw_wheel) {
        scroll_to(p.top - x * wheel_rows);
        return true;
    }
    if (button != cpw_button_left) return true;
    if (state == cpw_press) {
        p.close_held = inside(p.close, x, y);
        if (p.thumb != Rect{} && inside(p.bar, x, y)) {
            if (y > p.thumb[3]) scroll_to(p.top - p.room);
            if (y < p.thumb[1]) scroll_to(p.top + p.room);
        }
        frm_post_redraw();
        return true;
    }
    const bool closing = p.close_held && inside(p.close, x, y);
    p.close_held = false;
    if (closing)
        close_panel();
    else
        frm_post_redraw();
    return true;
}

bool lines_panel_key(const CpwKeyInfo& k) {
    LinesPanel& p = form_view().panel;
    if (!p.shown) return false;
    if (!k.pressed) return true;
    if ((k.mods & cpw_mod_ctrl) && k.ch == ch_copy) {
        std::string all = p.title;
        for (const std::string& line : p.lines) all += "\n" + line;
        wr_clp_form(all);
        return true;
    }
    switch (k.vk) {
        case vk_return:
        case vk_escape:
        case vk_space:
            close_panel();
            break;
        case vk_up:
            scroll_to(p.top - 1);
            break;
        case vk_down:
            scroll_to(p.top + 1);
            break;
        case vk_prior:
            scroll_to(p.top - p.room);
            break;
        case vk_next:
            scroll_to(p.top + p.room);
            break;
        case vk_home:
            scroll_to(0);
            break;
        case vk_end:
            scroll_to(last_top());
            break;
        default:
            break;
    }
    return true;
}
