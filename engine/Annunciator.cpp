// Annunciator — warning annunciator panel: thirty legend lights (red warnings, amber cautions),
// a lamp-test switch, and the master warning and caution flags.
// Reads:  0x277 ITT, 0x232 oil pressure, 0x16C battery master, 0x16B generator, 0x2F1 bus volts,
//         0x383 fuel pressure, 0x233 starter, 0x25C sim time, 0x272 gas generator speed, 0x364 door,
//         0x2F5 voltage, 0x123 / 0x129 tank levels, 0x143 parking brake, 0x161 suction,
//         0x377 engine fire; the switch positions and fuel_capacity_left / right.
// Sends:  nothing.
// Keeps:  annunciator_test and its count; one flag per light with a live condition;
//         master_warning and master_caution (written every update, read by Master_Lights).
#include <cmath>

#include "engine/engine_state.h"
#include "module/gauge_unit.h"
#include "module/shared_state.h"
#include "systems/switch_state.h"

static bool annunciator_test = false;     // lamp test running
static int32_t annunciator_test_count = 0;  // update cycles left in the lamp test

constexpr int32_t kTestCycles = 36;
constexpr int32_t kBitmapFace = 4850;
constexpr int32_t kBitmapFirstLight = 4851;  // one legend per light, row by row
constexpr int32_t kBitmapTestSwitch = 4881;  // released, pressed: 4881, 4882
constexpr int kColumns = 5, kRows = 6, kLights = kColumns * kRows;
constexpr int32_t kColumnX[kColumns] = {8, 97, 186, 275, 364};
constexpr int32_t kRowY[kRows] = {7, 34, 61, 88, 115, 142};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

constexpr uint32_t kVarItt = 0x277;
constexpr uint32_t kVarOilPressure = 0x232;
constexpr uint32_t kVarBatteryMaster = 0x16C;
constexpr uint32_t kVarGenerator = 0x16B;
constexpr uint32_t kVarBusVolts = 0x2F1;
constexpr uint32_t kVarFuelPressure = 0x383;
constexpr uint32_t kVarStarter = 0x233;
constexpr uint32_t kVarSimTime = 0x25C;
constexpr uint32_t kVarGasGenerator = 0x272;
constexpr uint32_t kVarDoor = 0x364;
constexpr uint32_t kVarVoltage = 0x2F5;
constexpr uint32_t kVarLeftLevel = 0x123;
constexpr uint32_t kVarRightLevel = 0x129;
constexpr uint32_t kVarParkingBrake = 0x143;
constexpr uint32_t kVarSuction = 0x161;
constexpr uint32_t kVarFire = 0x377;

constexpr double kIttLimitRankine = 1931.67;  // 800 C: compared with the token as it stands, not a converted sum
constexpr double kOilPressureMin = 8640.0;   // 60 psi in pounds per square foot
constexpr double kFuelPressureMin = 1440.0;  // 10 psi
constexpr double kBusLiveVolts = 20.0;
constexpr double kStarterFlashPeriod = 0.4;  // seconds; lit in the second half
constexpr double kStarterFlashLit = 0.2;
constexpr double kGasGeneratorIdle = 50.0;   // percent
constexpr double kLowVolts = 22.0;
constexpr double kLowFuelGallons = 9.14;
constexpr double kParkingBrakeSet = 32000.0;
constexpr double kSuctionLow = 3.75;
constexpr int32_t kAuxPumpLitPosition = 1;

// ----------------------------------------------------------------------------------------------
// The lights, row by row. A light without a condition lights only in the lamp test.

enum Master { kNone, kWarning, kCaution };

struct Light {
    bool (*condition)();  // null: test only
    bool keeps_flag;      // a flag the masters read
    Master master;
};

static double tank_gallons(double capacity, uint32_t level_var) {
    return capacity * token_value(level_var) / kFullTankLevel;
}

static bool itt_hot() { return token_value(kVarItt) > kIttLimitRankine; }
static bool pitot_1_off() { return !pitot_heat_1_on; }
static bool oil_pressure_low() { return token_value(kVarOilPressure) < kOilPressureMin; }
static bool pitot_2_off() { return !pitot_heat_2_on; }
static bool battery_off() {
    return token_value(kVarBatteryMaster) == 0.0 && token_value(kVarGenerator) > 0.0 &&
           token_value(kVarBusVolts) > kBusLiveVolts;
}
static bool fuel_pressure_low() { return token_value(kVarFuelPressure) < kFuelPressureMin; }
static bool starter_flash() {
    return token_value(kVarStarter) > 0.0 &&
           std::fmod(token_value(kVarSimTime), kStarterFlashPeriod) > kStarterFlashLit;
}
static bool generator_off() {
    return token_value(kVarBatteryMaster) == 1.0 && token_value(kVarGenerator) == 0.0 &&
           token_value(kVarBusVolts) > kBusLiveVolts;
}
static bool aux_pump_on() {
    return aux_pump_position == kAuxPumpLitPosition && token_value(kVarGasGenerator) < kGasGeneratorIdle;
}
static bool ignition_on() { return ignition_armed && token_value(kVarGasGenerator) < kGasGeneratorIdle; }
static bool door_open() { return token_value(kVarDoor) > 0.0; }
static bool inert_sep() { return inert_sep_on; }
static bool volts_low() { return token_value(kVarVoltage) < kLowVolts; }
static bool left_fuel_low() { return tank_gallons(fuel_capacity_left, kVarLeftLevel) < kLowFuelGallons; }
static bool parking_brake_set() { return token_value(kVarParkingBrake) > kParkingBrakeSet; }
static bool suction_low() { return token_value(kVarSuction) <= kSuctionLow; }
static bool right_fuel_low() { return tank_gallons(fuel_capacity_right, kVarRightLevel) < kLowFuelGallons; }
static bool engine_fire() { return token_value(kVarFire) > 0.0; }

constexpr int kMasterWarningLight = 27, kMasterCautionLight = 28;  // the two blank legends

static const Light kLightTable[kLights] = {
    {itt_hot, true, kWarning},          // ITT
    {nullptr, false, kNone},            // BLEED TEMP
    {pitot_1_off, true, kCaution},      // PITOT 1
    {nullptr, false, kNone},            // BAT OVHT
    {nullptr, false, kNone},            // FUEL OFF
    {oil_pressure_low, true, kWarning}, // OIL PRESS
    {nullptr, false, kNone},            // BLEED OFF
    {pitot_2_off, true, kCaution},      // PITOT 2
    {battery_off, true, kCaution},      // BAT OFF
    {fuel_pressure_low, true, kWarning},// FUEL PRESS
    {starter_flash, false, kNone},      // STARTER: flashes, keeps no flag
    {nullptr, false, kNone},            // CAB PRESS
    {pitot_2_off, true, kCaution},      // STALL HTR
    {generator_off, true, kCaution},    // MAIN GEN
    {aux_pump_on, true, kCaution},      // AUX BP ON
    {ignition_on, true, kCaution},      // IGNITION
    {door_open, true, kWarning},        // DOOR
    {inert_sep, true, kCaution},        // INERT SEP
    {volts_low, true, kCaution},        // LO VOLT
    {left_fuel_low, true, kCaution},    // FUEL L LO
    {parking_brake_set, true, kWarning},// PARK BRAKE
    {nullptr, false, kNone},            // FLAPS
    {suction_low, true, kCaution},      // VACUUM LO
    {nullptr, false, kNone},            // GPU
    {right_fuel_low, true, kCaution},   // FUEL R LO
    {engine_fire, true, kWarning},      // FIRE
    {nullptr, false, kNone},            // OXYGEN
    {nullptr, false, kNone},            // (blank): computes master_warning
    {nullptr, false, kNone},            // (blank): computes master_caution
    {nullptr, false, kNone},            // AUTO SEL
};

static bool light_flag[kLights];  // the condition held at the last update outside the test

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL light(IconElement*);
static double GAUGE_CALL test_switch(IconElement*);

#define LIGHT(n)                                                                                           \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapFirstLight + (n),                      \
                .position = {kColumnX[(n) % kColumns], kRowY[(n) / kColumns]}, .image_flags = kDrawFlags}, \
     .scale = 1.0, .num_icons = 1, .update_cb = light}
static IconElement lights[kLights] = {
    LIGHT(0),  LIGHT(1),  LIGHT(2),  LIGHT(3),  LIGHT(4),  LIGHT(5),  LIGHT(6),  LIGHT(7),  LIGHT(8),  LIGHT(9),
    LIGHT(10), LIGHT(11), LIGHT(12), LIGHT(13), LIGHT(14), LIGHT(15), LIGHT(16), LIGHT(17), LIGHT(18), LIGHT(19),
    LIGHT(20), LIGHT(21), LIGHT(22), LIGHT(23), LIGHT(24), LIGHT(25), LIGHT(26), LIGHT(27), LIGHT(28), LIGHT(29),
};
#undef LIGHT
static IconElement test_switch_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapTestSwitch, .position = {464, 115},
               .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 2, .update_cb = test_switch,
};
static ELEMENT_HEADER* panel_elements[] = {
    &lights[0].header,  &lights[1].header,  &lights[2].header,  &lights[3].header,  &lights[4].header,
    &lights[5].header,  &lights[6].header,  &lights[7].header,  &lights[8].header,  &lights[9].header,
    &lights[10].header, &lights[11].header, &lights[12].header, &lights[13].header, &lights[14].header,
    &lights[15].header, &lights[16].header, &lights[17].header, &lights[18].header, &lights[19].header,
    &lights[20].header, &lights[21].header, &lights[22].header, &lights[23].header, &lights[24].header,
    &lights[25].header, &lights[26].header, &lights[27].header, &lights[28].header, &lights[29].header,
    &test_switch_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = panel_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL press_test(MOUSE_POINT*, uint32_t);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_CHILD, .box = {458, 115, 30, 30}, .cursor = CURSOR_HAND,
     .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, .handler = press_test},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Annunciator, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

constexpr double kLit = 0.0, kDark = -1.0;

static bool any_flag(Master master) {
    for (int n = 0; n < kLights; ++n)
        if (kLightTable[n].master == master && light_flag[n]) return true;
    return false;
}

// During the lamp test every light is lit and the flags, so the masters, keep their values.
static double GAUGE_CALL light(IconElement* e) {
    int n = int(e - lights);
    if (n == kMasterWarningLight) {
        master_warning = any_flag(kWarning);
        return kDark;
    }
    if (n == kMasterCautionLight) {
        master_caution = any_flag(kCaution);
        return kDark;
    }
    if (annunciator_test) return kLit;
    const Light& l = kLightTable[n];
    if (!l.condition) return kDark;
    bool lit = l.condition();
    if (l.keeps_flag) light_flag[n] = lit;
    return lit ? kLit : kDark;
}

// Holding the switch keeps reloading the count: the test lasts while it is held and some
// 36 updates after release.
static double GAUGE_CALL test_switch(IconElement*) {
    if (annunciator_test_count > 0) {
        annunciator_test = true;
        --annunciator_test_count;
    }
    if (annunciator_test_count == 0) {
        annunciator_test = false;
        return 0.0;
    }
    return 1.0;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL press_test(MOUSE_POINT*, uint32_t) {
    annunciator_test_count = kTestCycles;
    return 0;
}
