#include "graphics/resource_preloader.h"

namespace {
TResourcePreloader* gPreloader = nullptr;
}

TResourcePreloader* TResourcePreloader::Create(const std::string& /*path*/)
{
    if (!gPreloader) gPreloader = new TResourcePreloader();
    return gPreloader;
}

TResourcePreloader* TResourcePreloader::Instance() { return gPreloader; }

void TResourcePreloader::Destroy()
{
    delete gPreloader;
    gPreloader = nullptr;
}
