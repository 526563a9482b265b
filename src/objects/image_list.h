// The picture lists of the kinds that own several images: read from their "img" elements,
// with textures set and freed together.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "graphics/static_image.h"

template <class Image>
void ReadImageList(TiXmlElement* element, const std::string& folder, std::vector<std::unique_ptr<Image>>& out)
{
    out.clear();
    for (TiXmlElement* child = element ? element->FirstChildElement("img") : nullptr; child;
         child = child->NextSiblingElement("img")) {
        auto image = std::make_unique<Image>();
        ReadStaticImageAttrs(child, image.get(), folder);
        out.push_back(std::move(image));
    }
}

template <class Image>
void LoadImageTextures(std::vector<std::unique_ptr<Image>>& images)
{
    for (auto& image : images) image->SetTexture(image->mTextureName);
}

template <class Image>
void FreeImageTextures(std::vector<std::unique_ptr<Image>>& images)
{
    for (auto& image : images) image->FreeTexture();
}

// The image at the index, or null outside the list.
template <class Image>
Image* ImageAtIndex(const std::vector<std::unique_ptr<Image>>& images, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= images.size()) return nullptr;
    return images[static_cast<size_t>(index)].get();
}
