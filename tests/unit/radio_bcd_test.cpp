// Radio frequency arithmetic: BCD words and their components, the ADF's split frequency and its
// set parameter, the bounded window texts at the edges the radio scenarios do not reach, and the
// bench simulator's tuning of the same words.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "bench/sim/sim_model.h"
#include "module/radio_bcd.h"
#include "radios/radio_text.h"

using namespace radio;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(RadioBcd, FrequencyWordKeepsTheLow16BitsAndRejectsWhatIsNotAWord) {
    EXPECT_EQ(frequency_word(0x12345), 0x2345u);
    EXPECT_EQ(frequency_word(0x2345 + 0.9), 0x2345u);
    for (double bad : {-1.0, kNaN, kInf, 1e300}) EXPECT_EQ(frequency_word(bad), 0u) << bad;
}

// Below the band the tens must not wrap to a huge value. (The exact limit sums at 108.05 and 117.95
// are nav_tuning_limits.scn's, natively and under Wine, and tests/wine/float_check.cpp's.)
TEST(RadioBcd, WholeMegahertzBelowTheBand) {
    EXPECT_EQ(com_whole_mhz(0x0800), 102);
    EXPECT_EQ(nav_whole_mhz(0x0810), 108);
}

TEST(RadioBcd, WordsRoundTripThroughWholeMegahertzAndHundredths) {
    for (int mhz = 108; mhz <= 136; ++mhz)
        for (int h = 0; h < 100; ++h) {
            const uint32_t v = bcd_frequency(mhz, h);
            ASSERT_EQ(bcd_whole_mhz(v), mhz);
            ASSERT_EQ(frequency_hundredths(v), h);
        }
    EXPECT_EQ(bcd_frequency(123, 45), 0x2345u);
}

TEST(RadioBcd, AdfSetParameterCarriesTheLastFourDigits) {
    EXPECT_EQ(adf_bcd_param(-5), 0u);
    // What the simulator makes of it gives the same frequency back.
    for (int32_t tenths : {2000, 2003, 3450, 9999, 10000, 12345, 17999}) {
        const uint32_t p = adf_bcd_param(tenths);
        const bool thousands = tenths >= kAdfTenthsPerThousandKhz;
        const AdfFrequency back = adf_active(adf_param_high_word(p), adf_param_tenths_word(p, thousands));
        EXPECT_EQ(adf_total_tenths(back), tenths);
    }
}

// Texts: a buffer one byte longer than the element's characters, guarded on both sides.
struct Window {
    char guard_before[8];
    char text[8];
    char guard_after[8];
};

template <typename Write>
std::string write_into(size_t count, Write write) {
    Window w;
    std::memset(&w, 'X', sizeof w);
    write(w.text, count + 1);
    for (char c : w.guard_before) EXPECT_EQ(c, 'X');
    for (size_t i = count + 1; i < sizeof w.text; ++i) EXPECT_EQ(w.text[i], 'X') << "wrote past the element";
    EXPECT_LE(std::strlen(w.text), count);
    return w.text;
}

TEST(RadioText, FrequencyTextIsAlwaysSixCharacters) {
    EXPECT_EQ(write_into(6, [](char* b, size_t c) { frequency_text(b, c, 0xFFFFFFFF); }), "1ff.ff");
}

TEST(RadioText, AdfWindowsPutAZeroBeforeFrequenciesBelow1000) {
    auto khz = [](int32_t tenths) { return write_into(6, [tenths](char* b, size_t c) { adf_khz_text(b, c, tenths); }); };
    // 1000.0 and 050.0 are adf_tuning_and_transfer.scn's; below 100 kHz the zero goes before a
    // width of four, not four digits.
    EXPECT_EQ(khz(9999), "0999.9");
    EXPECT_EQ(khz(0), "0 0.0");
    EXPECT_EQ(khz(123456), "------");
    EXPECT_EQ(khz(-1), "------");
}

TEST(RadioText, AdfTimers) {
    EXPECT_EQ(write_into(6, [](char* b, size_t c) { elapsed_timer_text(b, c, 59.9); }), "00:59");
    EXPECT_EQ(write_into(6, [](char* b, size_t c) { flight_timer_text(b, c, 3599); }), "00:59");
    for (double bad : {kNaN, kInf, -kInf, 1e300, -1e300, 6e7}) {
        EXPECT_EQ(write_into(6, [bad](char* b, size_t c) { elapsed_timer_text(b, c, bad); }), "------") << bad;
        EXPECT_EQ(write_into(6, [bad](char* b, size_t c) { flight_timer_text(b, c, bad); }), "------") << bad;
    }
}

TEST(RadioText, DmeReadings) {
    auto distance = [](double x) { return write_into(4, [x](char* b, size_t c) { dme_distance_text(b, c, x); }); };
    EXPECT_EQ(distance(-0.0), "0.0 ");
    EXPECT_EQ(distance(9999.4), "9999");
    EXPECT_EQ(distance(9999.6), "----");
    auto speed = [](double x) { return write_into(4, [x](char* b, size_t c) { dme_whole_text(b, c, x, 3); }); };
    auto time = [](double x) { return write_into(2, [x](char* b, size_t c) { dme_whole_text(b, c, x, 2); }); };
    EXPECT_EQ(time(99.4), "99");
    EXPECT_EQ(time(150), "--");
    for (double bad : {kNaN, kInf, -kInf, 1e300, -1e300}) {
        EXPECT_EQ(distance(bad), "----") << bad;
        EXPECT_EQ(speed(bad), "----") << bad;
        EXPECT_EQ(time(bad), "--") << bad;
    }
}

// The bench's simulator wraps what the radios never send at their limits: whole megahertz past
// the band's ends, and the fraction below the megahertz.
TEST(SimRadios, StandbyWholeMegahertzWrapsWithinTheBand) {
    bench::SimModel sim;
    sim.set(0x269, 0x3697);
    sim.key_event(0x10065, 0);  // COM1 whole up past 136
    EXPECT_EQ(sim.get(0x269), 0x1897);
    sim.key_event(0x10064, 0);
    EXPECT_EQ(sim.get(0x269), 0x3697);
    sim.set(0x369, 0x1795);
    sim.key_event(0x1006D, 0);  // NAV2 whole up past 117
    EXPECT_EQ(sim.get(0x369), 0x0895);
    sim.set(0x369, 0x0800);
    sim.key_event(0x1006E, 0);  // NAV2 fraction down from .00
    EXPECT_EQ(sim.get(0x369), 0x0895);
}

}  // namespace

// Readouts written without snprintf give snprintf's text: halves to even, negative zero, widths,
// zero padding, words around the number, cuts, and values too large or not numbers.
TEST(WholeNumberText, MatchesSnprintf) {
    const double values[] = {0.0, -0.0, 0.5, 1.5, 2.5, -0.4, -0.5, -2.5, 7.49999, 99.5, 999.5, -1234.5, 12345678.5,
                             0.49999999999999994, 4503599627370495.5, 1e15, -1e300, NAN, INFINITY, -INFINITY};
    for (double v : values)
        for (int width : {0, 2, 4, 6})
            for (bool zero : {false, true})
                for (size_t cap : {size_t(3), size_t(7), size_t(64)}) {
                    char mine[64], theirs[64];
                    int n = whole_number_text(mine, cap, v, width, zero, "  ", " GPH");
                    int m = zero ? std::snprintf(theirs, cap, "  %0*.0f GPH", width, v)
                                 : std::snprintf(theirs, cap, "  %*.0f GPH", width, v);
                    EXPECT_EQ(n, m) << v << " width " << width;
                    EXPECT_STREQ(mine, theirs) << v << " width " << width << " cap " << cap;
                }
}
