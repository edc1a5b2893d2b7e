// Records by which every gauge describes itself to the host, and the host's entry points.
//
// The field order of each record is the one the panel system reads; the host's working fields
// follow the module's fields. The module fills its fields in static tables; the host (the
// simulator, or corvan-bench) fills the rest. Both sides include this one header.
//
// Sections: calling convention and exports · token variables · element records · mouse records ·
// gauge definition · host services · 32-bit layout pins.
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
// Token variables

union VAR_VALUE {
    double n;   // most variables are read as f64
    int32_t d;  // integer view
    int32_t b;  // boolean view
    uint8_t raw[8];
};

struct MODULE_VAR {
    uint32_t id;          // token variable id; the module sets only this
    void* var_ptr;        // host's
    uint32_t var_type;    // host's
    VAR_VALUE var_value;  // current value, written by lookup_var
    VAR_VALUE var_old;    // previous value, host's
};

// ----------------------------------------------------------------------------------------------
// Element records

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
    uint32_t link;    // 0
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
    const FAILURE_RECORD* failure_systems;  // null or ended by key 0
    uint32_t image_flags;                   // draw flags
    uint32_t aircraft_special_instrumentation;
    uint32_t reserved;
};

struct StaticImageElement {
    ELEMENT_HEADER header;
};

struct NONLINEARITY {
    PIXPOINT pt;  // pixel the needle tip points at (background pixels)
    double value;
};

struct NeedleElement;
using NeedleUpdate = double(GAUGE_CALL*)(NeedleElement*);
struct NeedleElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    NeedleUpdate update_cb;
    const NONLINEARITY* nonlinearity_table;
    uint32_t nonlinearity_table_size;  // entries
    // host's
    double value;
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
    PIXPOINT box;         // width, height
    uint32_t char_count;  // most characters drawn
    uint32_t fg_color;    // 0x00BBGGRR
    uint32_t bg_color;
    uint32_t hilite_color;
    char font_name[32];
    uint32_t font_weight;
    uint32_t char_set;
    uint32_t draw_text_flags;
    const SEQ_REC* highlight_list;
    StringUpdate update_cb;
    // host's
    char* string;          // text buffer of char_count + 1 bytes, written by the update callback
    int32_t selection;     // highlight selection in force, 0 none
};

// Room the module may write into a string element: its character count and the terminator.
inline size_t string_capacity(const StringElement* e) { return size_t(e->char_count) + 1; }

struct SliderElement;
using SliderUpdate = double(GAUGE_CALL*)(SliderElement*);
struct SliderElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    double scale_x;
    MODULE_VAR source_var_y;
    double scale_y;
    SliderUpdate update_x_cb;
    SliderUpdate update_y_cb;
    // host's
    double value_x;
    double value_y;
};

struct IconElement;
using IconUpdate = double(GAUGE_CALL*)(IconElement*);
struct IconElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var;
    double scale;
    uint32_t icon_type;  // 0
    uint32_t num_icons;  // bitmaps resource_id, resource_id + 1, ...
    IconUpdate update_cb;
    // host's
    double value;
};

struct MovingImageElement;
using MovingImageUpdate = double(GAUGE_CALL*)(MovingImageElement*);
struct MovingImageElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    double min_x;
    double max_x;
    MODULE_VAR source_var_y;
    double min_y;
    double max_y;
    MovingImageUpdate update_x_cb;
    MovingImageUpdate update_y_cb;
    // host's
    double value_x;
    double value_y;
};

struct SpriteElement;
using SpriteUpdate = double(GAUGE_CALL*)(SpriteElement*);
struct SpriteElement {
    ELEMENT_HEADER header;
    MODULE_VAR source_var_x;
    double scale_x;
    MODULE_VAR source_var_y;
    double scale_y;
    MODULE_VAR source_var_0;  // rotation
    double scale_0;
    float texture_scale_x;
    float texture_scale_y;
    SpriteUpdate update_x_cb;
    SpriteUpdate update_y_cb;
    SpriteUpdate update_0_cb;
    // host's
    double value_x;
    double value_y;
    double value_0;
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
    uint32_t size_x_mm;              // default width
    MOUSERECT* mouse_rect;
    GaugeCallback gauge_callback;
    uint32_t user_data;    // 0; the toggle buttons mark their first install here
    char* parameters;      // parameter text, filled by the host from the panel configuration
    // host's
    uint32_t host_reserved[8];
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
    SERVICE_TABLE_WORDS = 96,  // size of the table a host provides
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
    uint32_t module_status;
    uint32_t module_version;  // 0x0900
    GAUGEHDR* gauge_header_ptr[93];  // 92 gauges, then null
};

constexpr uint32_t kModuleId = 0x13;
constexpr uint32_t kLinkVersion = 0x0900;
constexpr int kGaugeCount = 92;

// ----------------------------------------------------------------------------------------------
// 32-bit layout pins: the panel system reads these records at these offsets.

#if defined(_WIN32) && defined(__i386__)
static_assert(sizeof(void*) == 4);
static_assert(sizeof(MODULE_VAR) == 32 && offsetof(MODULE_VAR, var_value) == 16);
static_assert(sizeof(ELEMENT_HEADER) == 60 && offsetof(ELEMENT_HEADER, elements) == 40);
static_assert(offsetof(ELEMENT_HEADER, failure_systems) == 44 && offsetof(ELEMENT_HEADER, image_flags) == 48);
static_assert(sizeof(FAILURE_RECORD) == 12);
static_assert(sizeof(NONLINEARITY) == 16 && offsetof(NONLINEARITY, value) == 8);
static_assert(offsetof(IconElement, source_var) == 64 && offsetof(IconElement, scale) == 96);
static_assert(offsetof(IconElement, num_icons) == 108 && offsetof(IconElement, update_cb) == 112);
static_assert(offsetof(NeedleElement, update_cb) == 96 && offsetof(NeedleElement, nonlinearity_table) == 100);
static_assert(offsetof(StringElement, box) == 160 && offsetof(StringElement, font_name) == 184);
static_assert(offsetof(StringElement, highlight_list) == 228 && offsetof(StringElement, update_cb) == 232);
static_assert(offsetof(SliderElement, scale_x) == 96 && offsetof(SliderElement, update_x_cb) == 144);
static_assert(offsetof(SpriteElement, texture_scale_x) == 184 && offsetof(SpriteElement, update_0_cb) == 200);
static_assert(sizeof(MOUSERECT) == 44 && offsetof(MOUSERECT, handler) == 36);
static_assert(offsetof(GAUGEHDR, size_x_mm) == 12 && offsetof(GAUGEHDR, parameters) == 28);
static_assert(sizeof(IMPORT_TABLE) == 16);
static_assert(offsetof(GAUGESLINKAGE, gauge_header_ptr) == 24);
#endif
