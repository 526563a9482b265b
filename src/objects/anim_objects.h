// Scene objects animated frame by frame: frame sheets, the double-score counter, animations
// and line-moving animations, and the trajectory sprite as a scene object.
#pragma once
#include "core/SharedPtr.h"
#include "graphics/cadr_image.h"
#include "graphics/trajectory_sprite.h"
#include "objects/object.h"

// Plays a frame sheet; frame effectors set its sheet up when they are bound to it.
class TCadrObject : public TObject {
public:
    ~TCadrObject() override;
    int GetTypeCode() const override { return 18; }

    SharedPtr<TCadrImage> mCadrImage;  // null until set
};

class TDoubleHOCadrObject : public TCadrObject {
public:
    ~TDoubleHOCadrObject() override;
    int GetTypeCode() const override { return 69; }
};

class TAnimObject : public TObject {
public:
    ~TAnimObject() override;
    int GetTypeCode() const override { return 11; }
};

class TLineMovingAnimObject : public TAnimObject {
public:
    ~TLineMovingAnimObject() override;
    int GetTypeCode() const override { return 12; }
    bool IsMovable() const override { return true; }
};

// Holds two drawables, its own through TObject and the sprite's: the scene reaches it
// through TObject only.
class TrajectoryMoverCadrImage2Object : public TObject, public TrajectoryMoverCadrImage2 {
public:
    ~TrajectoryMoverCadrImage2Object() override;
};
