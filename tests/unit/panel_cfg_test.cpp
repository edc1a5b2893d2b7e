// The panel.cfg reader on a good panel, on malformed lines (reported by line, reading goes on) and
// on the default panel that `make run` draws.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <tuple>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "test_main_env.h"

using namespace bench;

namespace {

PanelConfig parse(const std::string& text) {
    std::istringstream in(text);
    return parse_panel_cfg(in, "panel.cfg");
}

TEST(PanelCfg, ReadsWindowsTitlesAndGaugeLines) {
    PanelConfig p = parse(
        "// a comment\r\n"
        "[Window Titles]\n"
        "Window00=Main Panel\n"
        "Window01=Radio Stack\n"
        "\n"
        "[VIEWS]\n"
        "VIEW_FORWARD_DIR=0,0,0\n"
        "[Window01]\n"
        "SIZE_MM=360,800\n"
        "ident=RADIO_STACK_PANEL\n"
        "visible=0\n"
        "gauge00=Corvan_Instr!Bendix_KY196_COM1, 10,20,340\n"
        "[Window00]\n"
        "size_mm=1600,760\n"
        "position=7\n"
        "ident=10004\n"
        "background_color=1,2,3\n"
        "window_size_ratio=1.0\n"
        "gauge00=Corvan_Instr!Airspeed, 20,70,150,140\n"
        "gauge01=Corvan_Instr!Radios_Toggle, 1,2,19,, tRADIO_STACK_PANEL, or so\n"
        "gauge02=Corvan_Instr!Registration, 5,6,150,tF-ABCD_X fArial\n");
    EXPECT_TRUE(p.errors.empty()) << p.errors.front();
    ASSERT_EQ(p.windows.size(), 2u);
    const PanelWindow& main = p.windows[0];  // sorted by number
    EXPECT_EQ(std::tuple(main.number, main.title, main.width, main.height, main.position, main.visible, main.ident,
                         main.background),
              std::tuple(0, "Main Panel", 1600, 760, 7, true, 10004, 0x010203u));
    ASSERT_EQ(main.gauges.size(), 3u);
    const PanelGauge& a = main.gauges[0];
    EXPECT_EQ(std::tuple(a.module, a.name, a.x, a.y, a.w, a.h, a.has_parameters, a.line),
              std::tuple("Corvan_Instr", "Airspeed", 20, 70, 150, 140, false, 19));
    // An empty height, then parameter text that keeps its commas.
    EXPECT_EQ(main.gauges[1].h, 0);
    EXPECT_EQ(main.gauges[1].parameters, "tRADIO_STACK_PANEL, or so");
    // Text in the fifth field is parameter text, not a height.
    EXPECT_EQ(main.gauges[2].h, 0);
    EXPECT_EQ(main.gauges[2].parameters, "tF-ABCD_X fArial");

    EXPECT_EQ(p.windows[1].ident, 50);
    EXPECT_FALSE(p.windows[1].visible);
    EXPECT_EQ(find_window(p, 50), &p.windows[1]);
    EXPECT_EQ(find_window(p, 75), nullptr);
}

// The forms aircraft packages ship, settled against gauges of known own size (200 x 100).
TEST(PanelCfg, ReadsTheFormsPackagesShip) {
    PanelConfig p = parse(
        "[Window Titles]\r\n"
        "Window00=Cabin 20\xb0\r\n"
        ";Window01=Gone\r\n"
        "[Window00]\r\n"
        "size_mm=1024 // width only\r\n"
        "gauge07=Corvan_Instr!Torque, 230,20\r\n"
        "// gauge08=Corvan_Instr!Airspeed, 0,0,100\r\n"
        "gauge09=Other!Clock, 10,500 // another module's\r\n"
        "[Window02]\r\n"
        "size_mm=300,40\r\n"
        "gauge00=Corvan_Instr!Airspeed, 0,0,50\r\n"
        "[Vcockpit01]\r\n"
        "gauge00=Corvan_Instr!Airspeed, 0,0,100\r\n");
    EXPECT_TRUE(p.errors.empty()) << p.errors.front();
    ASSERT_EQ(p.windows.size(), 2u);
    EXPECT_EQ(p.windows[0].title, "Cabin 20\u00b0");
    ASSERT_EQ(p.windows[0].gauges.size(), 2u);
    EXPECT_EQ(p.windows[0].gauges[0].w, 0);
    ASSERT_EQ(p.undrawn.size(), 1u);
    EXPECT_EQ(p.undrawn[0].name, "Vcockpit01");
    EXPECT_EQ(p.undrawn[0].gauges, 1);

    settle_panel(p, [](const PanelGauge& g, int& w, int& h) {
        w = 200, h = 100;
        return g.module == "Corvan_Instr";
    });
    const PanelGauge& torque = p.windows[0].gauges[0];
    EXPECT_EQ(torque.w, 200);
    EXPECT_EQ(torque.h, 100);
    EXPECT_EQ(p.windows[0].gauges[1].w, kPlaceholderSize);
    EXPECT_EQ(p.windows[0].height, 500 + kPlaceholderSize);  // down to the lowest gauge
    EXPECT_EQ(p.windows[1].height, 40);                        // given: kept
}

TEST(PanelCfg, ReportsEachBadLineWithItsNumberAndGoesOn) {
    PanelConfig p = parse(
        "gauge00=Corvan_Instr!Airspeed, 1,2,3\n"       // 1: before any section
        "[Window00]\n"
        "size_mm=wide,tall\n"                          // 3
        "size_mm=800,600\n"
        "this line has no equals sign\n"               // 5
        "gauge00=Corvan_Instr!Airspeed, 1, two, 100\n"  // 6
        "gauge01=Airspeed, 1,2,100\n"                   // 7: no module
        "gauge02=Corvan_Instr!Altimeter, 1\n"           // 8: no y
        "gauge03=Corvan_Instr!Altimeter, 1,2,-5\n"      // 9
        "visible=maybe\n"                               // 10
        "ident=NOT_A_PANEL\n"                           // 11
        "gauge04=Corvan_Instr!Vertical_Speed, 5,6,100\n"
        "[Window01\n"                                   // 13
        "[WindowXY]\n"                                  // 14
        "[Window Titles]\n"
        "Title=Main\n"                                  // 16
        "Window02=Only a title\n"                       // 17: a window without a section
        "[Window03]\n"                                  // 18: a window without a size
        "gauge00=Corvan_Instr!Airspeed, 1,2,3\n");
    std::vector<int> lines;
    for (const std::string& e : p.errors) {
        ASSERT_EQ(e.rfind("panel.cfg:", 0), 0u) << e;
        lines.push_back(std::stoi(e.substr(10)));
    }
    EXPECT_EQ(lines, (std::vector<int>{1, 3, 5, 6, 7, 8, 9, 10, 11, 13, 14, 16, 17, 18}));
    // Reading went on: the window has its size and the good gauge line.
    ASSERT_EQ(p.windows.size(), 1u);
    EXPECT_EQ(p.windows[0].width, 800);
    ASSERT_EQ(p.windows[0].gauges.size(), 1u);
    EXPECT_EQ(p.windows[0].gauges[0].name, "Vertical_Speed");
    EXPECT_EQ(p.windows[0].ident, -1);
}

TEST(PanelCfg, IdentsByNameOrNumber) {
    for (auto [text, want] : {std::pair{"MAIN_PANEL", 0}, {"OVERHEAD_PANEL", 250}, {" 10001 ", 10001}}) {
        int32_t id = -1;
        EXPECT_TRUE(parse_panel_ident(text, id) && id == want) << text;
    }
    int32_t id = 0;
    for (const char* bad : {"", "12abc", "99999999999999"}) EXPECT_FALSE(parse_panel_ident(bad, id)) << bad;
}

// The default panel reads cleanly and places every gauge of the module at least once, on
// windows with distinct idents, every gauge inside its window.
TEST(DefaultPanel, PlacesAllGaugesOfTheModule) {
    PanelConfig p;
    std::string error;
    ASSERT_TRUE(read_panel_cfg("panels/default/panel.cfg", p, error)) << error;
    EXPECT_TRUE(p.errors.empty()) << p.errors.front();
    Host host;
    ASSERT_TRUE(host.load(test_module_path(), error)) << error;
    std::set<std::string> placed;
    std::set<int32_t> idents;
    for (const PanelWindow& w : p.windows) {
        EXPECT_TRUE(idents.insert(w.ident).second) << "ident " << w.ident << " twice";
        for (const PanelGauge& g : w.gauges) {
            EXPECT_EQ(g.module, "Corvan_Instr");
            EXPECT_NE(host.module().find(g.name), nullptr) << g.name << " at line " << g.line;
            EXPECT_TRUE(g.x >= 0 && g.y >= 0 && g.x + g.w <= w.width) << g.name << " at line " << g.line;
            placed.insert(g.name);
        }
    }
    for (GAUGEHDR* g : host.module().gauges) EXPECT_TRUE(placed.count(g->gauge_name)) << g->gauge_name << " is not placed";
    EXPECT_NE(find_window(p, 0), nullptr);
}

}  // namespace
