#include "objects/place_objects.h"

#include <tinyxml.h>

#include <cmath>

#include "core/buffer.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"
#include "sound/sound_manager.h"

namespace {
// Seconds per pixel of a slide when a place has no handle to ask.
constexpr float kDefaultMovingTime = 0.001f;
}  // namespace

TPlaceObjectBase::TPlaceObjectBase() : mItemImage(std::make_unique<StaticImage>()) { mItemImage->SetVisible(false); }

TPlaceObjectBase::~TPlaceObjectBase()
{
    // Tools outlive the rooms: the next drop would read a destroyed place.
    for (auto& tool : GlobalToolsList().mTools)
        if (tool && tool->mSourceObject == this) tool->mSourceObject = nullptr;
}

void TPlaceObjectBase::LoadPlaceXml(TiXmlElement* e, const std::string& dataFolder)
{
    mLockAfterSet = GetAttrBool(e, "lock_after_set", mLockAfterSet);
    mTakeSound = GetAttrString(e, "soundtake", "");
    mItemImage = std::make_unique<StaticImage>();
    ReadStaticImageAttrs(e, mItemImage.get(), dataFolder);
    mItemImage->SetVisible(false);
}

void TPlaceObjectBase::MarkSet()
{
    if (mSet) return;
    mSet = true;
    if (!mLockAfterSet) return;
    Lock();
    // Where the place's own image stands; a place without one has its item at its position.
    const float x = mImage ? mImage->mX : GetX();
    const float y = mImage ? mImage->mY : GetY();
    mItemImage->SetVisible(true);
    mItemImage->SetPosition(static_cast<float>(TruncToInt(x)), static_cast<float>(TruncToInt(y)), CentresItemImage());
}

void TPlaceObjectBase::RestoreSet()
{
    if (!mSet || !mLockAfterSet) return;
    Lock();
    mItemImage->SetVisible(true);
    mItemImage->SetPosition(static_cast<float>(GetXInt()), static_cast<float>(GetYInt()), true);
}

void TPlaceObjectBase::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    if (mItemImage) mItemImage->Draw(1.0f);
}

void TPlaceObjectBase::LoadResources()
{
    TObject::LoadResources();
    if (!mItemImage) return;
    const std::string name = mItemImage->mTextureName;
    mItemImage->SetTexture(name);
}

void TPlaceObjectBase::FreeResources()
{
    TObject::FreeResources();
    if (mItemImage) mItemImage->FreeTexture();
}

void TPlaceObjectBase::Activate(int /*count*/, int /*x*/, int /*y*/) { mActivated = true; }

void TPlaceObjectBase::Unlock()
{
    // A place set with lock after set stays locked for good.
    if (mSet && mLockAfterSet) return;
    mLocked = false;
}

bool TPlaceObjectBase::UseToolRecord(int index, TToolRecordList& records)
{
    if (!TObject::UseToolRecord(index, records)) return false;
    PlayThroughRootSpace(mTakeSound);
    // The record exists: the base refused every index outside the list.
    if (TTool* tool = GlobalToolsList().FindTool(records[static_cast<size_t>(index)].mToolName)) {
        // The drop asks the tool where its item came from.
        tool->mSourceObject = this;
        const std::string texture = CursorTextureName();
        if (!tool->mFlyImages.empty() && tool->mFlyImages.front() && !texture.empty())
            tool->mFlyImages.front()->SetTexture(texture);
    }
    mTaken = true;
    return true;
}

std::string TPlaceObjectBase::GetWrongToolSound(TTool* /*tool*/) { return std::string(); }

TPlacesItemsObject::~TPlacesItemsObject() = default;

void TPlacesItemsObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    LoadPlaceXml(e, dataFolder);
    mIndex = GetAttrInt(e, "index", mIndex);
    mCorrectIndex = GetAttrInt(e, "correctindex", mCorrectIndex);
    mCheckOnlyBounds = true;
}

void TPlacesItemsObject::SelectIndex(int n)
{
    mIndex = n;
    for (size_t i = 0; i < mChildren.size(); ++i) mChildren[i]->SetVisible(static_cast<int>(i) == n);
    if (n >= 0 && static_cast<size_t>(n) < mChildren.size()) {
        const TObject& shown = *mChildren[static_cast<size_t>(n)];
        SetPosition(shown.mX, shown.mY, false);
        mWidth = shown.mWidth;
        mHeight = shown.mHeight;
    }
    if (n == mCorrectIndex) MarkSet();
}

bool TPlacesItemsObject::IsInPlace() const { return mActivated || mIndex == mCorrectIndex; }

void TPlacesItemsObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    SelectIndex(mIndex);
}

std::string TPlacesItemsObject::CursorTextureName() const
{
    if (mIndex < 0 || static_cast<size_t>(mIndex) >= mChildren.size()) return std::string();
    const TObject& shown = *mChildren[static_cast<size_t>(mIndex)];
    return shown.mImage ? shown.mImage->GetTextureName() : shown.mImagePath;
}

bool TPlacesItemsObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (mLocked || !IsVisible()) return false;
    if (event.mButton == 1 && event.mTool && HitTestSelf(event.mX, event.mY)) {
        auto* source = dynamic_cast<TPlacesItemsObject*>(event.mTool->mSourceObject);
        if (source && source != this) {
            PlayThroughRootSpace(mSoundTool);
            const int32_t mine = mIndex;
            const int32_t theirs = source->mIndex;
            source->SelectIndex(mine);
            SelectIndex(theirs);
            if (mHandle) mHandle->CheckAndReact();
        }
    }
    return TObject::OnMouseDown(event);
}

void TPlacesItemsObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mSet);
    buffer.WriteInt32(mIndex);
}

void TPlacesItemsObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool set = buffer.ReadByte() != 0;
    const int32_t index = buffer.ReadInt32();
    if (StateRefused()) return;
    mSet = set;
    SelectIndex(index);
    RestoreSet();
}

TPlacesObject::~TPlacesObject() = default;

void TPlacesObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    LoadPlaceXml(e, dataFolder);
    mNeededImage = dataFolder + GetAttrString(e, "needed_image", "");
    mMover = TLineMover();
}

bool TPlacesObject::IsInPlace() const
{
    return mActivated || (mImage && mImage->GetTextureName() == mNeededImage);
}

std::string TPlacesObject::CursorTextureName() const { return mImage ? mImage->GetTextureName() : std::string(); }

bool TPlacesObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (mLocked) return false;
    if (event.mButton == 1 && event.mTool && HitTestSelf(event.mX, event.mY)) {
        PlayNamedSound(mSoundTool);
        if (auto* source = dynamic_cast<TPlacesObject*>(event.mTool->mSourceObject)) ExchangeWith(*source);
    }
    return TObject::OnMouseDown(event);
}

void TPlacesObject::ExchangeWith(TPlacesObject& source)
{
    // Without a picture on either side there is nothing to exchange.
    if (!mImage || !source.mImage) return;
    if (&source != this) {
        std::swap(mImage, source.mImage);
        std::swap(mImagePath, source.mImagePath);
    }
    mImage->SetPosition(static_cast<float>(GetXInt()), static_cast<float>(GetYInt()), false);
    const float fromX = static_cast<float>(TruncToInt(source.mImage->mX));
    const float fromY = static_cast<float>(TruncToInt(source.mImage->mY));
    const float toX = static_cast<float>(source.GetXInt());
    const float toY = static_cast<float>(source.GetYInt());
    const float perPixel = source.mHandle ? source.mHandle->mMovingTime : kDefaultMovingTime;
    const float distance = std::hypot(toX - fromX, toY - fromY);
    source.mMover.StartSegment(fromX, fromY, toX, toY, distance * perPixel, 0.0f, 0, false);
    source.mTaken = false;
}

bool TPlacesObject::Update(float dt)
{
    TObject::Update(dt);
    if (!mMover.mActive) return false;
    const bool arrived = mMover.Update(dt);
    if (mImage) mImage->SetPosition(mMover.mX, mMover.mY, false);
    if (arrived && mHandle) mHandle->CheckAndReact();
    return false;
}

void TPlacesObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteString(mImagePath);
    buffer.WriteByte(mActivated);
    buffer.WriteByte(mSet);
    buffer.WriteByte(mVisible);
    buffer.WriteByte(mTaken);
}

void TPlacesObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    std::string imagePath;
    buffer.ReadString(imagePath);
    const bool activated = buffer.ReadByte() != 0;
    const bool set = buffer.ReadByte() != 0;
    const bool visible = buffer.ReadByte() != 0;
    const bool taken = buffer.ReadByte() != 0;
    if (StateRefused()) return;
    mImagePath = imagePath;
    mActivated = activated;
    mSet = set;
    RestoreSet();
    mVisible = visible;
    mTaken = taken;
    // Saved while its item was out: the item is back.
    if (mTaken) {
        mVisible = true;
        mTaken = false;
    }
}

TPlacesHandleBase::~TPlacesHandleBase() = default;

void TPlacesHandleBase::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTransparentObject::LoadXml(e, dataFolder);
    mMovingTime = GetAttrFloat(e, "moving_time", mMovingTime);
    mAlignToCenter = GetAttrBool(e, "align_to_center", mAlignToCenter);
}

bool TPlacesHandleBase::OnMouseDown(const TSceneMouseEvent& event)
{
    if (mLocked) return false;
    for (auto& child : mChildren)
        if (child->OnMouseDown(event)) return true;
    return false;
}

bool TPlacesHandleBase::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (mLocked) return false;
    for (auto& child : mChildren)
        if (child->OnMouseMove(event, hoverTaken)) return true;
    return false;
}

bool TPlacesHandleBase::OnMouseUp(const TSceneMouseEvent& event)
{
    if (mLocked) return false;
    for (auto& child : mChildren)
        if (child->OnMouseUp(event)) return true;
    return false;
}

void TPlacesHandleBase::Unlock()
{
    mLocked = false;
    for (auto& child : mChildren) child->Unlock();
}

void TPlacesHandleBase::Lock()
{
    TTransparentObject::Lock();
    for (auto& child : mChildren) child->Lock();
}

void TPlacesHandleBase::OnSpaceShown()
{
    TTransparentObject::OnSpaceShown();
    for (auto& child : mChildren)
        if (TPlaceObjectBase* place = AsPlace(child.get())) place->mHandle = this;
    CheckAndReact();
}

bool TPlacesHandleBase::CheckComplete()
{
    bool all = true;
    for (auto& child : mChildren) {
        TPlaceObjectBase* place = AsPlace(child.get());
        if (!place) continue;
        if (place->IsInPlace())
            place->MarkSet();
        else
            all = false;
    }
    return all;
}

void TPlacesHandleBase::CheckAndReact()
{
    if (CheckComplete() && !mLocked) RunEventReactions(0);
}

void TPlacesHandleBase::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TTransparentObject::Draw(1.0f);
    for (auto& child : mChildren) {
        auto* place = dynamic_cast<TPlacesObject*>(AsPlace(child.get()));
        if (place && place->IsSliding()) place->Draw(1.0f);
    }
}

TPlacesItemsHandleObject::~TPlacesItemsHandleObject() = default;

TPlaceObjectBase* TPlacesItemsHandleObject::AsPlace(TObject* child) const
{
    return dynamic_cast<TPlacesItemsObject*>(child);
}

void TPlacesItemsHandleObject::OnSpaceFirstShown()
{
    TTransparentObject::OnSpaceFirstShown();
    if (!mAlignToCenter) return;
    // The written positions become the places' centres, and those of the items they show: a
    // place takes over the position of its shown item, so both must mean the same point for
    // the place to be pressed where its item is drawn.
    for (auto& child : mChildren) {
        const float x = static_cast<float>(child->GetXInt());
        const float y = static_cast<float>(child->GetYInt());
        child->mDrawType = 1;
        for (auto& item : child->mChildren) item->mDrawType = 1;
        child->SetPosition(x, y, true);
    }
}

TPlacesHandleObject::~TPlacesHandleObject() = default;

TPlaceObjectBase* TPlacesHandleObject::AsPlace(TObject* child) const { return dynamic_cast<TPlacesObject*>(child); }
