// A frame-animated sprite that rides a named curve of the trajectory table or a list of
// straight waypoints with its particles, turning with its path, and starts again a while
// after arriving.
#pragma once
#include <string>

#include "graphics/cadr_image.h"
#include "graphics/draw_object.h"
#include "graphics/particle_items.h"
#include "graphics/trajectories.h"
#include "graphics/tweens.h"

class TiXmlElement;

// The first curve of the trajectory table with exactly this name; null when none.
const TTrajectory* FindTrajectory(const std::string& name);

class TrajectoryMoverCadrImage2 : public DrawObject,
                                  public IncValueListener,
                                  public TMoveObjListener,
                                  public TLineMoverListener {
public:
    TrajectoryMoverCadrImage2();
    ~TrajectoryMoverCadrImage2() override = default;
    TrajectoryMoverCadrImage2(const TrajectoryMoverCadrImage2&) = delete;
    TrajectoryMoverCadrImage2& operator=(const TrajectoryMoverCadrImage2&) = delete;

    // folder: put before the sheet's "filename"; sequence items name their files in full.
    void LoadXml(TiXmlElement* element, const std::string& folder = std::string());
    void Draw(float alphaFactor) override;
    // True once the path has ended (and on every update of a sprite without a path).
    bool Update(float dt) override;
    void SetPosition(float x, float y, bool centred) override;
    void Restart() override;
    virtual void LoadResources();
    virtual void FreeResources();

    void OnIncValueFinished(IncValue* value) override;
    void OnMoveObjFinished(MoveObj_t* mover) override;
    void OnLineMoverFinished(TLineMover* mover) override;

    DrawObject& Animation() { return mSheetInUse ? static_cast<DrawObject&>(mSheet) : mSequence; }

    TCadrImage2 mSequence;
    TCadrImage mSheet;
    bool mSheetInUse = false;
    MoveObj_t mMover;
    TLineMover mLine;
    int mPathType = 0;  // 0 a named curve, 1 waypoints, anything else no motion
    int mPathOffsetX = 0;
    int mPathOffsetY = 0;
    float mAddedAngle = 0.0f;  // radians
    float mStartAgainTime = 0.0f;
    IncValue mStartAgain;
    float mScale = 1.0f;
    TParticleVectors mParticles;

private:
    void ArrivedAtEnd();
};
