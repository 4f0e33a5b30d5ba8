#include "toolkit/platform/common/embedded_resources.h"

// A program without bitmaps of its own links no table: the references are weak, and null then.
extern const EmbeddedResource embeddedResources[] __attribute__((weak));
extern const uint32_t embeddedResourceCount __attribute__((weak));

const EmbeddedResource* FindEmbeddedResource(uint32_t id) {
    if (!&embeddedResourceCount || !embeddedResources) return nullptr;
    for (uint32_t i = 0; i < embeddedResourceCount; i++) {
        if (embeddedResources[i].id == id) return &embeddedResources[i];
    }
    return nullptr;
}
