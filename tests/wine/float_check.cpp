// The arithmetic the module is built with, at limits the gauges meet exactly. Rounded to double at
// every step (SSE2) these sums equal their decimal limits; kept on the x87 stack they do not, and a
// NAV standby of 117.95 would still step up. Built with the module's flags, run under Wine.
#include <cstdio>

static volatile double nav_top_whole = 117, nav_top_hundredths = 95;
static volatile double nav_bottom_whole = 108, nav_bottom_hundredths = 5;
static volatile double itt_rankine = 1931.67;  // 800 C

int main() {
    int failed = 0;
    if (nav_top_whole + nav_top_hundredths / 100 != 117.95) {
        std::puts("float_check: 117 + 95/100 is not 117.95");
        failed = 1;
    }
    if (nav_bottom_whole + nav_bottom_hundredths / 100 != 108.05) {
        std::puts("float_check: 108 + 5/100 is not 108.05");
        failed = 1;
    }
    if ((itt_rankine - 459.67 - 32.0) * 0.5555555555555556 != 800.0) {
        std::puts("float_check: 1931.67 R is not 800 C");
        failed = 1;
    }
    if (!failed) std::puts("float_check: doubles round as on the tested builds");
    return failed;
}
