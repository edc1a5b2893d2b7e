// Bendix_KMA24H_Audiopanel — audio selector: microphone selector, COM and NAV audio buttons.
// Reads:  0x36A/0x36B COM1/COM2 transmit, 0x36C both COM heard, 0x0A panel lights;
//         nav1_ident_on, nav2_ident_on.
// Sends:  0x1039F/0x103A0 transmit select, 0x103A1 both-COM toggle, NAV ident audio on/off.
// Keeps:  selector and NAV buttons (module load only); audio_panel_present and the NAV ident
//         flags; click sound, WAVE 30. The records are complete; the selector and button logic is
//         still to come, so the callbacks show the panel at rest.
#include "module/click_sound.h"
#include "radios/radio_records.h"

using namespace radio;

static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order (speaker row left to right, then the phone row)

static double GAUGE_CALL com1_button_cb(IconElement* e);
static double GAUGE_CALL com2_button_cb(IconElement* e);
static double GAUGE_CALL nav1_button_cb(IconElement* e);
static double GAUGE_CALL nav2_button_cb(IconElement* e);
static double GAUGE_CALL idle_button_cb(IconElement* e);
static double GAUGE_CALL selector_cb(IconElement* e);

static const FAILURE_RECORD kButtonFailures[] = {
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
// Element callbacks: every button released and unlit, the selector at OFF

static double GAUGE_CALL com1_button_cb(IconElement*) { return -1.0; }
static double GAUGE_CALL com2_button_cb(IconElement*) { return -1.0; }
static double GAUGE_CALL nav1_button_cb(IconElement*) { return -1.0; }
static double GAUGE_CALL nav2_button_cb(IconElement*) { return -1.0; }
static double GAUGE_CALL idle_button_cb(IconElement*) { return -1.0; }
static double GAUGE_CALL selector_cb(IconElement*) { return 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL selector_off(MOUSE_POINT*, uint32_t) { return 0; }
static int32_t GAUGE_CALL selector_com1(MOUSE_POINT*, uint32_t) { return 0; }
static int32_t GAUGE_CALL selector_com2(MOUSE_POINT*, uint32_t) { return 0; }
static int32_t GAUGE_CALL com1_button(MOUSE_POINT*, uint32_t) { return 0; }
static int32_t GAUGE_CALL com2_button(MOUSE_POINT*, uint32_t) { return 0; }
static int32_t GAUGE_CALL nav1_button(MOUSE_POINT*, uint32_t) { return 0; }
static int32_t GAUGE_CALL nav2_button(MOUSE_POINT*, uint32_t) { return 0; }

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL audio_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveButtonClick);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}

DEFINE_GAUGE(Bendix_KMA24H_Audiopanel, root_list, mouse_areas, audio_callback);
