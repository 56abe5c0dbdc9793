// The shared program state: one process-wide record of the driver, filled by the command line,
// the conversion set-up, installation discovery and the converter form.
#pragma once

#include <string>

#include "util/text_field.hpp"

struct CommonData {
    // --- driver -----------------------------------------------------------------------------
    TextField<80> landscape;   // current landscape: a folder name under the landscapes folder
    TextField<12> cvers;       // program version as text ("2.2.0.0")
    int nvers = 0;             // program version number (2200)
    float xmax = 0, ymax = 0;  // landscape extent in metres, from the terrain header
    bool qline = true;         // true: messages on the console; false: message boxes (form)
    bool qfr = false;          // French wording of the missing-installation message
    std::string open_file;     // the file the window opens on its file page (host path), "" none

    // --- simulator installation (filled by check_volaro_install) -------------------------------
    TextField<256> instpath2, instpath3;  // install folders of versions 2 / 3
    TextField<256> rootpath2, rootpath3;  // user-files roots (end with a separator)
    TextField<256> pilpath2, pilpath3;    // pilots folders of the last pilots
    TextField<256> vlroinstpath, vlrorootpath, vlropilpath;  // the active version's folders
    int volaro_version = 0;         // 2, 3, or 0 while both are installed and not yet decided
    bool qc2 = false, qc3 = false;  // version 2 / 3 found installed

    // --- converter form: numbers of its named items (0 = not found) ---------------------------
    int n_lnd = 0;             // "LND": landscape list
    int n_ic1 = 0, n_ic2 = 0;  // "IC1", "IC2": the typed position (latitude or X, longitude or Y)
    int n_it = 0, n_ot = 0;    // "IT", "OT": input and output type
    int n_oc1 = 0, n_oc2 = 0;  // "OC1", "OC2": text lines of the result
};

inline CommonData common_data;

// Back to the start-up state (tests).
inline void reset_common_data() { common_data = CommonData{}; }
