#include "graphics/resource_preloader.h"

#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "graphics/static_image.h"

namespace {
std::unique_ptr<TResourcePreloader> gPreloader;
}

TResourcePreloader::TResourcePreloader() = default;

TResourcePreloader::~TResourcePreloader() { Clear(); }

TResourcePreloader* TResourcePreloader::Create(const std::string& path)
{
    Destroy();
    gPreloader.reset(new TResourcePreloader());
    gPreloader->ReadList(path);
    return gPreloader.get();
}

TResourcePreloader* TResourcePreloader::Instance() { return gPreloader.get(); }

void TResourcePreloader::Destroy()
{
    if (gPreloader) gPreloader->Clear();
    gPreloader.reset();
}

void TResourcePreloader::ReadList(const std::string& path)
{
    if (TiXmlElement* root = LoadXmlDocument(path)) {
        std::vector<TiXmlElement*> items;
        GetChildElements(root, "item", items);
        for (TiXmlElement* item : items) mNames.push_back(GetAttrString(item, "name", ""));
    }
    DeleteCurrentXmlDocument();
}

int TResourcePreloader::LoadAll()
{
    mImages.clear();
    for (const std::string& name : mNames) {
        mImages.emplace_back(new StaticImage());
        mImages.back()->SetTexture(name);
    }
    return static_cast<int>(mImages.size());
}

void TResourcePreloader::Clear()
{
    mImages.clear();
    mNames.clear();
}
