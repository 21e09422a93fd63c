// A Windows code page identifier (37, 437, 932, 65001, ...). The program gives it no meaning of its
// own: it hands it to the code page services and looks it up in the catalogue.
#pragma once

#include <cstdint>

using CodePage = std::uint32_t;
