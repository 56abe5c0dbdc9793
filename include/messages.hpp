// Message status codes shared by every caller of the message channels.
#pragma once

enum MessageStatus : int {
    s_info = 0,         // "ok" button, info icon
    s_error = 1,        // "ok", error icon
    s_warning = 2,      // "ok", warning icon
    s_yesno = 3,        // yes/no, question icon; the answer is returned
    s_okcancel = 4,     // ok/cancel, question icon; answer returned
    s_yesnocancel = 5,  // yes/no/cancel, question icon; answer returned
};
