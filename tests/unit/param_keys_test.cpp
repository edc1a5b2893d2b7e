// Parameter-text keys: the comment rule, the value readers and their limits.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>

#include "module/param_keys.h"

static std::string value_of(const char* text, char key) {
    const char* v = find_param_key(text, key);
    return v ? v : "(none)";
}

// t10001o50 and "t50 # o75" on a button are in tests/scenarios/module/panel_toggles.scn.
TEST(ParamKeys, FirstOccurrenceBeforeAnyComment) {
    EXPECT_EQ(value_of("t50 / o75", 'o'), "(none)");
    EXPECT_EQ(value_of("t50 ' o75", 'o'), "(none)");
    EXPECT_EQ(value_of("/t50", 't'), "(none)");  // a comment anywhere before the key counts
    EXPECT_EQ(value_of("o", 'o'), "");           // a key at the end has an empty value
    EXPECT_EQ(value_of("", 'o'), "(none)");
    EXPECT_EQ(find_param_key(nullptr, 'o'), nullptr);
}

TEST(ParamKeys, SearchGoesOnAfterEachKey) {
    const char* text = "o50 o75 #o100";
    const char* first = find_param_key(text, 'o');
    ASSERT_NE(first, nullptr);
    const char* second = find_param_key(text, first, 'o');
    ASSERT_NE(second, nullptr);
    EXPECT_STREQ(second, "75 #o100");
    EXPECT_EQ(find_param_key(text, second, 'o'), nullptr);  // the third stands in a comment
}

TEST(ParamKeys, IntegersReadLikeAtoiButSaturate) {
    for (auto [text, want] : {std::pair{"-2x", -2}, {"  42", 42}, {"abc", 0}, {"", 0},
                              {"99999999999999999999", INT32_MAX}, {"-99999999999999999999", INT32_MIN}})
        EXPECT_EQ(param_int(text), want) << text;
}

TEST(ParamKeys, PanelIdentifiersAndHelpIds) {
    // The name starts the value; ANNUNCIATOR2 is not ANNUNCIATOR_PANEL's 125; PANEL is no name nor number.
    for (auto [text, want] : {std::pair{"OVERHEAD_PANEL o50", 250}, {"ANNUNCIATOR2_PANEL", 150}, {"10001", 10001},
                              {"PANEL", 0}, {"", -1}, {"-5", -5}})
        EXPECT_EQ(param_panel_id(text), want) << text;

    EXPECT_EQ(param_help_id("40960"), 40960u);
    EXPECT_EQ(param_help_id("40959"), 0u);
    EXPECT_EQ(param_help_id("SOMETHING"), 0u);
}
