// Bendix_KI256_ADI — attitude indicator with flight director command bars and GYRO flag.
// Reads:  0x4E pitch, 0x50 bank, 0x318 flight director on, 0x319 / 0x31A its pitch and bank
//         commands, 0x117 / 0x114 / 0x120 electrical, attitude and vacuum failures.
// Sends:  nothing.
// Keeps:  nothing; no gauge callback, no click area, no sound.
#include "flight/instrument_shared.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarPitch = 0x4E;
constexpr uint32_t kVarBank = 0x50;
constexpr uint32_t kVarDirectorOn = 0x318;
constexpr uint32_t kVarDirectorPitch = 0x319;
constexpr uint32_t kVarDirectorBank = 0x31A;
constexpr uint32_t kVarElectricalFailed = 0x117;
constexpr uint32_t kVarAttitudeFailed = 0x114;
constexpr uint32_t kVarVacuumFailed = 0x120;
constexpr double kPitchLimit = 40.0;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD sprite_failures[] = {
    {8, FAIL_ACTION_NONE, 0}, {2, FAIL_ACTION_NONE, 0}, {4, FAIL_ACTION_NONE, 0}, FAILURE_END};

static double GAUGE_CALL ladder_pitch(SpriteElement*);
static double GAUGE_CALL bars_pitch(SpriteElement*);
static double GAUGE_CALL bars_bank(SpriteElement*);
static double GAUGE_CALL gyro_flag(IconElement*);

static SpriteElement ball = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 2410, .position = {15, 21}, .ofs = {151, 157},
               .failure_systems = sprite_failures, .image_flags = kDrawFlags},
    .source_var_0 = {.id = kVarBank}, .scale_0 = -1.0, .texture_scale_x = 1.0f, .texture_scale_y = 1.0f,
};
static SpriteElement ladder = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 2420, .position = {15, 21}, .ofs = {151, 155},
               .failure_systems = sprite_failures, .image_flags = kDrawFlags},
    .source_var_y = {.id = kVarPitch}, .scale_y = 1.95,
    .source_var_0 = {.id = kVarBank}, .scale_0 = -1.0, .texture_scale_x = 1.03f, .texture_scale_y = 0.9f,
    .update_y_cb = ladder_pitch,
};
static SpriteElement command_bars = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 2430, .position = {15, 21}, .ofs = {151, 157},
               .failure_systems = sprite_failures, .image_flags = kDrawFlags},
    .source_var_y = {.id = kVarDirectorPitch}, .scale_y = 1.0,
    .source_var_0 = {.id = kVarDirectorBank}, .scale_0 = -1.0, .texture_scale_x = 1.0f, .texture_scale_y = 1.0f,
    .update_y_cb = bars_pitch, .update_0_cb = bars_bank,
};
static IconElement gyro_flag_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 2450, .position = {167, 50}, .image_flags = kDrawFlags},
    .source_var = {.id = kVarAttitudeFailed}, .scale = 1.0, .num_icons = 1, .update_cb = gyro_flag,
};
static StaticImageElement bank_pointer = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 2440, .position = {141, 21},
               .image_flags = kDrawFlags},
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 2460, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&ball.header,           &ladder.header,       &command_bars.header,
                                          &gyro_flag_icon.header, &bank_pointer.header, &bezel.header,
                                          nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 2400, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 302, 302}, .cursor = CURSOR_NONE, .help_id = 0xAB0D},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Bendix_KI256_ADI, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double clamp_pitch(double p) { return p > kPitchLimit ? kPitchLimit : p < -kPitchLimit ? -kPitchLimit : p; }

static double GAUGE_CALL ladder_pitch(SpriteElement* e) { return clamp_pitch(e->source_var_y.var_value.n); }

static double GAUGE_CALL bars_pitch(SpriteElement* e) {
    set_hidden(e->header, token_value(kVarDirectorOn) == 0.0);
    return clamp_pitch(token_value(kVarPitch) - e->source_var_y.var_value.n);
}

static double GAUGE_CALL bars_bank(SpriteElement* e) {
    if (token_value(kVarDirectorOn) == 0.0) return 0.0;
    return token_value(kVarBank) - e->source_var_0.var_value.n;
}

static double GAUGE_CALL gyro_flag(IconElement*) {
    bool failed = token_value(kVarElectricalFailed) > 0.0 || token_value(kVarAttitudeFailed) > 0.0 ||
                  token_value(kVarVacuumFailed) > 0.0;
    return failed ? 0.0 : -1.0;
}
