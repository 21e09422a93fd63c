// The program's string resources.
#pragma once

#include <string>

// The string resource with this id; empty when the program has none.
std::string LoadResourceString(int id);
