#include "objects/slide_rotator_objects.h"

#include <tinyxml.h>

#include <cmath>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "rooms/game_space.h"

TSlideImageRotator::~TSlideImageRotator() = default;

void TSlideImageRotator::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mRollTime = GetAttrFloat(e, "rtime", mRollTime);
    mBand = GetAttrInt(e, "cur_image", mBand);
    mBandCount = GetAttrInt(e, "num_of_images", mBandCount);
    mStrip = StaticImage();
    ReadStaticImageAttrs(e ? e->FirstChildElement("img") : nullptr, &mStrip,
                         mOwnerSpace ? mOwnerSpace->mDataFolder : std::string());
    GetAttrRect(e, "vis_rect", &mWindowX, &mWindowY, &mWindowW, &mWindowH, ".");
    SetBand(mBand);
}

void TSlideImageRotator::ShowWindow() { mStrip.mTransform.SetSourceRect(mWindowX, mWindowY, mWindowW, mWindowH); }

bool TSlideImageRotator::SetBand(int band)
{
    // A negative band is no band of the strip either.
    if (band < 0 || band >= mBandCount) return false;
    mBand = band;
    mWindowY = ClampToInt(static_cast<long long>(band) * mWindowH);
    ShowWindow();
    return true;
}

bool TSlideImageRotator::Roll()
{
    if (mRolling) return false;
    const float from = static_cast<float>(mWindowY);
    if (static_cast<long long>(mBand) + 1 < mBandCount) {
        ++mBand;
        mRoll.Set(from, from + static_cast<float>(mWindowH), std::fabs(mRollTime), true);
    } else {
        // Back over the whole strip, three bands' time per ten bands.
        mBand = 0;
        mRoll.Set(from, 0.0f, std::fabs(static_cast<float>(mBandCount) * mRollTime / 3.0f), true);
    }
    mRolling = true;
    return true;
}

bool TSlideImageRotator::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!TObject::OnMouseDown(event)) return false;
    Roll();
    return true;
}

bool TSlideImageRotator::Update(float dt)
{
    const bool answer = TObject::Update(dt);
    // Driven by the rolling flag, not by the tween: a roll between equal ends is finished
    // before its first update and must still come to rest here.
    if (mRolling) {
        mRoll.Update(dt);
        mWindowY = TruncToInt(mRoll.mCurrent);
        ShowWindow();
        if (mRoll.mFinished) {
            mRolling = false;
            if (mRotatorListener) mRotatorListener->OnRotatorStopped();
        }
    }
    return answer;
}

void TSlideImageRotator::Draw(float /*alphaFactor*/)
{
    if (!IsVisible()) return;
    TObject::Draw(1.0f);
    mStrip.Draw(mAlpha);
}

void TSlideImageRotator::LoadResources()
{
    TObject::LoadResources();
    const std::string name = mStrip.mTextureName;
    mStrip.SetTexture(name);
    SetBand(mBand);
}

void TSlideImageRotator::FreeResources()
{
    TObject::FreeResources();
    mStrip.FreeTexture();
}

void TSlideImageRotator::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    mRoll.SaveState(&buffer);
    for (int32_t value : {mWindowX, mWindowY, mWindowW, mWindowH, mBand}) buffer.WriteInt16(value);
    buffer.WriteByte(mRolling);
}

void TSlideImageRotator::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    // Taken whole or not at all: a roll that never ends, or a band or window the strip does
    // not have, would leave the wheel stuck or showing nothing.
    IncValue roll = mRoll;
    const bool rollAgrees = roll.ReadState(&buffer);
    int32_t x = 0, y = 0, w = 0, h = 0, band = 0;
    for (int32_t* value : {&x, &y, &w, &h, &band}) *value = buffer.ReadInt16();
    const bool rolling = buffer.ReadByte() != 0;
    if (StateRefused()) return;
    // The window and the roll that moves it stay on the strip: from the first band's top to
    // the last band's.
    const long long lastTop = (static_cast<long long>(mBandCount) - 1) * h;
    const auto onStrip = [lastTop](double top) { return top >= 0.0 && top <= static_cast<double>(lastTop); };
    const bool windowOnStrip = onStrip(y) && onStrip(roll.mFrom) && onStrip(roll.mTo) && onStrip(roll.mCurrent);
    // Nothing pauses a wheel's roll: a paused one in a record would never end.
    if (!rollAgrees || roll.mPaused || band < 0 || band >= mBandCount || x != mWindowX || w != mWindowW ||
        h != mWindowH || !windowOnStrip) {
        GetLogger()->LogMessage("object %s: saved wheel refused (band %d of %d, window %dx%d at %d)",
                                GetFullName().c_str(), static_cast<int>(band), static_cast<int>(mBandCount),
                                static_cast<int>(w), static_cast<int>(h), static_cast<int>(y));
        return;
    }
    mRoll = roll;
    mWindowY = y;
    mBand = band;
    mRolling = rolling;
}

TCaseLockObject::~TCaseLockObject() = default;

void TCaseLockObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TTransparentObject::LoadXml(e, dataFolder);
    mDelay = GetAttrFloat(e, "delay", mDelay);
    std::vector<std::string> parts;
    SplitString(GetAttrString(e, "combination", ""), ',', parts);
    mCombination.clear();
    for (const std::string& part : parts) mCombination.push_back(ParseIntClamped(part.c_str()));
}

void TCaseLockObject::OnLoaded()
{
    TTransparentObject::OnLoaded();
    for (auto& child : mChildren)
        if (auto* wheel = dynamic_cast<TSlideImageRotator*>(child.get())) wheel->mRotatorListener = this;
}

bool TCaseLockObject::Matches() const
{
    size_t k = 0;
    for (const auto& child : mChildren) {
        const auto* wheel = dynamic_cast<const TSlideImageRotator*>(child.get());
        if (!wheel) continue;
        if (k >= mCombination.size() || wheel->mBand != mCombination[k]) return false;
        ++k;
    }
    return true;
}

void TCaseLockObject::OnRotatorStopped()
{
    if (!Matches()) return;
    // No lock on a match: every matching stop runs the reactions again and restarts the delay.
    RunEventReactions(0);
    if (mDelay > 0.0f) mDelayTimer.Start(mDelay);
}

bool TCaseLockObject::Update(float dt)
{
    // The wheels stop inside the base update, so a delay started there gains this frame too.
    const bool answer = TTransparentObject::Update(dt);
    if (mDelayTimer.IsActive() && mDelayTimer.Update(dt)) RunEventReactions(1);
    return answer;
}

void TCaseLockObject::Lock()
{
    TTransparentObject::Lock();
    for (auto& child : mChildren) child->Lock();
}

void TCaseLockObject::Unlock()
{
    mLocked = false;
    for (auto& child : mChildren) child->Unlock();
}
