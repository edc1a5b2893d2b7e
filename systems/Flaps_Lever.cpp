// Flaps_Lever — flaps handle with three detents (up, approach, landing).
// Reads:  0x148 flaps handle (0 to 16383).
// Sends:  0x100DF flaps up a step (upper area), 0x100DE flaps down a step (lower area), through the
//         areas' events.
// Keeps:  nothing.
#include "systems/systems_records.h"

constexpr uint32_t kVarFlapsHandle = 0x148;
constexpr double kHandleUpBelow = 100.0;
constexpr double kHandleMiddleAbove = 6000.0;
constexpr double kHandleMiddleBelow = 10000.0;
constexpr double kHandleDownAbove = 16000.0;
constexpr int32_t kPictureUp = 0;
constexpr int32_t kPictureMiddle = 1;
constexpr int32_t kPictureDown = 2;

static double GAUGE_CALL lever_picture(IconElement*);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement lever_icon = icon_image(5490, {0, 0}, 3, kVarFlapsHandle, &lever_picture);
static ELEMENT_HEADER* children[] = {&lever_icon.header, nullptr};
static StaticImageElement background = background_image(5480, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB7D, {
    event_area({4, 2, 70, 64}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, 0x100DF),
    event_area({4, 64, 70, 64}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, 0x100DE),
});

DEFINE_GAUGE(Flaps_Lever, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callback: the lever picture at a detent; between detents it shows up.

static double GAUGE_CALL lever_picture(IconElement* e) {
    double handle = e->source_var.var_value.n;
    if (handle < kHandleUpBelow) return kPictureUp;
    if (handle > kHandleMiddleAbove && handle < kHandleMiddleBelow) return kPictureMiddle;
    if (handle > kHandleDownAbove) return kPictureDown;
    return kPictureUp;
}
