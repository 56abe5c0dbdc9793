// Editing the focused input's value at its caret: insertion, deletion, pasting and the filter
// of number inputs. Caret and selection count visible characters from the input's scroll
// offset; every operation first brings them within the value, so no sequence of events can
// reach outside it.
#include <algorithm>
#include <string>

#include "gui/form_input.hpp"
#include "gui/form_view.hpp"

namespace {

std::string* edited_value() {
    return caret_in_value() ? &form_view().inpt_cval[form_view().CurInpt] : nullptr;
}

void delete_selection(std::string& text) {
    auto& v = form_view();
    const int ofs = v.inpt_ofs[v.CurInpt];
    text.erase(ofs + v.CurPos_1, v.CurPos_2 - v.CurPos_1);
    v.CurPos_2 = v.CurPos_1;
}

}  // namespace

bool caret_in_value() {
    auto& v = form_view();
    const int i = v.CurInpt;
    if (i < 0 || i >= v.nb_inpt || v.CurPos_1 < 0) return false;
    const int len = int(v.inpt_cval[i].size());
    v.inpt_ofs[i] = std::clamp(v.inpt_ofs[i], 0, len);
    const int room = len - v.inpt_ofs[i];
    v.CurPos_1 = std::min(v.CurPos_1, room);
    v.CurPos_2 = v.CurPos_2 < 0 ? v.CurPos_1 : std::min(v.CurPos_2, room);
    if (v.CurPos_2 < v.CurPos_1) std::swap(v.CurPos_1, v.CurPos_2);
    return true;
}

void value_edited(int i) {
    auto& v = form_view();
    if (i < 0 || i >= v.nb_inpt) return;
    v.inpt_OK[i] = 1;
    v.inpt_msg[i].clear();
    if (v.MsgInpt == i) v.xmsg = v.ymsg = -1;
}

void keep_caret_visible() {
    if (!caret_in_value()) return;
    auto& v = form_view();
    if (v.CurPos_2 != v.CurPos_1) return;  // a selection stays where the pointer made it
    const int i = v.CurInpt;
    const int len = int(v.inpt_cval[i].size()), siz = std::max(0, v.inpt_siz[i]);
    int& ofs = v.inpt_ofs[i];
    const int a = ofs + v.CurPos_1;
    if (a > ofs + siz) ofs = a - siz;
    if (a < ofs) ofs = a;
    // No blank room right of a scrolled text: the box shows as much of it as fits.
    if (ofs > 0 && len - ofs < siz) ofs = std::max(0, len - siz);
    v.CurPos_1 = v.CurPos_2 = a - ofs;
}

bool IsNum(int c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'E'; }

void InsertChar(int c) {
    std::string* text = edited_value();
    if (text == nullptr) return;
    auto& v = form_view();
    if (v.CurPos_2 > v.CurPos_1) delete_selection(*text);
    if (text->size() >= view_value_len) return;
    text->insert(text->begin() + v.inpt_ofs[v.CurInpt] + v.CurPos_1, char(c));
    v.CurPos_1 = v.CurPos_2 = v.CurPos_1 + 1;
}

void DeleteChar() {
    std::string* text = edited_value();
    if (text == nullptr) return;
    auto& v = form_view();
    if (v.CurPos_2 > v.CurPos_1) {
        delete_selection(*text);
        return;
    }
    int& ofs = v.inpt_ofs[v.CurInpt];
    const int a = ofs + v.CurPos_1;
    if (a == 0) return;
    text->erase(a - 1, 1);
    // At the left edge of a scrolled field the text moves under the caret instead.
    if (v.CurPos_1 == 0)
        --ofs;
    else
        --v.CurPos_1;
    v.CurPos_2 = v.CurPos_1;
}

void insert_pasted(std::string_view text) {
    // A value is one line: the paste ends at the first line end, and no control character
    // (NUL...) gets into the value. A tab between two columns (a latitude and a longitude
    // copied from a table) becomes a blank, so the two stay apart.
    text = text.substr(0, std::min(text.find('\r'), text.find('\n')));
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\t')
            InsertChar(' ');
        else if (u >= 0x20 && u != 0x7F)
            InsertChar(u);
    }
}
