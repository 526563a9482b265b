// Effects that turn an image to a target angle over a time and report the end, and the
// list that keeps them until they finish.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "graphics/tweens.h"

class StaticImage;

class TSimpleObject {
public:
    virtual ~TSimpleObject() = default;
    virtual void Update(float /*dt*/) {}
    virtual void EmptyHook() {}

    std::string mName;
    std::string mSignalName;
};

class TRotationEffectListener {
public:
    virtual ~TRotationEffectListener() = default;
    virtual void OnRotationFinished(const std::string& /*name*/) {}
};

class TRotationEffect : public TSimpleObject {
public:
    TRotationEffect(float targetAngle, float duration, StaticImage* image, const std::string& name,
                    TRotationEffectListener* listener);
    // Once finished, every further update tells the end again.
    void Update(float dt) override;
    bool IsFinished() const { return mFinished; }

private:
    bool mFinished = false;
    StaticImage* mImage;  // not owned
    IncValue mAngle;
    TRotationEffectListener* mListener;  // not owned
};

class TRotationEffectsList {
public:
    void Add(TRotationEffect* effect) { mEffects.emplace_back(effect); }
    TRotationEffect* Find(const std::string& name) const;
    // Finished effects are deleted in the update that finds them, so listeners hear once.
    void Update(float dt);
    void Clear();
    size_t Size() const { return mEffects.size(); }

private:
    bool Holds(const TRotationEffect* effect) const;

    std::vector<std::unique_ptr<TRotationEffect>> mEffects;
    // Effects cleared by a listener during an update live until the walk is over.
    std::vector<std::unique_ptr<TRotationEffect>> mRetired;
    bool mUpdating = false;
};
