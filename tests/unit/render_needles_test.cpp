// The module's own needles drawn by the renderer with the module's own bitmaps: at a table's value
// the needle's tip lies in the direction of that row's point, seen from the pivot.
#include <cmath>
#include <memory>
#include <vector>

#include "bench/render/renderer.h"
#include "tests/unit/module_host_test.h"

using namespace bench;

namespace {

class RenderNeedles : public ModuleHostTest {
protected:
    void SetUp() override {
        ModuleHostTest::SetUp();
        renderer = std::make_unique<Renderer>(module_bitmaps(host.module()));
    }
    void TearDown() override { renderer.reset(); }
    std::vector<uint32_t> pixels(Placement& p) {
        cairo_surface_t* s = render_gauge(*renderer, p);
        cairo_surface_flush(s);
        int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
        int stride = cairo_image_surface_get_stride(s);
        std::vector<uint32_t> out(size_t(w) * size_t(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                out[size_t(y) * size_t(w) + size_t(x)] =
                    reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s) + size_t(stride) * size_t(y))[x];
        width = w;
        cairo_surface_destroy(s);
        return out;
    }
    // The direction (degrees, clockwise from +x on screen) of the needle's farthest pixel from its
    // pivot: the pixels that change when the needle alone is left out.
    double tip_direction(Placement& p, size_t slot, uint32_t var, double value) {
        host.sim.set(var, value);
        host.frame();
        std::vector<uint32_t> with = pixels(p);
        p.elements[slot].shown = false;
        std::vector<uint32_t> without = pixels(p);
        PIXPOINT pivot = p.elements[slot].record->position;
        double best = -1, direction = 0;
        for (size_t i = 0; i < with.size(); ++i) {
            if (with[i] == without[i]) continue;
            double dx = double(i % size_t(width)) + 0.5 - pivot.x, dy = double(i / size_t(width)) + 0.5 - pivot.y;
            if (std::hypot(dx, dy) > best) best = std::hypot(dx, dy), direction = std::atan2(dy, dx) * 180 / M_PI;
        }
        EXPECT_GT(best, 40) << "no needle drawn at " << value;
        return direction;
    }
    static double row_direction(const NeedleElement* n, size_t row) {
        const NONLINEARITY& r = n->nonlinearity_table[row];
        return std::atan2(r.pt.y - n->header.position.y, r.pt.x - n->header.position.x) * 180 / M_PI;
    }
    // Every row of the needle's table, each checked against where the drawn tip points.
    void check_rows(const char* gauge, size_t slot, uint32_t var) {
        Placement* p = install(gauge);
        ASSERT_NE(p, nullptr);
        auto* n = reinterpret_cast<const NeedleElement*>(p->elements[slot].record);
        ASSERT_EQ(n->header.element_type, uint32_t(ELEMENT_NEEDLE)) << gauge;
        for (size_t row = 0; row < n->nonlinearity_table_size; ++row) {
            double drawn = tip_direction(*p, slot, var, n->nonlinearity_table[row].value);
            EXPECT_NEAR(std::remainder(drawn - row_direction(n, row), 360.0), 0, 3.0)
                << gauge << " row " << row << " value " << n->nonlinearity_table[row].value;
        }
    }

    std::unique_ptr<Renderer> renderer;
    int width = 0;
};

TEST_F(RenderNeedles, AirspeedNeedlePointsAtEachMarkOfItsTable) { check_rows("Airspeed", 1, 0x3D); }

TEST_F(RenderNeedles, VerticalSpeedNeedlePointsAtEachMarkAndLeftAtZero) {
    check_rows("Vertical_Speed", 1, 0x41);
    Placement* p = host.find("Vertical_Speed", 1);
    EXPECT_NEAR(std::remainder(tip_direction(*p, 1, 0x41, 0) - 180, 360.0), 0, 3.0);
}

TEST_F(RenderNeedles, AltimeterPointerTurnsOnceClockwisePerThousandFeet) {
    Placement* p = install("Altimeter");
    const double up = -90, right = 0, down = 90, left = 180;
    for (auto [feet, expected] : {std::pair{0.0, up}, {250.0, right}, {500.0, down}, {6750.0, left}, {-250.0, left}})
        EXPECT_NEAR(std::remainder(tip_direction(*p, 16, 0x4A, feet) - expected, 360.0), 0, 3.0) << feet << " ft";
}

}  // namespace
