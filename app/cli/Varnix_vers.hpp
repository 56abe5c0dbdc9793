// The program's version number.
#pragma once

// 2200, shown as "2.2.0.0".
int vers_num();
