// The arithmetic the module is built with, at limits the gauges meet exactly. Rounded to double at
// every step (SSE2) these equal their decimal limits; kept on the x87 stack they do not, and a NAV
// standby of 117.95 would still step up. Built with the module's flags, run under Wine.
#include <cstdio>

static volatile double nav_whole = 117, nav_hundredths = 95;
static volatile double itt_rankine = 1931.67;  // 800 C

int main() {
    const bool nav_exact = nav_whole + nav_hundredths / 100 == 117.95;
    const bool itt_exact = (itt_rankine - 459.67 - 32.0) * 0.5555555555555556 == 800.0;
    if (!nav_exact) std::puts("float_check: 117 + 95/100 is not 117.95");
    if (!itt_exact) std::puts("float_check: 1931.67 R is not 800 C");
    return nav_exact && itt_exact ? 0 : 1;
}
