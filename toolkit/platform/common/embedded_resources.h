// The program's bitmap resources, built into the executable (Linux backends).
#pragma once

#include <stdint.h>

struct EmbeddedResource {
    uint32_t id;
    const unsigned char* bytes;
    uint32_t size;
};

extern const EmbeddedResource embeddedResources[];
extern const uint32_t embeddedResourceCount;

// The resource with this id, or null.
const EmbeddedResource* FindEmbeddedResource(uint32_t id);
