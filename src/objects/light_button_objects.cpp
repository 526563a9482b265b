#include "objects/light_button_objects.h"

#include <tinyxml.h>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/xml_attributes.h"
#include "game/user_info.h"
#include "objects/image_list.h"
#include "rooms/game_space.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tip_panel.h"

namespace {

// The first element of that name, read as a picture of the object's folder.
void ReadNamedImage(TiXmlElement* element, const char* name, const std::string& folder, StaticImage& image)
{
    image = StaticImage();
    if (TiXmlElement* child = element ? element->FirstChildElement(name) : nullptr)
        ReadStaticImageAttrs(child, &image, folder);
}

// A ring index from data: outside the ring it becomes the first picture.
int RingIndex(int index, size_t count, const char* what, const std::string& object)
{
    if (count == 0 || (index >= 0 && static_cast<size_t>(index) < count)) return count == 0 ? 0 : index;
    GetLogger()->LogMessage("Object %s: %s %d names no picture, showing the first", object.c_str(), what, index);
    return 0;
}

}  // namespace

TLightCheckButtonObject::~TLightCheckButtonObject() = default;

void TLightCheckButtonObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    (mPushed ? mPushedImage : mNormalImage).Draw(1.0f);
}

bool TLightCheckButtonObject::Update(float dt)
{
    if (mUnpushTimer.mRunning && mUnpushTimer.Update(dt)) {
        Reset();
        RunEventReactions(0);
    }
    return TObject::Update(dt);
}

void TLightCheckButtonObject::Reset() { mPushed = false; }

bool TLightCheckButtonObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (IsLocked() || !IsVisible()) return false;
    if (!PictureShowsPoint(ShownImage(), event.mX, event.mY)) return false;
    mPushed = !mPushed;
    // Only lighting it is a click.
    if (mPushed) TObject::OnMouseDown(event);
    if (!mSound.empty())
        if (TGameSpace* space = GetRootSpace()) space->PlaySound(mSound);
    if (mPushed && mUnpushTime > 0.0f) mUnpushTimer.StartUnit(mUnpushTime);
    return true;
}

// The rectangle where the shown picture is drawn.
bool TLightCheckButtonObject::HitTestSelf(int x, int y)
{
    const StaticImage& image = ShownImage();
    float u = 0.0f, v = 0.0f;
    if (!IsVisible() || !ImagePointAt(image, x, y, &u, &v)) return false;
    return u >= 0.0f && u < static_cast<float>(image.GetWidth()) && v >= 0.0f && v < static_cast<float>(image.GetHeight());
}

void TLightCheckButtonObject::LoadResources()
{
    TObject::LoadResources();
    mNormalImage.SetTexture(mNormalImage.mTextureName);
    mPushedImage.SetTexture(mPushedImage.mTextureName);
}

void TLightCheckButtonObject::FreeResources()
{
    TObject::FreeResources();
    mNormalImage.FreeTexture();
    mPushedImage.FreeTexture();
}

void TLightCheckButtonObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    ReadNamedImage(e, "normal_image", dataFolder, mNormalImage);
    ReadNamedImage(e, "pushed_image", dataFolder, mPushedImage);
    mPushed = GetAttrBool(e, "pushed", false);
    mUnpushTime = GetAttrFloat(e, "unpushtime", 0.0f);
}

TLCBResetOnUnlockObject::~TLCBResetOnUnlockObject() = default;

void TLCBResetOnUnlockObject::Unlock()
{
    TObject::Unlock();
    Reset();
}

TButtonSequenceControlObject::~TButtonSequenceControlObject() = default;

bool TButtonSequenceControlObject::Update(float dt)
{
    const bool answer = TObject::Update(dt);
    if (mUnlockTimer.IsActive() && mUnlockTimer.Update(dt)) {
        ResetButtons();
        // The failed attempt is reported as a click, whatever "onclick" says.
        mClickCounter = 0;
        TSceneMouseEvent none;
        OnClickAccepted(none);
    }
    return answer;
}

bool TButtonSequenceControlObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (IsLocked() || !IsVisible()) return false;
    TObject::OnMouseDown(event);
    TObject* pressed = nullptr;
    for (size_t i = 0; i < mChildren.size() && !pressed; ++i)
        if (mChildren[i]->OnMouseDown(event)) pressed = mChildren[i].get();
    if (!pressed) return false;
    mPressedSequence.push_back(pressed->GetName());
    pressed->Lock();
    if (IsSolved()) {
        RunEventReactions(0);
        return true;
    }
    if (AllButtonsLocked()) {
        if (GetAppState().mTipPanel) ShowTip(mErrorHint, 0.0f);
        PlaySoundIfNamed(mWrongSound);
        if (mUnlockTime > 0.0f) mUnlockTimer.Start(mUnlockTime);
    }
    return true;
}

bool TButtonSequenceControlObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    mHitDescendant = nullptr;
    TObject* took = nullptr;
    for (size_t i = 0; i < mChildren.size() && !took; ++i)
        if (mChildren[i]->OnMouseMove(event, hoverTaken)) took = mChildren[i].get();
    const bool hit = TObject::OnMouseMove(event, hoverTaken);
    // Our own hover clears the hit descendant: the child that took the motion stays it.
    if (took) mHitDescendant = took;
    return hit || took;
}

bool TButtonSequenceControlObject::HitTestSelf(int x, int y)
{
    for (auto& child : mChildren)
        if (child->HitTestSelf(x, y)) return true;
    return TObject::HitTestSelf(x, y);
}

void TButtonSequenceControlObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    GetAttrList(e, "right_seq", ',', mRightSequence);
    mUnlockTime = GetAttrFloat(e, "unlock_time", 0.5f);
    mErrorHint = GetAttrString(e, "ehint", "");
    mWrongSound = GetAttrString(e, "wrongsound", "");
    mGameStateKey = GetAttrString(e, "hasgamestate", "");
    mPressedSequence.clear();
}

void TButtonSequenceControlObject::Unlock()
{
    TObject::Unlock();
    ResetButtons();
}

bool TButtonSequenceControlObject::IsSolved() const
{
    if (mGameStateKey.empty()) return mPressedSequence == mRightSequence;
    return mPressedSequence.size() == mChildren.size() && GetUserInfo()->HasPair(mGameStateKey, "true");
}

bool TButtonSequenceControlObject::AllButtonsLocked() const
{
    for (const auto& child : mChildren)
        if (!child->IsLocked()) return false;
    return true;
}

void TButtonSequenceControlObject::ResetButtons()
{
    for (auto& child : mChildren) child->Unlock();
    mPressedSequence.clear();
}

TChangeOnClickObject::~TChangeOnClickObject() = default;

AlphaStaticImage* TChangeOnClickObject::ImageAt(int index) const { return ImageAtIndex(mImages, index); }

void TChangeOnClickObject::Draw(float /*alphaFactor*/)
{
    TObject::Draw(1.0f);
    if (!IsVisible()) return;
    AlphaStaticImage* current = ImageAt(mCurrent);
    if (!current) return;
    if (current->mFade.mRunning)
        if (AlphaStaticImage* previous = ImageAt(mPrevious)) previous->Draw(1.0f);
    current->Draw(1.0f);
}

bool TChangeOnClickObject::Update(float dt)
{
    const bool answer = TObject::Update(dt);
    if (AlphaStaticImage* current = ImageAt(mCurrent)) current->Update(dt);
    return answer;
}

// Every press the base takes turns the ring, even one its click limits refuse.
bool TChangeOnClickObject::OnMouseDown(const TSceneMouseEvent& event)
{
    const bool taken = TObject::OnMouseDown(event);
    if (taken && !mImages.empty()) {
        mPrevious = mCurrent;
        mCurrent = (mCurrent + 1) % static_cast<int>(mImages.size());
        ImageAt(mCurrent)->StartFade(0.0f, 1.0f, mMorphTime);
    }
    return taken;
}

bool TChangeOnClickObject::HitTestSelf(int x, int y)
{
    if (!IsVisible()) return false;
    const AlphaStaticImage* current = ImageAt(mCurrent);
    if (current && PictureShowsPoint(*current, x, y)) return true;
    return TObject::HitTestSelf(x, y);
}

void TChangeOnClickObject::LoadResources()
{
    TObject::LoadResources();
    LoadImageTextures(mImages);
}

void TChangeOnClickObject::FreeResources()
{
    TObject::FreeResources();
    FreeImageTextures(mImages);
}

void TChangeOnClickObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    ReadImageList(e, dataFolder, mImages);
    mCorrectIndex = GetAttrInt(e, "correct_idx", 0);
    mMorphTime = GetAttrFloat(e, "morphing_time", 0.2f);
    mCurrent = RingIndex(GetAttrInt(e, "cur_idx", 0), mImages.size(), "cur_idx", GetName());
    mPrevious = 0;
}

void TChangeOnClickObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mCurrent);
}

void TChangeOnClickObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t index = buffer.ReadInt32();
    if (StateRefused()) return;
    if (ImageAt(index))
        mCurrent = index;
    else if (!mImages.empty())
        GetLogger()->LogMessage("Object %s: saved picture %d ignored", GetName().c_str(), static_cast<int>(index));
}

TChangeOnClickParentObject::~TChangeOnClickParentObject() = default;

// The container's routing: a hidden parent passes nothing on, and the parent counts its own
// click as a plain object would. Only a press a child takes is a move of the puzzle: one on the
// parent's own area, or on a child that refuses it, turns nothing and completes nothing. The
// parent never locks, so every press that leaves all children right runs the reactions again.
bool TChangeOnClickParentObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (IsLocked()) return false;
    bool own = false;
    if (!RoutePress(event, &own)) return false;
    if (AllChildrenCorrect()) RunEventReactions(0);
    return true;
}

bool TChangeOnClickParentObject::AllChildrenCorrect() const
{
    for (const auto& child : mChildren) {
        if (child->GetTypeCode() != 70) continue;
        const auto* changer = dynamic_cast<const TChangeOnClickObject*>(child.get());
        if (changer && !changer->IsCorrect()) return false;
    }
    return true;
}

TChangeOnActivateObject::~TChangeOnActivateObject() = default;

void TChangeOnActivateObject::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    if (AlphaStaticImage* current = ImageAtIndex(mImages, mCurrent)) current->Draw(1.0f);
}

bool TChangeOnActivateObject::Update(float dt)
{
    const bool answer = TObject::Update(dt);
    AlphaStaticImage* current = ImageAtIndex(mImages, mCurrent);
    if (current && current->mFade.mRunning) {
        current->Update(dt);
        // Only a fade that ended fully out turns to the next picture.
        if (current->IsDone() && current->mAlpha == 0.0f) {
            mCurrent = (mCurrent + 1) % static_cast<int>(mImages.size());
            ImageAtIndex(mImages, mCurrent)->StartFade(0.0f, 1.0f, mFadeTime);
        }
    }
    return answer;
}

void TChangeOnActivateObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    AlphaStaticImage* current = ImageAtIndex(mImages, mCurrent);
    if (current && !current->mFade.mRunning) current->StartFade(current->mAlpha, 0.0f, mFadeTime);
}

void TChangeOnActivateObject::LoadResources()
{
    TObject::LoadResources();
    LoadImageTextures(mImages);
}

void TChangeOnActivateObject::FreeResources()
{
    TObject::FreeResources();
    FreeImageTextures(mImages);
}

void TChangeOnActivateObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mFadeTime = GetAttrFloat(e, "alpha_time", 0.1f);
    ReadImageList(e, dataFolder, mImages);
    const int index = GetAttrInt(e, "cur_idx", -1);
    mCurrent = index == -1 ? 0 : RingIndex(index, mImages.size(), "cur_idx", GetName());
}

TChangeOnActivateParentObject::~TChangeOnActivateParentObject() = default;

bool TChangeOnActivateParentObject::Update(float dt)
{
    const bool answer = TObject::Update(dt);
    if (!IsLocked() && AllAtIndex()) {
        RunEventReactions(0);
        Lock();
    }
    return answer;
}

void TChangeOnActivateParentObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mIndices.clear();
    GetAttrIntList(e, "idxs", mIndices);
}

void TChangeOnActivateParentObject::OnLoaded()
{
    TObject::OnLoaded();
    mChangers.clear();
    for (auto& child : mChildren)
        if (auto* changer = dynamic_cast<TChangeOnActivateObject*>(child.get())) mChangers.push_back(changer);
}

// An "idxs" list shorter than the children can never be met.
bool TChangeOnActivateParentObject::AllAtIndex() const
{
    if (mChangers.empty() || mIndices.size() < mChangers.size()) return false;
    for (size_t i = 0; i < mChangers.size(); ++i)
        if (mChangers[i]->GetShownIndex() != mIndices[i]) return false;
    return true;
}
