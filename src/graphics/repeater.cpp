#include "graphics/repeater.h"

#include <tinyxml.h>

#include "core/random.h"
#include "core/xml_attributes.h"

namespace {
float DrawInterval(float time, float offset)
{
    return static_cast<float>(GameRand() % 32767) / 32767.0f * 2.0f * offset + time - offset;
}
}  // namespace

TVariousTimeRepeater::TVariousTimeRepeater(const TiXmlElement* element, TRepeaterClient* client) : mClient(client)
{
    mTime = GetAttrFloat(element, "time", 0.0f);
    mOffset = GetAttrFloat(element, "offset", 0.0f);
    mStartTime = GetAttrFloat(element, "stime", 0.0f);
    mStartOffset = GetAttrFloat(element, "soffset", 0.0f);
    const float first = DrawInterval(mStartTime, mStartOffset);
    if (first > 0.0f) mTimer.Start(first);
}

void TVariousTimeRepeater::Update(float dt)
{
    // True once the interval ends, and on every update while no interval runs.
    if (!mTimer.Update(dt)) return;
    if (mClient) mClient->Play();
    const float next = DrawInterval(mTime, mOffset);
    if (next > 0.0f) mTimer.Start(next);
}

void TVariousTimeRepeater::SaveState(TBaseBuffer& buffer) { mTimer.SaveState(buffer); }

void TVariousTimeRepeater::LoadState(TBaseBuffer& buffer) { mTimer.LoadState(buffer); }

TRepeater* TVariousTimeRepeater::CopyFor(TRepeaterClient* client) const
{
    TVariousTimeRepeater* copy = new TVariousTimeRepeater(*this);
    copy->mClient = client;
    return copy;
}

SharedPtr<TRepeater> CreateRepeater(const TiXmlElement* element, TRepeaterClient* client)
{
    if (GetAttrString(element, "type", "vartime") != "vartime") return SharedPtr<TRepeater>();
    return SharedPtr<TRepeater>(new TVariousTimeRepeater(element, client));
}
