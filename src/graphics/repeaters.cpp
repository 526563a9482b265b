#include "graphics/repeaters.h"

#include <tinyxml.h>

#include "core/buffer.h"
#include "core/xml_attributes.h"
#include "graphics/tweens.h"

TVariousTimeRepeater::TVariousTimeRepeater(const TiXmlElement* element, TPlayable* effector) : mEffector(effector)
{
    mTime = GetAttrFloat(element, "time", 0.0f);
    mOffset = GetAttrFloat(element, "offset", 0.0f);
    mStartTime = GetAttrFloat(element, "stime", 0.0f);
    mStartOffset = GetAttrFloat(element, "soffset", 0.0f);
    StartInterval(RandomFloat(mStartTime - mStartOffset, mStartTime + mStartOffset));
}

void TVariousTimeRepeater::StartInterval(float interval)
{
    // An interval of 0 or less leaves the timer stopped: the effect restarts at every update.
    if (interval > 0.0f) mTimer.Start(interval);
}

void TVariousTimeRepeater::Update(float dt)
{
    if (!mTimer.Update(dt)) return;
    if (mEffector) mEffector->Play();
    StartInterval(RandomFloat(mTime - mOffset, mTime + mOffset));
}

void TVariousTimeRepeater::SaveState(TBaseBuffer& buffer)
{
    mTimer.SaveState(buffer);
}

void TVariousTimeRepeater::LoadState(TBaseBuffer& buffer)
{
    mTimer.LoadState(buffer);
}

TRepeater* TVariousTimeRepeater::CopyFor(TPlayable* effector) const
{
    TVariousTimeRepeater* copy = new TVariousTimeRepeater(*this);
    copy->mEffector = effector;
    return copy;
}

SharedPtr<TRepeater> CreateRepeater(const TiXmlElement* element, TPlayable* effector)
{
    if (GetAttrString(element, "type", "vartime") != "vartime") return SharedPtr<TRepeater>();
    return SharedPtr<TRepeater>(new TVariousTimeRepeater(element, effector));
}
