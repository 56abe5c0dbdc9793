#include <string>
#include <vector>

#include "app/Varnix.hpp"
#include "host/console.hpp"

int main(int argc, char** argv) {
    console_init();
    std::vector<std::string> args;
    args.reserve(std::size_t(argc));
    for (int i = 0; i < argc; ++i) args.push_back(console_arg_to_cp1252(argv[i]));
    return varnix_main(args);
}
