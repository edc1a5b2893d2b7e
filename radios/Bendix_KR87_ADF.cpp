// Bendix_KR87_ADF — ADF receiver with flight and elapsed timers.
// Reads:  0x10/0x12 active frequency (split BCD), 0x14 ADF identifier audio, 0x3C on ground,
//         0x25C simulator time, 0x0A panel lights.
// Sends:  0x1024A/0x1024B the old standby as the new active frequency (FRQ), 0x10131/0x1012C
//         identifier audio on/off at the VOL knob position (off also at install).
// Keeps:  adf_power_on (module-wide), the knob, the standby in whole tenths of a kHz (tuned here,
//         reset to 200.0 at install), display mode, elapsed-timer state; the timers' start and
//         stop times survive install; click sound (WAVE 30, knob only).
#include "module/click_sound.h"
#include "module/radio_bcd.h"
#include "radios/radio_records.h"
#include "radios/radio_state.h"
#include "radios/radio_text.h"

using namespace radio;

constexpr uint32_t kVarActiveHigh = 0x10;     // hundreds, tens, units (BCD)
constexpr uint32_t kVarActiveTenths = 0x12;   // thousands flag 0x100 and tenths
constexpr uint32_t kVarIdentAudio = 0x14;
constexpr uint32_t kVarOnGround = 0x3C;
constexpr uint32_t kVarSimTime = 0x25C;

constexpr uint32_t kEventIdentOff = 0x1012C;
constexpr uint32_t kEventIdentOn = 0x10131;
constexpr uint32_t kEventSetActiveBelow1000 = 0x1024A;
constexpr uint32_t kEventSetActiveFrom1000 = 0x1024B;

constexpr int32_t kStandbyAtInstall = 2000;  // 200.0 kHz, in tenths

enum AdfKnob : int32_t { kKnobOff = 0, kKnobOn = 1, kKnobVol = 2 };
enum DisplayMode : int32_t { kModeFrq = 0, kModeFlt = 1, kModeEt = 2, kModeCount = 3 };
enum EtState : int32_t { kEtReset = 0, kEtRunning = 1, kEtStopped = 2, kEtStateCount = 3 };

static bool ident_on;                 // knob at VOL
static int32_t knob_position;         // AdfKnob
static int32_t standby_tenths = kStandbyAtInstall;  // standby frequency in tenths of a kHz, exact
static AdfFrequency active;           // the simulator's active frequency, refreshed every frame
static int32_t display_mode;          // DisplayMode of the right window
static int32_t et_state;              // EtState
static double flight_start;           // simulator time (whole seconds) the flight timer counts from
static double et_start;               // simulator time the elapsed timer was started
static double et_stop;                // simulator time the elapsed timer was stopped
static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

static double GAUGE_CALL lit_face_cb(IconElement* e);
static double GAUGE_CALL et_word_cb(StringElement* e);
static double GAUGE_CALL flt_word_cb(StringElement* e);
static double GAUGE_CALL frq_word_cb(StringElement* e);
static double GAUGE_CALL adf_word_cb(StringElement* e);
static double GAUGE_CALL right_window_cb(StringElement* e);
static double GAUGE_CALL left_window_cb(StringElement* e);
static double GAUGE_CALL knob_cb(IconElement* e);
static double GAUGE_CALL lamp_cb(IconElement* e);
static double GAUGE_CALL cover_cb(IconElement* e);

static FAILURE_RECORD kLightFailures[] = {{kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};
static FAILURE_RECORD kTextFailures[] = {
    {kFailElectrical, FAIL_ACTION_NO_DRAW, 0}, {kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

constexpr PIXPOINT kWordBox = {18, 12};
constexpr uint32_t kWordChars = 3;
constexpr PIXPOINT kWindowBox = {84, 33};
constexpr uint32_t kWindowChars = 6;

static IconElement set_rst_face = icon(2240, {188, 50}, 1, lit_face_cb, kLightFailures);
static IconElement flt_et_face = icon(2230, {156, 50}, 1, lit_face_cb, kLightFailures);
static IconElement frq_face = icon(2220, {124, 50}, 1, lit_face_cb, kLightFailures);
static IconElement bfo_face = icon(2210, {92, 50}, 1, lit_face_cb, kLightFailures);
static IconElement adf_face = icon(2200, {60, 50}, 1, lit_face_cb, kLightFailures);
static StringElement et_word = digits({244, 23}, kWordBox, kWordChars, kWeightNormal, et_word_cb, kTextFailures);
static StringElement flt_word = digits({244, 11}, kWordBox, kWordChars, kWeightNormal, flt_word_cb, kTextFailures);
static StringElement frq_word = digits({134, 23}, kWordBox, kWordChars, kWeightNormal, frq_word_cb, kTextFailures);
static StringElement adf_word = digits({19, 23}, kWordBox, kWordChars, kWeightNormal, adf_word_cb, kTextFailures);
static StringElement right_window =
    digits({155, 8}, kWindowBox, kWindowChars, kWeightNormal, right_window_cb, kTextFailures, kVarActiveHigh);
static StringElement left_window =
    digits({42, 8}, kWindowBox, kWindowChars, kWeightNormal, left_window_cb, kTextFailures, kVarActiveHigh);
static IconElement knob = icon(2190, {241, 40}, 3, knob_cb);
static IconElement lamp = icon(1430, {216, 50}, 1, lamp_cb, kLightFailures);
static IconElement cover = icon(1420, {8, 6}, 1, cover_cb);

static ELEMENT_HEADER* children[] = {
    &set_rst_face.header, &flt_et_face.header, &frq_face.header, &bfo_face.header, &adf_face.header,
    &et_word.header,      &flt_word.header,    &frq_word.header, &adf_word.header, &right_window.header,
    &left_window.header,  &knob.header,        &lamp.header,     &cover.header,    nullptr};
static StaticImageElement panel = background(2180, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

// Local tuning: +step while the standby is at most `limit`, -step while it is at least `limit`
// (both in tenths of a kHz).
template <int32_t Step, int32_t Limit>
static int32_t GAUGE_CALL tune(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_to_off(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_to_on(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_to_vol(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL frq_button(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL flt_et_button(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL set_rst_button(MOUSE_POINT* point, uint32_t flags);

constexpr uint32_t kLeftRepeat = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

#define ADF_AREA(x, y, w, h, cur, fl, fn) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = cur, .help_id = 0, .mouse_flags = fl, .handler = fn}

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0xA709},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3170},
    ADF_AREA(169, 4, 14, 19, CURSOR_UPARROW, kLeftRepeat, (tune<+1000, 16000>)),    // +100 kHz
    ADF_AREA(169, 23, 14, 19, CURSOR_DOWNARROW, kLeftRepeat, (tune<-1000, 3000>)),  // -100 kHz
    ADF_AREA(183, 4, 14, 19, CURSOR_UPARROW, kLeftRepeat, (tune<+100, 17800>)),     // +10 kHz
    ADF_AREA(183, 23, 14, 19, CURSOR_DOWNARROW, kLeftRepeat, (tune<-100, 2100>)),   // -10 kHz
    ADF_AREA(197, 4, 14, 19, CURSOR_UPARROW, kLeftRepeat, (tune<+10, 17980>)),      // +1 kHz
    ADF_AREA(197, 23, 14, 19, CURSOR_DOWNARROW, kLeftRepeat, (tune<-10, 2010>)),    // -1 kHz
    ADF_AREA(211, 4, 28, 19, CURSOR_UPARROW, kLeftRepeat, (tune<+1, 17998>)),       // +0.1 kHz
    ADF_AREA(211, 23, 28, 19, CURSOR_DOWNARROW, kLeftRepeat, (tune<-1, 2001>)),     // -0.1 kHz
    ADF_AREA(288, 19, 20, 20, CURSOR_UPARROW, kLeftRepeat, (tune<+10, 16980>)),     // outer knob +1 kHz
    ADF_AREA(288, 39, 20, 20, CURSOR_DOWNARROW, kLeftRepeat, (tune<-10, 2010>)),    // outer knob -1 kHz
    ADF_AREA(308, 19, 20, 20, CURSOR_UPARROW, MOUSE_LEFTSINGLE, (tune<+1, 17998>)), // inner knob +0.1 kHz
    ADF_AREA(308, 39, 20, 20, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, (tune<-1, 2001>)),
    ADF_AREA(230, 55, 24, 13, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_to_off),
    ADF_AREA(230, 42, 24, 13, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_to_on),
    ADF_AREA(257, 48, 24, 13, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_to_vol),
    ADF_AREA(124, 50, 23, 18, CURSOR_HAND, MOUSE_LEFTSINGLE, frq_button),
    ADF_AREA(156, 50, 23, 18, CURSOR_HAND, MOUSE_LEFTSINGLE, flt_et_button),
    ADF_AREA(188, 50, 23, 18, CURSOR_HAND, MOUSE_LEFTSINGLE, set_rst_button),
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

static void read_active() {
    active = adf_active(frequency_word(token_value(kVarActiveHigh)), frequency_word(token_value(kVarActiveTenths)));
}

static double sim_time() { return token_value(kVarSimTime); }

static double GAUGE_CALL lit_face_cb(IconElement*) {
    return adf_power_on && token_value(kVarPanelLights) > 0 ? 0.0 : -1.0;
}

static double mode_word(StringElement* e, DisplayMode mode, const char* word) {
    put_word(e->string, string_capacity(e), display_mode == mode ? word : "   ");
    return 0.0;
}

static double GAUGE_CALL et_word_cb(StringElement* e) { return mode_word(e, kModeEt, " ET"); }
static double GAUGE_CALL flt_word_cb(StringElement* e) { return mode_word(e, kModeFlt, "FLT"); }
static double GAUGE_CALL frq_word_cb(StringElement* e) { return mode_word(e, kModeFrq, "FRQ"); }

static double GAUGE_CALL adf_word_cb(StringElement* e) {
    put_word(e->string, string_capacity(e), "ADF");
    return 0.0;
}

// Standby, flight timer (hours:minutes) or elapsed timer (minutes:seconds); worked out every
// frame, on or off, behind the cover while off.
static double GAUGE_CALL right_window_cb(StringElement* e) {
    const size_t cap = string_capacity(e);
    switch (display_mode) {
    case kModeFlt:
        flight_timer_text(e->string, cap, std::trunc(sim_time()) - flight_start);
        break;
    case kModeEt: {
        double elapsed = 0.0;
        if (et_state == kEtRunning) elapsed = sim_time() - et_start;
        if (et_state == kEtStopped) elapsed = et_stop - et_start;
        elapsed_timer_text(e->string, cap, elapsed);
        break;
    }
    default:
        adf_khz_text(e->string, cap, standby_tenths);
        break;
    }
    return 0.0;
}

static double GAUGE_CALL left_window_cb(StringElement* e) {
    read_active();
    adf_khz_text(e->string, string_capacity(e), adf_total_tenths(active));
    return 0.0;
}

static double GAUGE_CALL knob_cb(IconElement*) { return knob_position; }
static double GAUGE_CALL lamp_cb(IconElement*) { return adf_power_on ? 0.0 : -1.0; }
static double GAUGE_CALL cover_cb(IconElement*) { return adf_power_on ? -1.0 : 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers: tuning and buttons

template <int32_t Step, int32_t Limit>
static int32_t GAUGE_CALL tune(MOUSE_POINT*, uint32_t) {
    if (!adf_power_on || display_mode != kModeFrq) return 0;
    const bool within = Step > 0 ? standby_tenths <= Limit : standby_tenths >= Limit;
    if (within) standby_tenths += Step;
    return 0;
}

// The old standby becomes the simulator's active frequency, the old active the new standby.
static int32_t GAUGE_CALL frq_button(MOUSE_POINT*, uint32_t) {
    read_active();
    if (!adf_power_on || display_mode != kModeFrq) return 0;
    const uint32_t event =
        standby_tenths >= kAdfTenthsPerThousandKhz ? kEventSetActiveFrom1000 : kEventSetActiveBelow1000;
    trigger_key_event(event, adf_bcd_param(standby_tenths));
    standby_tenths = adf_total_tenths(active);
    return 0;
}

static int32_t GAUGE_CALL flt_et_button(MOUSE_POINT*, uint32_t) {
    display_mode = (display_mode + 1) % kModeCount;
    return 0;
}

static int32_t GAUGE_CALL set_rst_button(MOUSE_POINT*, uint32_t) {
    if (display_mode != kModeEt) return 0;
    const double now = sim_time();
    et_state = (et_state + 1) % kEtStateCount;
    if (et_state == kEtReset) et_start = et_stop = 0.0;
    if (et_state == kEtRunning) et_start = now;
    if (et_state == kEtStopped) et_stop = now;
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers: the OFF / ON / VOL knob

// The flight timer follows power changes made on the ground only.
static void restart_flight_timer() {
    if (token_value(kVarOnGround) > 0) flight_start = std::trunc(sim_time());
}

static void clear_flight_timer() {
    if (token_value(kVarOnGround) > 0) flight_start = 0.0;
}

static void turn_knob(AdfKnob to) {
    const int32_t from = knob_position;
    if (from == to) return;
    knob_position = to;
    // Between ON and VOL the knob is pulled, not turned: no click.
    if (from == kKnobOff || to == kKnobOff) click_sound_play(sound);
    if (to == kKnobOff) adf_power_on = false;
    if (from == kKnobOff) adf_power_on = true;
    if (to == kKnobVol) {
        ident_on = true;
        trigger_key_event(kEventIdentOn, 0);
    }
    if (from == kKnobVol) {
        ident_on = false;
        trigger_key_event(kEventIdentOff, 0);
    }
    if (from == kKnobOff) restart_flight_timer();
    if (to == kKnobOff) clear_flight_timer();
}

static int32_t GAUGE_CALL knob_to_off(MOUSE_POINT*, uint32_t) {
    turn_knob(kKnobOff);
    return 0;
}

static int32_t GAUGE_CALL knob_to_on(MOUSE_POINT*, uint32_t) {
    turn_knob(kKnobOn);
    return 0;
}

static int32_t GAUGE_CALL knob_to_vol(MOUSE_POINT*, uint32_t) {
    turn_knob(kKnobVol);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL adf_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    switch (service) {
    case PANEL_SERVICE_PRE_INSTALL:
        adf_power_on = false;
        ident_on = false;
        standby_tenths = kStandbyAtInstall;
        knob_position = kKnobOff;
        display_mode = kModeFrq;
        et_state = kEtReset;
        if (token_value(kVarIdentAudio) > 0) trigger_key_event(kEventIdentOff, 0);
        click_sound_open(sound, extra, kWaveButtonClick);
        break;
    case PANEL_SERVICE_PRE_UPDATE:
        read_active();
        break;
    case PANEL_SERVICE_PRE_KILL:
        click_sound_close(sound);
        break;
    default:
        break;
    }
}

DEFINE_GAUGE(Bendix_KR87_ADF, root_list, mouse_areas, adf_callback);
