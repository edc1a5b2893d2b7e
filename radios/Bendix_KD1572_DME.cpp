// Bendix_KD1572_DME — DME indicator: distance, ground speed and time to station.
// Reads:  0x174 distance (negative: no reading), 0x175 ground speed, 0x176 time to station;
//         nav1_power_on, nav2_power_on.
// Sends:  0x100FB (DME follows NAV1) and 0x100FC (follows NAV2) as the selector enters them.
// Keeps:  the selector OFF / NAV1 / NAV2 (OFF at module load only; install keeps it); click
//         sound, WAVE 30.
#include "module/click_sound.h"
#include "radios/radio_records.h"
#include "radios/radio_state.h"
#include "radios/radio_text.h"

using namespace radio;

constexpr uint32_t kVarDistance = 0x174;
constexpr uint32_t kVarSpeed = 0x175;
constexpr uint32_t kVarTime = 0x176;

constexpr uint32_t kEventFollowNav1 = 0x100FB;
constexpr uint32_t kEventFollowNav2 = 0x100FC;

enum Selector : int32_t { kSelectorOff = 0, kSelectorNav1 = 1, kSelectorNav2 = 2 };

static int32_t dme_selector = kSelectorOff;  // Selector; survives kill and install
static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

static double GAUGE_CALL selector_cb(IconElement* e);
static double GAUGE_CALL min_word_cb(StringElement* e);
static double GAUGE_CALL kt_word_cb(StringElement* e);
static double GAUGE_CALL nm_word_cb(StringElement* e);
static double GAUGE_CALL time_cb(StringElement* e);
static double GAUGE_CALL speed_cb(StringElement* e);
static double GAUGE_CALL distance_cb(StringElement* e);
static double GAUGE_CALL cover_cb(IconElement* e);

static FAILURE_RECORD kTextFailures[] = {{kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

constexpr int32_t kUnitRow = 21;     // unit words under the readings
constexpr int32_t kReadingRow = 7;

static IconElement selector = icon(1470, {75, 41}, 3, selector_cb);
static StringElement min_word =
    digits({127, kUnitRow}, {27, 10}, 3, kWeightNormal, min_word_cb, kTextFailures, kVarTime, kVarDistance);
static StringElement kt_word =
    digits({93, kUnitRow}, {18, 10}, 4, kWeightNormal, kt_word_cb, kTextFailures, kVarSpeed, kVarDistance);
static StringElement nm_word =
    digits({42, kUnitRow}, {18, 10}, 2, kWeightNormal, nm_word_cb, kTextFailures, kVarDistance, kVarDistance);
static StringElement time_text =
    digits({129, kReadingRow}, {24, 14}, 2, kWeightNormal, time_cb, kTextFailures, kVarTime, kVarDistance);
static StringElement speed_text =
    digits({78, kReadingRow}, {48, 14}, 4, kWeightNormal, speed_cb, kTextFailures, kVarSpeed, kVarDistance);
static StringElement distance_text =
    digits({27, kReadingRow}, {48, 14}, 4, kWeightNormal, distance_cb, kTextFailures, kVarDistance, kVarDistance);
static IconElement cover = icon(1480, {14, 7}, 1, cover_cb);

static ELEMENT_HEADER* children[] = {&selector.header,   &min_word.header,   &kt_word.header,
                                     &nm_word.header,    &time_text.header,  &speed_text.header,
                                     &distance_text.header, &cover.header,   nullptr};
static StaticImageElement panel = background(1460, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

static int32_t GAUGE_CALL turn_anticlockwise(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL turn_clockwise(MOUSE_POINT* point, uint32_t flags);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_PARENT, .box = {0, 0, 180, 32}, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x317A},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_PARENT, .box = {66, 32, 50, 31}, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x317C},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_CHILD,
     .box = {70, 42, 20, 25},
     .cursor = CURSOR_LEFTARROW,
     .help_id = 0,
     .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = turn_anticlockwise},
    {.kind = MOUSE_CHILD,
     .box = {90, 42, 20, 25},
     .cursor = CURSOR_RIGHTARROW,
     .help_id = 0,
     .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = turn_clockwise},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL selector_cb(IconElement*) { return dme_selector; }

static double unit_word(StringElement* e, const char* word) {
    put_word(e->string, string_capacity(e), word);
    return e->source_var[0].var_value.n;
}

static double GAUGE_CALL min_word_cb(StringElement* e) { return unit_word(e, "MIN"); }
static double GAUGE_CALL kt_word_cb(StringElement* e) { return unit_word(e, "KT"); }
static double GAUGE_CALL nm_word_cb(StringElement* e) { return unit_word(e, "NM"); }

// Dashes while there is no reading (a negative distance, or none at all) or the receiver the
// selector names is switched off.
static bool reading_valid(const StringElement* e) {
    const double distance = e->source_var[1].var_value.n;
    if (!(distance >= 0.0)) return false;
    if (dme_selector == kSelectorNav1 && !nav1_power_on) return false;
    if (dme_selector == kSelectorNav2 && !nav2_power_on) return false;
    return true;
}

constexpr int kTimeDigits = 2;
constexpr int kSpeedDigits = 3;

static double GAUGE_CALL time_cb(StringElement* e) {
    const double x = e->source_var[0].var_value.n;
    if (reading_valid(e))
        dme_whole_text(e->string, string_capacity(e), x, kTimeDigits);
    else
        dashes(e->string, string_capacity(e));
    return x;
}

static double GAUGE_CALL speed_cb(StringElement* e) {
    const double x = e->source_var[0].var_value.n;
    if (reading_valid(e))
        dme_whole_text(e->string, string_capacity(e), x, kSpeedDigits);
    else
        dashes(e->string, string_capacity(e));
    return x;
}

static double GAUGE_CALL distance_cb(StringElement* e) {
    const double x = e->source_var[0].var_value.n;
    if (reading_valid(e))
        dme_distance_text(e->string, string_capacity(e), x);
    else
        dashes(e->string, string_capacity(e));
    return x;
}

static double GAUGE_CALL cover_cb(IconElement*) { return dme_selector == kSelectorOff ? 0.0 : -1.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL turn_anticlockwise(MOUSE_POINT*, uint32_t) {
    if (dme_selector == kSelectorOff) return 0;
    --dme_selector;
    click_sound_play(sound);
    if (dme_selector == kSelectorNav1) trigger_key_event(kEventFollowNav1, 0);
    return 0;
}

static int32_t GAUGE_CALL turn_clockwise(MOUSE_POINT*, uint32_t) {
    if (dme_selector == kSelectorNav2) return 0;
    ++dme_selector;
    click_sound_play(sound);
    trigger_key_event(dme_selector == kSelectorNav1 ? kEventFollowNav1 : kEventFollowNav2, 0);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL dme_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveButtonClick);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}

DEFINE_GAUGE(Bendix_KD1572_DME, root_list, mouse_areas, dme_callback);
