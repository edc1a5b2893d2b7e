// corvan-resgen: draws every bitmap of the manifest as a 24-bit BMP, synthesises the four WAVE
// sounds, and writes what the builds compile: a resource script for windres (Windows) and a table
// of embedded resources for the Linux module. On request it also writes contact sheets.
//
//   corvan-resgen --manifest FILE --out DIR [--contact-sheet DIR]
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "art.h"
#include "manifest.h"
#include "wave.h"

namespace fs = std::filesystem;
using namespace resgen;

namespace {

constexpr uint32_t kFileHeaderBytes = 14;  // BITMAPFILEHEADER, which a BITMAP resource leaves out
constexpr uint32_t kInfoHeaderBytes = 40;  // BITMAPINFOHEADER

struct Rendered {
    const BitmapEntry* entry;
    cairo_surface_t* surface;
    fs::path file;
    uint32_t dib_bytes;
};

void put16(std::vector<uint8_t>& b, uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
void put32(std::vector<uint8_t>& b, uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); }

// A bottom-up 24-bit BMP of the surface's colours (alpha is not used: black is the transparent colour).
std::vector<uint8_t> encode_bmp(cairo_surface_t* s) {
    cairo_surface_flush(s);
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* px = cairo_image_surface_get_data(s);
    const uint32_t row = uint32_t((w * 3 + 3) & ~3);
    const uint32_t image = row * uint32_t(h);
    std::vector<uint8_t> b;
    b.reserve(kFileHeaderBytes + kInfoHeaderBytes + image);
    b.push_back('B');
    b.push_back('M');
    put32(b, kFileHeaderBytes + kInfoHeaderBytes + image);
    put32(b, 0);
    put32(b, kFileHeaderBytes + kInfoHeaderBytes);
    put32(b, kInfoHeaderBytes);
    put32(b, uint32_t(w));
    put32(b, uint32_t(h));
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, image);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        const uint32_t* src = reinterpret_cast<const uint32_t*>(px + size_t(y) * stride);
        uint32_t written = 0;
        for (int x = 0; x < w; ++x) {
            uint32_t p = src[x];  // premultiplied ARGB; every surface here is opaque
            b.push_back(uint8_t(p));
            b.push_back(uint8_t(p >> 8));
            b.push_back(uint8_t(p >> 16));
            written += 3;
        }
        for (; written < row; ++written) b.push_back(0);
    }
    return b;
}

bool write_file(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

bool write_text(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::trunc);
    out << text;
    return bool(out);
}

// Pages of thumbnails with their ids, pure black shown as see-through over a slate background.
void write_contact_sheets(const std::vector<Rendered>& all, const fs::path& dir) {
    fs::create_directories(dir);
    constexpr int kCols = 7, kRows = 6, kCell = 210, kThumb = 180, kCaption = 26;
    const int per_page = kCols * kRows;
    for (size_t first = 0, page = 1; first < all.size(); first += per_page, ++page) {
        cairo_surface_t* sheet =
            cairo_image_surface_create(CAIRO_FORMAT_RGB24, kCols * kCell, kRows * (kCell + kCaption));
        cairo_t* cr = cairo_create(sheet);
        cairo_set_source_rgb(cr, 0.93, 0.93, 0.9);
        cairo_paint(cr);
        for (size_t i = first; i < all.size() && i < first + per_page; ++i) {
            const Rendered& r = all[i];
            int cx = int((i - first) % kCols) * kCell, cy = int((i - first) / kCols) * (kCell + kCaption);
            cairo_set_source_rgb(cr, 0.33, 0.38, 0.45);
            cairo_rectangle(cr, cx + 5, cy + 5, kCell - 10, kCell - 10);
            cairo_fill(cr);
            // Black pixels become see-through, as the host draws them.
            int w = r.entry->width, h = r.entry->height;
            cairo_surface_t* masked = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
            cairo_surface_flush(r.surface);
            const unsigned char* src = cairo_image_surface_get_data(r.surface);
            unsigned char* dst = cairo_image_surface_get_data(masked);
            int ss = cairo_image_surface_get_stride(r.surface), ds = cairo_image_surface_get_stride(masked);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    uint32_t p = reinterpret_cast<const uint32_t*>(src + size_t(y) * ss)[x] & 0xFFFFFF;
                    reinterpret_cast<uint32_t*>(dst + size_t(y) * ds)[x] = p ? (p | 0xFF000000u) : 0;
                }
            cairo_surface_mark_dirty(masked);
            double scale = std::min(1.0, std::min(double(kThumb) / w, double(kThumb) / h));
            if (w * scale < 40 && h * scale < 40) scale = std::min(40.0 / w, 40.0 / h);  // tiny ones enlarged
            cairo_save(cr);
            cairo_translate(cr, cx + (kCell - w * scale) / 2, cy + (kCell - h * scale) / 2);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, masked, 0, 0);
            cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
            cairo_paint(cr);
            cairo_restore(cr);
            cairo_surface_destroy(masked);
            char caption[96];
            std::snprintf(caption, sizeof caption, "%d  %dx%d  %s", r.entry->id, w, h, r.entry->gauges[0].c_str());
            cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
            cairo_set_font_size(cr, 11);
            cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
            cairo_move_to(cr, cx + 6, cy + kCell + 12);
            cairo_show_text(cr, caption);
        }
        cairo_destroy(cr);
        char name[64];
        std::snprintf(name, sizeof name, "contact_sheet_%02zu.png", page);
        cairo_surface_write_to_png(sheet, (dir / name).c_str());
        cairo_surface_destroy(sheet);
    }
}

std::string quoted(const fs::path& p) { return "\"" + p.generic_string() + "\""; }

}  // namespace

int main(int argc, char** argv) {
    std::string manifest_path, out_dir, sheet_dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--manifest")) manifest_path = argv[i + 1];
        else if (!std::strcmp(argv[i], "--out")) out_dir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--contact-sheet")) sheet_dir = argv[i + 1];
    }
    if (manifest_path.empty() || out_dir.empty()) {
        std::fprintf(stderr, "usage: corvan-resgen --manifest FILE --out DIR [--contact-sheet DIR]\n");
        return 2;
    }
    std::vector<BitmapEntry> entries;
    std::string error;
    if (!read_manifest(manifest_path, entries, error)) {
        std::fprintf(stderr, "corvan-resgen: %s\n", error.c_str());
        return 1;
    }
    const fs::path out = fs::absolute(out_dir);
    fs::create_directories(out / "bmp");
    fs::create_directories(out / "wav");

    std::vector<Rendered> rendered;
    for (const BitmapEntry& e : entries) {
        cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, e.width, e.height);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_paint(cr);
        bool ok = paint(cr, e, error);
        cairo_destroy(cr);
        if (!ok) {
            std::fprintf(stderr, "corvan-resgen: bitmap %d: %s\n", e.id, error.c_str());
            return 1;
        }
        auto bmp = encode_bmp(s);
        fs::path file = out / "bmp" / (std::to_string(e.id) + ".bmp");
        if (!write_file(file, bmp)) {
            std::fprintf(stderr, "corvan-resgen: cannot write %s\n", file.c_str());
            return 1;
        }
        rendered.push_back({&e, s, file, uint32_t(bmp.size() - kFileHeaderBytes)});
    }

    struct WaveFile { int id; fs::path file; uint32_t size; };
    std::vector<WaveFile> waves;
    for (const WaveSpec& wave : kWaves) {
        auto bytes = synthesize_wave(wave);
        fs::path file = out / "wav" / (std::to_string(wave.id) + ".wav");
        if (!write_file(file, bytes)) return 1;
        waves.push_back({wave.id, file, uint32_t(bytes.size())});
    }

    // Windows: the resource script windres compiles into the DLL.
    std::string rc = "// Generated by corvan-resgen from resources/bitmaps.manifest.\n";
    for (const WaveFile& w : waves) rc += std::to_string(w.id) + " WAVE " + quoted(w.file) + "\n";
    for (const Rendered& r : rendered) rc += std::to_string(r.entry->id) + " BITMAP " + quoted(r.file) + "\n";

    // Linux: the same data assembled into the shared object, with the table the platform layer reads.
    std::string cpp =
        "// Generated by corvan-resgen from resources/bitmaps.manifest.\n"
        "#include \"platform/embedded_resources.h\"\n\n"
        "__asm__(\".pushsection .rodata.corvan_resources,\\\"a\\\"\\n\"\n";
    auto blob = [&](const std::string& sym, const fs::path& file, uint32_t skip) {
        cpp += "        \".balign 4\\n.globl " + sym + "\\n.hidden " + sym + "\\n" + sym + ":\\n.incbin \\\"" +
               file.generic_string() + "\\\", " + std::to_string(skip) + "\\n\"\n";
    };
    for (const WaveFile& w : waves) blob("corvan_wave_" + std::to_string(w.id), w.file, 0);
    for (const Rendered& r : rendered) blob("corvan_bitmap_" + std::to_string(r.entry->id), r.file, kFileHeaderBytes);
    cpp += "        \".popsection\\n\");\n\nextern \"C\" {\n";
    for (const WaveFile& w : waves)
        cpp += "extern const unsigned char corvan_wave_" + std::to_string(w.id) + "[];\n";
    for (const Rendered& r : rendered)
        cpp += "extern const unsigned char corvan_bitmap_" + std::to_string(r.entry->id) + "[];\n";
    cpp += "\n__attribute__((visibility(\"default\"))) extern const CorvanEmbeddedResource "
           "corvan_embedded_resources[] = {\n";
    for (const WaveFile& w : waves)
        cpp += "    {CORVAN_RESOURCE_WAVE, " + std::to_string(w.id) + ", corvan_wave_" + std::to_string(w.id) + ", " +
               std::to_string(w.size) + "},\n";
    for (const Rendered& r : rendered)
        cpp += "    {CORVAN_RESOURCE_BITMAP, " + std::to_string(r.entry->id) + ", corvan_bitmap_" +
               std::to_string(r.entry->id) + ", " + std::to_string(r.dib_bytes) + "},\n";
    cpp += "    {0, 0, nullptr, 0},\n};\n}\n";

    if (!write_text(out / "corvan_resources.rc", rc) || !write_text(out / "embedded_resources.cpp", cpp) ||
        !write_text(out / "stamp", std::to_string(rendered.size()) + " bitmaps, " +
                                       std::to_string(waves.size()) + " sounds\n")) {
        std::fprintf(stderr, "corvan-resgen: cannot write into %s\n", out.c_str());
        return 1;
    }
    if (!sheet_dir.empty()) write_contact_sheets(rendered, fs::absolute(sheet_dir));
    for (Rendered& r : rendered) cairo_surface_destroy(r.surface);
    return 0;
}
