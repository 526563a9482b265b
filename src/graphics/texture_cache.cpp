#include "graphics/texture_cache.h"

#include <map>

#include "core/app_state.h"

namespace {

// One map for all three getters: a name loaded through one is what the others answer
// while that texture lives.
std::map<std::string, TTextureCacheEntry>& Cache()
{
    static std::map<std::string, TTextureCacheEntry> cache;
    return cache;
}

template <class Load>
TexturePtr Lookup(const std::string& key, Load load)
{
    auto& cache = Cache();
    auto it = cache.find(key);
    if (it != cache.end()) {
        if (it->second.mHolders.Get() && *it->second.mHolders > 0) return TextureCache::MakeHandle(it->second);
        cache.erase(it);
    }
    TexturePtr handle(new TTexture());
    load(handle.Get());
    if (!handle->IsLoaded()) {
        handle.Reset();
        return handle;
    }
    TTextureCacheEntry& entry = cache[key];
    entry.mTexture = handle.Get();
    entry.mHolders = handle.Holders();
    return handle;
}

}  // namespace

TexturePtr TextureCache::MakeHandle(const TTextureCacheEntry& entry) { return TexturePtr(entry.mTexture, entry.mHolders); }

bool TextureCache::HasEntry(const std::string& name) { return Cache().count(name) != 0; }

TexturePtr GetTexture(const std::string& name)
{
    return Lookup(name, [&](TTexture* t) { t->LoadFromFile(name); });
}

TexturePtr GetMaskedTexture(const std::string& colorName, const std::string& maskName, bool bothRequired)
{
    return Lookup(colorName, [&](TTexture* t) { t->LoadMerged(colorName, maskName, bothRequired); });
}

TexturePtr GetStreamingTexture(const std::string& name)
{
    return Lookup(name, [&](TTexture* t) { t->LoadPaletted(name); });
}

TexturePtr CreateBlankTexture(int width, int height, int access, uint32_t format)
{
    SDL_Renderer* renderer = GetRenderer();
    if (!renderer) return TexturePtr();
    int sdlAccess = access == 1 ? SDL_TEXTUREACCESS_STREAMING
                                : access == 2 ? SDL_TEXTUREACCESS_TARGET : SDL_TEXTUREACCESS_STATIC;
    SDL_Texture* raw = SDL_CreateTexture(renderer, format, sdlAccess, width, height);
    if (!raw) return TexturePtr();
    TexturePtr handle(new TTexture());
    handle->Adopt(raw);
    return handle;
}

TexturePtr GetTextureByName(const std::string& name, bool bothRequired)
{
    if (name.find('_') != std::string::npos) return GetMaskedTexture(name, name, bothRequired);
    return GetTexture(name);
}
