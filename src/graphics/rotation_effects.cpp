#include "graphics/rotation_effects.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "core/messages.h"
#include "graphics/static_image.h"

TRotationEffect::TRotationEffect(float targetAngle, float duration, StaticImage* image, const std::string& name,
                                 TRotationEffectListener* listener)
    : mImage(image), mListener(listener)
{
    mName = name;
    mAngle.Set(image ? image->GetAngle() : 0.0f, targetAngle, std::fabs(duration), true);
}

void TRotationEffect::Update(float dt)
{
    mAngle.Update(dt);
    if (mImage) mImage->SetAngle(mAngle.mCurrent);
    if (!mAngle.mFinished) return;
    mFinished = true;
    if (!mSignalName.empty()) GetMessageManager()->Post(mSignalName, 0.0f);
    if (mListener) mListener->OnRotationFinished(mName);
}

TRotationEffect* TRotationEffectsList::Find(const std::string& name) const
{
    for (const auto& effect : mEffects)
        if (effect->mName == name) return effect.get();
    return nullptr;
}

bool TRotationEffectsList::Holds(const TRotationEffect* effect) const
{
    return std::any_of(mEffects.begin(), mEffects.end(), [effect](const auto& e) { return e.get() == effect; });
}

void TRotationEffectsList::Update(float dt)
{
    // A listener may clear the list or add to it: walk a copy, skip what left the list, and
    // leave what was added for the next update.
    std::vector<TRotationEffect*> walk;
    for (const auto& effect : mEffects) walk.push_back(effect.get());
    mUpdating = true;
    for (TRotationEffect* effect : walk)
        if (Holds(effect)) effect->Update(dt);
    mUpdating = false;
    mRetired.clear();
    mEffects.erase(std::remove_if(mEffects.begin(), mEffects.end(), [](const auto& e) { return e->IsFinished(); }),
                   mEffects.end());
}

void TRotationEffectsList::Clear()
{
    if (mUpdating)
        std::move(mEffects.begin(), mEffects.end(), std::back_inserter(mRetired));
    mEffects.clear();
}
