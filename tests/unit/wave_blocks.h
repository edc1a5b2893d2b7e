// WAVE files built by the tests, and a resource table of the test program's own that the resource
// functions find when given the null module handle.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/embedded_resources.h"

using Bytes = std::vector<unsigned char>;

inline void put_u16(Bytes& b, uint32_t v) {
    b.push_back(uint8_t(v));
    b.push_back(uint8_t(v >> 8));
}
inline void put_u32(Bytes& b, uint32_t v) {
    put_u16(b, v & 0xFFFF);
    put_u16(b, v >> 16);
}
inline void put_id(Bytes& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}

// A chunk with its declared size (by default the true one) and the pad byte of odd sizes.
inline Bytes chunk(const char* id, const Bytes& body, int64_t declared = -1) {
    Bytes b;
    put_id(b, id);
    put_u32(b, declared < 0 ? uint32_t(body.size()) : uint32_t(declared));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() & 1) b.push_back(0);
    return b;
}

inline Bytes pcm_format(uint32_t rate, uint16_t bits, uint16_t channels = 1, bool with_extra_size = true) {
    Bytes b;
    uint16_t align = uint16_t(channels * bits / 8);
    put_u16(b, 1);
    put_u16(b, channels);
    put_u32(b, rate);
    put_u32(b, rate * align);
    put_u16(b, align);
    put_u16(b, bits);
    if (with_extra_size) put_u16(b, 0);
    return b;
}

// Recognisable sample bytes.
inline Bytes samples(size_t n, unsigned seed = 7) {
    Bytes b(n);
    for (size_t i = 0; i < n; ++i) b[i] = uint8_t((i * 31 + seed) ^ (i >> 8));
    return b;
}

// "RIFF" size "WAVE" then the chunks; `declared` overrides the RIFF size.
inline Bytes riff_wave(const std::vector<Bytes>& chunks, int64_t declared = -1, const char* form = "WAVE") {
    Bytes body;
    put_id(body, form);
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return chunk("RIFF", body, declared);
}

// A copy in a heap block of exactly its size, so that AddressSanitizer reports any read past it.
struct ExactBlock {
    std::unique_ptr<unsigned char[]> data;
    uint32_t size = 0;
    explicit ExactBlock(const Bytes& b) : data(new unsigned char[b.empty() ? 1 : b.size()]), size(uint32_t(b.size())) {
        if (!b.empty()) std::memcpy(data.get(), b.data(), b.size());
    }
};

// The test program's resource table (exported; see the test build), rewritten by the tests.
constexpr size_t kTestResourceSlots = 8;
extern "C" CorvanEmbeddedResource corvan_embedded_resources[kTestResourceSlots + 1];

// Makes `block` the test program's WAVE resource `id`, the only one in the table.
inline void use_test_wave(int id, const ExactBlock& block) {
    std::memset(corvan_embedded_resources, 0, sizeof corvan_embedded_resources);
    static const unsigned char kEmpty = 0;
    corvan_embedded_resources[0] = {CORVAN_RESOURCE_WAVE, uint32_t(id), block.size ? block.data.get() : &kEmpty,
                                    block.size};
}
