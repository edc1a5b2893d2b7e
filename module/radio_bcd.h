// Frequency arithmetic of the radio stack, shared by the radios and the bench's simulator.
//
// COM and NAV frequencies travel as a word whose low 16 bits are four BCD digits (tens of MHz,
// units, tenths, hundredths) behind an implied leading 1: 0x2345 is 123.45 MHz. The ADF's active
// frequency is split over two words (hundreds/tens/units, and thousands plus tenths); the ADF
// keeps its standby as a whole number of tenths of a kHz, so the window and the transfer agree.
#pragma once

#include <cstdint>

namespace radio {

constexpr uint32_t kFrequencyWordMask = 0xFFFF;

// A token value as a frequency word: the low 16 bits of its integer part. NaN, negative and
// out-of-range values read as 0.
constexpr uint32_t frequency_word(double v) {
    if (!(v >= 0.0 && v < 4294967296.0)) return 0;
    return uint32_t(v) & kFrequencyWordMask;
}

// A byte of two BCD digits as a number: 0x97 is 97 (a nibble above 9 counts as it stands).
constexpr int32_t bcd_byte_value(uint32_t b) { return int32_t((b >> 4) & 0xF) * 10 + int32_t(b & 0xF); }

// ----------------------------------------------------------------------------------------------
// COM and NAV standby components, as the receivers test their tuning limits

// COM whole megahertz: only the units digit is taken from the word, the tens are implied by the
// range the word falls in (0x3xxx 130s, 0x2xxx 120s, else 110s).
constexpr int32_t com_whole_mhz(uint32_t v) {
    const int32_t w = int32_t(v);
    if (w >= 0x3000) return ((w - 0x3000) >> 8) + 130;
    if (w >= 0x2000) return ((w - 0x2000) >> 8) + 120;
    return ((w - 0x1000) >> 8) + 110;
}

// NAV whole megahertz: 0x1xxx are the 110s, below that the 100s.
constexpr int32_t nav_whole_mhz(uint32_t v) {
    const int32_t w = int32_t(v);
    if (w >= 0x1000) return ((w - 0x1000) >> 8) + 110;
    return (w >> 8) + 100;
}

// Hundredths of a megahertz, 0 to 99 for a valid word (the same for COM and NAV).
constexpr int32_t frequency_hundredths(uint32_t v) { return bcd_byte_value(v & 0xFF); }

// ----------------------------------------------------------------------------------------------
// Whole words, as the simulator steps them

// Whole megahertz by the word's own digits: 1 followed by its tens and units.
constexpr int32_t bcd_whole_mhz(uint32_t v) { return 100 + bcd_byte_value((v >> 8) & 0xFF); }

// The word of whole megahertz 100 to 199 and hundredths 0 to 99.
constexpr uint32_t bcd_frequency(int32_t whole_mhz, int32_t hundredths) {
    const int32_t m = whole_mhz - 100;
    return uint32_t(((m / 10) << 12) | ((m % 10) << 8) | ((hundredths / 10) << 4) | (hundredths % 10));
}

// ----------------------------------------------------------------------------------------------
// ADF

// The simulator's active ADF frequency: whole kHz and tenths.
struct AdfFrequency {
    int32_t whole_khz;  // 1000 x thousands + hundreds, tens and units
    int32_t tenths;     // the tenths word without its thousands flag
};

constexpr uint32_t kAdfThousandsFlag = 0x100;

// From the two words: v holds hundreds (its high byte taken whole), tens and units; w holds the
// thousands flag 0x100 and the tenths.
constexpr AdfFrequency adf_active(uint32_t v, uint32_t w) {
    const int32_t thousands = w >= kAdfThousandsFlag ? 1 : 0;
    const int32_t hundreds = int32_t(v / 256);
    const int32_t r = int32_t(v) - 256 * hundreds;
    const int32_t tens = r / 16;
    const int32_t units = r - 16 * tens;
    return {1000 * thousands + 100 * hundreds + 10 * tens + units,
            w >= kAdfThousandsFlag ? int32_t(w - kAdfThousandsFlag) : int32_t(w)};
}

// The frequency in tenths of a kHz, as the ADF keeps its standby.
constexpr int32_t adf_total_tenths(AdfFrequency f) { return f.whole_khz * 10 + f.tenths; }

constexpr int32_t kAdfTenthsPerThousandKhz = 10000;

// The set-frequency parameter of a frequency in tenths of a kHz: its last four decimal digits
// (hundreds, tens, units, tenths) as BCD; the thousands digit is told by the choice of event.
constexpr uint32_t adf_bcd_param(int32_t tenths) {
    if (tenths < 0) return 0;
    int32_t n = tenths % kAdfTenthsPerThousandKhz;
    uint32_t p = 0;
    for (int shift = 0; shift < 16; shift += 4, n /= 10) p |= uint32_t(n % 10) << shift;
    return p;
}

// The inverse, as the simulator applies a set event: the two words of a BCD parameter.
constexpr uint32_t adf_param_high_word(uint32_t param) { return (param >> 4) & 0xFFF; }
constexpr uint32_t adf_param_tenths_word(uint32_t param, bool thousands) {
    return (param & 0xF) + (thousands ? kAdfThousandsFlag : 0);
}

}  // namespace radio
