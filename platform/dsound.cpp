// The DirectSound stand-in: devices and secondary buffers that check what real DirectSound
// checks, count themselves, record plays, and sound for their data length at their format's rate
// on the simulator's clock (a buffer still sounding does not start a second copy).
#include <cmath>
#include <cstring>
#include <set>
#include <vector>

#include "platform/dsound_state.h"
#include "platform/win32_substitute.h"

using corvan_platform::dsound_state;

#define DSERR_PRIOLEVELNEEDED ((HRESULT)0x887800A0)

namespace {

class Buffer;
std::set<const Buffer*>& live_buffers() {
    static std::set<const Buffer*> all;
    return all;
}

bool valid_pcm(const WAVEFORMATEX* f) {
    if (!f || f->wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f->nChannels < 1 || f->nChannels > 2) return false;
    if (f->wBitsPerSample != 8 && f->wBitsPerSample != 16) return false;
    if (f->nSamplesPerSec < DSBFREQUENCY_MIN || f->nSamplesPerSec > DSBFREQUENCY_MAX) return false;
    if (f->nBlockAlign != f->nChannels * f->wBitsPerSample / 8) return false;
    return f->nAvgBytesPerSec == f->nSamplesPerSec * f->nBlockAlign;
}

class Buffer final : public IDirectSoundBuffer {
public:
    Buffer(const DSBUFFERDESC& d) : flags_(d.dwFlags), format_(*d.lpwfxFormat), data_(d.dwBufferBytes) {
        format_.cbSize = 0;
        ++dsound_state().live_buffers;
        live_buffers().insert(this);
    }
    ~Buffer() {
        --dsound_state().live_buffers;
        live_buffers().erase(this);
    }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    DWORD AddRef() override { return ++refs_; }
    DWORD Release() override {
        DWORD left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT GetStatus(LPDWORD status) override {
        if (!status) return DSERR_INVALIDPARAM;
        *status = playing() ? DSBSTATUS_PLAYING : 0;
        return DS_OK;
    }
    HRESULT GetCurrentPosition(LPDWORD play, LPDWORD write) override {
        DWORD at = current_position();
        if (play) *play = at;
        if (write) *write = at;
        return DS_OK;
    }
    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2, LPDWORD bytes2,
                 DWORD flags) override {
        if (flags & DSBLOCK_ENTIREBUFFER) bytes = size();
        if (dsound_state().fail_lock) return DSERR_GENERIC;
        if (!part1 || !bytes1 || locked_ || offset >= size() || bytes == 0 || bytes > size())
            return DSERR_INVALIDPARAM;
        DWORD first = bytes < size() - offset ? bytes : size() - offset;
        DWORD wrapped = bytes - first;
        if (wrapped && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
        *part1 = data_.data() + offset;
        *bytes1 = first;
        if (part2) *part2 = wrapped ? data_.data() : nullptr;
        if (bytes2) *bytes2 = wrapped;
        locked_ = true;
        return DS_OK;
    }
    HRESULT Unlock(LPVOID part1, DWORD, LPVOID, DWORD) override {
        unsigned char* p = static_cast<unsigned char*>(part1);
        if (!locked_ || p < data_.data() || p >= data_.data() + size()) return DSERR_INVALIDPARAM;
        locked_ = false;
        return DS_OK;
    }
    HRESULT SetCurrentPosition(DWORD position) override {
        if (position >= size()) return DSERR_INVALIDPARAM;
        bool was_playing = playing();
        position_ = position;
        if (was_playing) start();
        return DS_OK;
    }
    HRESULT Play(DWORD, DWORD, DWORD flags) override {
        ++dsound_state().play_requests;
        ++requests_;
        if (playing()) return DS_OK;
        // A one-shot play that ran out left the buffer at its start, as DirectSound does.
        if (has_played_) position_ = 0;
        looping_ = (flags & DSBPLAY_LOOPING) != 0;
        start();
        ++dsound_state().plays_started;
        ++started_;
        return DS_OK;
    }
    HRESULT Stop() override {
        if (playing()) position_ = current_position();
        has_played_ = false;
        looping_ = false;
        end_ = start_ = 0;
        return DS_OK;
    }

    void describe(CorvanBufferInfo& out) const {
        out.flags = flags_;
        out.bytes = size();
        out.format_tag = format_.wFormatTag;
        out.channels = format_.nChannels;
        out.samples_per_sec = format_.nSamplesPerSec;
        out.bits_per_sample = format_.wBitsPerSample;
        out.data = data_.data();
        out.play_requests = requests_;
        out.plays_started = started_;
        out.playing = playing() ? 1 : 0;
    }

private:
    DWORD size() const { return DWORD(data_.size()); }
    double seconds(DWORD bytes) const { return double(bytes) / double(format_.nAvgBytesPerSec); }
    void start() {
        has_played_ = true;
        start_ = dsound_state().time;
        end_ = looping_ ? INFINITY : start_ + seconds(size() - position_);
    }
    // Sounding now; a clock set back before the play began counts as having ended it.
    bool playing() const {
        double now = dsound_state().time;
        return has_played_ && now >= start_ && now < end_;
    }
    DWORD current_position() const {
        if (!playing()) return has_played_ ? 0 : position_;
        double played = (dsound_state().time - start_) * double(format_.nAvgBytesPerSec);
        return DWORD(std::fmod(double(position_) + played, double(size())));
    }

    DWORD refs_ = 1;
    DWORD flags_;
    WAVEFORMATEX format_;
    std::vector<unsigned char> data_;
    bool locked_ = false;
    DWORD position_ = 0;   // where the next play starts
    bool has_played_ = false;
    bool looping_ = false;
    double start_ = 0, end_ = 0;
    uint64_t requests_ = 0, started_ = 0;
};

class Device final : public IDirectSound {
public:
    Device() { ++dsound_state().live_devices; }
    ~Device() { --dsound_state().live_devices; }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    DWORD AddRef() override { return ++refs_; }
    DWORD Release() override {
        DWORD left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC d, LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) override {
        ++dsound_state().buffer_attempts;
        if (!buffer || outer || !d || d->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (!cooperative_) return DSERR_PRIOLEVELNEEDED;
        if (d->dwBufferBytes < DSBSIZE_MIN || d->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
        if (!valid_pcm(d->lpwfxFormat)) return DSERR_BADFORMAT;
        if (dsound_state().fail_buffer) return DSERR_OUTOFMEMORY;
        *buffer = new Buffer(*d);
        return DS_OK;
    }
    HRESULT SetCooperativeLevel(HWND, DWORD level) override {
        if (level < DSSCL_NORMAL || level > 4) return DSERR_INVALIDPARAM;
        cooperative_ = true;
        return DS_OK;
    }

private:
    DWORD refs_ = 1;
    bool cooperative_ = false;
};

}  // namespace

HRESULT DirectSoundCreate(LPCGUID, LPDIRECTSOUND* device, LPUNKNOWN outer) {
    ++dsound_state().device_attempts;
    if (!device || outer) return DSERR_INVALIDPARAM;
    *device = nullptr;
    if (dsound_state().fail_device) return DSERR_NODRIVER;
    *device = new Device();
    return DS_OK;
}

int corvan_dsound_buffer_info(const void* buffer, CorvanBufferInfo* out) {
    auto it = live_buffers().find(static_cast<const Buffer*>(buffer));
    if (it == live_buffers().end() || !out) return 0;
    (*it)->describe(*out);
    return 1;
}
