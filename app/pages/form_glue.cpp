#include "app/pages/form_glue.hpp"

#include <algorithm>

#include "forms/my_forms.hpp"
#include "host/files.hpp"
#include "host/install.hpp"
#include "include/common_data.hpp"
#include "util/text.hpp"

namespace {
constexpr std::string_view form_file_name = "Varnix_form.frm";
}  // namespace

BoxValue current_value(int n) {
    BoxValue b;
    frm_get_cur_value(n, b.iv, b.rv, b.cv, b.type);
    return b;
}

BoxValue model_value(int n) {
    BoxValue b;
    frm_get_value(n, b.iv, b.rv, b.cv, b.type);
    return b;
}

bool landscape_list(int, std::vector<std::string>& lines) {
    return installed_landscapes(lines, common_data.qline);
}

std::string converter_form_file() {
    std::string dir = get_inst_path();
    std::string here = dir + std::string(form_file_name);
    if (dir.empty() || file_exists(here)) return here;
    std::string shared = path_join(path_join(dir, "../share/varnix"), form_file_name);
    return file_exists(shared) ? shared : here;
}

bool find_named_items(NamedItems boxes, NamedItems texts) {
    std::string name;
    const auto find = [&name](NamedItems items, int count, int (*get_name)(int, std::string&)) {
        for (const auto& item : items) *item.second = 0;
        for (int i = 1; i <= count; ++i) {
            get_name(i, name);
            for (const auto& [want, slot] : items)
                if (trim_right(name) == want) *slot = i;
        }
        return std::all_of(items.begin(), items.end(),
                           [](const auto& item) { return *item.second; });
    };
    const bool boxes_found = find(boxes, frm_get_count(), frm_get_name);
    return find(texts, frm_get_txt_count(), frm_get_txt_name) && boxes_found;
}
