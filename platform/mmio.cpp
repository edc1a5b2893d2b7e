// The multimedia file functions over a memory block: a RIFF reader that never reads outside the
// block, whatever sizes the chunks claim.
#include <cstring>
#include <new>

#include "platform/win32_substitute.h"

struct HMMIO__ {
    const unsigned char* data;
    uint64_t size;
    uint64_t position;
};

namespace {

constexpr uint64_t kChunkHeader = 8;  // id and size
constexpr uint64_t kTypeField = 4;    // form or list type of RIFF and LIST chunks

uint32_t read_u32(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool fail_riff_chunks = false;  // fault switch for tests

bool has_type(FOURCC id) { return id == FOURCC_RIFF || id == FOURCC_LIST; }

// Where a chunk's data (after its type, for RIFF and LIST) ends, padded to an even offset.
uint64_t chunk_end(const MMCKINFO& ck) {
    uint64_t end = uint64_t(ck.dwDataOffset) + ck.cksize;
    return end + (end & 1);
}

}  // namespace

HMMIO mmioOpenA(LPSTR file_name, LPMMIOINFO info, DWORD) {
    if (file_name || !info || info->fccIOProc != FOURCC_MEM || info->cchBuffer < 0) {
        if (info) info->wErrorRet = MMSYSERR_INVALPARAM;
        return nullptr;
    }
    HMMIO file = new (std::nothrow) HMMIO__;
    if (!file) return nullptr;
    file->data = reinterpret_cast<const unsigned char*>(info->pchBuffer);
    file->size = file->data ? uint64_t(info->cchBuffer) : 0;
    file->position = 0;
    info->wErrorRet = MMSYSERR_NOERROR;
    info->hmmio = file;
    return file;
}

MMRESULT mmioClose(HMMIO file, UINT) {
    delete file;
    return MMSYSERR_NOERROR;
}

LONG mmioRead(HMMIO file, HPSTR out, LONG bytes) {
    if (!file || bytes < 0 || (!out && bytes > 0)) return -1;
    uint64_t left = file->position < file->size ? file->size - file->position : 0;
    uint64_t n = uint64_t(bytes) < left ? uint64_t(bytes) : left;
    if (n) std::memcpy(out, file->data + file->position, n);
    file->position += n;
    return LONG(n);
}

// Reads the chunk header at the current position, or with MMIO_FINDCHUNK / FINDRIFF / FINDLIST
// steps over chunks until one with the wanted id (and type) starts inside the parent's data.
MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags) {
    if (!file || !chunk) return MMSYSERR_INVALPARAM;
    if (fail_riff_chunks) return MMIOERR_CHUNKNOTFOUND;
    uint64_t limit = parent ? chunk_end(*parent) : file->size;
    if (limit > file->size) limit = file->size;
    FOURCC want_id = chunk->ckid;
    FOURCC want_type = chunk->fccType;
    if (flags & MMIO_FINDRIFF) want_id = FOURCC_RIFF;
    if (flags & MMIO_FINDLIST) want_id = FOURCC_LIST;
    bool find = (flags & (MMIO_FINDCHUNK | MMIO_FINDRIFF | MMIO_FINDLIST)) != 0;

    uint64_t at = file->position;
    for (;;) {
        if (at + kChunkHeader > limit) return MMIOERR_CHUNKNOTFOUND;
        MMCKINFO ck = {};
        ck.ckid = read_u32(file->data + at);
        ck.cksize = read_u32(file->data + at + 4);
        ck.dwDataOffset = DWORD(at + kChunkHeader);
        uint64_t data_at = at + kChunkHeader;
        if (has_type(ck.ckid)) {
            if (data_at + kTypeField > limit) return find ? MMIOERR_CHUNKNOTFOUND : MMIOERR_CANNOTREAD;
            ck.fccType = read_u32(file->data + data_at);
            data_at += kTypeField;
        }
        bool match = !find || (ck.ckid == want_id &&
                               (!(flags & (MMIO_FINDRIFF | MMIO_FINDLIST)) || ck.fccType == want_type));
        if (match) {
            *chunk = ck;
            file->position = data_at;
            return MMSYSERR_NOERROR;
        }
        at = chunk_end(ck);  // 64-bit: a size near 4 GiB cannot wrap back into the block
    }
}

// Moves to the end of the chunk (padded to an even offset), not past the end of the block.
MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT) {
    if (!file || !chunk) return MMSYSERR_INVALPARAM;
    uint64_t end = chunk_end(*chunk);
    file->position = end < file->size ? end : file->size;
    return MMSYSERR_NOERROR;
}

void corvan_platform_fail_riff_chunks(int fail) { fail_riff_chunks = fail != 0; }
