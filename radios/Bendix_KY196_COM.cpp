// Bendix_KY196_COM1, Bendix_KY196_COM2 — VHF communication transceivers.
// Reads:  0x17/0x366 active, 0x269/0x367 standby (BCD), 0x0A panel lights.
// Sends:  standby whole-MHz and fraction up/down, only while on and within 118-136.975 MHz; the
//         transfer is the host's, from its mouse area's event.
// Keeps:  per transceiver: power knob (off at every install), the standby's cached whole MHz and
//         hundredths, click sound (WAVE 30, the power knob only).
#include "module/click_sound.h"
#include "module/radio_bcd.h"
#include "radios/radio_records.h"
#include "radios/radio_text.h"

using namespace radio;

// ----------------------------------------------------------------------------------------------
// Identifiers of each transceiver

struct ComTwin {
    GAUGEHDR* gauge;
    uint32_t active_var;
    uint32_t standby_var;
    uint32_t whole_up;
    uint32_t whole_down;
    uint32_t fraction_up;
    uint32_t fraction_down;
    uint32_t transfer;
    uint32_t tooltip_help;
    int32_t select_whole;     // highlight selection of the whole MHz
    int32_t select_fraction;  // highlight selection of the fraction
};

constexpr int kComCount = 2;
constexpr ComTwin kCom[kComCount] = {
    {&gauge_Bendix_KY196_COM1, 0x17, 0x269, 0x10065, 0x10064, 0x10067, 0x10066, 0x10344, 0x3160, 4, 5},
    {&gauge_Bendix_KY196_COM2, 0x366, 0x367, 0x10385, 0x10384, 0x10388, 0x10386, 0x1038C, 0x3161, 27, 28},
};

constexpr int32_t kComWholeMhzMax = 136;      // whole-up only below
constexpr int32_t kComWholeMhzMin = 118;      // whole-down only above
constexpr int32_t kComFractionMaxKhz = 136975;  // fraction-up only below
constexpr int32_t kComFractionMinKhz = 118000;  // fraction-down only above
constexpr int32_t kKhzPerMhz = 1000, kKhzPerHundredth = 10;

enum ComKnob : int32_t { kKnobOff = 0, kKnobOn = 1 };

struct ComState {
    bool power_on;              // switched on by its own knob
    int32_t knob_position;      // ComKnob
    double standby_whole_mhz;   // refreshed every frame and by the whole-MHz handlers
    double standby_hundredths;  // refreshed every frame and by the fraction handlers
    ClickSound sound;
};

static ComState com[kComCount];

static int twin_of(const GAUGEHDR* gauge) {
    for (int t = 0; t < kComCount; ++t)
        if (kCom[t].gauge == gauge) return t;
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
static FAILURE_RECORD kDigitFailures[] = {
    {kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, {9, FAIL_ACTION_NONE, 0}, FAILURE_END};

constexpr PIXPOINT kWindowBox = {84, 33};
constexpr uint32_t kFrequencyChars = 6;

#define COM_HIGHLIGHTS(t) \
    {{kCom[t].select_whole, 0, 2}, {kCom[t].select_fraction, 4, 5}, {0, 0, 0}}
static const SEQ_REC standby_highlights[kComCount][3] = {COM_HIGHLIGHTS(0), COM_HIGHLIGHTS(1)};

#define COM_TRANSFER_LIGHT icon(2290, {101, 50}, 1, transfer_light_cb, kLightFailures)
#define COM_STANDBY(t)                                                                                  \
    digits({136, 6}, kWindowBox, kFrequencyChars, kWeightBold, frequency_cb, kDigitFailures, kCom[t].standby_var, \
           0, standby_highlights[t])
#define COM_ACTIVE(t) \
    digits({16, 6}, kWindowBox, kFrequencyChars, kWeightBold, frequency_cb, kDigitFailures, kCom[t].active_var)
#define COM_KNOB icon(1410, {236, 38}, 3, knob_cb)
#define COM_LAMP icon(1430, {163, 54}, 1, lamp_cb, kDigitFailures)
#define COM_COVER icon(2280, {9, 5}, 1, cover_cb)

static IconElement transfer_light[kComCount] = {COM_TRANSFER_LIGHT, COM_TRANSFER_LIGHT};
static StringElement standby_window[kComCount] = {COM_STANDBY(0), COM_STANDBY(1)};
static StringElement active_window[kComCount] = {COM_ACTIVE(0), COM_ACTIVE(1)};
static IconElement knob[kComCount] = {COM_KNOB, COM_KNOB};
static IconElement lamp[kComCount] = {COM_LAMP, COM_LAMP};
static IconElement cover[kComCount] = {COM_COVER, COM_COVER};

#define COM_CHILDREN(t)                                                                              \
    {&transfer_light[t].header, &standby_window[t].header, &active_window[t].header, &knob[t].header, \
     &lamp[t].header, &cover[t].header, nullptr}
static ELEMENT_HEADER* children[kComCount][7] = {COM_CHILDREN(0), COM_CHILDREN(1)};

static StaticImageElement panel[kComCount] = {background(2270, children[0]), background(2270, children[1])};
static ELEMENT_HEADER* com1_root[] = {&panel[0].header, nullptr};
static ELEMENT_HEADER* com2_root[] = {&panel[1].header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

static int32_t GAUGE_CALL whole_up(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL whole_down(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL fraction_up(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL fraction_down(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_off(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL knob_on(MOUSE_POINT* point, uint32_t flags);

constexpr uint32_t kLeftRepeat = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

#define COM_AREA(x, y, w, h, cur, fl, fn) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = cur, .help_id = 0, .mouse_flags = fl, .handler = fn}
#define COM_AREAS(t)                                                                                       \
    {                                                                                                      \
        {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0},                                        \
        {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = kCom[t].tooltip_help},                    \
        COM_AREA(136, 4, 42, 19, CURSOR_UPARROW, kLeftRepeat, whole_up),                                    \
        COM_AREA(136, 23, 42, 19, CURSOR_DOWNARROW, kLeftRepeat, whole_down),                               \
        COM_AREA(192, 4, 28, 19, CURSOR_UPARROW, kLeftRepeat, fraction_up),                                 \
        COM_AREA(192, 23, 28, 19, CURSOR_DOWNARROW, kLeftRepeat, fraction_down),                            \
        COM_AREA(289, 18, 20, 20, CURSOR_UPARROW, MOUSE_LEFTSINGLE, whole_up),                              \
        COM_AREA(289, 38, 20, 20, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, whole_down),                          \
        COM_AREA(309, 18, 20, 20, CURSOR_UPARROW, MOUSE_LEFTSINGLE, fraction_up),                           \
        COM_AREA(309, 38, 20, 20, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, fraction_down),                       \
        COM_AREA(222, 54, 17, 10, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_off),                                 \
        COM_AREA(222, 41, 17, 10, CURSOR_HAND, MOUSE_LEFTSINGLE, knob_on),                                  \
        {.kind = MOUSE_CHILD,                                                                              \
         .box = {101, 50, 23, 18},                                                                         \
         .cursor = CURSOR_HAND,                                                                            \
         .help_id = 0,                                                                                     \
         .mouse_flags = MOUSE_LEFTSINGLE,                                                                  \
         .event_id = kCom[t].transfer},                                                                    \
        {.kind = MOUSE_PARENT_END},                                                                        \
        {.kind = MOUSE_END},                                                                               \
    }

static MOUSERECT com1_areas[] = COM_AREAS(0);
static MOUSERECT com2_areas[] = COM_AREAS(1);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL transfer_light_cb(IconElement* e) {
    const ComState& s = com[e - transfer_light];
    return s.power_on && token_value(kVarPanelLights) > 0 ? 0.0 : -1.0;
}

// Both windows: the BCD word behind a literal 1 ("1%02x.%02x"); the value is the variable's own.
static double GAUGE_CALL frequency_cb(StringElement* e) {
    const double v = e->source_var[0].var_value.n;
    frequency_text(e->string, string_capacity(e), frequency_word(v));
    return v;
}

static double GAUGE_CALL knob_cb(IconElement* e) { return com[e - knob].knob_position; }

static double GAUGE_CALL lamp_cb(IconElement* e) { return com[e - lamp].power_on ? 0.0 : -1.0; }

static double GAUGE_CALL cover_cb(IconElement* e) { return com[e - cover].power_on ? -1.0 : 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static uint32_t standby_word(int t) { return frequency_word(token_value(kCom[t].standby_var)); }

static void refresh_whole(int t) { com[t].standby_whole_mhz = com_whole_mhz(standby_word(t)); }
static void refresh_hundredths(int t) { com[t].standby_hundredths = frequency_hundredths(standby_word(t)); }

// In whole kHz: the limits are met exactly, whatever the rounding of a sum of doubles.
static int32_t standby_khz(int t) {
    return int32_t(com[t].standby_whole_mhz) * kKhzPerMhz + int32_t(com[t].standby_hundredths) * kKhzPerHundredth;
}

static int32_t GAUGE_CALL whole_up(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_whole(t);
    if (com[t].standby_whole_mhz < kComWholeMhzMax && com[t].power_on) trigger_key_event(kCom[t].whole_up, 0);
    return 0;
}

static int32_t GAUGE_CALL whole_down(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_whole(t);
    if (com[t].standby_whole_mhz > kComWholeMhzMin && com[t].power_on) trigger_key_event(kCom[t].whole_down, 0);
    return 0;
}

static int32_t GAUGE_CALL fraction_up(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_hundredths(t);
    if (standby_khz(t) < kComFractionMaxKhz && com[t].power_on) trigger_key_event(kCom[t].fraction_up, 0);
    return 0;
}

static int32_t GAUGE_CALL fraction_down(MOUSE_POINT* point, uint32_t) {
    const int t = twin_of(point->gauge);
    refresh_hundredths(t);
    if (standby_khz(t) > kComFractionMinKhz && com[t].power_on) trigger_key_event(kCom[t].fraction_down, 0);
    return 0;
}

static int32_t GAUGE_CALL knob_off(MOUSE_POINT* point, uint32_t) {
    ComState& s = com[twin_of(point->gauge)];
    if (s.power_on) {
        s.knob_position = kKnobOff;
        click_sound_play(s.sound);
        s.power_on = false;
    }
    return 0;
}

static int32_t GAUGE_CALL knob_on(MOUSE_POINT* point, uint32_t) {
    ComState& s = com[twin_of(point->gauge)];
    if (!s.power_on) {
        s.knob_position = kKnobOn;
        click_sound_play(s.sound);
        s.power_on = true;
    }
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL com_callback(GAUGEHDR* gauge, int32_t service, GaugeExtra extra) {
    const int t = twin_of(gauge);
    ComState& s = com[t];
    switch (service) {
    case PANEL_SERVICE_PRE_INSTALL:
        s.power_on = false;
        s.knob_position = kKnobOff;
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

DEFINE_GAUGE(Bendix_KY196_COM1, com1_root, com1_areas, com_callback);
DEFINE_GAUGE(Bendix_KY196_COM2, com2_root, com2_areas, com_callback);
