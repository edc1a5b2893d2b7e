// wsprintfA: the Win32 format subset, written into at most 1024 bytes as Windows does.
// Conversions: d i u x X c s %, with flags '-' and '0', a width, a precision (for s: the most
// characters taken) and the size prefixes l and h. Anything else is copied as it stands.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/win32_substitute.h"

namespace {

constexpr size_t kWsprintfLimit = 1024;  // bytes Windows writes at most, terminator included

struct Out {
    char* at;
    size_t room;  // characters that still fit before the terminator
    int written = 0;
    void put(const char* s, size_t n) {
        if (n > room) n = room;
        std::memcpy(at, s, n);
        at += n;
        room -= n;
        written += int(n);
    }
};

}  // namespace

int wsprintfA(LPSTR out_text, LPCSTR format, ...) {
    if (!out_text) return 0;
    Out out{out_text, kWsprintfLimit - 1};
    va_list ap;
    va_start(ap, format);
    const char* f = format ? format : "";
    while (*f && out.room) {
        if (*f != '%') {
            const char* run = f;
            while (*f && *f != '%') ++f;
            out.put(run, size_t(f - run));
            continue;
        }
        const char* spec_start = f++;
        bool left = false, zero = false;
        while (*f == '-' || *f == '0') (*f++ == '-' ? left : zero) = true;
        int width = 0, precision = -1;
        while (*f >= '0' && *f <= '9' && width < 1024) width = width * 10 + (*f++ - '0');
        while (*f >= '0' && *f <= '9') ++f;
        if (*f == '.') {
            ++f;
            precision = 0;
            while (*f >= '0' && *f <= '9' && precision < 1024) precision = precision * 10 + (*f++ - '0');
            while (*f >= '0' && *f <= '9') ++f;
        }
        bool half = false;
        if (*f == 'l' || *f == 'h') half = *f++ == 'h';  // l: a 32-bit LONG, as on Windows
        char conv = *f;
        if (conv) ++f;

        char piece[kWsprintfLimit + 16];
        int n = -1;
        char sub[32];
        switch (conv) {
        case 'd':
        case 'i': {
            int v = va_arg(ap, int);
            if (half) v = short(v);
            std::snprintf(sub, sizeof sub, "%%%s%s*.*d", left ? "-" : "", zero ? "0" : "");
            n = std::snprintf(piece, sizeof piece, sub, width, precision, v);
            break;
        }
        case 'u':
        case 'x':
        case 'X': {
            unsigned v = va_arg(ap, unsigned);
            if (half) v = (unsigned short)v;
            std::snprintf(sub, sizeof sub, "%%%s%s*.*%c", left ? "-" : "", zero ? "0" : "", conv);
            n = std::snprintf(piece, sizeof piece, sub, width, precision, v);
            break;
        }
        case 'c': {
            char c = char(va_arg(ap, int));
            n = std::snprintf(piece, sizeof piece, left ? "%-*c" : "%*c", width, c);
            break;
        }
        case 's': {
            const char* s = va_arg(ap, const char*);
            if (!s) s = "(null)";
            n = std::snprintf(piece, sizeof piece, left ? "%-*.*s" : "%*.*s", width,
                              precision < 0 ? int(kWsprintfLimit) : precision, s);
            break;
        }
        case '%':
            out.put("%", 1);
            continue;
        default:  // not a conversion of the subset: the text stands as written
            out.put(spec_start, size_t(f - spec_start));
            continue;
        }
        if (n > 0) out.put(piece, size_t(n) < sizeof piece ? size_t(n) : sizeof piece - 1);
    }
    va_end(ap);
    *out.at = '\0';
    return out.written;
}
