// Click sounds over the DirectSound stand-in: a device and buffer per open, one sound per click
// while it lasts, silence for everyone after the first failure, and every object given back at close.
// (Every gauge of the module through install/kill cycles and each sound fault: tests/load.cmake.)
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "bench/host.h"
#include "module/click_sound.h"
#include "module/sound_player.h"
#include "tests/unit/test_main_env.h"
#include "tests/unit/wave_blocks.h"

namespace {

constexpr int kWave = 30;
constexpr uint32_t kSampleBytes = 6014;  // 16-bit mono at 22050 Hz: 0.1364 s
constexpr double kSoundSeconds = kSampleBytes / (22050.0 * 2);

class ClickSounds : public ::testing::Test {
protected:
    ExactBlock wave{riff_wave({chunk("fmt ", pcm_format(22050, 16)), chunk("data", samples(kSampleBytes)),
                               chunk("cue ", samples(24))})};
    ClickSound a = {}, b = {};

    void SetUp() override {
        sound_enabled = true;
        corvan_dsound_fail_device_creation(0);
        corvan_dsound_fail_buffer_creation(0);
        corvan_platform_set_time(0);
        use_test_wave(kWave, wave);
        ASSERT_EQ(corvan_dsound_live_devices(), 0);
        ASSERT_EQ(corvan_dsound_live_buffers(), 0);
    }
    void TearDown() override {
        corvan_dsound_fail_device_creation(0);
        corvan_dsound_fail_buffer_creation(0);
        EXPECT_EQ(corvan_dsound_live_devices(), 0) << "a device outlived its close";
        EXPECT_EQ(corvan_dsound_live_buffers(), 0) << "a buffer outlived its close";
    }
    static uint64_t started(const ClickSound& s) {
        CorvanBufferInfo info = {};
        return corvan_dsound_buffer_info(s.buffer, &info) ? info.plays_started : 0;
    }
};

// A gauge owns one device and buffer; its second placement shares them until the last kill.
TEST_F(ClickSounds, EachGaugeOwnsOneDeviceAndBufferItsPlacementsShare) {
    click_sound_open(a, 0, kWave);
    ASSERT_NE(a.device, nullptr);
    ASSERT_NE(a.buffer, nullptr);
    IDirectSoundBuffer* first = a.buffer;
    click_sound_open(b, 0, kWave);  // a second gauge has its own
    EXPECT_NE(b.device, a.device);
    click_sound_open(a, 0, kWave);  // a second placement of the first
    EXPECT_EQ(a.buffer, first);
    EXPECT_EQ(corvan_dsound_live_devices(), 2);
    EXPECT_EQ(corvan_dsound_live_buffers(), 2);
    click_sound_close(b);
    click_sound_close(a);
    EXPECT_EQ(a.buffer, first);  // the other placement still clicks
    click_sound_close(a);
    EXPECT_EQ(a.device, nullptr);
    EXPECT_EQ(a.buffer, nullptr);
    click_sound_close(a);  // a stray kill does nothing
}

TEST_F(ClickSounds, AClickWhileSoundingDoesNotStartASecondCopy) {
    click_sound_open(a, 0, kWave);
    uint64_t requests = corvan_dsound_play_requests();
    click_sound_play(a);
    click_sound_play(a);
    corvan_platform_set_time(kSoundSeconds * 0.9);
    click_sound_play(a);
    EXPECT_EQ(corvan_dsound_play_requests() - requests, 3u);
    EXPECT_EQ(started(a), 1u);
    corvan_platform_set_time(kSoundSeconds * 1.01);  // the click has run out
    click_sound_play(a);
    EXPECT_EQ(started(a), 2u);
    corvan_platform_set_time(0);  // the clock set back: the old sound counts as ended
    click_sound_play(a);
    EXPECT_EQ(started(a), 3u);
    click_sound_close(a);
}

TEST_F(ClickSounds, NoDeviceSilencesEveryGaugeAndNoLaterGaugeTriesAgain) {
    corvan_dsound_fail_device_creation(1);
    uint64_t attempts = corvan_dsound_device_attempts();
    click_sound_open(a, 0, kWave);
    EXPECT_FALSE(sound_enabled);
    corvan_dsound_fail_device_creation(0);  // even with a device to be had again
    click_sound_open(b, 0, kWave);
    EXPECT_EQ(corvan_dsound_device_attempts() - attempts, 1u);
    EXPECT_EQ(b.device, nullptr);
    uint64_t requests = corvan_dsound_play_requests();
    click_sound_play(a);
    click_sound_play(b);
    EXPECT_EQ(corvan_dsound_play_requests(), requests);
    click_sound_close(a);
    click_sound_close(b);
}

// A device already made when the load fails is still given back at close, though the sound is off.
TEST_F(ClickSounds, CloseAfterAFailureReleasesWhatWasMade) {
    click_sound_open(a, 0, kWave);
    corvan_dsound_fail_buffer_creation(1);
    click_sound_open(b, 0, kWave);
    EXPECT_FALSE(sound_enabled);
    EXPECT_NE(b.device, nullptr);
    EXPECT_EQ(b.buffer, nullptr);
    EXPECT_EQ(corvan_dsound_live_devices(), 2);
    EXPECT_EQ(corvan_dsound_live_buffers(), 1);
    click_sound_close(b);
    click_sound_close(a);  // opened before the failure: its buffer goes too
}

// ----------------------------------------------------------------------------------------------
// The host window

// The executable's name in a block of exactly its length: testing a fourth character that is
// not there reads past it, which AddressSanitizer reports.
std::string window_class_for(const std::string& path) {
    std::unique_ptr<char[]> exact(new char[path.size() + 1]);
    std::memcpy(exact.get(), path.c_str(), path.size() + 1);
    return host_window_class(exact.get());
}

TEST(HostWindow, ClassFollowsTheExecutableName) {
    EXPECT_EQ(window_class_for("C:\\Program Files\\FS9\\fs9.exe"), "FS98MAIN");
    EXPECT_EQ(window_class_for("D:\\Games\\CFS2.EXE"), "MSCFSMAIN");  // starts with C
    EXPECT_EQ(window_class_for("D:\\Games\\fs2002.exe"), "FS98MAIN");  // fourth is '0'
    EXPECT_EQ(window_class_for("/opt/sim/abc2"), "MSCFSMAIN");        // fourth is '2'
    EXPECT_EQ(window_class_for("/opt/v1.2/fsim"), "FS98MAIN");        // a dot in a folder is no extension
    EXPECT_EQ(window_class_for("c2.exe"), "FS98MAIN");                // the test is case-sensitive
    for (const char* short_name : {"", "a", "ab", "ab2", "C", "x/y\\", "fs9.", ".exe"}) {
        SCOPED_TRACE(short_name);
        std::string want = short_name[0] == 'C' ? "MSCFSMAIN" : "FS98MAIN";
        EXPECT_EQ(window_class_for(short_name), want);
    }
}

TEST(HostWindow, FindsTheSimulatorsWindowByClass) {
    corvan_platform_set_executable_path("C:\\FS9\\fs9.exe");
    corvan_platform_set_host_window_class("FS98MAIN");
    EXPECT_NE(find_host_window(), nullptr);
    corvan_platform_set_executable_path(std::string(400, 'C').c_str());  // longer than MAX_PATH
    EXPECT_EQ(find_host_window(), nullptr);
    EXPECT_STREQ(corvan_platform_last_window_class(), "MSCFSMAIN");
    corvan_platform_set_host_window_class(nullptr);
    corvan_platform_set_executable_path(nullptr);
}

}  // namespace
