#include "graphics/trajectory_sprite.h"

#include <tinyxml.h>

#include <cmath>
#include <vector>

#include "core/numbers.h"
#include "core/xml_attributes.h"

namespace {


}  // namespace

const TTrajectory* FindTrajectory(const std::string& name)
{
    for (const auto& trajectory : GetTrajectoryList().mTrajectories)
        if (trajectory && trajectory->mName == name) return trajectory.get();
    return nullptr;
}

TrajectoryMoverCadrImage2::TrajectoryMoverCadrImage2() : mMover(0.0f, nullptr, TMoveOwnerRecord())
{
    mStartAgain.mListener = this;
}

void TrajectoryMoverCadrImage2::LoadXml(TiXmlElement* element, const std::string& folder)
{
    if (!element) return;
    GetAttrBool(element, "loadtex", true);  // read for the format's sake: textures load here anyway
    mSheetInUse = element->FirstChildElement("item") == nullptr;
    if (mSheetInUse)
        mSheet.LoadXml(element, true, folder);
    else
        mSequence.LoadXml(element, true);

    mPathOffsetY = GetAttrInt(element, "offy", mPathOffsetY);
    mPathOffsetX = GetAttrInt(element, "offx", mPathOffsetX);
    mScale = GetAttrFloat(element, "scale", mScale);
    mId = GetAttrInt(element, "id", mId);
    float moveTime = GetAttrFloat(element, "movetime", 0.0f);
    if (element->Attribute("addangle")) mAddedAngle = GetAttrFloat(element, "addangle") * kDegToRad;
    mStartAgainTime = GetAttrFloat(element, "startagaintime", mStartAgainTime);
    mPathType = GetAttrInt(element, "trtype", mPathType);

    if (mPathType == 0) {
        if (const TTrajectory* trajectory = FindTrajectory(GetAttrString(element, "tr"))) {
            mMover.SetTrajectory(trajectory);
            mMover.mSpeed = moveTime;
        }
        if (GetAttrBool(element, "enablerotate", true)) mMover.mNoRotation = false;
        mMover.mListener = this;
    } else if (mPathType == 1) {
        std::vector<TIntPoint> points;
        std::vector<float> durations, holds;
        GetAttrPointList(element, "points", points);
        GetAttrFloatList(element, "movetime", durations);
        GetAttrFloatList(element, "delayafter", holds);
        std::vector<TLineWaypoint> waypoints;
        for (size_t i = 0; 2 * i + 1 < points.size(); ++i) {
            TLineWaypoint w;
            w.fromX = static_cast<float>(points[2 * i].x);
            w.fromY = static_cast<float>(points[2 * i].y);
            w.toX = static_cast<float>(points[2 * i + 1].x);
            w.toY = static_cast<float>(points[2 * i + 1].y);
            w.duration = i < durations.size() ? durations[i] : 0.0f;
            w.hold = i < holds.size() ? holds[i] : 0.0f;
            waypoints.push_back(w);
        }
        mLine.SetWaypoints(0.0f, waypoints);
        mLine.mListener = this;
    }

    mParticles.LoadXml(element);
    if (GetAttrBool(element, "active", true)) Restart();
}

bool TrajectoryMoverCadrImage2::Update(float dt)
{
    float x = static_cast<float>(mPathOffsetX);
    float y = static_cast<float>(mPathOffsetY);
    float turn = 0.0f;
    bool done = true;
    if (mPathType == 0) {
        // Without a curve the mover has nowhere to go: the sprite stands at its offsets.
        if (mMover.mTrajectory) {
            mMover.Update(dt);
            done = mMover.IsFinished();
            x += mMover.GetX();
            y += mMover.GetY();
            turn = mMover.GetAngle();
        }
    } else if (mPathType == 1) {
        mLine.Update(dt);
        done = mLine.mFinished;
        x += mLine.mX;
        y += mLine.mY;
    }

    mParticles.Update(dt);
    mParticles.SetPosition(x, y, true);

    DrawObject& animation = Animation();
    animation.Update(dt);
    if (mSheetInUse)
        mSheet.GetImage().SetPosition(std::trunc(x), std::trunc(y), true);
    else
        mSequence.SetPosition(x, y, true);
    animation.SetScaleXY(mScale, mScale);
    animation.SetAngle(mAddedAngle - turn);

    if (mStartAgain.mRunning) mStartAgain.Update(dt);
    return done;
}

void TrajectoryMoverCadrImage2::Draw(float alphaFactor)
{
    // Particles of other layers are loaded but belong to no layer this sprite draws.
    mParticles.DrawLayer(-1, alphaFactor);
    Animation().Draw(alphaFactor);
    mParticles.DrawLayer(0, alphaFactor);
}

void TrajectoryMoverCadrImage2::SetPosition(float x, float y, bool /*centred*/)
{
    if (mSheetInUse)
        mSheet.GetImage().SetPosition(x, y, false);
    else
        mSequence.SetPosition(x, y, false);
}

void TrajectoryMoverCadrImage2::Restart()
{
    if (mSheetInUse)
        mSheet.Play(-1);
    else
        mSequence.Restart();
    if (mPathType == 0)
        mMover.Restart();
    else if (mPathType == 1)
        mLine.Restart();
}

void TrajectoryMoverCadrImage2::LoadResources()
{
    if (mSheetInUse)
        mSheet.GetImage().SetTexture(mSheet.mFileName);
    else
        mSequence.LoadTextures();
}

void TrajectoryMoverCadrImage2::FreeResources()
{
    mSheet.GetImage().FreeTexture();
    mSequence.FreeTextures();
}

void TrajectoryMoverCadrImage2::ArrivedAtEnd()
{
    // The movers report their end at every update past it: one start-again per arrival.
    if (mStartAgainTime > 0.0f && !mStartAgain.mRunning) mStartAgain.StartUnit(std::fabs(mStartAgainTime));
}

void TrajectoryMoverCadrImage2::OnMoveObjFinished(MoveObj_t*)
{
    ArrivedAtEnd();
}

void TrajectoryMoverCadrImage2::OnLineMoverFinished(TLineMover*)
{
    ArrivedAtEnd();
}

void TrajectoryMoverCadrImage2::OnIncValueFinished(IncValue* value)
{
    if (value == &mStartAgain) Restart();
}
