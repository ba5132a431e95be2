// How many GDI objects this process holds.
#pragma once

#include <cstdint>

namespace halyard {

// GetGuiResources where the system implements it; under Wine, which does not,
// the live entries of the process's shared GDI handle table.
std::uint32_t CountGdiObjects();

}  // namespace halyard
