// Whole-number readouts ("%4.0f", "   %02.0f GPH") written without snprintf: the digital readouts
// run every frame, and formatting a double through the C library costs thirty times as much. The
// text is snprintf's own: halves round to even (as printf rounds the exact value), -0.4 reads
// "-0", and a value that is not finite or has more than fifteen digits goes through snprintf.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

// Writes `before`, `v` as "%*.0f" (or "%0*.0f" with `zero_pad`) of `width`, then `after`, cut to
// cap - 1 characters like snprintf; returns the length the full text has.
inline int whole_number_text(char* out, size_t cap, double v, int width, bool zero_pad, const char* before = "",
                             const char* after = "") {
    constexpr double kExactBelow = 1e15;
    constexpr size_t kAffixMax = 16;
    const size_t before_length = std::strlen(before), after_length = std::strlen(after);
    if (!std::isfinite(v) || std::fabs(v) >= kExactBelow || width > 32 || before_length > kAffixMax ||
        after_length > kAffixMax)
        return zero_pad ? std::snprintf(out, cap, "%s%0*.0f%s", before, width, v, after)
                        : std::snprintf(out, cap, "%s%*.0f%s", before, width, v, after);
    const double r = std::nearbyint(v);  // the rounding printf applies, in the same mode
    char digits[24];
    int n = 0;
    for (uint64_t u = uint64_t(std::fabs(r)); n == 0 || u; u /= 10) digits[n++] = char('0' + u % 10);
    char text[96];
    size_t length = before_length;
    std::memcpy(text, before, before_length);
    const bool negative = std::signbit(r);
    int pad = width - n - (negative ? 1 : 0);
    if (!zero_pad)
        for (; pad > 0; --pad) text[length++] = ' ';
    if (negative) text[length++] = '-';
    for (; pad > 0; --pad) text[length++] = '0';
    while (n) text[length++] = digits[--n];
    std::memcpy(text + length, after, after_length + 1);
    length += after_length;
    if (out && cap) {
        size_t copy = length < cap - 1 ? length : cap - 1;
        std::memcpy(out, text, copy);
        out[copy] = '\0';
    }
    return int(length);
}
