// The table-driven code pages, ready for the engine.
#pragma once

#include <cstdint>

#include "platform/codepage_table.h"

namespace platform {

// The complete table of a code page, or nullptr when no table is generated for it. Tables from
// Microsoft's complete descriptions are returned as generated. A page known only by its
// byte -> Unicode table is completed on first use, once per process: bytes that the table leaves
// undefined and units that it cannot write take the system converter's mapping or best fit, else
// the default character. Safe to call from any thread.
const CodePageTable* CompleteCodePageTable(std::uint32_t codePage);

}  // namespace platform
