#include "objects/infrared_objects.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/buffer.h"
#include "core/display.h"
#include "core/numbers.h"
#include "core/random.h"
#include "graphics/texture_cache.h"
#include "rooms/game_space.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"

// ---- The infrared object.

TInfraredObject::TInfraredObject() { mCacheColours = true; }

TInfraredObject::~TInfraredObject() = default;

void TInfraredObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mCanBeCaught = GetAttrBool(element, "canbecatched", mCanBeCaught);
    mToolFlags.clear();
    ParseValueRefList(mToolFlags, GetAttrString(element, "findinfrared", ""));
    mSpeed = GetAttrFloat(element, "speed", 0.0f);
    // The catch keeps the tool in hand and makes no tool sound.
    mHoldToolAfterUse = 1;
    mSoundTool.clear();
    mHomeX = GetXInt();
    mHomeY = GetYInt();
}

void TInfraredObject::SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens)
{
    TLensTarget::SetLens(offsetX, offsetY, lens);
}

// The picture and its revealed flag stay: the next frame under the lens rebuilds them.
void TInfraredObject::ClearLens() { TLensTarget::ClearLens(); }

namespace {

// Clears the picture's own rows, whole pitch: the object's size may differ from the picture's.
void ClearLockedPixels(uint32_t* pixels, int pitch, int height)
{
    if (pitch <= 0 || height <= 0) return;
    std::memset(pixels, 0, static_cast<size_t>(pitch) * static_cast<size_t>(height) * sizeof(uint32_t));
}

}  // namespace

void TInfraredObject::ClearImage(const TexturePtr& picture)
{
    if (!picture) return;
    mAnythingRevealed = false;
    uint32_t* pixels = nullptr;
    int pitch = 0;
    if (!picture->Lock(&pixels, &pitch)) return;
    ClearLockedPixels(pixels, pitch, picture->GetHeight());
    picture->Unlock();
}

void TInfraredObject::RebuildImage(const TexturePtr& picture)
{
    mAnythingRevealed = false;
    if (!picture) return;
    uint32_t* pixels = nullptr;
    int pitch = 0;
    if (!picture->Lock(&pixels, &pitch)) return;
    ClearLockedPixels(pixels, pitch, picture->GetHeight());
    TTexture* source = mImage ? mImage->GetTexture() : nullptr;
    if (!source) {
        picture->Unlock();
        return;
    }
    TTexture* lens = mLens.Get();
    const int lensW = lens ? lens->GetWidth() : 0;
    const int lensH = lens ? lens->GetHeight() : 0;

    // The window of the object under the lens, kept inside both the picture and the source:
    // an element may state a larger size than its picture, and the lens may start before it.
    const int64_t firstRow = TruncToInt(mRevealedY - static_cast<float>(GetYInt()));
    const int64_t firstCol = TruncToInt(mRevealedX - static_cast<float>(GetXInt()));
    const int64_t rowCount = TruncToInt(std::min(mHeight, mRevealedH));
    const int64_t colCount = TruncToInt(std::min(mWidth, mRevealedW));
    const int64_t rowEnd = std::min<int64_t>(firstRow + rowCount, std::min(picture->GetHeight(), source->GetHeight()));
    const int64_t colEnd = std::min<int64_t>(firstCol + colCount, std::min(picture->GetWidth(), source->GetWidth()));
    for (int64_t r = std::max<int64_t>(firstRow, 0); r < rowEnd; ++r) {
        uint32_t* row = pixels + r * pitch;
        for (int64_t i = std::max<int64_t>(firstCol, 0); i < colEnd; ++i) {
            const int x = static_cast<int>(i);
            const int y = static_cast<int>(r);
            TRgb rgb;  // black where the source keeps no colour copy
            source->GetColorAt(x, y, &rgb);
            const uint8_t a = source->GetAlphaAt(x, y);
            const int64_t lx = i + mLensOffsetX;
            const int64_t ly = r + mLensOffsetY;
            uint32_t alpha = 0;
            if (lens && lx >= 0 && lx < lensW && ly >= 0 && ly < lensH) {
                const float weight = lens->GetAlphaAt(static_cast<int>(lx), static_cast<int>(ly)) / 255.0f;
                alpha = static_cast<uint32_t>(static_cast<float>(a) * weight);
            }
            if (alpha > 0) mAnythingRevealed = true;
            row[i] = alpha << 24 | static_cast<uint32_t>(rgb.r) << 16 | static_cast<uint32_t>(rgb.g) << 8 | rgb.b;
        }
    }
    picture->Unlock();
}

bool TInfraredObject::Update(float dt)
{
    if (mLensActive && !mCaught) RebuildImage(mRevealed);
    if (mFlight.mActive) {
        mFlight.Update(dt);
        SetPosition(mFlight.mX, mFlight.mY, true);
    }
    return TObject::Update(dt);
}

void TInfraredObject::Draw(float /*alphaFactor*/)
{
    if (!mLensActive || !mAnythingRevealed || !IsVisible() || !mRevealed) return;
    DrawTransform transform;
    transform.mMatrix.m[6] = mX;
    transform.mMatrix.m[7] = mY;
    transform.mAlpha = mAlpha;
    mRevealed->Draw(transform);
}

void TInfraredObject::ChildrenHookD(int /*value*/) { ClearImage(mRevealed); }

void TInfraredObject::LoadResources()
{
    if (mCaught) {
        mCheckOnlyBounds = true;
        return;
    }
    // The own image keeps its alpha map, which the reveal reads; hits then test the
    // rectangle alone.
    mCheckOnlyBounds = false;
    TObject::LoadResources();
    const int width = mImage ? mImage->GetWidth() : 0;
    const int height = mImage ? mImage->GetHeight() : 0;
    mRevealed.Reset();
    if (width > 0 && height > 0) mRevealed = CreateBlankTexture(width, height, 1, SDL_PIXELFORMAT_ARGB8888);
    if (!mRevealed) return;
    ClearImage(mRevealed);
    mCheckOnlyBounds = true;
}

void TInfraredObject::FreeResources()
{
    TObject::FreeResources();
    mRevealed.Reset();
}

void TInfraredObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mCaught);
}

void TInfraredObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool caught = buffer.ReadByte() != 0;
    if (!StateRefused()) mCaught = caught;
}

bool TInfraredObject::HoldsOwnTool(const TSceneMouseEvent& event) const
{
    return event.mTool && !mNeededTools.empty() && event.mTool->GetCurrentName() == mNeededTools.front();
}

bool TInfraredObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!HoldsOwnTool(event) || !mCanBeCaught) return false;
    if (!TObject::OnMouseDown(event)) return false;
    mCaught = true;
    return true;
}

bool TInfraredObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (!HoldsOwnTool(event)) return false;
    if (!TObject::OnMouseMove(event, hoverTaken)) return false;
    if (mFlight.mActive || mSpeed == 0.0f) return true;
    const TIntPoint target = PickFleePoint();
    const int fromX = TruncToInt(mX);
    const int fromY = TruncToInt(mY);
    const double dx = static_cast<double>(target.x) - fromX;
    const double dy = static_cast<double>(target.y) - fromY;
    const float distance = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    // The mover takes the duration's absolute value; a flight of no length takes no time.
    const float duration = distance > 0.0f ? distance * (1.0f / mSpeed) * 0.002f : 0.0f;
    mFlight.StartSegment(static_cast<float>(fromX), static_cast<float>(fromY), static_cast<float>(target.x),
                         static_cast<float>(target.y), duration, 0.0f, 0, false);
    return true;
}

TIntPoint TInfraredObject::PickFleePoint() const
{
    return PickFleePoint(mHomeX, mHomeY, TruncToInt(mWidth), TruncToInt(mHeight));
}

TIntPoint TInfraredObject::PickFleePoint(int homeX, int homeY, int width, int height)
{
    const int64_t hx = homeX, hy = homeY;
    const int64_t xLow = std::max<int64_t>(hx - 200, 0);
    const int64_t xHigh = std::min<int64_t>(static_cast<int64_t>(GetLayoutWidth()) - width, hx + 200);
    const int64_t yLow = std::max<int64_t>(hy - 200, 0);
    const int64_t yHigh = std::min<int64_t>(static_cast<int64_t>(GetLayoutHeight()) - 2 * static_cast<int64_t>(height),
                                            hy + 200);
    // Both values are drawn whatever the ranges, y first: the sequence stays the same.
    const int64_t drawY = GameRand();
    const int64_t drawX = GameRand();
    TIntPoint point;
    // No room left on an axis (a tall object near the bottom, a wide one at the edge): it
    // stays at home on that axis.
    point.x = xHigh > xLow ? static_cast<int>(xLow + drawX % (xHigh - xLow)) : homeX;
    point.y = yHigh > yLow ? static_cast<int>(yLow + drawY % (yHigh - yLow)) : homeY;
    return point;
}

// ---- The multi-tool object.

TMultyToolObject::~TMultyToolObject() = default;

namespace {

bool Names(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

void TMultyToolObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mKeepOrder = GetAttrBool(element, "keeporder", false);
    mCheckCoords = GetAttrBool(element, "checkcoords", false);
    mGroup = GetAttrBool(element, "group", mGroup);
}

void TMultyToolObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mAllPartsDone);
}

void TMultyToolObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool allPartsDone = buffer.ReadByte() != 0;
    if (!StateRefused()) mAllPartsDone = allPartsDone;
}

void TMultyToolObject::ResetBehaviour()
{
    mAllPartsDone = false;
    mCheckCoords = false;
    mGroup = false;
}

bool TMultyToolObject::HasToolUse() const
{
    if (TObject::HasToolUse()) return true;
    for (const auto& child : mChildren)
        if (child->HasToolUse()) return true;
    return false;
}

bool TMultyToolObject::AcceptsTool(TTool* tool)
{
    if (TObject::AcceptsTool(tool)) return true;
    bool inOrder = true;
    for (auto& child : mChildren) {
        if (child->AcceptsTool(tool)) return inOrder;
        // A part still waiting for another tool comes first.
        if (mKeepOrder && child->HasToolUse() && !child->mToolApplied) inOrder = false;
    }
    return false;
}

bool TMultyToolObject::IsGoalReached() const
{
    if (mGroup) return false;
    for (const auto& child : mChildren)
        if (child->HasToolUse() && !child->mToolApplied) return false;
    return true;
}

TObject* TMultyToolObject::FindChildForTool(const std::string& toolName, int x, int y)
{
    for (auto& child : mChildren) {
        if (!Names(child->mNeededTools, toolName) || child->mToolApplied) continue;
        if (mCheckCoords && !child->HitTestSelf(x, y)) continue;
        return child.get();
    }
    return nullptr;
}

void TMultyToolObject::GetRect(float* x, float* y, float* w, float* h) const
{
    if (mWidth != 0.0f || mHeight != 0.0f) {
        *x = mX;
        *y = mY;
        *w = mWidth;
        *h = mHeight;
        return;
    }
    GetChildrenRect(x, y, w, h);
}

void TMultyToolObject::PressWithTool(const TSceneMouseEvent& event)
{
    TTool* tool = event.mTool;
    if (!HasToolUse()) return;
    if (AcceptsTool(tool) && tool->IsUsedUp()) {
        TObject* target = mGroup ? this : FindChildForTool(tool->GetCurrentName(), event.mX, event.mY);
        if (target && IncUseCounter(target->mToolCounter, target->mMaxToolUses)) target->OnToolAccepted(event);
        mAllPartsDone = IsGoalReached();
        if (mAllPartsDone) {
            // The last part's use counts for the object too: the tool is applied twice.
            IncUseCounter(mToolCounter, mMaxToolUses);
            OnToolAccepted(event);
        }
        return;
    }
    mWrongToolPressed = true;
    const int64_t index = static_cast<int64_t>(mToolCounter) + 1;
    if (mListener && index >= 0 && index < static_cast<int64_t>(mUseMessages.size()))
        mListener->OnObjectMessage(mUseMessages[static_cast<size_t>(index)], this);
}

void TMultyToolObject::PressWithoutTool(const TSceneMouseEvent& event)
{
    TGameSpace* space = GetRootSpace();
    if (!mNeededTools.empty() && !IsLastAllowedUse() && space && !mSoundNeedTool.empty())
        space->PlaySound(mSoundNeedTool);
    if (IncUseCounter(mClickCounter, mMaxClicks)) {
        const int64_t frozen = static_cast<int64_t>(mFreezeClicks) - 1;
        if (mClickCounter > frozen) mClickCounter = static_cast<int32_t>(std::max<int64_t>(frozen, INT32_MIN));
        if (mClickCounter >= 0) ApplyFlags(mClickCounter, mFlags);
        OnClickAction(static_cast<int32_t>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(mClickCounter) + 1)),
                      event.mX, event.mY);
        if (space && !mSound.empty()) space->PlaySound(mSound);
    }
    RunClickReactions(event.mX, event.mY);
    if (mClickCounter >= 0 && static_cast<size_t>(mClickCounter) < mToolRecords.size()) {
        const TObjectToolRecord& record = mToolRecords[static_cast<size_t>(mClickCounter)];
        GivenToolRecords().push_back(record);
        // A record of mode 0 is handed out and stays unused, the reverse of UseToolRecord.
        if (record.mMode != 0 && mListener) {
            const TToolRecordList commands{record};
            mListener->RunCommands(&commands, this, 0.1f);
        }
        if (mListener) mListener->OnObjectActivated(this);
        SetVisible(false);
        Lock();
        return;
    }
    if (mListener) mListener->OnObjectActivated(this);
    if (mHideOnClick) SetVisible(false);
}

bool TMultyToolObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!HitTest(event.mX, event.mY, true) || mAllPartsDone) return false;
    if (event.mTool)
        PressWithTool(event);
    else
        PressWithoutTool(event);
    if (mGroup) {
        for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it)
            if ((*it)->OnMouseDown(event)) break;
    }
    return true;
}

bool TMultyToolObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    const bool own = TObject::OnMouseMove(event, hoverTaken);
    if (own || !mGroup) return own;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it)
        if ((*it)->OnMouseMove(event, hoverTaken)) return true;
    return false;
}

bool TMultyToolObject::OnMouseUp(const TSceneMouseEvent& event)
{
    const bool own = TObject::OnMouseUp(event);
    if (own || !mGroup) return own;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it)
        if ((*it)->OnMouseUp(event)) return true;
    return false;
}

bool TMultyToolObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    if (!mGroup) return false;
    for (auto it = mChildren.rbegin(); it != mChildren.rend(); ++it)
        if ((*it)->OnMouseDrag(event)) return true;
    return false;
}
