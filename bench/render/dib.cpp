#include "bench/render/dib.h"

#include <algorithm>
#include <vector>

namespace bench {
namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr int32_t kMaxSide = 16384;  // larger pictures are taken as corrupt

uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The value of `pixel` under a channel mask, widened to 8 bits.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t max = mask >> shift;
    return uint8_t(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

cairo_surface_t* decode_dib(const uint8_t* data, size_t size, bool black_is_clear) {
    if (!data || size < 40) return nullptr;
    uint32_t header_size = u32(data);
    if (header_size < 40 || header_size > size) return nullptr;
    int32_t width = int32_t(u32(data + 4));
    int32_t height = int32_t(u32(data + 8));
    uint16_t bits = u16(data + 14);
    uint32_t compression = u32(data + 16);
    uint32_t colours_used = u32(data + 32);
    bool top_down = height < 0;
    if (top_down) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return nullptr;
    if (compression != kBiRgb && !(compression == kBiBitfields && (bits == 16 || bits == 32))) return nullptr;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;

    size_t offset = header_size;
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};  // 16-bit default: 5-5-5
    if (bits == 32) masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (compression == kBiBitfields) {
        // A plain info header is followed by the three masks; the larger headers hold them at the
        // same place, inside the header.
        const uint8_t* m = data + 40;
        if (header_size == 40) {
            if (size < 52) return nullptr;
            offset += 12;
        } else if (header_size < 52) {
            return nullptr;
        }
        for (int i = 0; i < 3; ++i) masks[i] = u32(m + 4 * i);
    }
    std::vector<uint32_t> palette;
    if (bits <= 8) {
        size_t entries = colours_used ? colours_used : size_t(1) << bits;
        if (entries > 256 || offset + entries * 4 > size) return nullptr;
        for (size_t i = 0; i < entries; ++i) {
            const uint8_t* q = data + offset + 4 * i;
            palette.push_back(uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0]);
        }
        offset += entries * 4;
    }
    size_t stride = (size_t(width) * bits + 31) / 32 * 4;
    if (offset + stride * size_t(height) > size) return nullptr;

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    uint8_t* out = cairo_image_surface_get_data(surface);
    int out_stride = cairo_image_surface_get_stride(surface);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = data + offset + stride * size_t(top_down ? y : height - 1 - y);
        auto* dst = reinterpret_cast<uint32_t*>(out + size_t(out_stride) * size_t(y));
        for (int32_t x = 0; x < width; ++x) {
            uint32_t rgb = 0;
            switch (bits) {
            case 1: rgb = palette[std::min<size_t>((row[x >> 3] >> (7 - (x & 7))) & 1, palette.size() - 1)]; break;
            case 4: rgb = palette[std::min<size_t>((row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF, palette.size() - 1)]; break;
            case 8: rgb = palette[std::min<size_t>(row[x], palette.size() - 1)]; break;
            case 16: {
                uint32_t p = u16(row + 2 * x);
                rgb = uint32_t(channel(p, masks[0])) << 16 | uint32_t(channel(p, masks[1])) << 8 | channel(p, masks[2]);
                break;
            }
            case 24: rgb = uint32_t(row[3 * x + 2]) << 16 | uint32_t(row[3 * x + 1]) << 8 | row[3 * x]; break;
            case 32: {
                uint32_t p = u32(row + 4 * x);
                rgb = uint32_t(channel(p, masks[0])) << 16 | uint32_t(channel(p, masks[1])) << 8 | channel(p, masks[2]);
                break;
            }
            }
            dst[x] = (black_is_clear && rgb == 0) ? 0 : (0xFF000000u | rgb);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

}  // namespace bench
