// Textures shared by name: a request while a handle lives answers the same texture; after
// the last handle the cache only remembers a count of 0 and the next request loads again.
#pragma once
#include <string>

#include "graphics/texture.h"

struct TTextureCacheEntry {
    TTexture* mTexture = nullptr;  // stale once the count reads 0: only tested through it
    CountedPtr<int> mHolders;
};

class TextureCache {
public:
    static TexturePtr MakeHandle(const TTextureCacheEntry& entry);
    // Entries of the name, live or not (tests look at what a failed load left behind).
    static bool HasEntry(const std::string& name);
};

TexturePtr GetTexture(const std::string& name);
TexturePtr GetMaskedTexture(const std::string& colorName, const std::string& maskName, bool bothRequired);
TexturePtr GetStreamingTexture(const std::string& name);
// access: 1 streaming, 2 render target, anything else static. Not cached.
TexturePtr CreateBlankTexture(int width, int height, int access, uint32_t format = SDL_PIXELFORMAT_RGB888);
// Names with "_" are colour-plus-mask pairs.
TexturePtr GetTextureByName(const std::string& name, bool bothRequired);
