// Real shortages of memory for a test: this library replaces the test program's operator new (every
// operator new and new[] of the program and of the plug-ins it links end there), so link it only into a
// program of its own.
#pragma once

#include <cstddef>
#include <functional>

// Runs fn with every allocation of `refusedFrom` bytes or more failing (std::bad_alloc, or null from the
// nothrow forms).
void short_of_memory(size_t refusedFrom, const std::function<void()>& fn);
