#include "game/paint_effect.h"

#include <cmath>
#include <string>
#include <utility>

#include "core/random.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"

void EffectBrisaloPaint::LoadXml(const TiXmlElement* element)
{
    if (!element) return;
    std::vector<std::string> names;
    GetAttrList(element, "images", ';', names);
    // Held only while the rows are built: the cells keep the textures they share.
    std::vector<StaticImage> palette(names.size());
    for (size_t i = 0; i < names.size(); ++i) palette[i].SetTexture(names[i]);
    const TTexture* first = palette.empty() ? nullptr : palette[0].GetTexture();
    const int cellW = first ? first->GetWidth() : 0;
    const int cellH = first ? first->GetHeight() : 0;

    mX = static_cast<float>(GetAttrInt(element, "x", 0));
    mY = static_cast<float>(GetAttrInt(element, "y", 0));
    mSpaceX = GetAttrInt(element, "spacex", 0);
    mSpaceY = GetAttrInt(element, "spacey", 0);
    mCellAppearTime = GetAttrFloat(element, "cellappeartime", 0.1f);
    mCellDelayTime = GetAttrFloat(element, "celldelaytime", 0.1f);
    mPictureDelayTime = GetAttrFloat(element, "picturedelaytime", 2.0f);

    mRows.clear();
    int y = 0;
    for (const TiXmlElement* line = element->FirstChildElement("line"); line;
         line = line->NextSiblingElement("line")) {
        mRows.emplace_back();
        std::vector<AlphaStaticImage>& row = mRows.back();
        int x = 0;
        for (char c : GetAttrString(line, "line", "")) {
            const int d = (c >= '0' && c <= '9') ? c - '0' : 0;
            // A digit with no palette image makes no cell but still takes its column.
            if (d >= 1 && d <= static_cast<int>(palette.size())) {
                row.emplace_back();
                AlphaStaticImage& cell = row.back();
                cell.ShareTexture(palette[static_cast<size_t>(d - 1)]);
                cell.SetPosition(mX + static_cast<float>(x), mY + static_cast<float>(y), false);
            }
            x += cellW + mSpaceX;
        }
        y += cellH + mSpaceY;
    }
}

void EffectBrisaloPaint::Start(int order)
{
    mState = kPainting;
    std::vector<AlphaStaticImage*> cells;
    if (order == 0) {
        for (auto row = mRows.rbegin(); row != mRows.rend(); ++row)
            for (auto cell = row->rbegin(); cell != row->rend(); ++cell) cells.push_back(&*cell);
    } else if (order == 1 || order == 2) {
        for (auto& row : mRows)
            for (auto& cell : row) cells.push_back(&cell);
        if (order == 1) {
            for (size_t i = cells.size(); i > 1; --i) {
                const size_t j = static_cast<size_t>(GameRand()) % i;
                std::swap(cells[i - 1], cells[j]);
            }
        }
    }
    for (size_t k = 0; k < cells.size(); ++k) {
        AlphaStaticImage* cell = cells[k];
        cell->mHoldTime = static_cast<float>(k) * mCellDelayTime;
        cell->mFade.Set(0.0f, 1.0f, std::fabs(mCellAppearTime), true);
        cell->mAlpha = 0.0f;
    }
}

bool EffectBrisaloPaint::Update(float dt)
{
    if (mState == kPainting) {
        bool allDone = true;
        for (auto& row : mRows)
            for (auto& cell : row) {
                cell.Update(dt);
                if (!cell.IsDone()) allDone = false;
            }
        if (allDone) {
            if (mPictureDelayTime != 0.0f) {
                mState = kWaiting;
                mWait.Set(0.0f, 1.0f, std::fabs(mPictureDelayTime), true);
            } else {
                Start(GameRand() % 3);
            }
        }
    } else if (mState == kWaiting) {
        if (mWait.Update(dt)) Start(GameRand() % 3);
    }
    return true;
}

void EffectBrisaloPaint::Draw(float alphaFactor)
{
    for (auto& row : mRows)
        for (auto& cell : row) cell.Draw(alphaFactor);
}
