// The scenario language: words, numbers and commands, good and malformed.
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "bench/scenario.h"

using namespace bench;

static Command parse_ok(const std::string& line) {
    std::optional<Command> c;
    std::string error;
    EXPECT_TRUE(parse_line(line, c, error)) << line << ": " << error;
    EXPECT_TRUE(c.has_value()) << line;
    return c.value_or(Command{});
}

static std::string parse_error(const std::string& line) {
    std::optional<Command> c;
    std::string error;
    EXPECT_FALSE(parse_line(line, c, error)) << line;
    EXPECT_FALSE(error.empty()) << line;
    return error;
}

TEST(ScenarioNumbers, DecimalAndHexAndRejects) {
    double v;
    for (auto [text, want] : {std::pair{"-12", -12.0}, {"0.25", 0.25}, {"1e3", 1000.0}, {"0x1A2B", double(0x1A2B)},
                              {"-0x10", -16.0}, {"0xFFFFFFFF", 4294967295.0}})
        EXPECT_TRUE(parse_number(text, v) && v == want) << text;
    for (const char* bad : {"", "-", "0x", "1e", "12abc", "nan", "inf", "0x1G", "1.2.3", ".", "1e999"})
        EXPECT_FALSE(parse_number(bad, v)) << bad;
}

TEST(ScenarioWords, QuotesEscapesAndComments) {
    std::vector<Token> t;
    std::string error;
    ASSERT_TRUE(tokenize(R"(install Registration params "tF-ABCD_X \"q\" \\ \xB0" # a comment)", t, error));
    ASSERT_EQ(t.size(), 4u);
    EXPECT_TRUE(t[3].quoted);
    EXPECT_EQ(t[3].text, "tF-ABCD_X \"q\" \\ \xB0");
    // '#' inside a word names a placement; inside quotes it is text.
    ASSERT_TRUE(tokenize(R"(click Bendix_KY196_COM1#2 3 4 "a # b")", t, error));
    EXPECT_EQ(t[1].text, "Bendix_KY196_COM1#2");
    EXPECT_EQ(t[4].text, "a # b");
    EXPECT_FALSE(tokenize(R"(expect text G 2 "open)", t, error));
    EXPECT_FALSE(tokenize(R"(expect text G 2 "\q")", t, error));
    EXPECT_FALSE(tokenize(R"(expect text G 2 "\x4")", t, error));
}

TEST(ScenarioCommands, GoodLines) {
    Command c = parse_ok("click Bendix_KY196_COM1#2 10 -3 right held 5");
    EXPECT_EQ(c.kind, Cmd::Click);
    EXPECT_EQ(std::tuple(c.gauge.nth, c.x, c.y, c.right, c.held), std::tuple(2, 10, -3, true, 5));

    c = parse_ok("expect event 0x100D7 -100");
    EXPECT_TRUE(c.has_param);
    EXPECT_EQ(uint32_t(c.param), 0xFFFFFF9Cu);
    EXPECT_EQ(uint32_t(parse_ok("expect event 0x100D7 0xFFFFFF9C").param), 0xFFFFFF9Cu);

    c = parse_ok("expect value Throttle_Quadrant 2 y -62 ~0.5");
    EXPECT_EQ(c.axis, 1);
    EXPECT_EQ(c.number, -62);
    EXPECT_EQ(c.tolerance, 0.5);

    std::optional<Command> none;
    std::string error;
    EXPECT_TRUE(parse_line("   # only a comment", none, error));
    EXPECT_FALSE(none.has_value());
}

TEST(ScenarioCommands, MalformedLinesSayWhy) {
    EXPECT_NE(parse_error("jump 3").find("unknown command"), std::string::npos);
    EXPECT_NE(parse_error("expect colour G 2 0xFF").find("unknown expectation"), std::string::npos);
    // Counts, numbers, buttons, placements, quoting and ranges.
    for (const char* bad : {"frame -1", "frame 2 3", "set 0x0E", "set 0x0E abc", "click G 1", "click G 1 2 middle",
                            "click G 1 2 held", "expect value G 0 1" /* elements count from 1 */,
                            "expect value G 2 1 ~-1", "expect text G 2 unquoted", "install G#2",
                            "install G params unquoted", "fail 20 maybe", "expect event 0x100000000", "click G#0 1 2",
                            "\"string first\""})
        parse_error(bad);
}

TEST(ScenarioCommands, FlightLines) {
    Command c = parse_ok("place 46.5 -7.25 3000 270");
    EXPECT_EQ(c.kind, Cmd::Place);
    EXPECT_EQ(c.place[1], -7.25);
    EXPECT_EQ(c.place[4], 0);  // no airspeed given
    c = parse_ok("advance 2.5 until var 0x4A > 6980");
    EXPECT_EQ(std::tuple(c.until, c.id, c.param), std::tuple(Until::VarAbove, 0x4Au, 6980.0));
    c = parse_ok("advance 300 until var 0x162 = 2 ~0.1");
    EXPECT_EQ(std::tuple(c.until, c.tolerance), std::tuple(Until::VarEqual, 0.1));
    c = parse_ok("advance 60 until hidden Autopilot 3");
    EXPECT_EQ(std::tuple(c.until, c.element), std::tuple(Until::Hidden, 3));
    EXPECT_EQ(parse_ok("world \"a b/world.txt\"").text, "a b/world.txt");
    for (const char* bad : {"place 46.5 7.5 3000", "place 95 7.5 0 0", "place 46 7 0 0 -5", "fly maybe", "advance -1",
                            "advance 5 while var 0x4A > 1", "advance 5 until var 0x4A >= 1", "advance 5 until shown G",
                            "advance 5 until var 0x4A < 1 ~2", "world", "world a b"})
        parse_error(bad);
}
