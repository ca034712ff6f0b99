// The system's millisecond counter since start-up, wrapping at 2^32. Platform-neutral code
// takes its ticks from here.
#pragma once

#include <cstdint>

std::uint32_t CurrentTickCount() noexcept;
