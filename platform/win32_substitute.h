// The Win32 names the module calls, for Linux builds: the multimedia file functions over a
// memory block, resources embedded in the native module, global memory, the host window and
// executable name, wsprintfA, and DirectSound with counted devices and buffers.
//
// Only what the module uses is declared, with the Win32 names, values and calling shapes, so that
// the same module source compiles against <windows.h> or against this file. Record layouts follow
// Win32 where the module hands a record's size to the call (WAVEFORMATEX, DSBUFFERDESC).
//
// Sections: base types · resources and memory · windows and text · multimedia files · DirectSound.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "platform/corvan_platform.h"

// ----------------------------------------------------------------------------------------------
// Base types

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef unsigned int UINT;
typedef int32_t HRESULT;
typedef size_t SIZE_T;
typedef char CHAR;
typedef char* LPSTR;
typedef char* HPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;
typedef DWORD* LPDWORD;
typedef DWORD FOURCC;
typedef UINT MMRESULT;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif

struct HWND__;
struct HINSTANCE__;
struct HRSRC__;
struct HMMIO__;
typedef HWND__* HWND;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef HRSRC__* HRSRC;
typedef void* HGLOBAL;
typedef HMMIO__* HMMIO;

#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

// ----------------------------------------------------------------------------------------------
// Resources and memory

#define MAKEINTRESOURCEA(i) ((LPSTR)(uintptr_t)(WORD)(i))
#define IS_INTRESOURCE(p) ((((uintptr_t)(p)) >> 16) == 0)
#define RT_BITMAP MAKEINTRESOURCEA(2)

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040

extern "C" {
// `module` is the handle the host passes at install (the dlopen handle of the native module);
// null means the running program. Resources come from the module's embedded table.
CORVAN_PLATFORM_API HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
CORVAN_PLATFORM_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
CORVAN_PLATFORM_API LPVOID LockResource(HGLOBAL data);
CORVAN_PLATFORM_API DWORD SizeofResource(HMODULE module, HRSRC resource);
CORVAN_PLATFORM_API BOOL FreeResource(HGLOBAL data);

CORVAN_PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
CORVAN_PLATFORM_API LPVOID GlobalLock(HGLOBAL memory);
CORVAN_PLATFORM_API BOOL GlobalUnlock(HGLOBAL memory);
CORVAN_PLATFORM_API HGLOBAL GlobalFree(HGLOBAL memory);

// ----------------------------------------------------------------------------------------------
// Windows and text

// The window of that class, if the host has one (corvan_platform_set_host_window_class).
CORVAN_PLATFORM_API HWND FindWindowA(LPCSTR class_name, LPCSTR title);
// The running program's path (or the one set with corvan_platform_set_executable_path). Copies at
// most size - 1 characters and always ends the text; returns its length, or size when cut.
CORVAN_PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR out, DWORD size);
// The Win32 subset: %[-][0][width][.precision][l|h] with d i u x X c s and %%; no floating point.
// Writes at most 1024 bytes including the terminator, as Windows does.
CORVAN_PLATFORM_API int wsprintfA(LPSTR out, LPCSTR format, ...);
}

// ----------------------------------------------------------------------------------------------
// Multimedia files

#define mmioFOURCC(a, b, c, d) \
    ((DWORD)(BYTE)(a) | ((DWORD)(BYTE)(b) << 8) | ((DWORD)(BYTE)(c) << 16) | ((DWORD)(BYTE)(d) << 24))
#define FOURCC_RIFF mmioFOURCC('R', 'I', 'F', 'F')
#define FOURCC_LIST mmioFOURCC('L', 'I', 'S', 'T')
#define FOURCC_MEM mmioFOURCC('M', 'E', 'M', ' ')

#define MMIO_READ 0x00000000
#define MMIO_WRITE 0x00000001
#define MMIO_READWRITE 0x00000002
#define MMIO_ALLOCBUF 0x00010000
#define MMIO_FINDCHUNK 0x0010
#define MMIO_FINDRIFF 0x0020
#define MMIO_FINDLIST 0x0040

#define MMSYSERR_NOERROR 0
#define MMSYSERR_INVALPARAM 11
#define MMIOERR_CANNOTSEEK 264
#define MMIOERR_CANNOTREAD 261
#define MMIOERR_CHUNKNOTFOUND 265

struct MMIOINFO {
    DWORD dwFlags;
    FOURCC fccIOProc;  // FOURCC_MEM: a file over pchBuffer
    void* pIOProc;
    UINT wErrorRet;
    void* htask;
    LONG cchBuffer;    // bytes of the memory block
    HPSTR pchBuffer;   // the memory block
    HPSTR pchNext;
    HPSTR pchEndRead;
    HPSTR pchEndWrite;
    LONG lBufOffset;
    LONG lDiskOffset;
    DWORD adwInfo[3];
    DWORD dwReserved1;
    DWORD dwReserved2;
    HMMIO hmmio;
};
typedef MMIOINFO* LPMMIOINFO;

struct MMCKINFO {
    FOURCC ckid;
    DWORD cksize;
    FOURCC fccType;       // form or list type of RIFF and LIST chunks
    DWORD dwDataOffset;   // file offset of the chunk's data (of its type, for RIFF and LIST)
    DWORD dwFlags;
};
typedef MMCKINFO* LPMMCKINFO;

extern "C" {
// Only memory files (fccIOProc FOURCC_MEM) are served; a file name gives null.
CORVAN_PLATFORM_API HMMIO mmioOpenA(LPSTR file_name, LPMMIOINFO info, DWORD flags);
CORVAN_PLATFORM_API MMRESULT mmioDescend(HMMIO file, LPMMCKINFO chunk, const MMCKINFO* parent, UINT flags);
CORVAN_PLATFORM_API LONG mmioRead(HMMIO file, HPSTR out, LONG bytes);
CORVAN_PLATFORM_API MMRESULT mmioAscend(HMMIO file, LPMMCKINFO chunk, UINT flags);
CORVAN_PLATFORM_API MMRESULT mmioClose(HMMIO file, UINT flags);
}

// ----------------------------------------------------------------------------------------------
// DirectSound

#define WAVE_FORMAT_PCM 1

#pragma pack(push, 1)
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
typedef WAVEFORMATEX* LPWAVEFORMATEX;
static_assert(sizeof(WAVEFORMATEX) == 18, "WAVEFORMATEX is 18 bytes, as in a WAVE file");

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef const GUID* LPCGUID;

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
};
typedef const DSBUFFERDESC* LPCDSBUFFERDESC;

#define DS_OK 0
#define DSERR_GENERIC ((HRESULT)0x80004005)
#define DSERR_INVALIDPARAM ((HRESULT)0x80070057)
#define DSERR_OUTOFMEMORY ((HRESULT)0x8007000E)
#define DSERR_NODRIVER ((HRESULT)0x88780078)
#define DSERR_BADFORMAT ((HRESULT)0x88780064)
#define DSERR_UNINITIALIZED ((HRESULT)0x887800AA)

#define DSSCL_NORMAL 0x00000001
#define DSBCAPS_CTRLFREQUENCY 0x00000020
#define DSBCAPS_CTRLPAN 0x00000040
#define DSBCAPS_CTRLVOLUME 0x00000080
#define DSBCAPS_GLOBALFOCUS 0x00008000
#define DSBPLAY_LOOPING 0x00000001
#define DSBSTATUS_PLAYING 0x00000001
#define DSBLOCK_ENTIREBUFFER 0x00000002
#define DSBSIZE_MIN 4
#define DSBSIZE_MAX 0x0FFFFFFF
#define DSBFREQUENCY_MIN 100
#define DSBFREQUENCY_MAX 200000

// The COM shapes the module calls through; the objects behind them live in the platform library.
struct IUnknown {
    virtual DWORD AddRef() = 0;
    virtual DWORD Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

struct IDirectSoundBuffer : IUnknown {
    virtual HRESULT GetStatus(LPDWORD status) = 0;
    virtual HRESULT GetCurrentPosition(LPDWORD play, LPDWORD write) = 0;
    virtual HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, LPDWORD bytes1, LPVOID* part2, LPDWORD bytes2,
                         DWORD flags) = 0;
    virtual HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    virtual HRESULT Stop() = 0;

protected:
    ~IDirectSoundBuffer() = default;
};
typedef IDirectSoundBuffer* LPDIRECTSOUNDBUFFER;

struct IDirectSound : IUnknown {
    virtual HRESULT CreateSoundBuffer(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;

protected:
    ~IDirectSound() = default;
};
typedef IDirectSound* LPDIRECTSOUND;

extern "C" {
// The default device (null guid); fails while corvan_dsound_fail_device_creation is set.
CORVAN_PLATFORM_API HRESULT DirectSoundCreate(LPCGUID device_guid, LPDIRECTSOUND* device, LPUNKNOWN outer);
}
