// A mouse handler for host tests that remembers how often and with what it was called.
#pragma once

#include "module/gauge_records.h"

namespace recorded {

inline int calls = 0;
inline MOUSE_POINT last_point;
inline uint32_t last_flags = 0;

inline int32_t GAUGE_CALL record(MOUSE_POINT* p, uint32_t flags) {
    ++calls;
    last_point = *p;
    last_flags = flags;
    return 0;
}

}  // namespace recorded
