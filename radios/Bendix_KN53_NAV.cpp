// Bendix_KN53_NAV1, Bendix_KN53_NAV2 — VHF navigation receivers.
// Reads:  0x18/0x1B active, 0x368/0x369 standby (BCD), 0x0A panel lights; the audio panel's
//         audio_panel_present and audio_nav1/2_ident_active.
// Sends:  standby whole-MHz and fraction up/down, only while on and within 108-117.95 MHz;
//         identifier audio off at install and when the knob leaves PULL IDENT, on when it reaches
//         it (unless an audio panel holds it back); the transfer is the host's, from its area.
// Keeps:  nav1/2_power_on and nav1/2_ident_on (module-wide, off at every install), the knob, the
//         standby's cached whole MHz and hundredths, click sound (WAVE 30, the knob only).
#include "module/click_sound.h"
#include "module/radio_bcd.h"
#include "radios/radio_records.h"
#include "radios/radio_state.h"
#include "radios/radio_text.h"

using namespace radio;

// ----------------------------------------------------------------------------------------------
// Identifiers of each receiver

struct NavTwin {
    GAUGEHDR* gauge;
    uint32_t active_var;
    uint32_t standby_var;
    uint32_t whole_up;
    uint32_t whole_down;
    uint32_t fraction_up;
    uint32_t fraction_down;
    uint32_t ident_off;
    uint32_t ident_on;
    uint32_t transfer;
    uint32_t tooltip_help;
    uint32_t parent_help;
    int32_t select_whole;     // highlight selection of the whole MHz
    int32_t select_fraction;  // highlight selection of the fraction
    uint32_t failure_key;     // the receiver's own failure (no action)
    bool* power_on;
    bool* ident_switch;
    const bool* audio_ident_active;
};

constexpr int kNavCount = 2;
constexpr NavTwin kNav[kNavCount] = {
    {&gauge_Bendix_KN53_NAV1, 0x18, 0x368, 0x10069, 0x10068, 0x1006B, 0x1006A, 0x10128, 0x1012D, 0x10390, 0x3168,
     0xA700, 6, 7, 14, &nav1_power_on, &nav1_ident_on, &audio_nav1_ident_active},
    {&gauge_Bendix_KN53_NAV2, 0x1B, 0x369, 0x1006D, 0x1006C, 0x1006F, 0x1006E, 0x10129, 0x1012E, 0x10394, 0x3169,
     0xA702, 8, 9, 15, &nav2_power_on, &nav2_ident_on, &audio_nav2_ident_active},
};

constexpr int32_t kNavWholeMhzMax = 117;    // whole-up only below
constexpr int32_t kNavWholeMhzMin = 108;    // whole-down only above
constexpr int32_t kNavFractionMaxKhz = 117950;  // fraction-up only below
constexpr int32_t kNavFractionMinKhz = 108050;  // fraction-down only from here up
constexpr int32_t kKhzPerMhz = 1000, kKhzPerHundredth = 10;

enum NavKnob : int32_t { kKnobOff = 0, kKnobOn = 1, kKnobIdent = 2 };

struct NavState {
    int32_t knob_position;      // NavKnob
    double standby_whole_mhz;   // refreshed every frame and by the whole-MHz handlers
    double standby_hundredths;  // refreshed every frame and by the fraction handlers
    ClickSound sound;
};

static NavState nav[kNavCount];

static int twin_of(const GAUGEHDR* gauge) {
    for (int t = 0; t < kNavCount; ++t)
        if (kNav[t].gauge == gauge) return t;
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

static double GAUGE_CALL transfer_light_cb(IconElement* e);
static double GAUGE_CALL frequency_cb(StringElement* e);
static double GAUGE_CALL knob_cb(IconElement* e);
static double GAUGE_CALL lamp_cb(IconElement* e);
static double GAUGE_CALL cover_cb(IconElement* e);

static FAILURE_RECORD kLightFailures[] = {{kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};
#define NAV_FAILURES(t) \
    {{kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, {kNav[t].failure_key, FAIL_ACTION_NONE, 0}, FAILURE_END}
static FAILURE_RECORD digit_failures[kNavCount][3] = {NAV_FAILURES(0), NAV_FAILURES(1)};

#define NAV_HIGHLIGHTS(t) {{kNav[t].select_whole, 0, 2}, {kNav[t].select_fraction, 4, 5}, {0, 0, 0}}
static const SEQ_REC standby_highlights[kNavCount][3] = {NAV_HIGHLIGHTS(0), NAV_HIGHLIGHTS(1)};

constexpr PIXPOINT kWindowBox = {84, 32};
constexpr uint32_t kFrequencyChars = 6;

#define NAV_TRANSFER_LIGHT icon(2290, {103, 50}, 1, transfer_light_cb, kLightFailures)
#define NAV_STANDBY(t)                                                                                   \
    digits({155, 8}, kWindowBox, kFrequencyChars, kWeightBold, frequency_cb, digit_failures[t], kNav[t].standby_var, \
           0, standby_highlights[t])
#define NAV_ACTIVE(t) \
    digits({42, 8}, kWindowBox, kFrequencyChars, kWeightBold, frequency_cb, digit_failures[t], kNav[t].active_var)
#define NAV_KNOB icon(1410, {241, 39}, 3, knob_cb)
#define NAV_LAMP(t) icon(1430, {211, 53}, 1, lamp_cb, digit_failures[t])
#define NAV_COVER icon(1420, {8, 7}, 1, cover_cb)

static IconElement transfer_light[kNavCount] = {NAV_TRANSFER_LIGHT, NAV_TRANSFER_LIGHT};
static StringElement standby_window[kNavCount] = {NAV_STANDBY(0), NAV_STANDBY(1)};
static StringElement active_window[kNavCount] = {NAV_ACTIVE(0), NAV_ACTIVE(1)};
static IconElement knob[kNavCount] = {NAV_KNOB, NAV_KNOB};
static IconElement lamp[kNavCount] = {NAV_LAMP(0), NAV_LAMP(1)};
static IconElement cover[kNavCount] = {NAV_COVER, NAV_COVER};

#define NAV_CHILDREN(t)                                                                              \
    {&transfer_light[t].header, &standby_window[t].header, &active_window[t].header, &knob[t].header, \
     &lamp[t].header, &cover[t].header, nullptr}
static ELEMENT_HEADER* children[kNavCount][7] = {NAV_CHILDREN(0), NAV_CHILDREN(1)};

static StaticImageElement panel[kNavCount] = {background(1390, children[0]), background(1390, children[1])};
static ELEMENT_HEADER* nav1_root[] = {&panel[0].header, nullptr};
static ELEMENT_HEADER* nav2_root[] = {&panel[1].header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

static int32_t GAUGE_CALL whole_up(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL whole_down(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL fraction_up(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL fraction_down(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_to_off(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_to_on(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_to_ident(MOUSE_POINT* point, uint32_t flags);

constexpr uint32_t kLeftRepeat = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

#define NAV_AREA(x, y, w, h, cur, fl, fn) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = cur, .help_id = 0, .mouse_flags = fl, .handler = fn}
#define NAV_AREAS(t)                                                                                       \
    {                                                                                                      \
        {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = kNav[t].parent_help},                      \
        {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = kNav[t].tooltip_help},                    \
        NAV_AREA(155, 4, 42, 19, CURSOR_UPARROW, kLeftRepeat, whole_up),                                    \
        NAV_AREA(155, 23, 42, 19, CURSOR_DOWNARROW, kLeftRepeat, whole_down),                               \
        NAV_AREA(211, 4, 28, 19, CURSOR_UPARROW, kLeftRepeat, fraction_up),                                 \
        NAV_AREA(211, 23, 28, 19, CURSOR_DOWNARROW, kLeftRepeat, fraction_down),                            \
        NAV_AREA(288, 19, 20, 20, CURSOR_UPARROW, MOUSE_LEFTSINGLE, whole_up),                              \
        NAV_AREA(288, 39, 20, 20, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, whole_down),                          \
        NAV_AREA(308, 19, 20, 20, CURSOR_UPARROW, MOUSE_LEFTSINGLE, fraction_up),                           \
        NAV_AREA(308, 39, 20, 20, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, fraction_down),                       \
        NAV_AREA(221, 55, 24, 13, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_to_off),                              \
        NAV_AREA(221, 42, 24, 13, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_to_on),                               \
        NAV_AREA(260, 52, 24, 13, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_to_ident),                            \
        {.kind = MOUSE_CHILD,                                                                              \
         .box = {103, 50, 23, 18},                                                                         \
         .cursor = CURSOR_HAND,                                                                            \
         .help_id = 0,                                                                                     \
         .mouse_flags = MOUSE_LEFTSINGLE,                                                                  \
         .event_id = kNav[t].transfer},                                                                    \
        {.kind = MOUSE_PARENT_END},                                                                        \
        {.kind = MOUSE_END},                                                                               \
    }

static MOUSERECT nav1_areas[] = NAV_AREAS(0);
static MOUSERECT nav2_areas[] = NAV_AREAS(1);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL transfer_light_cb(IconElement* e) {
    return *kNav[e - transfer_light].power_on && token_value(kVarPanelLights) > 0 ? 0.0 : -1.0;
}

// Both windows: the BCD word behind a literal 1 ("1%02x.%02x"); the value is the variable's own.
static double GAUGE_CALL frequency_cb(StringElement* e) {
    const double v = e->source_var[0].var_value.n;
    frequency_text(e->string, string_capacity(e), frequency_word(v));
    return v;
}

static double GAUGE_CALL knob_cb(IconElement* e) { return nav[e - knob].knob_position; }

static double GAUGE_CALL lamp_cb(IconElement* e) { return *kNav[e - lamp].power_on ? 0.0 : -1.0; }

static double GAUGE_CALL cover_cb(IconElement* e) { return *kNav[e - cover].power_on ? -1.0 : 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers: tuning

static uint32_t standby_word(int t) { return frequency_word(token_value(kNav[t].standby_var)); }

static void refresh_whole(int t) { nav[t].standby_whole_mhz = nav_whole_mhz(standby_word(t)); }
static void refresh_hundredths(int t) { nav[t].standby_hundredths = frequency_hundredths(standby_word(t)); }

// In whole kHz: the limits are met exactly, whatever the rounding of a sum of doubles.
static int32_t standby_khz(int t) {
    return int32_t(nav[t].standby_whole_mhz) * kKhzPerMhz + int32_t(nav[t].standby_hundredths) * kKhzPerHundredth;
}

static int32_t GAUGE_CALL whole_up(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_whole(t);
    if (nav[t].standby_whole_mhz < kNavWholeMhzMax && *kNav[t].power_on) trigger_key_event(kNav[t].whole_up, 0);
    return 0;
}

static int32_t GAUGE_CALL whole_down(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_whole(t);
    if (nav[t].standby_whole_mhz > kNavWholeMhzMin && *kNav[t].power_on) trigger_key_event(kNav[t].whole_down, 0);
    return 0;
}

static int32_t GAUGE_CALL fraction_up(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_hundredths(t);
    if (standby_khz(t) < kNavFractionMaxKhz && *kNav[t].power_on) trigger_key_event(kNav[t].fraction_up, 0);
    return 0;
}

static int32_t GAUGE_CALL fraction_down(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_hundredths(t);
    if (standby_khz(t) >= kNavFractionMinKhz && *kNav[t].power_on) trigger_key_event(kNav[t].fraction_down, 0);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers: the OFF / ON / PULL IDENT knob

// Into PULL IDENT the receiver turns its identifier audio on itself only while no audio panel
// governs it, or the audio panel already passes it.
static void ident_on(int t) {
    *kNav[t].ident_switch = true;
    if (!audio_panel_present || *kNav[t].audio_ident_active) trigger_key_event(kNav[t].ident_on, 0);
}

static void ident_off(int t) {
    *kNav[t].ident_switch = false;
    trigger_key_event(kNav[t].ident_off, 0);
}

static void turn_knob(GAUGEHDR* gauge, NavKnob to) {
    const int t = twin_of(gauge);
    NavState& s = nav[t];
    const int32_t from = s.knob_position;
    if (from == to) return;
    s.knob_position = to;
    click_sound_play(s.sound);
    if (to == kKnobOff) *kNav[t].power_on = false;
    if (from == kKnobOff) *kNav[t].power_on = true;
    if (to == kKnobIdent) ident_on(t);
    if (from == kKnobIdent) ident_off(t);
}

static int32_t GAUGE_CALL knob_to_off(MOUSE_POINT* point, uint32_t) {
    turn_knob(point->gauge, kKnobOff);
    return 0;
}

static int32_t GAUGE_CALL knob_to_on(MOUSE_POINT* point, uint32_t) {
    turn_knob(point->gauge, kKnobOn);
    return 0;
}

static int32_t GAUGE_CALL knob_to_ident(MOUSE_POINT* point, uint32_t) {
    turn_knob(point->gauge, kKnobIdent);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL nav_callback(GAUGEHDR* gauge, int32_t service, GaugeExtra extra) {
    const int t = twin_of(gauge);
    NavState& s = nav[t];
    switch (service) {
    case PANEL_SERVICE_PRE_INSTALL:
        *kNav[t].power_on = false;
        *kNav[t].ident_switch = false;
        s.knob_position = kKnobOff;
        trigger_key_event(kNav[t].ident_off, 0);
        click_sound_open(s.sound, extra, kWaveButtonClick);
        break;
    case PANEL_SERVICE_PRE_UPDATE:
        refresh_whole(t);
        refresh_hundredths(t);
        break;
    case PANEL_SERVICE_PRE_KILL:
        click_sound_close(s.sound);
        break;
    default:
        break;
    }
}

DEFINE_GAUGE(Bendix_KN53_NAV1, nav1_root, nav1_areas, nav_callback);
DEFINE_GAUGE(Bendix_KN53_NAV2, nav2_root, nav2_areas, nav_callback);
