// Pitch_Trim_Wheel — elevator trim wheel whose picture turns with the trim.
// Reads:  0x30F pitch trim (radians).
// Sends:  0x10047 (upper area) and 0x1004F (lower area), repeating while held, through the areas'
//         events.
// Keeps:  nothing.
#include <cmath>

#include "systems/systems_records.h"

constexpr uint32_t kVarPitchTrim = 0x30F;
// A new picture every 0.2 degrees of trim, four pictures repeating every 0.8 degrees; the offset
// puts the turn in phase with the wheel's art.
constexpr double kWheelPhase = 1.1459155902616465;
constexpr double kWheelStep = 0.003490658503988659;
constexpr double kWheelTurn = 0.013962634015954637;
constexpr uint32_t kWheelPictures = 4;

static double GAUGE_CALL wheel_picture(IconElement*);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement wheel_icon = icon_image(5470, {0, 0}, kWheelPictures, kVarPitchTrim, &wheel_picture);
static ELEMENT_HEADER* children[] = {&wheel_icon.header, nullptr};
static StaticImageElement background = background_image(5460, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB53, {
    event_area({0, 0, 35, 132}, CURSOR_UPARROW, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, 0x10047),
    event_area({0, 132, 35, 132}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, 0x1004F),
});

DEFINE_GAUGE(Pitch_Trim_Wheel, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callback: the picture index, always one of the four (a trim far below the phase would
// give a negative remainder, and a reading that is not a number no picture at all).

static double GAUGE_CALL wheel_picture(IconElement* e) {
    double turn = std::fmod(e->source_var.var_value.n + kWheelPhase, kWheelTurn);
    if (!std::isfinite(turn)) return 0.0;
    if (turn < 0) turn += kWheelTurn;
    return std::fmin(turn / kWheelStep, kWheelPictures - 1e-9);
}
