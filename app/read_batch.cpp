#include "app/read_batch.hpp"

#include "app/stop.hpp"

void read_batch(std::string_view, std::string_view, bool, bool, bool, bool, float) {
    stop_with_message("Batch conversion is not available in this version");
}
