#!/usr/bin/env python3
"""Checks that a WAV file captured from ALSA holds sound, not silence: reports its format, length
and peak level, and fails when the peak is below about -40 dBFS or the file holds no samples."""
import struct
import sys

MIN_PEAK = 0.01  # of full scale
MIN_LOUD_SAMPLES = 200


def main(path):
    try:
        raw = open(path, "rb").read()
    except OSError as e:
        print(f"not_silent: {e}")
        return 1
    if len(raw) < 44 or raw[0:4] != b"RIFF" or raw[8:12] != b"WAVE":
        print(f"not_silent: {path} is not a WAV file ({len(raw)} bytes)")
        return 1
    # The file device writes one "fmt " chunk and one "data" chunk; its sizes may be unfinished.
    at, fmt, data = 12, None, None
    while at + 8 <= len(raw):
        cid, size = raw[at:at + 4], struct.unpack("<I", raw[at + 4:at + 8])[0]
        body = raw[at + 8:at + 8 + size] if cid != b"data" else raw[at + 8:]
        if cid == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        elif cid == b"data":
            data = body
            break
        at += 8 + size + (size & 1)
    if not fmt or data is None:
        print("not_silent: no fmt or data chunk")
        return 1
    tag, channels, rate, _, align, bits = fmt
    if tag == 3 and bits == 32:
        values = [abs(v) for v in struct.unpack(f"<{len(data) // 4}f", data[:len(data) // 4 * 4])]
    elif tag in (1, 0xFFFE) and bits == 16:
        values = [abs(v) / 32768 for v in struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])]
    elif tag in (1, 0xFFFE) and bits == 32:
        values = [abs(v) / 2**31 for v in struct.unpack(f"<{len(data) // 4}i", data[:len(data) // 4 * 4])]
    elif tag == 1 and bits == 8:
        values = [abs(v - 128) / 128 for v in data]
    else:
        print(f"not_silent: unexpected sample format tag {tag}, {bits} bit")
        return 1
    peak = max(values, default=0.0)
    loud = sum(1 for v in values if v >= MIN_PEAK)
    seconds = len(values) / max(1, channels) / max(1, rate)
    print(f"not_silent: {channels} channel(s), {rate} Hz, {bits}-bit, {seconds:.2f} s captured, "
          f"peak {peak:.3f}, {loud} samples at or above {MIN_PEAK}")
    if peak < MIN_PEAK or loud < MIN_LOUD_SAMPLES:
        print("not_silent: the captured audio is silent")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
