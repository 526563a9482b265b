// Decorative objects that bring a room to life without being puzzles: scrolled and spun
// pictures, drifting clouds, particles, a spinning star, a rotator, a focusing veil and a
// picture stretched upwards from its bottom edge.
#pragma once
#include "graphics/rotation_effects.h"
#include "graphics/static_image.h"
#include "graphics/tweens.h"
#include "objects/object.h"

class TUVObject : public TObject {
public:
    ~TUVObject() override;
    int GetTypeCode() const override { return 57; }
};

class TUVSpinObject : public TUVObject {
public:
    ~TUVSpinObject() override;
    int GetTypeCode() const override { return 59; }
};

class TCloudsObject : public TObject {
public:
    ~TCloudsObject() override;

    StaticImage mBackImage;
    StaticImage mLayerImages[2];
    bool mClip = true;  // "setcliprect"
};

class TParticleObject : public TObject {
public:
    ~TParticleObject() override;
    int GetTypeCode() const override { return 47; }
};

class TAsterixObject : public TObject {
public:
    ~TAsterixObject() override;
    int GetTypeCode() const override { return 14; }

    IncValue mSpin;
};

class TRotatorObject : public TObject, public TRotationEffectListener {
public:
    ~TRotatorObject() override;
    int GetTypeCode() const override { return 46; }
};

class TFocuserObject : public TObject {
public:
    ~TFocuserObject() override;
    int GetTypeCode() const override { return 60; }
};

// Only the base of the stretching kinds; never built on its own.
class TFlexibleObject : public TObject {
public:
    ~TFlexibleObject() override;
    int GetTypeCode() const override { return 24; }
    bool IsMovable() const override { return true; }

    IncValue mStretch;

protected:
    TFlexibleObject() = default;
};

class TUDFlexibleObject : public TFlexibleObject {
public:
    ~TUDFlexibleObject() override;
    int GetTypeCode() const override { return 25; }
};
