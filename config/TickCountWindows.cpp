#include <windows.h>

#include "config/TickCount.h"

std::uint32_t CurrentTickCount() noexcept {
  return ::GetTickCount();
}
