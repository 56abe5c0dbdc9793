// What the form's interaction needs from the model side: the value checks, the step of the
// arrows and the application callback. The model fills the table when it hands a form over;
// gui/ never includes forms/. Box numbers count from 0, as the view counts.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct FormModelOps {
    // Nonzero when the value is acceptable; may normalise ival, rval and cval, fills msg otherwise.
    std::function<int(int n, int kact, int& ival, float& rval, std::string& cval, std::string& msg)>
        check_values;
    // 1 when the value the model holds for box n lies within its bounds, else 0 with msg.
    std::function<int(int n, int ival, float rval, std::string_view cval, std::string& msg)>
        check_minmax;
    // One step of the arrows (incr +1 or -1); updates the three values.
    std::function<int(int n, int& ival, float& rval, std::string& cval, int incr)> incrm_val;
    // The application: ncla 1 = input, 6 = button; n from 1; value may be changed by it.
    std::function<void(int ncla, int n, int& value)> callback;
    // Files dropped on the window (host paths, UTF-8).
    std::function<void(const std::vector<std::string>& paths)> drop;
};

// Replaces the table; missing entries accept every value, never step and call nothing.
void set_form_model_ops(FormModelOps ops);
const FormModelOps& form_model_ops();
