// File-system queries.
#pragma once

#include <string>
#include <string_view>
#include <vector>

bool file_exists(std::string_view path);  // a regular file (or a link to one)
bool dir_exists(std::string_view path);
// Names in a folder, sorted as Windows lists them (case-insensitively); empty when unreadable.
std::vector<std::string> list_folder(std::string_view path);
// Joins with the host separator, never doubling it.
std::string path_join(std::string_view dir, std::string_view name);
