#include "app/cli/Varnix_vers.hpp"

int vers_num() { return 2200; }
