// Every needle table of the module, read the way the renderer reads it: each step between rows
// turns the needle in one sense, so a needle never swings back round the dial between two rows.
#include <cmath>
#include <string>
#include <vector>

#include "tests/unit/module_host_test.h"

using NeedleTables = ModuleHostTest;

TEST_F(NeedleTables, TurnOneWayAroundTheirPivot) {
    // The ammeter's top row (300 A) stands a little before its 200 A row: kept as given.
    const std::string kKnownReversal = "Ammeter";
    constexpr double kDegrees = 180.0 / M_PI;
    for (GAUGEHDR* gauge : host.module().gauges) {
        std::vector<bench::ElementSlot> slots;
        for (ELEMENT_HEADER** e = gauge->elements_list; e && *e; ++e) bench::collect_elements(*e, slots);
        for (size_t k = 0; k < slots.size(); ++k) {
            if (slots[k].record->element_type != ELEMENT_NEEDLE) continue;
            auto* needle = reinterpret_cast<NeedleElement*>(slots[k].record);
            const NONLINEARITY* rows = needle->nonlinearity_table;
            PIXPOINT pivot = needle->header.position;
            double sense = 0;
            for (uint32_t i = 1; rows && i < needle->nonlinearity_table_size; ++i) {
                double a = std::atan2(rows[i - 1].pt.y - pivot.y, rows[i - 1].pt.x - pivot.x) * kDegrees;
                double b = std::atan2(rows[i].pt.y - pivot.y, rows[i].pt.x - pivot.x) * kDegrees;
                double turn = std::remainder(b - a, 360.0);
                if (rows[i].pt.x == rows[i - 1].pt.x && rows[i].pt.y == rows[i - 1].pt.y) continue;
                if (sense == 0) sense = turn > 0 ? 1 : -1;
                bool reverses = turn * sense < 0 && std::fabs(turn) < 90;
                if (gauge->gauge_name == kKnownReversal && i + 1 == needle->nonlinearity_table_size) continue;
                EXPECT_FALSE(reverses) << gauge->gauge_name << " element " << k + 1 << " row " << i
                                       << " turns back by " << turn << " degrees";
            }
        }
    }
}
