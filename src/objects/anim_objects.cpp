#include "objects/anim_objects.h"

#include <tinyxml.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "graphics/texture.h"
#include "sound/sound_manager.h"

namespace {

// The sprite stands on whole pixels.
void PlaceSprite(StaticImage& sprite, float x, float y)
{
    sprite.SetPosition(static_cast<float>(TruncToInt(x)), static_cast<float>(TruncToInt(y)), false);
}

// The sheet keeps its alpha mask for pixel tests unless the object is tested by its bounds.
void LoadSheet(StaticImage& sprite, const std::string& name, bool boundsOnly)
{
    KeepTextureAlpha = !boundsOnly;
    sprite.SetTexture(name);
    KeepTextureAlpha = true;
}

const char kTickingSound[] = "clockticking";

}  // namespace

// ---------------------------------------------------------------- frame sheet

TCadrObject::TCadrObject() { mActive = true; }

TCadrObject::~TCadrObject() = default;

void TCadrObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    const bool useDataFolder = GetAttrBool(element, "udf", true);
    const std::string sheet = GetAttrString(element, "anim", "");
    const int frames = GetAttrInt(element, "frames", -1);
    const int sheetWidth = GetAttrInt(element, "tw", 0);
    const int sheetHeight = GetAttrInt(element, "th", 0);
    const float frameTime = GetAttrFloat(element, "speed", 0.0f);
    mSoundName = GetAttrString(element, "anim_sound", "");
    const bool timed = GetAttrBool(element, "timed", false);
    const bool holdLast = GetAttrBool(element, "stayonlastcadr", false);
    mLoops = GetAttrInt(element, "loop", -1);

    if (timed) {
        auto* image = new TTimeCadrImage();
        image->LoadFrameTimes(element);
        mCadrImage = image;
    } else {
        mCadrImage = new TCadrImage();
    }
    TCadrImage& image = *mCadrImage;
    image.mHoldLast = holdLast;
    image.mSheetWidth = sheetWidth;
    image.mSheetHeight = sheetHeight;
    image.mFileName = (useDataFolder ? dataFolder : std::string()) + sheet;
    if (frames < 0) GetLogger()->LogMessage("Frame object %s: no \"frames\", nothing to play", GetName().c_str());
    image.SetFrameRange(frameTime, frames, TruncToInt(mWidth), TruncToInt(mHeight));
    PlaceSprite(image.GetImage(), GetX(), GetY());
    image.SetScale(mScaleX);
}

void TCadrObject::LoadResources()
{
    TObject::LoadResources();
    if (mCadrImage) LoadSheet(mCadrImage->GetImage(), mCadrImage->mFileName, mCheckOnlyBounds);
}

void TCadrObject::FreeResources()
{
    TObject::FreeResources();
    if (mCadrImage) mCadrImage->GetImage().FreeTexture();
}

bool TCadrObject::Update(float dt)
{
    TObject::Update(dt);
    if (mCadrImage) {
        PlaceSprite(mCadrImage->GetImage(), GetX(), GetY());
        mCadrImage->Update(dt);
        // Turning gives the sprite its own centre, which then places it by that centre: an
        // unturned sheet keeps its corner on the object's position.
        if (mCadrImage->GetAngle() != mAngle) mCadrImage->SetAngle(mAngle);
    }
    return false;
}

void TCadrObject::Draw(float alphaFactor)
{
    if (!IsVisible()) return;
    TObject::Draw(alphaFactor);
    if (mCadrImage) mCadrImage->Draw(mAlpha * alphaFactor);
}

void TCadrObject::SetPosition(float x, float y, bool moveChildren)
{
    if (mCadrImage) PlaceSprite(mCadrImage->GetImage(), x, y);
    TObject::SetPosition(x, y, moveChildren);
}

void TCadrObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mActive = true;
    if (mCadrImage) mCadrImage->Play(mLoops);
    PlayNamedSound(mSoundName);
}

void TCadrObject::Deactivate(int count, int x, int y)
{
    TObject::Deactivate(count, x, y);
    mActive = false;
    if (mCadrImage) mCadrImage->Stop();
    StopNamedSound(mSoundName);
}

// Neither the children nor the transform centre are visited here.
void TCadrObject::OnSpaceFirstShown()
{
    if (IsActive()) Activate(0, 0, 0);
}

void TCadrObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    if (mCadrImage) mCadrImage->SaveState(buffer);
}

void TCadrObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    if (!mCadrImage) return;
    if (!StateRefused()) {
        mCadrImage->LoadState(buffer);
        return;
    }
    // The sheet's part of a refused record is read past through a sheet of the same kind.
    std::unique_ptr<TCadrImage> standIn;
    if (dynamic_cast<TTimeCadrImage*>(mCadrImage.Get()))
        standIn = std::make_unique<TTimeCadrImage>();
    else
        standIn = std::make_unique<TCadrImage>();
    standIn->LoadState(buffer);
}

// ---------------------------------------------------------------- countdown

TDoubleHOCadrObject::~TDoubleHOCadrObject() = default;

void TDoubleHOCadrObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TCadrObject::LoadXml(element, dataFolder);
    mCountdown = GetAttrFloat(element, "time", 0.0f);
}

void TDoubleHOCadrObject::Activate(int count, int x, int y)
{
    TCadrObject::Activate(count, x, y);
    mRemaining = mCountdown;
}

void TDoubleHOCadrObject::Deactivate(int count, int x, int y)
{
    TCadrObject::Deactivate(count, x, y);
    mRemaining = 0.0f;
}

bool TDoubleHOCadrObject::Update(float dt)
{
    if (mRemaining == 0.0f) return false;
    TCadrObject::Update(dt);
    if (mRemaining >= 0.0f) {
        mRemaining -= dt;
        if (mRemaining < 0.0f) mRemaining = 0.0f;
    }
    PlayNamedSoundOnce(kTickingSound);
    return false;
}

void TDoubleHOCadrObject::SaveState(TBaseBuffer& buffer)
{
    TCadrObject::SaveState(buffer);
    float milli = mRemaining * 1000.0f;
    if (!(milli < 2147483520.0f)) milli = 2147483520.0f;  // the largest float below 2^31
    if (!(milli > 0.0f)) milli = 0.0f;
    buffer.WriteInt32(static_cast<int32_t>(milli));
}

void TDoubleHOCadrObject::LoadState(TBaseBuffer& buffer)
{
    TCadrObject::LoadState(buffer);
    const int32_t milli = buffer.ReadInt32();
    if (StateRefused()) return;
    // A countdown past an hour would tick for good.
    const bool usable = milli >= 0 && IsUsableSeconds(milli / 1000.0);
    if (!usable) GetLogger()->LogMessage("Countdown %s: saved time %d refused", GetName().c_str(), milli);
    mRemaining = usable ? static_cast<float>(milli) / 1000.0f : 0.0f;
}

// ---------------------------------------------------------------- animation with moves

TAnimObject::~TAnimObject() = default;

void TAnimObject::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TObject::LoadXml(element, dataFolder);
    mPlaying = GetAttrBool(element, "play", false);
    mCadrImage.mFileName = dataFolder + GetAttrString(element, "filename", "");
    const int frameWidth = GetAttrInt(element, "cadr_width", -1);
    const int frameHeight = GetAttrInt(element, "cadr_height", -1);
    const int frames = GetAttrInt(element, "frames", -1);
    const float frameTime = GetAttrFloat(element, "speed", 0.0f);
    mCadrImage.mSheetWidth = GetAttrInt(element, "tw", 0);
    mCadrImage.mSheetHeight = GetAttrInt(element, "th", 0);
    const bool test = GetAttrBool(element, "test", false);
    if (frames < 0) GetLogger()->LogMessage("Animation %s: no \"frames\", nothing to play", GetName().c_str());
    mCadrImage.SetFrameRange(frameTime, frames, frameWidth, frameHeight);
    StaticImage& sprite = mCadrImage.GetImage();
    PlaceSprite(sprite, GetX(), GetY());
    sprite.SetScale(mScaleX);
    sprite.SetVisible(IsVisible());
    if (test) {
        mPlaying = false;
        mActive = true;
    } else {
        // Started and stopped again unless it plays, so that it rests on its first frame.
        mCadrImage.Play(-1);
        if (!mPlaying) mCadrImage.Stop();
    }
    LoadMoveData(element);
    StartMoves();
}

void TAnimObject::LoadMoveData(TiXmlElement* element)
{
    mMoves.clear();
    if (!element) return;
    const StaticImage& sprite = mCadrImage.GetImage();
    for (TiXmlElement* e = element->FirstChildElement("movedat"); e; e = e->NextSiblingElement("movedat")) {
        TAnimMove move;
        move.mPause = GetAttrFloat(e, "pause", 0.0f);
        move.mSpread = GetAttrFloat(e, "diff", 0.0f);
        if (GetAttrBool(e, "sflp", false)) {
            move.mStartX = mMoves.empty() ? TruncToInt(sprite.GetX()) : mMoves.back().mEndX;
            move.mStartY = mMoves.empty() ? TruncToInt(sprite.GetY()) : mMoves.back().mEndY;
        } else {
            move.mStartX = GetAttrInt(e, "startX", 0);
            move.mStartY = GetAttrInt(e, "startY", 0);
        }
        move.mEndX = GetAttrInt(e, "endX", 0);
        move.mEndY = GetAttrInt(e, "endY", 0);
        move.mDuration = GetAttrFloat(e, "time", 0.0f);
        move.mStopFrames = GetAttrBool(e, "dont_move", true);
        mMoves.push_back(move);
    }
}

void TAnimObject::StartMoves()
{
    if (mMoves.empty() || mMoving || mWaiting) return;
    mMoveIndex = -1;
    NextMove();
}

void TAnimObject::NextMove()
{
    if (mMoves.empty()) return;
    mWaiting = true;
    ++mMoveIndex;
    if (mMoveIndex < 0 || static_cast<size_t>(mMoveIndex) >= mMoves.size()) mMoveIndex = 0;
    const TAnimMove& move = mMoves[static_cast<size_t>(mMoveIndex)];
    const float wait = RandomFloat(move.mPause - move.mSpread, move.mPause + move.mSpread);
    mPauseTimer.StartUnit(std::fabs(wait));
    if (move.mStopFrames) StopAnimation();
}

void TAnimObject::StopAnimation()
{
    mPlaying = false;
    mCadrImage.Stop();
}

void TAnimObject::Restart()
{
    mPlaying = true;
    mCadrImage.Play(-1);
}

bool TAnimObject::Update(float dt)
{
    if (!mActive) return false;
    TObject::Update(dt);
    const bool validMove = mMoveIndex >= 0 && static_cast<size_t>(mMoveIndex) < mMoves.size();
    if (mWaiting && validMove) {
        if (mPauseTimer.Update(dt)) {
            mMoving = true;
            mWaiting = false;
            const TAnimMove move = mMoves[static_cast<size_t>(mMoveIndex)];
            if (move.mStopFrames) Restart();
            OnLineMoveStep(move.mStartX, move.mStartY, move.mEndX, move.mEndY, move.mDuration);
        }
    } else if (mMoving) {
        mMoving = AdvanceMove(dt);
    }
    mCadrImage.Update(dt);
    return false;
}

void TAnimObject::OnLineMoveStep(int, int, int, int, float) {}

bool TAnimObject::AdvanceMove(float /*dt*/) { return false; }

void TAnimObject::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    mActive = true;
    Restart();
}

void TAnimObject::Draw(float alphaFactor)
{
    TObject::Draw(alphaFactor);
    DrawAnimation();
}

void TAnimObject::DrawAnimation()
{
    if (mActive) mCadrImage.Draw(1.0f);
}

void TAnimObject::SetVisible(bool visible)
{
    TObject::SetVisible(visible);
    mCadrImage.GetImage().SetVisible(visible);
}

void TAnimObject::LoadResources() { mCadrImage.GetImage().SetTexture(mCadrImage.mFileName); }

void TAnimObject::FreeResources() { mCadrImage.GetImage().FreeTexture(); }

void TAnimObject::SaveMoveState(TBaseBuffer& buffer)
{
    buffer.WriteByte(mMoveIndex & 0xFF);
    buffer.WriteByte((mMoveIndex >> 8) & 0xFF);
    buffer.WriteByte(mPlaying ? 1 : 0);
    buffer.WriteByte(mMoving ? 1 : 0);
    buffer.WriteByte(mWaiting ? 1 : 0);
    buffer.WriteByte(mActive ? 1 : 0);
}

void TAnimObject::ReadMoveState(TBaseBuffer& buffer)
{
    const int low = buffer.ReadByte() & 0xFF;
    const int high = buffer.ReadByte() & 0xFF;
    const bool playing = buffer.ReadByte() != 0;
    const bool moving = buffer.ReadByte() != 0;
    const bool waiting = buffer.ReadByte() != 0;
    const bool active = buffer.ReadByte() != 0;
    if (StateRefused()) return;
    mMoveIndex = low | (high << 8);
    mPlaying = playing;
    mMoving = moving;
    mWaiting = waiting;
    mActive = active;
    // The wait is not saved: a restored wait ends at the first update.
    mPauseTimer = IncValue();
}

void TAnimObject::SettleRestoredState()
{
    if (static_cast<size_t>(mMoveIndex) >= mMoves.size()) {
        if (!mMoves.empty())
            GetLogger()->LogMessage("Animation %s: saved move %d of %d, the moves start over", GetName().c_str(),
                                    mMoveIndex, static_cast<int>(mMoves.size()));
        mMoving = false;
        mWaiting = false;
        StartMoves();
    }
    mCadrImage.GetImage().SetVisible(IsVisible());
    if (mPlaying)
        mCadrImage.Play(-1);
    else
        mCadrImage.Stop();
}

void TAnimObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    SaveMoveState(buffer);
}

void TAnimObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    ReadMoveState(buffer);
    if (!StateRefused()) SettleRestoredState();
}

// ---------------------------------------------------------------- line-moving animation

TLineMovingAnimObject::~TLineMovingAnimObject() = default;

void TLineMovingAnimObject::OnLineMoveStep(int startX, int startY, int endX, int endY, float duration)
{
    mLine.StartSegment(static_cast<float>(startX), static_cast<float>(startY), static_cast<float>(endX),
                       static_cast<float>(endY), duration, 0.0f, 0, false);
}

bool TLineMovingAnimObject::AdvanceMove(float dt)
{
    mLine.Update(dt);
    PlaceSprite(mCadrImage.GetImage(), mLine.mX, mLine.mY);
    if (mLine.mFinished) {
        NextMove();
        return false;
    }
    return true;
}

void TLineMovingAnimObject::SaveState(TBaseBuffer& buffer)
{
    TAnimObject::SaveState(buffer);
    mLine.SaveState(&buffer);
}

void TLineMovingAnimObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    ReadMoveState(buffer);
    TLineMover line = mLine;
    line.LoadState(&buffer);
    if (StateRefused()) return;
    mLine = line;
    SettleRestoredState();
}

// ---------------------------------------------------------------- trajectory sprite

TrajectoryMoverCadrImage2Object::~TrajectoryMoverCadrImage2Object() = default;

void TrajectoryMoverCadrImage2Object::LoadXml(TiXmlElement* element, const std::string& dataFolder)
{
    TrajectoryMoverCadrImage2::LoadXml(element, dataFolder);
}

bool TrajectoryMoverCadrImage2Object::Update(float dt)
{
    TrajectoryMoverCadrImage2::Update(dt);
    return TObject::Update(dt);
}

void TrajectoryMoverCadrImage2Object::Draw(float alphaFactor) { TrajectoryMoverCadrImage2::Draw(alphaFactor); }
