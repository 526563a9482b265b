#include "graphics/cadr_image.h"

#include <tinyxml.h>

#include <climits>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/xml_attributes.h"
#include "graphics/tweens.h"

namespace {


// Advances a frame index toward its list's end; anything at or past the end (a damaged
// state, a start frame beyond the sheet) ends the pass without ever overflowing.
bool StepPastEnd(int& index, int count)
{
    if (index >= count) return true;
    ++index;
    return index >= count;
}

}  // namespace

void TCadrImage::LoadXml(TiXmlElement* element, bool loadTexture, const std::string& prefix)
{
    if (!element) return;
    mImage.SetPosition(static_cast<float>(GetAttrInt(element, "x", 0)),
                       static_cast<float>(GetAttrInt(element, "y", 0)), false);
    mFileName = prefix + GetAttrString(element, "filename", "");
    int frames = GetAttrInt(element, "frames", 0);
    float frameTime = GetAttrFloat(element, "speed", 0.0f);
    int frameWidth = GetAttrInt(element, "cadrw", 0);
    int frameHeight = GetAttrInt(element, "cadrh", 0);
    mSheetWidth = GetAttrInt(element, "tw", 0);
    mSheetHeight = GetAttrInt(element, "th", 0);
    mStartFrame = GetAttrInt(element, "startcadr", 0);
    mImage.mTransform.mBlendMode = GetAttrBool(element, "additive", false) ? kBlendAdd : kBlendAlpha;

    float scale = GetAttrFloat(element, "scale", 1.0f);
    if (scale == 0.0f)
        SetScaleXY(GetAttrFloat(element, "scalex", 1.0f), GetAttrFloat(element, "scaley", 1.0f));
    else
        SetScale(scale);
    // No frame is cut yet, so this keeps the rotation centre as it is.
    SetAngle(GetAttrFloat(element, "angle", 0.0f) * kDegToRad);

    int centreX = GetAttrInt(element, "centerx", 0);
    int centreY = GetAttrInt(element, "centery", 0);
    if (centreX > 0 || centreY > 0) {
        mImage.mTransform.mCentreX = static_cast<float>(centreX);
        mImage.mTransform.mCentreY = static_cast<float>(centreY);
        mImage.mTransform.mFlags |= kDrawCentre;
        mImage.mOwnCentre = true;
    }

    // The texture's width cuts the sheet, so it comes before the frames.
    if (loadTexture) mImage.SetTexture(mFileName);
    SetFrameRange(frameTime, frames, frameWidth, frameHeight);
}

void TCadrImage::SetFrameRange(float frameTime, int frames, int frameWidth, int frameHeight)
{
    if (frames > kMaxFrames) {
        GetLogger()->LogMessage("Animation %s: frames %d clamped to %d", mFileName.c_str(), frames, kMaxFrames);
        frames = kMaxFrames;
    }
    mFrameTime = frameTime;
    mFrames = frames;
    mFrameWidth = frameWidth;
    mFrameHeight = frameHeight;
    mElapsed = 0.0f;
    mCurrent = mStartFrame;
    mPlaying = false;
    mDone = false;
    BuildFrames();
    ShowFrame(mCurrent);
}

void TCadrImage::BuildFrames()
{
    mRects.clear();
    if (mFrames <= 0) return;
    mRects.reserve(static_cast<size_t>(mFrames));
    const TTexture* texture = mImage.GetTexture();
    long long sheetWidth = texture && texture->GetWidth() > 0 ? texture->GetWidth() : mSheetWidth;
    long long w = mFrameWidth, h = mFrameHeight;
    long long columns = (w == 0 || h == 0) ? 0 : sheetWidth / w;
    for (int i = 0; i < mFrames; ++i) {
        TCadrRect r;
        r.w = mFrameWidth;
        r.h = mFrameHeight;
        if (columns != 0) {
            r.x = ClampToInt(w * (i % columns));
            r.y = ClampToInt(h * (i / columns));
        }
        mRects.push_back(r);
    }
}

void TCadrImage::ShowFrame(int i)
{
    if (i < 0 || static_cast<size_t>(i) >= mRects.size()) return;
    const TCadrRect& r = mRects[static_cast<size_t>(i)];
    DrawTransform& t = mImage.mTransform;
    t.SetSourceRect(r.x, r.y, r.w, r.h);
}

void TCadrImage::SetFrame(int i)
{
    mCurrent = i;
    if (mRects.empty()) BuildFrames();
    ShowFrame(i);
}

void TCadrImage::Play(int loops)
{
    if (mRects.empty()) return;
    mDone = false;
    mCurrent = mStartFrame;
    mElapsed = 0.0f;
    ShowFrame(mCurrent);
    mLoops = loops;
    mLoopsDone = 0;
    mPlaying = true;
}

bool TCadrImage::Update(float dt)
{
    if (!mPlaying) return true;
    mElapsed += dt;
    if (mElapsed < mFrameTime) return false;
    // The remainder is dropped: one frame per update at most.
    mElapsed = 0.0f;
    if (StepPastEnd(mCurrent, mFrames)) {
        if (mLoops == -1) {
            mCurrent = 0;
        } else {
            if (mLoopsDone < INT_MAX) ++mLoopsDone;
            // Equality, not "at least": Play (0) counts on forever.
            if (mLoopsDone == mLoops) {
                mLoopsDone = 0;
                mPlaying = false;
                mDone = true;
            }
            // Every counted pass ends here, not only the last one.
            mCurrent = mHoldLast ? mFrames - 1 : 0;
        }
    }
    ShowFrame(mCurrent);
    return false;
}

void TCadrImage::SetAngle(float radians)
{
    mImage.SetAngle(radians);
    DrawTransform& t = mImage.mTransform;
    if (t.mSrcW > 0.0f) {
        t.mCentreX = static_cast<float>(TruncToInt(t.mSrcX + t.mSrcW * 0.5f));
        t.mCentreY = static_cast<float>(TruncToInt(t.mSrcY + t.mSrcH * 0.5f));
        t.mFlags |= kDrawCentre;
        mImage.mOwnCentre = true;
    }
}

void TCadrImage::SaveState(TBaseBuffer& buffer) const
{
    buffer.WriteByte(mPlaying ? 1 : 0);
    buffer.WriteMilli(mElapsed);
    buffer.WriteInt32(mCurrent);
    buffer.WriteInt32(mLoopsDone);
    buffer.WriteInt32(mLoops);
}

void TCadrImage::LoadState(TBaseBuffer& buffer)
{
    mPlaying = buffer.ReadByte() != 0;
    mElapsed = buffer.ReadMilli();
    // A frame outside the sheet is kept: it shows nothing and wraps at the next advance.
    mCurrent = buffer.ReadInt32();
    mLoopsDone = buffer.ReadInt32();
    mLoops = buffer.ReadInt32();
    if (mPlaying) ShowFrame(mCurrent);
}

void TTimeCadrImage::LoadFrameTimes(TiXmlElement* element)
{
    std::vector<std::string> parts;
    GetAttrList(element, "ctime", ',', parts);
    for (const std::string& part : parts) mDurations.push_back(ParseFloatClamped(part.c_str()));
    mCursor = 0;
}

void TTimeCadrImage::StartFrameTimer()
{
    if (mCursor >= 0 && static_cast<size_t>(mCursor) < mDurations.size() && mDurations[mCursor] > 0.0f)
        mTimer.Start(mDurations[mCursor]);
}

void TTimeCadrImage::Play(int loops)
{
    mCursor = 0;
    mFrameIndex = 0;
    mTimer.Stop();
    SetFrame(0);
    // Without durations there is nothing to time: frame 0 stays and the animation is idle.
    if (mDurations.empty()) {
        mTimedPlaying = false;
        return;
    }
    mLoopsLeft = loops;
    mTimedPlaying = true;
    StartFrameTimer();
}

bool TTimeCadrImage::Update(float dt)
{
    if (!mTimedPlaying) return true;
    // An idle timer (a duration of 0 or below) lets the frame go after this one update.
    if (!mTimer.Update(dt)) return false;
    ++mCursor;
    if (mCursor < 0 || static_cast<size_t>(mCursor) >= mDurations.size()) {
        if (mLoopsLeft != -1) {
            int was = mLoopsLeft;
            if (mLoopsLeft > INT_MIN) --mLoopsLeft;
            if (was == 1) {
                Stop();
                return true;
            }
        }
        mCursor = 0;
    }
    // By comparison, never '%': a sheet without rectangles would divide by zero.
    int count = static_cast<int>(GetFrameRects().size());
    mFrameIndex = mFrameIndex >= count - 1 ? 0 : mFrameIndex + 1;
    SetFrame(mFrameIndex);
    StartFrameTimer();
    return false;
}

void TTimeCadrImage::SaveState(TBaseBuffer& buffer) const
{
    TCadrImage::SaveState(buffer);
    buffer.WriteInt32(mFrameIndex);
    buffer.WriteInt32(mLoopsLeft);
    buffer.WriteByte(mTimedPlaying ? 1 : 0);
    buffer.WriteInt32(mCursor);
}

void TTimeCadrImage::LoadState(TBaseBuffer& buffer)
{
    TCadrImage::LoadState(buffer);
    mFrameIndex = buffer.ReadInt32();
    mLoopsLeft = buffer.ReadInt32();
    mTimedPlaying = buffer.ReadByte() != 0;
    mCursor = buffer.ReadInt32();
    if (mCursor < 0 || static_cast<size_t>(mCursor) >= mDurations.size()) {
        if (!mDurations.empty())
            GetLogger()->LogMessage("Animation %s: saved duration %d of %d reset to 0", mFileName.c_str(), mCursor,
                                    static_cast<int>(mDurations.size()));
        mCursor = 0;
    }
    mTimer.Stop();
    if (mDurations.empty()) {
        mTimedPlaying = false;
        return;
    }
    if (!mTimedPlaying) return;
    // The elapsed time of the frame is not saved: it shows for its whole duration again.
    SetFrame(mFrameIndex);
    StartFrameTimer();
}

void TCadrImage2::LoadXml(TiXmlElement* element, bool loadTextures)
{
    if (!element) return;
    Clear();
    mFrameTime = GetAttrFloat(element, "time", 0.2f);
    float x = static_cast<float>(GetAttrInt(element, "x", 0));
    float y = static_cast<float>(GetAttrInt(element, "y", 0));
    float scaleX = GetAttrFloat(element, "scalex", 1.0f);
    float scaleY = GetAttrFloat(element, "scaley", 1.0f);
    mAlpha = GetAttrFloat(element, "a", 1.0f);
    mAngle = GetAttrFloat(element, "angle", 0.0f) * kDegToRad;
    for (TiXmlElement* item = element->FirstChildElement("item"); item; item = item->NextSiblingElement("item")) {
        std::unique_ptr<TCadrFrame> frame(new TCadrFrame());
        frame->mName = GetAttrString(item, "name", "");
        frame->mImage.mTextureName = frame->mName;
        frame->mX = GetAttrInt(item, "x", 0);
        frame->mY = GetAttrInt(item, "y", 0);
        if (loadTextures) frame->mImage.SetTexture(frame->mName);
        mFrames.push_back(std::move(frame));
    }
    SetPosition(x, y, false);
    SetScaleXY(scaleX, scaleY);
    SetBlendAdditive(GetAttrBool(element, "additive", false));
}

void TCadrImage2::LoadTextures()
{
    for (auto& frame : mFrames) frame->mImage.SetTexture(frame->mName);
}

void TCadrImage2::FreeTextures()
{
    for (auto& frame : mFrames) frame->mImage.FreeTexture();
}

void TCadrImage2::SetBlendAdditive(bool additive)
{
    for (auto& frame : mFrames) frame->mImage.mTransform.mBlendMode = additive ? kBlendAdd : kBlendAlpha;
}

void TCadrImage2::Clear()
{
    mFrames.clear();
}

void TCadrImage2::SetPosition(float x, float y, bool centred)
{
    DrawObject::SetPosition(x, y, centred);
    for (auto& frame : mFrames) {
        frame->mOffsetX = x;
        frame->mOffsetY = y;
        frame->mCentred = centred;
    }
}

void TCadrImage2::SetScaleXY(float sx, float sy)
{
    DrawObject::SetScaleXY(sx, sy);
    for (auto& frame : mFrames) frame->mImage.SetScaleXY(sx, sy);
}

void TCadrImage2::Restart()
{
    mElapsed = 0.0f;
    mCurrent = 0;
    mPlaying = true;
}

bool TCadrImage2::Update(float dt)
{
    if (!mPlaying) return true;
    int count = static_cast<int>(mFrames.size());
    mElapsed += dt;
    if (mElapsed >= mFrameTime) {
        mElapsed = 0.0f;
        // The sequence never stops by itself: it holds its last item or starts again.
        if (StepPastEnd(mCurrent, count)) mCurrent = mHoldLast ? count - 1 : 0;
    }
    if (mCurrent >= 0 && mCurrent < count) mFrames[static_cast<size_t>(mCurrent)]->mAngle = mAngle;
    return false;
}

void TCadrImage2::Draw(float alphaFactor)
{
    if (!mPlaying || mCurrent < 0 || static_cast<size_t>(mCurrent) >= mFrames.size()) return;
    TCadrFrame& frame = *mFrames[static_cast<size_t>(mCurrent)];
    frame.mImage.SetAngle(frame.mAngle);
    frame.mImage.SetPosition(frame.mOffsetX + static_cast<float>(frame.mX),
                             frame.mOffsetY + static_cast<float>(frame.mY), frame.mCentred);
    frame.mImage.Draw(mAlpha * alphaFactor);
}
