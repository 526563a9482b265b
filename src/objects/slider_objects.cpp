#include "objects/slider_objects.h"

#include <cmath>
#include <tinyxml.h>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "objects/image_list.h"
#include "rooms/game_space.h"
#include "rooms/pocket.h"
#include "rooms/scene_mouse_event.h"
#include "sound/sound_manager.h"

TSliderObject::~TSliderObject() = default;

void TSliderObject::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    if (!IsVisible()) return;
    mTrackImage.Draw(1.0f);
    mThumbImage.Draw(1.0f);
}

void TSliderObject::Reset()
{
    if (!mDragging) SetValue(mDefaultValue);
}

void TSliderObject::SetValue(float value)
{
    if (!(value >= 0.0f && value <= 1.0f)) return;
    mValue = value;
    const long long along = TruncToInt(static_cast<float>(mLength) * value);
    const int x = GetXInt();
    const int y = GetYInt();
    if (mHorizontal)
        mThumbImage.SetPosition(static_cast<float>(ClampToInt(x + along)), static_cast<float>(y), true);
    else
        mThumbImage.SetPosition(static_cast<float>(x), static_cast<float>(ClampToInt(y + along)), true);
}

bool TSliderObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TObject::OnMouseDown(event);
    if (event.mButton != 1) return taken;
    if (!mDragging && !IsLocked() && IsVisible() && PictureShowsPoint(mThumbImage, event.mX, event.mY)) {
        mDragging = true;
        const int thumb = mHorizontal ? TruncToInt(mThumbImage.mX) : TruncToInt(mThumbImage.mY);
        mGrabOffset = ClampToInt(static_cast<long long>(mHorizontal ? event.mX : event.mY) - thumb);
    } else {
        mDragging = false;
    }
    return taken;
}

bool TSliderObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    const bool hit = TObject::OnMouseMove(event, hoverTaken);
    if (mDragging) DragTo(event);
    return hit;
}

void TSliderObject::DragTo(const TSceneMouseEvent& event)
{
    PlayNamedSoundOnce(mSlideSound);
    const long long pointer = mHorizontal ? event.mX : event.mY;
    const long long start = mHorizontal ? GetXInt() : GetYInt();
    const long long p = pointer - mGrabOffset;
    if (p > start + mLength) {
        SetValue(1.0f);
    } else if (p < start) {
        SetValue(0.0f);
    } else {
        // A track of no length holds its thumb at the start.
        mValue = mLength == 0 ? 0.0f : static_cast<float>(p - start) / static_cast<float>(mLength);
        if (mHorizontal)
            mThumbImage.SetPosition(static_cast<float>(p), static_cast<float>(TruncToInt(mThumbImage.mY)), true);
        else
            mThumbImage.SetPosition(static_cast<float>(TruncToInt(mThumbImage.mX)), static_cast<float>(p), true);
    }
}

void TSliderObject::LoadResources()
{
    TObject::LoadResources();
    mTrackImage.SetTexture(mTrackImage.mTextureName);
    mThumbImage.SetTexture(mThumbImage.mTextureName);
}

void TSliderObject::FreeResources()
{
    TObject::FreeResources();
    mTrackImage.FreeTexture();
    mThumbImage.FreeTexture();
}

void TSliderObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mLength = GetAttrInt(e, "length", 0);
    mSlideSound = GetAttrString(e, "slide_sound", "");
    const std::string track = GetAttrString(e, "slider", "");
    const std::string thumb = GetAttrString(e, "thumb", "");
    mTrackImage.mTextureName = track.empty() ? track : dataFolder + track;
    mThumbImage.mTextureName = thumb.empty() ? thumb : dataFolder + thumb;
    const float x = static_cast<float>(GetXInt());
    const float y = static_cast<float>(GetYInt());
    mTrackImage.SetPosition(x, y, true);
    mThumbImage.SetPosition(x, y, true);
    mDefaultValue = GetAttrFloat(e, "def_val", 0.0f);
    mHorizontal = GetAttrBool(e, "horiz", true);
    mDragging = false;
    SetValue(GetAttrFloat(e, "val", 0.0f));
}

void TSliderObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteMilli(mValue);
}

void TSliderObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const float value = buffer.ReadMilli();
    if (!StateRefused()) SetValue(value);
}

// The lock holds for the pictures too, as for the object's own.
bool TSliderObject::HitTest(int x, int y, bool respectLock)
{
    if (TObject::HitTest(x, y, respectLock)) return true;
    if (!IsVisible() || (respectLock && IsLocked())) return false;
    return PictureShowsPoint(mTrackImage, x, y) || PictureShowsPoint(mThumbImage, x, y);
}

TDragSliderObject::~TDragSliderObject() = default;

bool TDragSliderObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    return TObject::OnMouseMove(event, hoverTaken);
}

bool TDragSliderObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    if (!mDragging) return false;
    bool hoverTaken = false;
    const bool hit = TObject::OnMouseMove(event, hoverTaken);
    DragTo(event);
    return hit;
}

// The release goes through the press: only a left-button word ends the drag.
bool TDragSliderObject::OnMouseUp(const TSceneMouseEvent& event)
{
    if (!mDragging) return false;
    return TSliderObject::OnMouseDown(event);
}

TSpringedObject::~TSpringedObject() = default;

bool TSpringedObject::Update(float dt)
{
    const bool answer = TDragSliderObject::Update(dt);
    if (mSpring.mRunning) {
        mSpring.Update(dt);
        SetValue(mSpring.mCurrent);
    }
    return answer;
}

bool TSpringedObject::OnMouseUp(const TSceneMouseEvent& event)
{
    const bool answer = TDragSliderObject::OnMouseUp(event);
    StartSpringBack();
    return answer;
}

void TSpringedObject::StartSpringBack() { mSpring.Set(mValue, mDefaultValue, std::fabs(mSpringTime), true); }

void TSpringedObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TDragSliderObject::LoadXml(e, dataFolder);
    mSpringTime = std::fabs(GetAttrFloat(e, "time", 0.1f));
}

void TSpringedObject::SaveState(TBaseBuffer& buffer)
{
    TDragSliderObject::SaveState(buffer);
    mSpring.SaveState(&buffer);
}

void TSpringedObject::LoadState(TBaseBuffer& buffer)
{
    TDragSliderObject::LoadState(buffer);
    IncValue spring = mSpring;
    spring.LoadState(&buffer);
    if (!StateRefused()) mSpring = spring;
}

TSpinnerObject::~TSpinnerObject() = default;

TClippingImage* TSpinnerObject::ImageAt(int index) const { return ImageAtIndex(mImages, index); }

void TSpinnerObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    if (TClippingImage* current = ImageAt(mCurrent)) current->DrawClipped();
    if (TClippingImage* leaving = ImageAt(mLeaving)) leaving->DrawClipped();
}

bool TSpinnerObject::Update(float dt)
{
    const bool answer = TObject::Update(dt);
    TClippingImage* current = ImageAt(mCurrent);
    TClippingImage* leaving = ImageAt(mLeaving);
    if (mStep.mRunning) {
        mStep.Update(dt);
        const float v = mStep.mCurrent;
        if (current) current->SetPosition(current->mX, v, false);
        if (leaving) leaving->SetPosition(leaving->mX, static_cast<float>(mStepHeight) + v, false);
    }
    if (mLeaving >= 0 && !mStep.mRunning) {
        if (leaving) leaving->SetVisible(false);
        mLeaving = -1;
    }
    return answer;
}

bool TSpinnerObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TObject::OnMouseDown(event);
    if (taken && !mStep.mRunning && !IsStepping()) Step();
    return taken;
}

void TSpinnerObject::Step()
{
    // A reel of one picture has nothing to turn to: it would slide off and stay away.
    if (mImages.size() < 2 || !ImageAt(mCurrent)) return;
    mLeaving = mCurrent;
    mCurrent = mCurrent == 0 ? static_cast<int>(mImages.size()) - 1 : mCurrent - 1;
    TClippingImage* leaving = ImageAt(mLeaving);
    TClippingImage* current = ImageAt(mCurrent);
    const int x = TruncToInt(leaving->mX);
    const int y = TruncToInt(leaving->mY);
    current->SetVisible(true);
    current->SetPosition(static_cast<float>(x), static_cast<float>(ClampToInt(static_cast<long long>(y) - mStepHeight)),
                         false);
    mStep.Set(leaving->mY - static_cast<float>(mStepHeight), leaving->mY, mStepTime, true);
}

int TSpinnerObject::GetShownIndex() const
{
    if (mLeaving >= 0) return mLeaving;
    return ImageAt(mCurrent) ? mCurrent : -1;
}

bool TSpinnerObject::HitTestSelf(int x, int y)
{
    if (!IsVisible()) return false;
    if (TObject::HitTestSelf(x, y)) return true;
    const TClippingImage* current = ImageAt(mCurrent);
    return current && PictureShowsPoint(*current, x, y);
}

void TSpinnerObject::LoadResources()
{
    TObject::LoadResources();
    LoadImageTextures(mImages);
}

void TSpinnerObject::FreeResources()
{
    TObject::FreeResources();
    FreeImageTextures(mImages);
}

void TSpinnerObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mStepHeight = GetAttrInt(e, "dy", 0);
    mStepTime = std::fabs(GetAttrFloat(e, "time", 0.2f));
    int clipX = 0, clipY = 0, clipW = 0, clipH = 0;
    GetAttrRect(e, "rect", &clipX, &clipY, &clipW, &clipH, ",");
    ReadImageList(e, dataFolder, mImages);
    for (auto& image : mImages) {
        image->mClipX = clipX;
        image->mClipY = clipY;
        image->mClipW = clipW;
        image->mClipH = clipH;
        image->SetVisible(false);
    }
    mCurrent = GetAttrInt(e, "cur", 0);
    mLeaving = -1;
    mStep.SetValue(0.0f);
    if (mImages.empty()) {
        mCurrent = -1;
        return;
    }
    if (!ImageAt(mCurrent)) {
        GetLogger()->LogMessage("Spinner %s: cur %d names no picture, showing the first", GetName().c_str(), mCurrent);
        mCurrent = 0;
    }
    ImageAt(mCurrent)->SetVisible(true);
}

void TSpinnerObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mCurrent);
}

void TSpinnerObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t index = buffer.ReadInt32();
    if (StateRefused()) return;
    if (!ImageAt(index)) {
        if (!mImages.empty())
            GetLogger()->LogMessage("Spinner %s: saved picture %d ignored", GetName().c_str(), static_cast<int>(index));
        return;
    }
    // The reel comes back at rest on the saved picture.
    if (TClippingImage* leaving = ImageAt(mLeaving)) leaving->SetVisible(false);
    mLeaving = -1;
    mStep.SetValue(mStep.mCurrent);
    if (TClippingImage* current = ImageAt(mCurrent)) current->SetVisible(false);
    mCurrent = index;
    ImageAt(mCurrent)->SetVisible(true);
}

TSpinnerSequenceObject::~TSpinnerSequenceObject() = default;

void TSpinnerSequenceObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTransparentObject::LoadXml(e, dataFolder);
    mCorrect.clear();
    GetAttrIntList(e, "correct", mCorrect);
}

void TSpinnerSequenceObject::OnLoaded()
{
    TTransparentObject::OnLoaded();
    mSpinners.clear();
    for (auto& child : mChildren)
        if (auto* spinner = dynamic_cast<TSpinnerObject*>(child.get())) mSpinners.push_back(spinner);
}

// A "correct" list shorter than the spinners can never be met.
bool TSpinnerSequenceObject::IsSolved() const
{
    if (mSpinners.empty()) return true;
    if (mCorrect.size() < mSpinners.size()) return false;
    for (size_t i = 0; i < mSpinners.size(); ++i)
        if (mSpinners[i]->GetShownIndex() != mCorrect[i]) return false;
    return true;
}

bool TSpinnerSequenceObject::Update(float dt)
{
    const bool answer = TTransparentObject::Update(dt);
    if (!IsLocked() && IsSolved()) {
        RunEventReactions(0);
        Lock();
        for (TSpinnerObject* spinner : mSpinners) spinner->Lock();
    }
    return answer;
}

TSpinnerEchoObject::~TSpinnerEchoObject() = default;

void TSpinnerEchoObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    if (!mSource) return;
    if (StaticImage* image = ImageAtIndex(mImages, mSource->GetShownIndex())) image->Draw(1.0f);
}

void TSpinnerEchoObject::LoadResources()
{
    TObject::LoadResources();
    LoadImageTextures(mImages);
}

void TSpinnerEchoObject::FreeResources()
{
    TObject::FreeResources();
    FreeImageTextures(mImages);
}

void TSpinnerEchoObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mSourceName = GetAttrString(e, "objname", "");
    ReadImageList(e, dataFolder, mImages);
    mSource = nullptr;
}

void TSpinnerEchoObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (!mSource) FindSource();
}

// The name is read from the topmost room down through its pockets, whatever space the echo
// stands in.
void TSpinnerEchoObject::FindSource()
{
    std::vector<std::string> parts;
    if (SplitString(mSourceName, '.', parts) == 0) return;
    TGameSpace* top = mOwnerSpace;
    while (top && top->mParentSpace) top = top->mParentSpace;
    TGameSpace* space = dynamic_cast<TRoom*>(top);
    for (size_t i = 0; space && i + 1 < parts.size(); ++i) {
        TRoom* room = dynamic_cast<TRoom*>(space);
        space = room ? room->FindPocket(parts[i]) : nullptr;
    }
    if (!space) return;
    mSource = dynamic_cast<TSpinnerObject*>(space->FindObject(parts.back()));
}
