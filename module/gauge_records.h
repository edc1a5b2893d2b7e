// Records by which every gauge describes itself to the host, and the host's entry points.
//
// Every record is the panel system's own, byte for byte on the 32-bit build: each field at the
// offset where the panel system reads it, the host's ranges as named members the module leaves 0,
// every record at its full size (the host writes its working state into those ranges, so a shorter
// record would be written past its end). The module fills its fields in static tables; the host
// (the simulator, or corvan-bench) fills the rest. Both sides include this one header.
//
// Sections: calling convention and exports · record packing · token variables · element records ·
// mouse records · gauge definition · host services · 32-bit layout pins.
#pragma once

#include <cstddef>
#include <cstdint>

// ----------------------------------------------------------------------------------------------
// Calling convention and exports

#if defined(_WIN32) && defined(__i386__)
#define GAUGE_CALL __stdcall
#else
#define GAUGE_CALL
#endif

// Limits decide the same way on every build only if doubles are computed in SSE2 registers: the
// x87 stack keeps extra precision and 117 + 95/100 no longer equals 117.95.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#error "build for i386 with -msse2 -mfpmath=sse (x87 arithmetic decides limits differently)"
#endif

#if defined(_WIN32)
#define GAUGE_EXPORT extern "C" __declspec(dllexport)
#else
#define GAUGE_EXPORT extern "C" __attribute__((visibility("default")))
#endif

// ----------------------------------------------------------------------------------------------
// Record packing
//
// The panel system packs its records to 4 bytes: on the 32-bit build a double inside a record sits
// on a 4-byte boundary. The 64-bit builds keep their natural alignment (their pointers move every
// offset anyway, and their sanitizers want aligned pointers); they only need to agree with themselves.

#if defined(__i386__)
#pragma pack(push, 4)
#endif

// ----------------------------------------------------------------------------------------------
// Token variables

union VAR_VALUE {
    double n;   // most variables are read as f64
    int32_t d;  // integer view
    int32_t b;  // boolean view
    uint8_t raw[8];
};

struct MODULE_VAR {
    uint32_t id;          // token variable id; the module sets only this
    void* var_ptr;        // host's: where it found the variable
    uint32_t var_type;    // host's
    VAR_VALUE var_value;  // current value, written by lookup_var
    VAR_VALUE var_old;    // host's: the value before
};

// ----------------------------------------------------------------------------------------------
// Element records
//
// Each record is the panel system's at full size: the module fills its fields in static tables, and
// the host keeps its working state in the ranges named host_*, which the module leaves 0. The host
// writes into every element, needle table and failure list, so none of them may be const.

struct GAUGEHDR;
struct ELEMENT_HEADER;

struct PIXPOINT {
    int32_t x;
    int32_t y;
};

enum ElementKind : uint32_t {
    ELEMENT_STATIC_IMAGE = 0,
    ELEMENT_NEEDLE = 1,
    ELEMENT_STRING = 2,
    ELEMENT_SLIDER = 3,
    ELEMENT_ICON = 4,
    ELEMENT_MOVING_IMAGE = 5,
    ELEMENT_SPRITE = 6,
};

// Failure actions the host applies while the simulator reports the record's system failed.
enum FailureAction : uint32_t {
    FAIL_ACTION_NONE = 0,
    FAIL_ACTION_FREEZE = 1,
    FAIL_ACTION_ZERO = 2,
    FAIL_ACTION_NO_DRAW = 3,
};

struct FAILURE_RECORD {
    uint32_t key;     // failing system; 0 ends the list
    uint32_t action;  // FailureAction
    uint32_t link;    // host's
};

// Draw flags seen in the module's records; the bits are the host's.
constexpr uint32_t kImageUseTransparency = 0x1;
constexpr uint32_t kImageUseErase = 0x2;
constexpr uint32_t kImageUseBright = 0x4;
constexpr uint32_t kImageUseLuminous = 0x4000;  // drawn lit while the panel lights are on
constexpr uint32_t kImageHidden = 0x40000000;  // set at run time to hide an element

struct ELEMENT_HEADER {
    uint32_t element_type;   // ElementKind
    int32_t resource_id;     // bitmap drawn (first bitmap of an icon); -1 for strings
    PIXPOINT position;       // in the background bitmap's pixels
    PIXPOINT previous_position;  // host's
    PIXPOINT ofs;            // needle pivot inside its bitmap; sprite reference point
    GAUGEHDR* gauge_header;  // host's
    ELEMENT_HEADER* previous_element;  // host's
    ELEMENT_HEADER** elements;         // children, null-terminated, drawn over this element
    FAILURE_RECORD* failure_systems;   // null or ended by key 0; the host writes each record's link
    uint32_t image_flags;              // draw flags
    uint32_t aircraft_special_instrumentation;  // 0
    uint32_t reserved;
};

struct StaticImageElement {
    ELEMENT_HEADER header;
    uint8_t host_image[36];  // the host's picture of the bitmap
};

struct NONLINEARITY {
    PIXPOINT pt;       // pixel the needle tip points at (background pixels)
    double value;      // the value that puts it there
    double degrees = 0;  // host's: the angle it works out from pt
};

struct NeedleElement;
using NeedleUpdate = double(GAUGE_CALL*)(NeedleElement*);
struct NeedleElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    void* host_routines[4];  // the host's own angle routines, 0 here
    double host_reference;   // 0 here
    NONLINEARITY* nonlinearity_table;
    uint32_t nonlinearity_table_size;  // entries
    float max_degrees_per_update;      // 0: the host turns the needle at once
    double value;                      // host's: the value of the last update
    uint8_t host_state[92];
    NeedleUpdate update_cb;
    uint8_t host_tail[8];
};

// One highlight selection of a string: characters first..last (inclusive) when the host selects it.
struct SEQ_REC {
    int32_t selection;  // 0 ends the list
    int32_t first_char;
    int32_t last_char;
};

struct StringElement;
using StringUpdate = double(GAUGE_CALL*)(StringElement*);
struct StringElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var[3];
    uint8_t host_state[40];
    char* string;        // host's: a buffer of char_count + 1 bytes, which the update callback writes
    int32_t selection;   // host's: the highlight selection in force, 0 none
    PIXPOINT box;        // width, height
    uint32_t host_box[2];
    uint32_t fg_color;   // 0x00BBGGRR
    uint32_t bg_color;
    uint32_t hilite_color;
    uint8_t host_font[28];
    char font_name[32];
    uint32_t font_weight;
    uint8_t char_set;
    uint32_t draw_text_flags;
    uint16_t char_count;  // most characters drawn
    uint8_t host_text[6];
    const SEQ_REC* highlight_list;
    uint32_t host_highlight;
    uint32_t font_height;  // host's, 0 here
    StringUpdate update_cb;
    uint8_t host_tail[8];
};

// Room the module may write into a string element: its character count and the terminator.
inline size_t string_capacity(const StringElement* e) { return size_t(e->char_count) + 1; }

struct SliderElement;
using SliderUpdate = double(GAUGE_CALL*)(SliderElement*);
struct SliderElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    uint32_t host_x;
    double scale_x;
    uint32_t host_x_scale;
    MODULE_VAR source_var_y;
    uint32_t host_y;
    double scale_y;
    double value_x;  // host's: the values of the last update
    double value_y;
    uint8_t host_state[8];
    SliderUpdate update_x_cb;
    SliderUpdate update_y_cb;
    uint8_t host_tail[16];
};

struct IconElement;
using IconUpdate = double(GAUGE_CALL*)(IconElement*);
struct IconElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    uint32_t host_source;
    uint32_t icon_type;  // 0
    uint32_t host_kind;
    double scale;
    uint32_t offset;     // 0
    uint32_t num_icons;  // bitmaps resource_id, resource_id + 1, ...
    double value;        // host's: the value of the last update
    uint8_t host_state[8];
    IconUpdate update_cb;
    uint32_t host_tail;
};

struct MovingImageElement;
using MovingImageUpdate = double(GAUGE_CALL*)(MovingImageElement*);
struct MovingImageElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    uint32_t host_x;
    double min_x;
    double max_x;
    uint32_t host_x_limits;
    MODULE_VAR source_var_y;
    uint32_t host_y;
    double min_y;
    double max_y;
    double value_x;  // host's: the values of the last update
    double value_y;
    uint8_t host_state[68];
    MovingImageUpdate update_x_cb;
    MovingImageUpdate update_y_cb;
    uint8_t host_tail[16];
};

struct SpriteElement;
using SpriteUpdate = double(GAUGE_CALL*)(SpriteElement*);
struct SpriteElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    uint32_t host_x;
    double scale_x;
    MODULE_VAR source_var_y;
    uint32_t host_y;
    double scale_y;
    MODULE_VAR source_var_0;  // rotation
    uint32_t host_0;
    double scale_0;
    float texture_scale_x;
    float texture_scale_y;
    double value_x;  // host's: the values of the last update
    double value_y;
    double value_0;
    uint8_t host_state[104];
    SpriteUpdate update_x_cb;
    SpriteUpdate update_y_cb;
    SpriteUpdate update_0_cb;
    uint8_t host_tail[24];
};

// ----------------------------------------------------------------------------------------------
// Mouse records

enum MouseAreaKind : uint32_t {
    MOUSE_END = 0,
    MOUSE_PARENT = 1,
    MOUSE_CHILD = 2,
    MOUSE_PARENT_END = 3,
    MOUSE_TOOLTIP = 4,
};

enum MouseCursor : int32_t {
    CURSOR_NONE = -1,
    CURSOR_NORMAL = 0,
    CURSOR_UPARROW = 1,
    CURSOR_DOWNARROW = 2,
    CURSOR_LEFTARROW = 3,
    CURSOR_RIGHTARROW = 4,
    CURSOR_HAND = 5,
};

constexpr uint32_t MOUSE_LEFTSINGLE = 0x20000000;
constexpr uint32_t MOUSE_RIGHTSINGLE = 0x80000000;
constexpr uint32_t MOUSE_DOWN_REPEAT = 0x00200000;
constexpr uint32_t MOUSE_LEFTDRAG = 0x00800000;

struct MOUSERECT;

// What a handler is given: x and y relative to the clicked area, its gauge and the area.
struct MOUSE_POINT {
    int32_t x;
    int32_t y;
    GAUGEHDR* gauge;
    MOUSERECT* area;
    PIXPOINT screen;  // host's: the point on the screen
    uint32_t reserved;
};

using MouseHandler = int32_t(GAUGE_CALL*)(MOUSE_POINT* point, uint32_t mouse_flags);

struct MOUSE_BOX {
    int32_t x;
    int32_t y;
    int32_t w;
    int32_t h;
};

struct MOUSERECT {
    uint32_t kind;  // MouseAreaKind
    MOUSE_BOX box;
    int32_t cursor;  // MouseCursor
    uint32_t help_id;
    uint32_t mouse_flags;
    uint32_t event_id;  // sent by the host (parameter 0) when there is no handler
    union {
        MouseHandler handler;
        const char* tooltip;  // MOUSE_TOOLTIP entries
    };
    uint32_t extra;
};

// ----------------------------------------------------------------------------------------------
// Gauge definition

enum PanelService : int32_t {
    PANEL_SERVICE_PRE_INSTALL = 2,
    PANEL_SERVICE_PRE_UPDATE = 6,
    PANEL_SERVICE_PRE_KILL = 12,
};

// The extra word of a gauge callback: at install, the module's resource handle.
using GaugeExtra = uintptr_t;
using GaugeCallback = void(GAUGE_CALL*)(GAUGEHDR* gauge, int32_t service_id, GaugeExtra extra);

constexpr uint32_t kGaugeHeaderVersion = 800;

struct GAUGEHDR {
    uint32_t gauge_header_version;  // 800
    const char* gauge_name;
    ELEMENT_HEADER** elements_list;  // exactly one root, then null
    void* host_routines[7];          // the host's own gauge routines, 0 here
    uint32_t host_reserved;
    uint32_t size_x_mm;              // default width
    uint32_t host_placement[8];      // height, adjustments, position: the host's
    MOUSERECT* mouse_rect;
    GaugeCallback gauge_callback;
    uint32_t user_data;    // 0; the toggle buttons mark their first install here
    char* parameters;      // parameter text, filled by the host from the panel configuration
    uint8_t host_tail[108];  // usage text, size, a user area, flags: the host's
};

// ----------------------------------------------------------------------------------------------
// Host services and the two exports

struct IMPORT_ENTRY {
    uint32_t fnid;
    void** services;  // the host's service table, indexed by word
};

struct IMPORT_TABLE {
    IMPORT_ENTRY entries[2];  // (0x0F, host table), (0, null)
};

constexpr uint32_t kImportPanelServices = 0x0F;

enum HostServiceIndex : int {
    SERVICE_PANEL_WINDOW_TOGGLE = 35,
    SERVICE_TRIGGER_KEY_EVENT = 36,
    SERVICE_LOOKUP_VAR = 40,
    SERVICE_EXECUTE_CALCULATOR_CODE = 69,
    SERVICE_TABLE_WORDS = 82,  // size of the table the panel system provides
};

using PanelWindowToggleFn = int32_t(GAUGE_CALL*)(uint32_t window_id);
using TriggerKeyEventFn = int32_t(GAUGE_CALL*)(uint32_t event_id, uint32_t param);
using LookupVarFn = void(GAUGE_CALL*)(MODULE_VAR* var);
using ExecuteCalculatorCodeFn = int32_t(GAUGE_CALL*)(const char* code, double* number, int32_t* integer,
                                                     const char** text);

using ModuleRoutine = void(GAUGE_CALL*)();

struct GAUGESLINKAGE {
    uint32_t module_id;  // 0x13
    ModuleRoutine module_init;
    ModuleRoutine module_deinit;
    uint32_t flags;
    uint32_t priority;
    uint32_t module_version;  // 0x0900
    GAUGEHDR* gauge_header_ptr[93];  // 92 gauges, then null
};

constexpr uint32_t kModuleId = 0x13;
constexpr uint32_t kLinkVersion = 0x0900;
constexpr int kGaugeCount = 92;

#if defined(__i386__)
#pragma pack(pop)
#endif

// ----------------------------------------------------------------------------------------------
// 32-bit layout pins: the panel system reads and writes these records at these offsets.

#if defined(_WIN32) && defined(__i386__)
#define PIN_AT(record, field, at) static_assert(offsetof(record, field) == at, #record "::" #field)
#define PIN_SIZE(record, size) static_assert(sizeof(record) == size, #record)
static_assert(sizeof(void*) == 4);
PIN_SIZE(MODULE_VAR, 28);
PIN_AT(MODULE_VAR, var_ptr, 4);
PIN_AT(MODULE_VAR, var_type, 8);
PIN_AT(MODULE_VAR, var_value, 12);
PIN_AT(MODULE_VAR, var_old, 20);

PIN_SIZE(GAUGEHDR, 204);
PIN_AT(GAUGEHDR, gauge_name, 4);
PIN_AT(GAUGEHDR, elements_list, 8);
PIN_AT(GAUGEHDR, host_routines, 12);
PIN_AT(GAUGEHDR, size_x_mm, 44);
PIN_AT(GAUGEHDR, host_placement, 48);
PIN_AT(GAUGEHDR, mouse_rect, 80);
PIN_AT(GAUGEHDR, gauge_callback, 84);
PIN_AT(GAUGEHDR, user_data, 88);
PIN_AT(GAUGEHDR, parameters, 92);
PIN_AT(GAUGEHDR, host_tail, 96);

PIN_SIZE(ELEMENT_HEADER, 60);
PIN_AT(ELEMENT_HEADER, resource_id, 4);
PIN_AT(ELEMENT_HEADER, position, 8);
PIN_AT(ELEMENT_HEADER, previous_position, 16);
PIN_AT(ELEMENT_HEADER, ofs, 24);
PIN_AT(ELEMENT_HEADER, gauge_header, 32);
PIN_AT(ELEMENT_HEADER, previous_element, 36);
PIN_AT(ELEMENT_HEADER, elements, 40);
PIN_AT(ELEMENT_HEADER, failure_systems, 44);
PIN_AT(ELEMENT_HEADER, image_flags, 48);
PIN_AT(ELEMENT_HEADER, aircraft_special_instrumentation, 52);
PIN_AT(ELEMENT_HEADER, reserved, 56);

PIN_SIZE(StaticImageElement, 96);

PIN_SIZE(NeedleElement, 236);
PIN_AT(NeedleElement, source_var, 60);
PIN_AT(NeedleElement, host_routines, 88);
PIN_AT(NeedleElement, nonlinearity_table, 112);
PIN_AT(NeedleElement, nonlinearity_table_size, 116);
PIN_AT(NeedleElement, max_degrees_per_update, 120);
PIN_AT(NeedleElement, value, 124);
PIN_AT(NeedleElement, update_cb, 224);

PIN_SIZE(StringElement, 324);
PIN_AT(StringElement, source_var, 60);
PIN_AT(StringElement, source_var[1], 88);
PIN_AT(StringElement, source_var[2], 116);
PIN_AT(StringElement, host_state, 144);
PIN_AT(StringElement, string, 184);
PIN_AT(StringElement, box, 192);
PIN_AT(StringElement, fg_color, 208);
PIN_AT(StringElement, bg_color, 212);
PIN_AT(StringElement, hilite_color, 216);
PIN_AT(StringElement, font_name, 248);
PIN_AT(StringElement, font_weight, 280);
PIN_AT(StringElement, char_set, 284);
PIN_AT(StringElement, draw_text_flags, 288);
PIN_AT(StringElement, char_count, 292);
PIN_AT(StringElement, highlight_list, 300);
PIN_AT(StringElement, font_height, 308);
PIN_AT(StringElement, update_cb, 312);

PIN_SIZE(SliderElement, 192);
PIN_AT(SliderElement, source_var_x, 60);
PIN_AT(SliderElement, scale_x, 92);
PIN_AT(SliderElement, source_var_y, 104);
PIN_AT(SliderElement, scale_y, 136);
PIN_AT(SliderElement, value_x, 144);
PIN_AT(SliderElement, update_x_cb, 168);
PIN_AT(SliderElement, update_y_cb, 172);

PIN_SIZE(IconElement, 140);
PIN_AT(IconElement, source_var, 60);
PIN_AT(IconElement, icon_type, 92);
PIN_AT(IconElement, scale, 100);
PIN_AT(IconElement, offset, 108);
PIN_AT(IconElement, num_icons, 112);
PIN_AT(IconElement, value, 116);
PIN_AT(IconElement, update_cb, 132);

PIN_SIZE(MovingImageElement, 268);
PIN_AT(MovingImageElement, source_var_x, 60);
PIN_AT(MovingImageElement, min_x, 92);
PIN_AT(MovingImageElement, max_x, 100);
PIN_AT(MovingImageElement, source_var_y, 112);
PIN_AT(MovingImageElement, min_y, 144);
PIN_AT(MovingImageElement, max_y, 152);
PIN_AT(MovingImageElement, value_x, 160);
PIN_AT(MovingImageElement, update_x_cb, 244);
PIN_AT(MovingImageElement, update_y_cb, 248);

PIN_SIZE(SpriteElement, 352);
PIN_AT(SpriteElement, source_var_x, 60);
PIN_AT(SpriteElement, scale_x, 92);
PIN_AT(SpriteElement, source_var_y, 100);
PIN_AT(SpriteElement, scale_y, 132);
PIN_AT(SpriteElement, source_var_0, 140);
PIN_AT(SpriteElement, scale_0, 172);
PIN_AT(SpriteElement, texture_scale_x, 180);
PIN_AT(SpriteElement, texture_scale_y, 184);
PIN_AT(SpriteElement, value_x, 188);
PIN_AT(SpriteElement, update_x_cb, 316);
PIN_AT(SpriteElement, update_y_cb, 320);
PIN_AT(SpriteElement, update_0_cb, 324);

PIN_SIZE(NONLINEARITY, 24);
PIN_AT(NONLINEARITY, value, 8);
PIN_AT(NONLINEARITY, degrees, 16);
PIN_SIZE(FAILURE_RECORD, 12);
PIN_SIZE(SEQ_REC, 12);
PIN_SIZE(MOUSERECT, 44);
PIN_AT(MOUSERECT, box, 4);
PIN_AT(MOUSERECT, cursor, 20);
PIN_AT(MOUSERECT, help_id, 24);
PIN_AT(MOUSERECT, mouse_flags, 28);
PIN_AT(MOUSERECT, event_id, 32);
PIN_AT(MOUSERECT, handler, 36);
PIN_AT(MOUSERECT, extra, 40);
PIN_SIZE(MOUSE_POINT, 28);
PIN_AT(MOUSE_POINT, gauge, 8);
PIN_AT(MOUSE_POINT, area, 12);
PIN_AT(MOUSE_POINT, screen, 16);
PIN_SIZE(IMPORT_TABLE, 16);
PIN_AT(GAUGESLINKAGE, flags, 12);
PIN_AT(GAUGESLINKAGE, priority, 16);
PIN_AT(GAUGESLINKAGE, module_version, 20);
PIN_AT(GAUGESLINKAGE, gauge_header_ptr, 24);
#undef PIN_AT
#undef PIN_SIZE
#endif
