#include "app/Varnix_vers.hpp"

int vers_num() { return 2200; }
