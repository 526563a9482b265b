#include "rooms/effector.h"

#include <tinyxml.h>

#include <cmath>
#include <cstring>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/xml_attributes.h"
#include "graphics/cadr_image.h"
#include "graphics/draw_object.h"
#include "graphics/texture.h"
#include "objects/anim_objects.h"
#include "objects/object.h"

namespace {
const char* const kChannelIds[kChannelCount] = {"x", "y", "a", "o", "s", "sx", "sy"};

int ChannelOf(const std::string& id)
{
    for (int i = 0; i < kChannelCount; ++i)
        if (id == kChannelIds[i]) return i;
    return -1;
}
}  // namespace

void TEffector::Write(int channel, float v)
{
    DrawObject* t = mTarget;
    // The other coordinate is the stored one: a scene object's GetX/GetY answer its drawn
    // position, and storing that would shift it by its draw type, centre and offset each frame.
    switch (channel) {
    case kChannelX:
        t->SetPosition(v, t->mY, true);
        break;
    case kChannelY:
        t->SetPosition(t->mX, v, true);
        break;
    case kChannelAngle:
        t->mAngle = v;
        break;
    case kChannelAlpha:
        t->mAlpha = v;
        break;
    case kChannelScale:
        t->SetScale(v);
        break;
    case kChannelScaleX:
        t->SetScaleXY(v, t->GetScaleY());
        break;
    case kChannelScaleY:
        t->SetScaleXY(t->GetScaleX(), v);
        break;
    default:
        break;
    }
}

void TEffector::LoadXml(const TiXmlElement* e)
{
    mName = GetAttrString(e, "name", "");
    mPlay = GetAttrBool(e, "play", mPlay);
    mLoop = GetAttrInt(e, "loop", mLoop);
    for (const TiXmlElement* key = e ? e->FirstChildElement("key") : nullptr; key;
         key = key->NextSiblingElement("key")) {
        const int channel = ChannelOf(GetAttrString(key, "id", ""));
        if (channel < 0) continue;
        TEffectorChannelSlot& slot = mSlots[channel];
        // Keys are saved as thousandths, and a saved track refuses a scale past the drawable's.
        const char* file = ElementFileName(key);
        const float limit = channel >= kChannelScale ? kMaxDrawScale : kMaxMilliValue;
        slot.mChannel.mTimes.push_back(GetAttrFloatInRange(key, "time", 0.0f, -kMaxMilliValue, kMaxMilliValue, file));
        slot.mChannel.mValues.push_back(GetAttrFloatInRange(key, "value", 0.0f, -limit, limit, file));
        slot.mHasKeys = true;
    }
    if (const TiXmlElement* repeater = e ? e->FirstChildElement("repeater") : nullptr)
        mRepeater = CreateRepeater(repeater, this);
    if (mPlay && !mRepeater) Play();
}

void TEffector::Play()
{
    for (TEffectorChannelSlot& slot : mSlots) {
        if (!slot.mHasKeys) continue;
        TEffectorChannel& c = slot.mChannel;
        c.mLoops = mLoop;
        c.mSegmentIndex = 0;
        c.mFinished = false;
        if (c.KeyCount() >= 2)
            c.mTween.Set(c.mValues[0], c.mValues[1], std::fabs(c.mTimes[1] - c.mTimes[0]), true);
        else if (c.KeyCount() == 1)
            // A single key is shown at once: the next update writes it and ends the track.
            c.mTween.SetValue(c.mValues[0]);
        slot.mActive = true;
    }
    mPlay = true;
    if (mListener) mListener->OnEffectorStarted(this);
}

void TEffector::Update(float dt)
{
    if (!mPlay || !mTarget) return;
    TEffectorChannelSlot& x = mSlots[kChannelX];
    if (x.mActive) {
        Write(kChannelX, x.mChannel.GetValue());
        if (x.mHasKeys && x.mChannel.Update(dt)) {
            x.mActive = false;
            OnChannelFinished(kChannelX);
        }
    }
    for (int i = kChannelY; i < kChannelCount; ++i) {
        TEffectorChannelSlot& slot = mSlots[i];
        if (!slot.mActive) continue;
        bool finished = false;
        if (slot.mHasKeys && slot.mChannel.Update(dt)) {
            finished = true;
            slot.mActive = false;
        }
        Write(i, slot.mChannel.GetValue());
        if (finished) OnChannelFinished(i);
    }
    if (mRepeater) mRepeater->Update(dt);
}

void TEffector::Stop()
{
    for (TEffectorChannelSlot& slot : mSlots) {
        slot.mChannel.mTween.SetValue(slot.mChannel.mTween.mCurrent);
        slot.mChannel.mFinished = true;
        // Only tracks with keys wake up again: a key-less one would write 0 every frame.
        slot.mActive = slot.mHasKeys;
    }
    mPlay = false;
    if (mListener) mListener->OnEffectorStopped(this);
}

void TEffector::Reset()
{
    for (TEffectorChannelSlot& slot : mSlots) {
        slot.mChannel.Clear();
        slot.mActive = false;
        slot.mHasKeys = false;
    }
}

void TEffector::OnChannelFinished(int channel)
{
    if (TObject* object = dynamic_cast<TObject*>(mTarget)) object->OnEffectorChannelFinished(channel);
    if (mListener) mListener->OnEffectorChannelFinished(this, channel);
}

TEffector* TEffector::Clone() const
{
    TEffector* clone = new TEffector();
    CopyTo(clone);
    return clone;
}

void TEffector::CopyTo(TEffector* clone) const
{
    clone->mName = mName;
    clone->mListener = mListener;
    clone->mTarget = mTarget;
    clone->mLoop = mLoop;
    clone->mPlay = mPlay;
    for (int i = 0; i < kChannelCount; ++i) clone->mSlots[i] = mSlots[i];
    // A repeater replays the one effector it holds: a shared one would never play the clone
    // and would be left pointing at a deleted source.
    if (mRepeater) clone->mRepeater = mRepeater->CopyFor(clone);
}

void TEffector::SaveState(TBaseBuffer& buffer) const
{
    buffer.WriteByte(mPlay);
    for (const TEffectorChannelSlot& slot : mSlots) {
        buffer.WriteByte(slot.mActive);
        buffer.WriteByte(slot.mHasKeys);
        slot.mChannel.SaveState(&buffer);
    }
    if (mRepeater) mRepeater->SaveState(buffer);
}

namespace {

// A damaged record's scale would make the next draw ask the renderer for a picture of petabytes.
bool ScaleInRange(float v) { return v >= -kMaxDrawScale && v <= kMaxDrawScale; }

// Every value the track can write: its keys and its tween's ends and current value.
bool ScaleTrackInRange(const TEffectorChannel& channel)
{
    for (float v : channel.mValues)
        if (!ScaleInRange(v)) return false;
    const IncValue& t = channel.mTween;
    return ScaleInRange(t.mCurrent) && ScaleInRange(t.mFrom) && ScaleInRange(t.mTo);
}

}  // namespace

void TEffector::LoadState(TBaseBuffer& buffer)
{
    const bool play = buffer.ReadByte() != 0;
    TEffectorChannelSlot slots[kChannelCount];
    const char* fault = nullptr;
    for (int i = 0; i < kChannelCount; ++i) {
        TEffectorChannelSlot& slot = slots[i];
        slot.mActive = buffer.ReadByte() != 0;
        slot.mHasKeys = buffer.ReadByte() != 0;
        slot.mChannel = mSlots[i].mChannel;
        if (!slot.mChannel.LoadState(&buffer)) {
            fault = "a track's tween or key times cannot be used";
            break;
        }
        if (i >= kChannelScale && !ScaleTrackInRange(slot.mChannel)) {
            fault = "a scale past the range";
            break;
        }
    }
    if (fault) {
        GetLogger()->LogMessage("effector %s: saved state refused (%s)", mName.c_str(), fault);
        return;
    }
    mPlay = play;
    for (int i = 0; i < kChannelCount; ++i) mSlots[i] = std::move(slots[i]);
    if (mRepeater) mRepeater->LoadState(buffer);
}

void TCadrEffector::LoadXml(const TiXmlElement* e)
{
    TEffector::LoadXml(e);
    mCadrWidth = GetAttrInt(e, "cadr_width", -1);
    mCadrHeight = GetAttrInt(e, "cadr_height", -1);
    mFrames = GetAttrInt(e, "frames", -1);
    mSpeed = GetAttrFloat(e, "speed", 0.0f);
    mSheetWidth = GetAttrInt(e, "tw", 0);
    mSheetHeight = GetAttrInt(e, "th", 0);
}

void TCadrEffector::SetTarget(DrawObject* target)
{
    TEffector::SetTarget(target);
    Prepare();
}

void TCadrEffector::Prepare()
{
    TCadrObject* object = dynamic_cast<TCadrObject*>(mTarget);
    if (!object || !object->mCadrImage) return;
    TCadrImage* image = object->mCadrImage.Get();
    image->mSheetWidth = mSheetWidth;
    image->mSheetHeight = mSheetHeight;
    image->SetFrameRange(mSpeed, mFrames, mCadrWidth, mCadrHeight);
    image->GetImage().SetScale(object->GetScaleX());
}

void TParentSignalEffector::OnChannelFinished(int channel)
{
    TObject* object = dynamic_cast<TObject*>(mTarget);
    if (object && object->mParentObject) object->mParentObject->OnEffectorChannelFinished(channel);
    if (mListener) mListener->OnEffectorChannelFinished(this, channel);
}
