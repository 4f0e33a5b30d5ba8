// The table of a program without bitmaps of its own. The linker takes it from the backend's library only
// when the program links no table (vq_embed_resources makes an object library, which is always linked).
#include "toolkit/platform/common/embedded_resources.h"

const EmbeddedResource embeddedResources[1] = {{0u, nullptr, 0u}};
const uint32_t embeddedResourceCount = 0;
