// The page's session journal: a held knob becomes one click line with its repeats, followed by the
// frames and variable changes that came while it was held; expectations follow only while
// recording; values a scenario cannot write are left out, not written wrong.
#include <gtest/gtest.h>

#include <cmath>

#include "bench/serve/session_record.h"

using namespace bench;

TEST(SessionJournal, HeldClicksFramesAndExpectationsComeInReplayOrder) {
    SessionJournal j;
    j.line("install Bendix_KY196_COM1");
    j.frame();
    j.frame();
    j.start({{0x269, 8480}});
    j.press("Bendix_KY196_COM1", 150, 10, false, {{0x10065, 0, false}}, {});
    j.frame();
    j.set(0x3D, 120.5);
    j.repeat({{0x10065, 0, false}}, {});
    j.repeat({}, {});
    j.release();
    j.frame();
    j.texts({{3, "121.20"}});
    j.set(0x3D, std::nan(""));
    j.stop();
    j.frame();  // after the recording: not in the file
    std::string scn = j.scenario();
    EXPECT_NE(scn.find("install Bendix_KY196_COM1\nframe 2\n"), std::string::npos) << scn;
    EXPECT_NE(scn.find("set 0x269 8480\n"), std::string::npos) << scn;
    EXPECT_NE(scn.find("forget events\nclick Bendix_KY196_COM1 150 10 held 2\n"
                       "expect event 0x10065 0\nexpect event 0x10065 0\nexpect no-event\n"
                       "frame\nset 0x3D 120.5\nframe\n"
                       "expect text Bendix_KY196_COM1 3 \"121.20\"\n"
                       "# set 0x3D to a value a scenario cannot write; left out\n"),
              std::string::npos)
        << scn;
    EXPECT_EQ(scn.substr(scn.size() - 4), "out\n") << "nothing after the recording's end";
    EXPECT_EQ(j.recorded_actions(), 1u);
}

TEST(SessionJournal, QuotesAndNumbersReadBackTheSame) {
    EXPECT_EQ(scenario_quote("a\"b\\c\xB0"), "\"a\\\"b\\\\c\\xB0\"");
    std::string n;
    ASSERT_TRUE(scenario_number(28.2, n));
    EXPECT_EQ(n, "28.2");
    ASSERT_TRUE(scenario_number(0.1 + 0.2, n));
    EXPECT_EQ(std::stod(n), 0.1 + 0.2);
    EXPECT_FALSE(scenario_number(INFINITY, n));
}
