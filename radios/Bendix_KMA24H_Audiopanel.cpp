// Bendix_KMA24H_Audiopanel — audio selector: microphone selector, COM and NAV audio buttons.
// Reads:  0x36A/0x36B COM1/COM2 transmit, 0x36C both COM heard, 0x0A panel lights;
//         nav1_ident_on, nav2_ident_on.
// Sends:  0x1039F/0x103A0 transmit select, 0x103A1 both-COM toggle; NAV ident audio on/off
//         every frame from each NAV button picture.
// Keeps:  selector and NAV buttons (set at module load, kept across installs); writes
//         audio_panel_present and audio_nav1/2_ident_active; click sound, WAVE 30 (selector).
#include "module/click_sound.h"
#include "radios/radio_records.h"
#include "radios/radio_state.h"

using namespace radio;

constexpr uint32_t kVarCom1Transmit = 0x36A;  // 0 no, exactly 1 yes
constexpr uint32_t kVarCom2Transmit = 0x36B;
constexpr uint32_t kVarBothComHeard = 0x36C;  // above 0 yes

constexpr uint32_t kEventCom1Transmit = 0x1039F;
constexpr uint32_t kEventCom2Transmit = 0x103A0;
constexpr uint32_t kEventBothComToggle = 0x103A1;

// Microphone selector: the index of the knob picture (HF 1, PA 4 and EXT 5 are never taken).
enum Selector : uint32_t { kSelectorOff = 0, kSelectorCom1 = 2, kSelectorCom2 = 3 };

// Identifiers of each NAV button.
struct NavButton {
    const bool* ident_on;   // the receiver's identifier switch
    bool* ident_active;     // what the receiver reads: this panel passes its identifier audio
    uint32_t audio_on;      // identifier audio events
    uint32_t audio_off;
};

constexpr NavButton kNav1Button = {&nav1_ident_on, &audio_nav1_ident_active, 0x1012D, 0x10128};
constexpr NavButton kNav2Button = {&nav2_ident_on, &audio_nav2_ident_active, 0x1012E, 0x10129};

static uint32_t selector_position = kSelectorOff;
static bool nav1_in = false;  // NAV1 button pushed in (its speaker and phone buttons are one)
static bool nav2_in = false;
static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order (speaker row left to right, then the phone row)

static double GAUGE_CALL com1_button_cb(IconElement* e);
static double GAUGE_CALL com2_button_cb(IconElement* e);
static double GAUGE_CALL nav1_button_cb(IconElement* e);
static double GAUGE_CALL nav2_button_cb(IconElement* e);
static double GAUGE_CALL idle_button_cb(IconElement* e);
static double GAUGE_CALL selector_cb(IconElement* e);

static FAILURE_RECORD kButtonFailures[] = {
    {kFailElectrical, FAIL_ACTION_NO_DRAW, 0}, {kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

constexpr uint32_t kButtonPictures = 4;  // 1 pressed unlit, 2 released lit, 3 pressed lit
constexpr int32_t kSpeakerRow = 12;
constexpr int32_t kPhoneRow = 42;

#define BUTTON(x, row, cb) icon(2310, {x, row}, kButtonPictures, cb, kButtonFailures)
#define BUTTON_ROW(row)                                                                             \
    BUTTON(65, row, idle_button_cb), BUTTON(90, row, com1_button_cb), BUTTON(111, row, com2_button_cb), \
        BUTTON(136, row, nav1_button_cb), BUTTON(161, row, nav2_button_cb), BUTTON(187, row, idle_button_cb), \
        BUTTON(212, row, idle_button_cb), BUTTON(236, row, idle_button_cb), BUTTON(262, row, idle_button_cb)

constexpr int kColumns = 9;  // HF, COM1, COM2, NAV1, NAV2, DME, MKR, ADF, AUTO

static IconElement volume_knob = icon(2330, {23, 27}, 1, nullptr);
static IconElement buttons[2 * kColumns] = {BUTTON_ROW(kSpeakerRow), BUTTON_ROW(kPhoneRow)};
static IconElement selector = icon(2320, {283, 15}, 6, selector_cb);

#define BUTTON_ROW_HEADERS(r)                                                                            \
    &buttons[r + 0].header, &buttons[r + 1].header, &buttons[r + 2].header, &buttons[r + 3].header,         \
        &buttons[r + 4].header, &buttons[r + 5].header, &buttons[r + 6].header, &buttons[r + 7].header, \
        &buttons[r + 8].header
static ELEMENT_HEADER* children[] = {&volume_knob.header, BUTTON_ROW_HEADERS(0), BUTTON_ROW_HEADERS(kColumns),
                                     &selector.header, nullptr};
static StaticImageElement panel = background(2300, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

static int32_t GAUGE_CALL selector_off(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL selector_com1(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL selector_com2(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL com1_button(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL com2_button(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL nav1_button(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL nav2_button(MOUSE_POINT* point, uint32_t flags);

#define AUDIO_AREA(x, y, w, h, fn)                                                                    \
    {.kind = MOUSE_CHILD,                                                                            \
     .box = {x, y, w, h},                                                                            \
     .cursor = CURSOR_HAND,                                                                          \
     .help_id = 0,                                                                                   \
     .mouse_flags = MOUSE_LEFTSINGLE,                                                                \
     .handler = fn}
#define BUTTON_AREAS(x, fn) AUDIO_AREA(x, kSpeakerRow, 15, 16, fn), AUDIO_AREA(x, kPhoneRow, 15, 16, fn)

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3150},
    AUDIO_AREA(272, 27, 15, 10, selector_off),
    AUDIO_AREA(286, 7, 15, 10, selector_com1),
    AUDIO_AREA(307, 7, 15, 10, selector_com2),
    BUTTON_AREAS(84, com1_button),
    BUTTON_AREAS(105, com2_button),
    BUTTON_AREAS(130, nav1_button),
    BUTTON_AREAS(155, nav2_button),
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

// Button pictures: pressed or released, lit by the panel lights; released and unlit hides the
// icon, so the background's own released button shows.
constexpr double kPressedUnlit = 1.0;
constexpr double kReleasedLit = 2.0;
constexpr double kPressedLit = 3.0;
constexpr double kReleasedUnlit = -1.0;

static double button_picture(bool pressed) {
    const bool lit = token_value(kVarPanelLights) > 0;
    if (pressed) return lit ? kPressedLit : kPressedUnlit;
    return lit ? kReleasedLit : kReleasedUnlit;
}

static double GAUGE_CALL com1_button_cb(IconElement*) {
    return button_picture(token_value(kVarCom1Transmit) > 0 || token_value(kVarBothComHeard) > 0);
}

static double GAUGE_CALL com2_button_cb(IconElement*) {
    return button_picture(token_value(kVarCom2Transmit) > 0 || token_value(kVarBothComHeard) > 0);
}

// Both pictures of a NAV button keep the simulator's identifier audio in line with the button
// every frame: on while the button is in and the receiver's identifier switch is on, off while
// it is out, nothing while it is in and the receiver does not ask for the identifier.
static double nav_button(bool in, const NavButton& b) {
    if (in) {
        *b.ident_active = *b.ident_on;
        if (*b.ident_active) trigger_key_event(b.audio_on, 0);
    } else {
        *b.ident_active = false;
        trigger_key_event(b.audio_off, 0);
    }
    return button_picture(*b.ident_active);
}

static double GAUGE_CALL nav1_button_cb(IconElement*) { return nav_button(nav1_in, kNav1Button); }
static double GAUGE_CALL nav2_button_cb(IconElement*) { return nav_button(nav2_in, kNav2Button); }
static double GAUGE_CALL idle_button_cb(IconElement*) { return button_picture(false); }

// The knob follows the simulator: it moves to OFF, COM1 or COM2 when the two transmit variables
// say so plainly, and otherwise stays where the last click or frame left it.
static double GAUGE_CALL selector_cb(IconElement*) {
    const double a = token_value(kVarCom1Transmit);
    const double b = token_value(kVarCom2Transmit);
    if (a == 0 && b == 0) selector_position = kSelectorOff;
    if (a == 1.0 && b == 0) selector_position = kSelectorCom1;
    if (a == 0 && b == 1.0) selector_position = kSelectorCom2;
    return selector_position;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static void move_selector(uint32_t target) {
    if (selector_position == target) return;
    if (target == kSelectorCom1 || (target == kSelectorOff && selector_position == kSelectorCom1))
        trigger_key_event(kEventCom1Transmit, 0);
    if (target == kSelectorCom2 || (target == kSelectorOff && selector_position == kSelectorCom2))
        trigger_key_event(kEventCom2Transmit, 0);
    selector_position = target;
    click_sound_play(sound);
}

static int32_t GAUGE_CALL selector_off(MOUSE_POINT*, uint32_t) {
    move_selector(kSelectorOff);
    return 0;
}

static int32_t GAUGE_CALL selector_com1(MOUSE_POINT*, uint32_t) {
    move_selector(kSelectorCom1);
    return 0;
}

static int32_t GAUGE_CALL selector_com2(MOUSE_POINT*, uint32_t) {
    move_selector(kSelectorCom2);
    return 0;
}

// A COM button turns hearing both receivers on or off while the other COM transmits; the
// transmitting radio's own button does nothing.
static int32_t GAUGE_CALL com1_button(MOUSE_POINT*, uint32_t) {
    if (token_value(kVarCom2Transmit) > 0) trigger_key_event(kEventBothComToggle, 0);
    return 0;
}

static int32_t GAUGE_CALL com2_button(MOUSE_POINT*, uint32_t) {
    if (token_value(kVarCom1Transmit) > 0) trigger_key_event(kEventBothComToggle, 0);
    return 0;
}

static int32_t GAUGE_CALL nav1_button(MOUSE_POINT*, uint32_t) {
    nav1_in = !nav1_in;
    return 0;
}

static int32_t GAUGE_CALL nav2_button(MOUSE_POINT*, uint32_t) {
    nav2_in = !nav2_in;
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL audio_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) {
        audio_panel_present = true;
        click_sound_open(sound, extra, kWaveButtonClick);
    }
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}

DEFINE_GAUGE(Bendix_KMA24H_Audiopanel, root_list, mouse_areas, audio_callback);
