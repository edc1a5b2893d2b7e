// PNG encoding for the page's window pictures, tuned for speed over size: the pictures are made
// many times a second and travel over the loopback only, so zlib's fastest level and a plain
// "Sub" filter on every row beat cairo's writer (default level, adaptive filters) several times.
#pragma once

#include <cairo.h>

#include <string>

namespace bench {

// An RGB24 or ARGB32 image surface as an 8-bit RGB PNG (alpha dropped); empty on failure.
std::string encode_png_fast(cairo_surface_t* surface);

}  // namespace bench
