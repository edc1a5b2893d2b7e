// The panel system as the bench plays it: the service table, gauge placements, the frame loop
// and mouse routing.
//
// Sections: element slots · placements · the host (install, kill, frame, mouse).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "bench/module_loader.h"
#include "bench/sim/sim_model.h"

namespace bench {

// What the host knows of one element of a placement after the last frame.
struct ElementSlot {
    ELEMENT_HEADER* record = nullptr;
    int depth = 0;               // 0 for the root
    double value[3] = {0, 0, 0}; // x / y / angle for sliders, moving images and sprites
    bool updated = false;        // has had at least one update
    bool shown = false;          // drawn in the last frame
    std::string text;            // strings: the text as drawn
};

struct Placement {
    GAUGEHDR* gauge = nullptr;
    std::vector<char> parameters;  // writable copy of the parameter text, null-terminated
    bool has_parameters = false;
    std::vector<ElementSlot> elements;  // drawing order
    MOUSERECT* last_click_area = nullptr;
    uint32_t last_click_button = 0;
    uint64_t sound_plays = 0;  // plays asked for by this placement since the last check
};

// The bitmap an icon shows (0 the first), or -1 when it is hidden.
int icon_index(const ElementSlot& slot);

// Number of MOUSERECT entries before the end entry.
size_t mouse_area_count(const MOUSERECT* areas);
// The area a click of `button` at gauge pixel (x, y) goes to, or null.
MOUSERECT* route_click(MOUSERECT* areas, int32_t x, int32_t y, uint32_t button);
// Elements of a gauge in drawing order: root first, each child before its own children.
void collect_elements(ELEMENT_HEADER* root, std::vector<ElementSlot>& out, int depth = 0);

class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    bool load(const std::string& module_path, std::string& error);
    // Takes a module linked into this program (fuzzers); it is not unloaded.
    void attach(GAUGESLINKAGE* linkage, IMPORT_TABLE* import_table, void* resource_handle);
    const LoadedModule& module() const { return module_; }

    // Installs a placement of gauge `name`; null parameters means none were given.
    Placement* install(const std::string& name, const char* parameters, std::string& error);
    void kill(Placement* placement);
    void frame();
    // A click of `button` (MOUSE_LEFTSINGLE or MOUSE_RIGHTSINGLE), then `held` repeat calls.
    void click(Placement* placement, int32_t x, int32_t y, uint32_t button, int held);
    void drag(Placement* placement, int32_t x, int32_t y);
    // One more repeat call while the button of the last click on this placement is still held, at
    // gauge pixel (x, y), to the area that click went to (only when that area asks for repeat).
    void repeat(Placement* placement, int32_t x, int32_t y);

    // The Nth (1-based) live placement of a gauge, or null.
    Placement* find(const std::string& name, int nth);
    const std::vector<std::unique_ptr<Placement>>& placements() const { return placements_; }

    SimModel sim;

    // Set on builds with the sound substitute: total plays asked of every buffer so far.
    uint64_t (*sound_play_counter)() = nullptr;
    // Set on builds with the sound substitute: makes sound device creation fail (true) or work.
    void (*sound_device_fault)(bool fail) = nullptr;
    // Set on builds with the sound substitute: the simulator's clock, by which buffers finish playing.
    void (*sound_clock)(double seconds) = nullptr;
    // Set on builds with the sound substitute: sound devices and buffers alive now.
    int (*sound_live_devices)() = nullptr;
    int (*sound_live_buffers)() = nullptr;

private:
    friend struct HostServices;
    void enter(Placement* placement);
    void leave();
    void update_element(ElementSlot& slot, bool parent_shown);
    void call_area(Placement* placement, MOUSERECT* area, int32_t x, int32_t y, uint32_t flags);
    void refresh(MODULE_VAR& var);
    void adopt_module();

    LoadedModule module_;
    bool module_linked_ = false;  // attached, not loaded: nothing to unload
    std::vector<std::unique_ptr<Placement>> placements_;
    std::vector<std::unique_ptr<char[]>> string_buffers_;
    void* service_table_[SERVICE_TABLE_WORDS] = {};
    Placement* current_ = nullptr;
    uint64_t plays_before_ = 0;
    std::string calc_text_;  // text handed out by the calculator service, valid for one frame
};

}  // namespace bench
