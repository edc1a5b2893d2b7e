// Resources carried inside the native (Linux) module, where Windows would keep a resource
// directory: the module exports a table under the name below, found with dlsym on the module
// handle. Bitmap data is a DIB as in a Win32 BITMAP resource (no BITMAPFILEHEADER); WAVE data is
// the whole RIFF file.
#pragma once

#include <stdint.h>

#define CORVAN_EMBEDDED_RESOURCES_SYMBOL "corvan_embedded_resources"

enum CorvanResourceType : uint32_t {
    CORVAN_RESOURCE_BITMAP = 2,  // RT_BITMAP
    CORVAN_RESOURCE_WAVE = 0x57415645,  // the named type "WAVE"
};

struct CorvanEmbeddedResource {
    uint32_t type;  // CorvanResourceType
    uint32_t id;
    const unsigned char* data;  // null ends the table
    uint32_t size;
};
