#include "toolkit/platform/common/embedded_resources.h"

const EmbeddedResource* FindEmbeddedResource(uint32_t id) {
    for (uint32_t i = 0; i < embeddedResourceCount; i++) {
        if (embeddedResources[i].id == id) return &embeddedResources[i];
    }
    return nullptr;
}
