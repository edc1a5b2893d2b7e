// The DirectSound steps behind the click sounds. Every failure is silent: it clears
// sound_enabled, so that one missing device or bad resource quiets all gauges at once, and leaves
// the gauges working without sound.
#include "module/sound_player.h"

#include <cstring>

bool sound_enabled = true;

// Secondary buffers: volume, pan and frequency control, heard while another window has the focus.
constexpr DWORD kClickBufferFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN | DSBCAPS_CTRLFREQUENCY | DSBCAPS_GLOBALFOCUS;
static_assert(kClickBufferFlags == 0x80E0);
#if defined(_WIN32) && defined(__i386__)
static_assert(sizeof(DSBUFFERDESC) == 36, "the 32-bit buffer description is 36 bytes");
#endif

constexpr LONG kPcmFormatBytes = 16;     // the PCM fields of a "fmt " chunk
constexpr LONG kFormatReadBytes = 18;    // with the extra-size word, unused for PCM
constexpr DWORD kResourceSizeMax = 0x7FFFFFFF;  // memory files are addressed with a LONG

// ----------------------------------------------------------------------------------------------
// Host window

static const char* const kClassCombatOrFs2002 = "MSCFSMAIN";
static const char* const kClassFs98 = "FS98MAIN";

const char* host_window_class(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    size_t length = std::strlen(name);
    if (const char* dot = std::strrchr(name, '.')) length = size_t(dot - name);
    // A name shorter than four characters has no fourth character to test ("fs9.exe").
    bool fourth_is_2 = length >= 4 && name[3] == '2';
    bool starts_with_c = length >= 1 && name[0] == 'C';
    return fourth_is_2 || starts_with_c ? kClassCombatOrFs2002 : kClassFs98;
}

HWND find_host_window() {
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    path[n < MAX_PATH ? n : MAX_PATH - 1] = '\0';  // older Windows leaves a cut path unterminated
    return FindWindowA(host_window_class(path), nullptr);
}

// ----------------------------------------------------------------------------------------------
// Device

bool sound_create_device(HWND window, LPDIRECTSOUND* device) {
    if (!device) return false;
    *device = nullptr;
    if (!sound_enabled) return false;
    LPDIRECTSOUND created = nullptr;
    if (FAILED(DirectSoundCreate(nullptr, &created, nullptr)) || !created) {
        sound_enabled = false;
        return false;
    }
    if (FAILED(created->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        created->Release();
        sound_enabled = false;
        return false;
    }
    *device = created;
    return true;
}

// ----------------------------------------------------------------------------------------------
// WAVE resources

// The sample format and bytes of a RIFF WAVE file open in `file` (a memory file of `size` bytes);
// the samples land in a new movable block. Chunks before "fmt " and after "data" are stepped over.
static bool read_wave_file(HMMIO file, DWORD size, WAVEFORMATEX& format, HGLOBAL& samples, DWORD& bytes) {
    MMCKINFO riff = {};
    riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
    if (mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF) != MMSYSERR_NOERROR) return false;

    MMCKINFO chunk = {};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
    if (chunk.cksize < DWORD(kPcmFormatBytes)) return false;
    LONG format_bytes = chunk.cksize < DWORD(kFormatReadBytes) ? LONG(chunk.cksize) : kFormatReadBytes;
    format = WAVEFORMATEX{};
    if (mmioRead(file, reinterpret_cast<HPSTR>(&format), format_bytes) != format_bytes) return false;
    format.cbSize = 0;
    if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) return false;

    chunk = MMCKINFO{};
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
    // A size past the end of the resource is bad data, not a reason to allocate it.
    if (chunk.cksize == 0 || chunk.dwDataOffset > size || chunk.cksize > size - chunk.dwDataOffset) return false;

    samples = GlobalAlloc(GMEM_MOVEABLE, chunk.cksize);
    char* staging = samples ? static_cast<char*>(GlobalLock(samples)) : nullptr;
    bool read = staging && mmioRead(file, staging, LONG(chunk.cksize)) == LONG(chunk.cksize);
    if (staging) GlobalUnlock(samples);
    if (!read) {
        if (samples) GlobalFree(samples);
        samples = nullptr;
        return false;
    }
    bytes = chunk.cksize;
    return true;
}

// Finds WAVE resource `wave_id` in `module` and reads it through a memory file.
static bool read_wave_resource(HMODULE module, int wave_id, WAVEFORMATEX& format, HGLOBAL& samples, DWORD& bytes) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(wave_id), "WAVE");
    if (!found) return false;
    HGLOBAL loaded = LoadResource(module, found);
    void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, found);
    bool ok = false;
    if (data && size > 0 && size <= kResourceSizeMax) {
        MMIOINFO info = {};
        info.fccIOProc = FOURCC_MEM;
        info.pchBuffer = static_cast<HPSTR>(data);
        info.cchBuffer = LONG(size);
        HMMIO file = mmioOpenA(nullptr, &info, MMIO_READWRITE | MMIO_ALLOCBUF);
        if (file) {
            ok = read_wave_file(file, size, format, samples, bytes);
            mmioClose(file, 0);
        }
    }
    if (loaded) FreeResource(loaded);
    return ok;
}

// A secondary buffer on `device` holding `bytes` sample bytes, its play position at the start.
static LPDIRECTSOUNDBUFFER create_filled_buffer(LPDIRECTSOUND device, WAVEFORMATEX& format, const char* samples,
                                               DWORD bytes) {
    DSBUFFERDESC description = {};
    description.dwSize = sizeof description;
    description.dwFlags = kClickBufferFlags;
    description.dwBufferBytes = bytes;
    description.lpwfxFormat = &format;
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &buffer, nullptr)) || !buffer) return nullptr;

    void* part1 = nullptr;
    void* part2 = nullptr;
    DWORD bytes1 = 0, bytes2 = 0;
    bool filled = SUCCEEDED(buffer->Lock(0, bytes, &part1, &bytes1, &part2, &bytes2, 0)) && part1;
    if (filled) {
        DWORD first = bytes1 < bytes ? bytes1 : bytes;
        std::memcpy(part1, samples, first);
        if (part2 && first < bytes) std::memcpy(part2, samples + first, bytes2 < bytes - first ? bytes2 : bytes - first);
        filled = SUCCEEDED(buffer->Unlock(part1, bytes1, part2, bytes2)) && SUCCEEDED(buffer->SetCurrentPosition(0));
    }
    if (!filled) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}

DWORD sound_load_wave(HWND, LPDIRECTSOUND* device, LPDIRECTSOUNDBUFFER* buffer, int wave_id,
                      GaugeExtra resource_handle) {
    if (!sound_enabled || !buffer) return 0;
    *buffer = nullptr;

    WAVEFORMATEX format = {};
    HGLOBAL samples = nullptr;
    DWORD bytes = 0;
    bool ok = device && *device &&
              read_wave_resource(reinterpret_cast<HMODULE>(resource_handle), wave_id, format, samples, bytes);
    if (ok) {
        const char* staging = static_cast<const char*>(GlobalLock(samples));
        *buffer = staging ? create_filled_buffer(*device, format, staging, bytes) : nullptr;
        GlobalUnlock(samples);
        ok = *buffer != nullptr;
    }
    if (samples) GlobalFree(samples);
    if (!ok) {
        sound_enabled = false;
        return 0;
    }
    return bytes;
}

// ----------------------------------------------------------------------------------------------
// Playing and releasing

bool sound_play(LPDIRECTSOUNDBUFFER* buffer, DWORD flags) {
    if (!sound_enabled || !buffer || !*buffer) return false;
    if (FAILED((*buffer)->Play(0, 0, flags))) {
        sound_enabled = false;
        return false;
    }
    return true;
}

// Releases go through even after a failure has cleared sound_enabled: a gauge removed after the
// sound went quiet still gives back its device and buffer.
void sound_release(LPDIRECTSOUNDBUFFER* buffer) {
    if (buffer && *buffer) {
        (*buffer)->Release();
        *buffer = nullptr;
    }
}

void sound_release(LPDIRECTSOUND* device) {
    if (device && *device) {
        (*device)->Release();
        *device = nullptr;
    }
}
