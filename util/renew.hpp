// Back to a record's initial state in place: the form engine's records are tens of kilobytes,
// too large to build as a temporary and copy over.
#pragma once

#include <memory>

template <class T>
void renew(T& record) {
    std::destroy_at(&record);
    std::construct_at(&record);
}
