// InterStage_Turbine_Temp — turbine temperature dial with a digital readout in degrees Celsius.
// Reads:  0x277 interstage turbine temperature, degrees Rankine (needle and readout).
// Sends:  nothing.
// Keeps:  nothing.
#include <cstdio>

#include "engine/dial_gauge.h"
#include "module/whole_number_text.h"

constexpr uint32_t kVarTurbineTemp = 0x277;
constexpr int32_t kBitmapFace = 4710, kBitmapNeedle = 4711, kBitmapBezel = 4712;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL readout(StringElement*);

// 0, 200, 700, 1200 and 1250 degrees Celsius.
static NONLINEARITY dial_table[] = {
    {{77, 207}, 491.67}, {{59, 186}, 851.67}, {{152, 62}, 1751.67}, {{237, 186}, 2651.67}, {{237, 186}, 2741.67},
};

static StringElement readout_string = digit_readout({104, 225}, {98, 34}, 4, 400, kVarTurbineTemp, readout);
static NeedleElement needle = dial_needle(kBitmapNeedle, {151, 153}, kLongNeedle, kVarTurbineTemp, dial_table);
DIAL_GAUGE(InterStage_Turbine_Temp, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &readout_string.header,
           &needle.header);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL readout(StringElement* e) {
    double celsius = rankine_to_celsius(e->source_var[0].var_value.n);
    whole_number_text(e->string, string_capacity(e), celsius, 4, false);
    return celsius;
}
