// What the flight instruments share: the receiver power flags the radios keep (radio_state.h),
// the RMI needle source, and the small helpers every dial uses (integer reads of token values,
// the hidden bit, OBS-style knob steps).
#pragma once

#include <cstdint>

#include "module/gauge_records.h"
#include "radios/radio_state.h"

// A token value read as an integer: truncated toward zero, 0 where it does not fit.
inline int32_t token_as_int(double v) {
    return (v > -2147483648.0 && v < 2147483648.0) ? int32_t(v) : 0;
}

inline void set_hidden(ELEMENT_HEADER& h, bool hidden) {
    if (hidden)
        h.image_flags |= kImageHidden;
    else
        h.image_flags &= ~kImageHidden;
}

// A course or heading knob: a left click steps one degree, a right click ten, wrapping within
// 0..359 from the whole part of the value the knob half reads.
inline uint32_t knob_step_degrees(double value, bool increase, uint32_t mouse_flags) {
    int32_t h = token_as_int(value);
    bool large = mouse_flags & MOUSE_RIGHTSINGLE;
    if (increase) return uint32_t(large ? (h <= 349 ? h + 10 : h - 350) : (h < 359 ? h + 1 : 0));
    return uint32_t(large ? (h >= 10 ? h - 10 : h + 350) : (h > 0 ? h - 1 : 359));
}

extern bool rmi_needle_nav1;  // RMI needle source: true NAV1, false NAV2; RMI_Switch flips it
