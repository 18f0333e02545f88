#pragma once

#include <cstdlib>

// A broken property stops the fuzzer with the input that broke it.
inline void Require(bool condition)
{
    if (!condition) std::abort();
}
