// Device-independent bitmaps as the module carries them (a Win32 BITMAP resource: the info header,
// the colour table, the pixel rows; no file header), decoded into cairo surfaces.
#pragma once

#include <cairo.h>
#include <cstddef>
#include <cstdint>

namespace bench {

// Decodes a DIB into a new ARGB32 surface. With `black_is_clear`, pure black (0,0,0) pixels are
// transparent, the rule for every element but a gauge's root background. Returns null for data
// that is not a DIB this decoder reads (uncompressed 1, 4, 8, 16, 24 or 32 bits per pixel).
cairo_surface_t* decode_dib(const uint8_t* data, size_t size, bool black_is_clear);

}  // namespace bench
