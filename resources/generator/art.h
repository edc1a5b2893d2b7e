// Painters: each draws one manifest entry onto a cairo surface of the entry's size, cleared to
// pure black (the transparent colour). Opaque black is drawn as kNearBlack.
#pragma once

#include <cairo.h>

#include <string>

#include "manifest.h"

namespace resgen {

bool paint(cairo_t* cr, const BitmapEntry& e, std::string& error);

}  // namespace resgen
