// Counts every operator new in the test binary, so a test can show a frame allocates nothing.
#pragma once

#include <cstddef>

namespace alloc_counter {
size_t count(); // allocations since the process started
} // namespace alloc_counter
