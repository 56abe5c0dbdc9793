#include <string>
#include <vector>

#include "app/Varnix.hpp"
#include "host/console.hpp"

int main(int argc, char** argv) {
    console_init();
    std::vector<std::string> args;
    args.reserve(std::size_t(argc));
    // As given: paths and landscape names keep the user's bytes; texts are converted where
    // they are read as text.
    for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
    return varnix_main(args);
}
