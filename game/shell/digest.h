// The digests that tell whether what a frame is drawn from has changed:
// FNV-1a over the bytes of the values it is drawn from.
#pragma once

#include <cstddef>
#include <cstdint>

// h continued over a run of bytes.
static inline uint64_t mix(uint64_t h, const void *data, size_t n)
{
    const unsigned char *p = (const unsigned char *)data;
    for (size_t k = 0; k < n; k++)
        h = (h ^ p[k]) * 1099511628211ull;
    return h;
}

// h continued over one value's bytes.
template <class T> static inline uint64_t mix(uint64_t h, const T &v)
{
    return mix(h, &v, sizeof v);
}
