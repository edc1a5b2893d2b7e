// Texts of the radio windows. Every writer takes the element's buffer and its capacity (the
// character count plus the terminator) and never writes past it: a value whose text would not
// fit, or that is not a number, shows dashes in the digits' places instead of a cut number.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "module/radio_bcd.h"
#include "module/whole_number_text.h"

namespace radio {

constexpr size_t kScratch = 48;  // room for any of the formats below, whatever the value

// `count` dashes, count = cap - 1.
inline void dashes(char* out, size_t cap) {
    if (!out || cap == 0) return;
    std::memset(out, '-', cap - 1);
    out[cap - 1] = '\0';
}

// Copies `text` when it fits in cap - 1 characters; otherwise dashes.
inline void fit_or_dashes(char* out, size_t cap, const char* text, int length) {
    if (!out || cap == 0) return;
    if (length < 0 || size_t(length) > cap - 1) return dashes(out, cap);
    std::memcpy(out, text, size_t(length) + 1);
}

// Copies `text`, cut to cap - 1 characters (fixed words such as annunciators). Written out by
// hand: these run for every window every frame, and snprintf costs ten times as much.
inline void put_word(char* out, size_t cap, const char* text) {
    if (!out || !cap) return;
    size_t n = strnlen(text, cap - 1);
    std::memcpy(out, text, n);
    out[n] = '\0';
}

// ----------------------------------------------------------------------------------------------
// COM and NAV: "1%02x.%02x" of the word, always six characters.

inline void frequency_text(char* out, size_t cap, uint32_t word) {
    if (!out || cap == 0) return;
    word &= kFrequencyWordMask;
    static const char kHex[] = "0123456789abcdef";
    const char text[] = {'1', kHex[(word >> 12) & 0xF], kHex[(word >> 8) & 0xF], '.', kHex[(word >> 4) & 0xF],
                         kHex[word & 0xF], '\0'};
    put_word(out, cap, text);  // the same text as snprintf's, at a fraction of its cost every frame
}

// ----------------------------------------------------------------------------------------------
// ADF

constexpr double kTenthsPerKhz = 10.0;
constexpr double kAdfThousandKhz = 1000.0;

// A frequency in tenths of a kHz, "0%4.1f" below 1000 kHz and "%4.1f" from there: 345.0 reads
// 0345.0, 1234.5 reads 1234.5 (and 50.0, below the band, 050.0).
inline void adf_khz_text(char* out, size_t cap, int32_t tenths) {
    char t[kScratch];
    const double khz = tenths / kTenthsPerKhz;
    int n = -1;
    if (tenths >= 0)
        n = khz < kAdfThousandKhz ? std::snprintf(t, sizeof t, "0%4.1f", khz) : std::snprintf(t, sizeof t, "%4.1f", khz);
    fit_or_dashes(out, cap, t, n);
}

// Two clock fields, "%02.0f:%02.0f" (hours:minutes or minutes:seconds).
inline void clock_text(char* out, size_t cap, double first, double second) {
    char t[kScratch];
    int n = -1;
    if (std::isfinite(first) && std::isfinite(second) && std::fabs(first) < 1e9 && std::fabs(second) < 1e9) {
        char first_text[kScratch];  // "%02.0f:" of the first field, at most eleven characters here
        whole_number_text(first_text, sizeof first_text, first, 2, true, "", ":");
        n = whole_number_text(t, sizeof t, second, 2, true, first_text);
    }
    fit_or_dashes(out, cap, t, n);
}

constexpr double kSecondsPerMinute = 60.0;
constexpr double kMinutesPerHour = 60.0;

// Flight timer: hours and whole minutes of `elapsed` seconds.
inline void flight_timer_text(char* out, size_t cap, double elapsed) {
    double minutes = std::floor(elapsed) / kSecondsPerMinute;
    double hours = 0.0;
    if (!(minutes < kMinutesPerHour)) {
        hours = std::floor(minutes / kMinutesPerHour);
        minutes -= kMinutesPerHour * hours;
    }
    clock_text(out, cap, hours, std::floor(minutes));
}

// Elapsed timer: minutes and whole seconds of `elapsed` seconds.
inline void elapsed_timer_text(char* out, size_t cap, double elapsed) {
    double minutes = std::floor(elapsed / kSecondsPerMinute);
    clock_text(out, cap, minutes, std::floor(elapsed - kSecondsPerMinute * minutes));
}

// ----------------------------------------------------------------------------------------------
// DME readings

constexpr double kDmeTenthsBelow = 100.0;  // distances below this show a tenth

// Distance: left-aligned with a tenth below 100 NM ("12.3"), else four whole digits ("0150").
// A distance that rounds up to 100.0 takes the whole-digit form rather than losing its last digit.
inline void dme_distance_text(char* out, size_t cap, double x) {
    char t[kScratch];
    int n = -1;
    if (std::isfinite(x) && std::fabs(x) < 1e9) {
        x += 0.0;  // -0.0 reads as 0.0
        if (x < kDmeTenthsBelow) n = std::snprintf(t, sizeof t, "%-4.1f", x);
        if (n < 0 || size_t(n) > cap - 1) n = std::snprintf(t, sizeof t, "%04.0f", x);
    }
    fit_or_dashes(out, cap, t, n);
}

// Speed "%03.0f" and time "%02.0f": whole numbers with leading zeros.
inline void dme_whole_text(char* out, size_t cap, double x, int width) {
    char t[kScratch];
    int n = -1;
    if (std::isfinite(x) && std::fabs(x) < 1e9) n = whole_number_text(t, sizeof t, x, width, true);
    fit_or_dashes(out, cap, t, n);
}

}  // namespace radio
