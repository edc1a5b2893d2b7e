// The module's resources as the gauges and the host see them: every bitmap a record names is
// there, the manifest and the records agree, sizes are those the manifest gives, and the
// four sounds have the exact formats the click-sound player expects.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/host.h"
#include "bench/module_loader.h"
#include "platform/embedded_resources.h"
#include "test_main_env.h"
#include "wave_blocks.h"

using namespace bench;

namespace {

constexpr int kButtonBitmapFirst = 100;  // the toggle buttons' `b` key selects these
constexpr int kButtonBitmapLast = 290;
constexpr int kButtonBitmapStep = 10;

struct ManifestRow {
    int id, width, height;
    std::vector<std::string> gauges;
};

std::vector<ManifestRow> read_manifest() {
    std::vector<ManifestRow> rows;
    std::ifstream in("resources/bitmaps.manifest");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] < '0' || line[0] > '9') continue;
        std::vector<std::string> f;
        std::stringstream ss(line);
        for (std::string item; std::getline(ss, item, '|');) f.push_back(item);
        ManifestRow r{};
        r.id = std::stoi(f.at(0));
        std::sscanf(f.at(1).c_str(), " %dx%d", &r.width, &r.height);
        std::stringstream gauges(f.at(3));
        for (std::string g; gauges >> g;) r.gauges.push_back(g);
        rows.push_back(r);
    }
    return rows;
}

struct Dib {
    int32_t width, height;
    uint16_t bits;
    uint32_t size;
};

class Resources : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        ASSERT_TRUE(load_module(test_module_path(), module_, error)) << error;
        table_ = static_cast<const CorvanEmbeddedResource*>(dlsym(module_.handle, CORVAN_EMBEDDED_RESOURCES_SYMBOL));
        ASSERT_NE(table_, nullptr) << "the module exports no " CORVAN_EMBEDDED_RESOURCES_SYMBOL;
        manifest_ = read_manifest();
        ASSERT_FALSE(manifest_.empty()) << "resources/bitmaps.manifest not found or empty";
    }
    static void TearDownTestSuite() { unload_module(module_); }

    static const CorvanEmbeddedResource* find(uint32_t type, int id) {
        for (const CorvanEmbeddedResource* r = table_; r->data; ++r)
            if (r->type == type && int(r->id) == id) return r;
        return nullptr;
    }
    static bool read_dib(int id, Dib& out) {
        const CorvanEmbeddedResource* r = find(CORVAN_RESOURCE_BITMAP, id);
        if (!r || r->size < 40) return false;
        std::memcpy(&out.width, r->data + 4, 4);
        std::memcpy(&out.height, r->data + 8, 4);
        std::memcpy(&out.bits, r->data + 14, 2);
        out.size = r->size;
        return true;
    }
    // The bitmap ids a gauge's records name; false for a gauge still a stub (a bare root of id 0).
    static bool named_ids(GAUGEHDR* gauge, std::set<int>& ids) {
        std::vector<ElementSlot> slots;
        collect_elements(gauge->elements_list[0], slots);
        if (slots.size() == 1 && slots[0].record->resource_id == 0) return false;
        for (const ElementSlot& s : slots) {
            const ELEMENT_HEADER* e = s.record;
            if (e->element_type == ELEMENT_STRING) continue;
            int count = 1;
            if (e->element_type == ELEMENT_ICON) count = int(reinterpret_cast<const IconElement*>(e)->num_icons);
            for (int i = 0; i < std::max(count, 1); ++i) ids.insert(e->resource_id + i);
        }
        return true;
    }

    static inline LoadedModule module_;
    static inline const CorvanEmbeddedResource* table_ = nullptr;
    static inline std::vector<ManifestRow> manifest_;
};

TEST_F(Resources, EveryBitmapARecordNamesIsInTheModule) {
    int built = 0;
    for (GAUGEHDR* g : module_.gauges) {
        std::set<int> ids;
        if (!named_ids(g, ids)) continue;
        ++built;
        for (int id : ids) EXPECT_NE(find(CORVAN_RESOURCE_BITMAP, id), nullptr) << g->gauge_name << " names bitmap " << id;
    }
    for (int id = kButtonBitmapFirst; id <= kButtonBitmapLast; id += kButtonBitmapStep)
        EXPECT_NE(find(CORVAN_RESOURCE_BITMAP, id), nullptr) << "button bitmap " << id;
    EXPECT_GT(built, 0);
}

TEST_F(Resources, ManifestAndRecordsAgree) {
    std::map<std::string, GAUGEHDR*> by_name;
    for (GAUGEHDR* g : module_.gauges) by_name[g->gauge_name] = g;
    for (const ManifestRow& row : manifest_) {
        for (const std::string& name : row.gauges) {
            if (name == "b-range") {
                EXPECT_TRUE(row.id >= kButtonBitmapFirst && row.id <= kButtonBitmapLast && row.id % kButtonBitmapStep == 0)
                    << row.id << " is listed for the b key but is no button bitmap";
                continue;
            }
            auto it = by_name.find(name);
            ASSERT_NE(it, by_name.end()) << "bitmap " << row.id << " names an unknown gauge " << name;
            std::set<int> ids;
            if (named_ids(it->second, ids)) {  // a built gauge uses the pictures drawn for it
                EXPECT_TRUE(ids.count(row.id)) << name << " does not name bitmap " << row.id << " drawn for it";
            }
        }
    }
}

TEST_F(Resources, SizesMatchTheManifest) {
    for (const ManifestRow& row : manifest_) {
        Dib d{};
        ASSERT_TRUE(read_dib(row.id, d)) << "bitmap " << row.id;
        EXPECT_EQ(d.width, row.width) << row.id;
        EXPECT_EQ(d.height, row.height) << row.id;  // positive: bottom-up, as BITMAP resources are
        EXPECT_EQ(d.bits, 24) << row.id;
        EXPECT_EQ(d.size, 40u + uint32_t((row.width * 3 + 3) & ~3) * uint32_t(row.height)) << row.id;
    }
}

// ----------------------------------------------------------------------------------------------
// Sounds

struct Chunk {
    std::string tag;
    uint32_t offset, size;
};

uint32_t u32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }

// The chunks inside the RIFF WAVE form, in file order; empty if the form is malformed.
std::vector<Chunk> riff_chunks(const CorvanEmbeddedResource* r) {
    std::vector<Chunk> out;
    if (r->size < 12 || std::memcmp(r->data, "RIFF", 4) || std::memcmp(r->data + 8, "WAVE", 4)) return {};
    if (u32(r->data + 4) != r->size - 8) return {};
    for (uint32_t at = 12; at < r->size;) {
        if (r->size - at < 8) return {};
        Chunk c{std::string(reinterpret_cast<const char*>(r->data + at), 4), at + 8, u32(r->data + at + 4)};
        if (c.size > r->size - c.offset) return {};
        out.push_back(c);
        at = c.offset + c.size + (c.size & 1);
    }
    return out;
}

TEST_F(Resources, FourWavesWithTheirExactFormatsAndExtraChunks) {
    // Chunks in file order: an extra chunk before "fmt " in one, after "data" in another.
    struct Want { int id, bits; uint32_t data_bytes; std::vector<std::string> tags; };
    const Want waves[] = {{10, 16, 3828, {"fmt ", "data"}},
                          {20, 8, 10304, {"LIST", "fmt ", "data"}},
                          {30, 16, 6014, {"fmt ", "data", "LIST"}},
                          {40, 8, 12554, {"fmt ", "data"}}};
    for (const Want& w : waves) {
        SCOPED_TRACE("WAVE " + std::to_string(w.id));
        const CorvanEmbeddedResource* r = find(CORVAN_RESOURCE_WAVE, w.id);
        ASSERT_NE(r, nullptr);
        std::vector<Chunk> chunks = riff_chunks(r);
        std::vector<std::string> tags;
        for (const Chunk& c : chunks) tags.push_back(c.tag);
        ASSERT_EQ(tags, w.tags) << "not a well-formed RIFF WAVE with these chunks";
        const Chunk& fmt = chunks[w.tags[0] == "fmt " ? 0 : 1];
        const Chunk& data = chunks[w.tags[0] == "fmt " ? 1 : 2];
        // PCM, mono, 22050 Hz, in the 18 bytes the player reads (WAVEFORMATEX without extra bytes).
        ASSERT_GE(fmt.size, 18u);
        EXPECT_EQ(Bytes(r->data + fmt.offset, r->data + fmt.offset + 18), pcm_format(22050, uint16_t(w.bits)));
        EXPECT_EQ(data.size, w.data_bytes);
        // Not silence: a click or a tone a pilot hears.
        const unsigned char* s = r->data + data.offset;
        int peak = 0;
        for (uint32_t i = 0; i + w.bits / 8 <= data.size; i += w.bits / 8) {
            int v = w.bits == 16 ? int(int16_t(u16(s + i))) : (int(s[i]) - 128) * 256;
            peak = std::max(peak, std::abs(v));
        }
        EXPECT_GT(peak, 8000);
    }
}

}  // namespace
