#pragma once

// Loads and stores of whole GCC vectors from float or integer arrays, for the
// lane kernels: memcpy, so no alignment is assumed and no type is punned.
// Internal linkage: each instruction set's copy of a kernel keeps its own.

namespace {

template <class T, class E>
T loadLanes(const E* p)
{
    T v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
}

template <class T, class E>
void storeLanes(E* p, T v)
{
    __builtin_memcpy(p, &v, sizeof v);
}

} // namespace
