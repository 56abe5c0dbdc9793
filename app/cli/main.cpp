#include <string>
#include <vector>

#include "app/cli/Varnix.hpp"
#include "host/console.hpp"

int main(int argc, char** argv) {
    console_init();
    return varnix_main(console_arguments(argc, argv));
}
