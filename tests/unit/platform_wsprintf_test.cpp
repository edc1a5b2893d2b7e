// wsprintfA of the Linux stand-in: the Win32 subset, 32-bit 'l' arguments, and never more than
// the 1024 bytes Windows writes.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/win32_substitute.h"

TEST(Wsprintf, FormatsTheWin32Subset) {
    char out[1100];
    EXPECT_EQ(wsprintfA(out, "%s-%d/%u %x %X %c%%", "N123", -42, 7u, 0xBEEFu, 0xBEEFu, 'Z'), 23);
    EXPECT_STREQ(out, "N123--42/7 beef BEEF Z%");
    wsprintfA(out, "[%5d][%-5d][%05d][%.3s][%-6s][%ld][%hd]", 42, 42, -42, "ABCDEF", "ab", LONG(-7), 70000);
    EXPECT_STREQ(out, "[   42][42   ][-0042][ABC][ab    ][-7][4464]");
    wsprintfA(out, "%s %f %q", static_cast<const char*>(nullptr));  // no floating point in the subset
    EXPECT_STREQ(out, "(null) %f %q");
}

TEST(Wsprintf, WritesAtMost1024Bytes) {
    std::string long_text(3000, 'x');
    char out[4096];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(wsprintfA(out, "%s%s", long_text.c_str(), "tail"), 1023);
    EXPECT_EQ(std::strlen(out), 1023u);
    EXPECT_EQ(out[1024], '#');
    EXPECT_EQ(wsprintfA(out, "%2000d|", 5), 1023);
}
