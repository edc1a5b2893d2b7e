// The RIFF reader behind the click sounds: WAVE files with extra chunks load like plain ones, and
// malformed files (truncated, missing "fmt " or "data", sizes past the end) fail cleanly without a
// read outside the block (the blocks are exact-size heap copies; the native build runs under ASan).
#include <gtest/gtest.h>

#include <tuple>
#include "module/sound_player.h"
#include "tests/unit/test_main_env.h"
#include "tests/unit/wave_blocks.h"

__attribute__((visibility("default"))) CorvanEmbeddedResource corvan_embedded_resources[kTestResourceSlots + 1];

namespace {

constexpr int kTestWave = 77;

struct Loaded {
    DWORD bytes = 0;
    CorvanBufferInfo info = {};
    Bytes data;
};

class RiffReader : public ::testing::Test {
protected:
    LPDIRECTSOUND device = nullptr;
    int devices_before = 0;
    int buffers_before = 0;

    void SetUp() override {
        sound_enabled = true;
        corvan_dsound_fail_device_creation(0);
        corvan_dsound_fail_buffer_creation(0);
        devices_before = corvan_dsound_live_devices();
        buffers_before = corvan_dsound_live_buffers();
        ASSERT_TRUE(sound_create_device(nullptr, &device));
    }
    void TearDown() override {
        sound_release(&device);
        EXPECT_EQ(corvan_dsound_live_devices(), devices_before);
        EXPECT_EQ(corvan_dsound_live_buffers(), buffers_before);
    }

    // Loads `file` as the test program's WAVE resource; the buffer is released again.
    Loaded load(const Bytes& file) {
        sound_enabled = true;
        ExactBlock block(file);
        use_test_wave(kTestWave, block);
        Loaded out;
        LPDIRECTSOUNDBUFFER buffer = reinterpret_cast<LPDIRECTSOUNDBUFFER>(uintptr_t(1));  // set null on failure
        out.bytes = sound_load_wave(nullptr, &device, &buffer, kTestWave, 0);
        if (out.bytes) {
            EXPECT_TRUE(sound_enabled);
            EXPECT_TRUE(corvan_dsound_buffer_info(buffer, &out.info));
            out.data.assign(out.info.data, out.info.data + out.info.bytes);
        } else {
            EXPECT_EQ(buffer, nullptr);
            EXPECT_FALSE(sound_enabled) << "a failed load turns the sound off";
        }
        sound_release(&buffer);
        return out;
    }
};

const Bytes kSamples16 = samples(3828);
Bytes plain_wave() { return riff_wave({chunk("fmt ", pcm_format(22050, 16)), chunk("data", kSamples16)}); }

TEST_F(RiffReader, PlainWaveFillsTheBufferWithItsSamplesAndFormat) {
    Loaded l = load(plain_wave());
    ASSERT_EQ(l.bytes, 3828u);
    EXPECT_EQ(l.data, kSamples16);
    EXPECT_EQ(l.info.flags, 0x80E0u);
    EXPECT_EQ(std::tuple(l.info.format_tag, l.info.channels, l.info.samples_per_sec, l.info.bits_per_sample),
              std::tuple(uint16_t(WAVE_FORMAT_PCM), uint16_t(1), 22050u, uint16_t(16)));
}

TEST_F(RiffReader, ExtraChunksAndAShortFmtLoadTheSame) {
    const Bytes odd_note = samples(37, 3);  // odd size: the reader must step over its pad byte
    const Bytes samples8 = samples(10304, 9);
    Bytes before_fmt = riff_wave({chunk("LIST", odd_note), chunk("fmt ", pcm_format(22050, 8)), chunk("data", samples8)});
    Bytes plain8 = riff_wave({chunk("fmt ", pcm_format(22050, 8)), chunk("data", samples8)});
    Bytes after_data = riff_wave({chunk("fmt ", pcm_format(22050, 16)), chunk("data", kSamples16), chunk("cue ", odd_note)});
    Bytes fact_between = riff_wave({chunk("fmt ", pcm_format(22050, 16)), chunk("fact", samples(4)), chunk("data", kSamples16)});
    Bytes short_fmt = riff_wave({chunk("fmt ", pcm_format(22050, 16, 1, false)), chunk("data", kSamples16)});  // 16 bytes

    Loaded a = load(before_fmt), b = load(plain8);
    ASSERT_EQ(a.bytes, 10304u);
    EXPECT_EQ(a.data, b.data);
    EXPECT_EQ(a.info.bits_per_sample, 8);
    for (const Bytes& f : {after_data, fact_between, short_fmt}) {
        Loaded l = load(f);
        ASSERT_EQ(l.bytes, 3828u);
        EXPECT_EQ(l.data, kSamples16);
    }
}

TEST_F(RiffReader, MalformedFilesFailCleanly) {
    const Bytes fmt = chunk("fmt ", pcm_format(22050, 16));
    const Bytes data = chunk("data", kSamples16);
    Bytes bad_channels = pcm_format(22050, 16);
    bad_channels[2] = 0;

    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"form is not WAVE", riff_wave({fmt, data}, -1, "AVI ")},
        {"not RIFF at all", chunk("JUNK", samples(64))},
        {"missing fmt", riff_wave({data})},
        {"missing data", riff_wave({fmt})},
        {"data before fmt", riff_wave({data, fmt})},
        {"fmt smaller than the PCM fields", riff_wave({chunk("fmt ", samples(12)), data})},
        {"data one byte past the end", riff_wave({fmt, chunk("data", kSamples16, 3829)})},
        {"data size near 4 GiB", riff_wave({fmt, chunk("data", kSamples16, 0xFFFFFFF0)})},
        {"data empty", riff_wave({fmt, chunk("data", {})})},
        {"chunk before fmt claims 4 GiB", riff_wave({chunk("LIST", samples(8), 0xFFFFFFFF), fmt, data})},
        {"RIFF size ends before data", riff_wave({fmt, data}, 4 + 26)},
        {"no channels", riff_wave({chunk("fmt ", bad_channels), data})},
        {"not PCM", [&] { Bytes f = pcm_format(22050, 16); f[0] = 3; return riff_wave({chunk("fmt ", f), data}); }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(load(c.file).bytes, 0u);
    }
}

TEST_F(RiffReader, EveryTruncationOfAFileFails) {
    const Bytes whole = riff_wave({chunk("LIST", samples(37)), chunk("fmt ", pcm_format(22050, 8)), chunk("data", samples(301))});
    ASSERT_EQ(load(whole).bytes, 301u);
    for (size_t n = 0; n < whole.size() - 1; ++n) {  // the last byte is data's pad
        SCOPED_TRACE(n);
        ASSERT_EQ(load(Bytes(whole.begin(), whole.begin() + long(n))).bytes, 0u);
    }
}

TEST_F(RiffReader, MissingResourceFails) {
    use_test_wave(kTestWave, ExactBlock(plain_wave()));
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    EXPECT_EQ(sound_load_wave(nullptr, &device, &buffer, kTestWave + 1, 0), 0u);
    EXPECT_FALSE(sound_enabled);
}

}  // namespace
