#include "objects/movie_objects.h"

#include <SDL.h>
#include <tinyxml.h>

#include <cmath>
#include <cstdint>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "graphics/texture_cache.h"
#include "objects/infrared_objects.h"
#include "rooms/executer.h"
#include "rooms/game_event.h"
#include "rooms/game_space.h"
#include "rooms/scene_listeners.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/tool.h"

namespace {

void PostMovieEvent(const char* name, const std::string& parameter = std::string())
{
    PostGameEvent(TGameEvent(name, 0, parameter), false);
}

// Items at ';', each a name and a time in seconds at ','. An item of any other shape keeps
// its place in the list with an empty name at 0 s.
void ReadTimedList(const std::string& text, std::vector<TVideoTimedEntry>& out)
{
    out.clear();
    for (const std::vector<std::string>& parts : SplitGroups(text, ';', ',')) {
        TVideoTimedEntry entry;
        if (parts.size() == 2) {
            entry.mName = parts[0];
            entry.mTime = ParseFloatClamped(parts[1].c_str());
        }
        out.push_back(entry);
    }
}

// The record keeps these counters in 16 bits: a larger one is stored at the limit, never wrapped.
int32_t SavedWord(int32_t value, const char* what, const std::string& object)
{
    if (value >= INT16_MIN && value <= INT16_MAX) return value;
    GetLogger()->LogMessage("Movie %s: %s %d does not fit its record, %d stored", object.c_str(), what, value,
                            value < 0 ? INT16_MIN : INT16_MAX);
    return value < 0 ? INT16_MIN : INT16_MAX;
}

bool WithinList(const std::vector<TVideoTimedEntry>& list, int32_t index)
{
    return index >= 0 && static_cast<size_t>(index) < list.size();
}

}  // namespace

// ---- The movie object.

TVideoObject::TVideoObject() = default;

TVideoObject::~TVideoObject() = default;

void TVideoObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mMaxActivations = GetAttrInt(e, "maxcountactive", -1);
    mLoop = GetAttrInt(e, "loop", 1);
    mWithAlpha = GetAttrBool(e, "withalpha", false);
    mStretch = GetAttrBool(e, "stretch", false);
    mFpsOverride = GetAttrFloat(e, "fps", 0.0f);
    mFirstFrameOnLoad = GetAttrBool(e, "getfirstframeonload", true);
    mHideInterface = GetAttrBool(e, "hideinterf", false);
    mRestoreInterface = GetAttrBool(e, "restoreinterf", true);
    mShowFrame = GetAttrBool(e, "showframe", mHideInterface);
    mHideFrame = GetAttrBool(e, "hideframe", true);
    mLoadIfPlayed = GetAttrBool(e, "loadifplayed", true);
    mLockLocation = GetAttrBool(e, "locklocation", false);
    mUnlockLocation = GetAttrBool(e, "unlocklocation", true);
    mRepeatTime = GetAttrFloat(e, "repeattime", 0.0f);
    mRepeatSpread = GetAttrFloat(e, "repeatrand", 0.0f);
    mCheckCoords = GetAttrBool(e, "checkcoords", false);
    ReadTimedList(GetAttrString(e, "monologs", ""), mMonologs);
    ReadTimedList(GetAttrString(e, "sounds", ""), mSounds);
    // The threshold itself was read with the object's keys; its mere presence asks for hit tests.
    if (e && e->Attribute("testalpha"))
        mCheckCoords = true;
    else
        mAlphaThreshold = 0;
}

int TVideoObject::GetFrameWidth() const
{
    if (!mDecoder) return 0;
    const int width = mDecoder->GetPictureWidth();
    return mWithAlpha ? width / 2 : width;
}

void TVideoObject::StartMovie(const std::string& path, bool stretch, int32_t loop, bool withAlpha)
{
    // An open movie stays open.
    if (mTexture) return;
    mDecoder = std::make_unique<TVideoWindow>();
    mDecoder->mListener = this;
    mWithAlpha = withAlpha;
    mLoop = loop;
    mDecoder->mLoops = loop;
    mClickDelayCountdown = 0.0f;
    const float fileRate = mDecoder->Open(path);
    const float rate = mFpsOverride != 0.0f ? mFpsOverride : fileRate;
    if (rate == 0.0f) {
        GetLogger()->LogDebug("Failed to initialize movie: %s", path.c_str());
        return;
    }
    mFrameTime = 1.0f / rate;
    const int frameWidth = GetFrameWidth();
    const int frameHeight = mDecoder->GetPictureHeight();
    if (mWidth == 0.0f) mWidth = static_cast<float>(frameWidth);
    if (mHeight == 0.0f) mHeight = static_cast<float>(frameHeight);
    mTexture = CreateBlankTexture(frameWidth, frameHeight, 1, SDL_PIXELFORMAT_ARGB8888);
    if (!mTexture) return;
    mStretch = stretch;
    mFinished = false;
}

void TVideoObject::UploadCurrentFrame()
{
    const bool recordAlpha = mCheckCoords && mAlphaThreshold != 0;
    if (mWithAlpha)
        mDecoder->UploadFrameWithAlpha(mTexture, recordAlpha);
    else
        mDecoder->UploadFrame(mTexture, recordAlpha);
}

void TVideoObject::ShowFirstFrame()
{
    if (mTexture && mDecoder && mDecoder->DecodeUntil(0.0f)) UploadCurrentFrame();
}

void TVideoObject::LoadResources()
{
    // No picture of its own, and its children load nothing.
    if (!mLoadIfPlayed && mPlayed) return;
    StartMovie(mImagePath, mStretch, mLoop, mWithAlpha);
    if (mFirstFrameOnLoad) ShowFirstFrame();
}

void TVideoObject::FreeResources()
{
    mDecoder.reset();
    mTexture.Reset();
}

void TVideoObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    if (mMaxActivations != -1 && mActivations > mMaxActivations) return;
    StartMovie(mImagePath, mStretch, mLoop, mWithAlpha);
    if (mHideInterface) PostMovieEvent("hideinterf");
    if (mLockLocation) PostMovieEvent("locklocation");
    if (mShowFrame) PostMovieEvent("showframe");
    mActive = true;
    mClock = 0.0f;
    mFrameAccumulator = 0.0f;
    mClickDelayCountdown = 0.0f;
    if (mActivations < INT32_MAX) ++mActivations;
    mMonologIndex = 0;
    mSoundIndex = 0;
}

void TVideoObject::PostTimedEntry(std::vector<TVideoTimedEntry>& list, int32_t& index, const char* event)
{
    if (!WithinList(list, index)) return;
    const TVideoTimedEntry& entry = list[static_cast<size_t>(index)];
    if (mClock < entry.mTime) return;
    PostMovieEvent(event, entry.mName);
    ++index;
}

void TVideoObject::AdvanceRepeatTimer(float dt)
{
    if (!mRepeatTimer.mRunning) return;
    if (mRepeatTimer.Update(dt)) Activate(0, 0, 0);
}

bool TVideoObject::Update(float dt)
{
    TObject::Update(dt);
    if (!IsVisible()) return false;
    UpdateMovie(dt);
    return false;
}

void TVideoObject::UpdateMovie(float dt)
{
    if (mActive) {
        if (!mTexture || !mDecoder) return;
        mClock += dt;
        PostTimedEntry(mSounds, mSoundIndex, "play_sound");
        PostTimedEntry(mMonologs, mMonologIndex, "videomonolog");
        mFrameAccumulator += dt;
        if (mFrameAccumulator < mFrameTime) return;
        mFrameAccumulator = 0.0f;
        // Frames before the clock are skipped: slow updates drop frames, never slow the movie.
        const bool decoded = mDecoder->DecodeUntil(mClock);
        if (mLockLocation) PostMovieEvent("locklocation");
        if (!decoded) return;
        if (mDecoder->mRewound) {
            mClock = 0.0f;
            mDecoder->mRewound = false;
        }
        if (!mDecoder->IsPlaying()) {
            mDecoder.reset();
            mTexture.Reset();
            mFinished = true;
            FinishPlayback();
            return;
        }
        UploadCurrentFrame();
    } else if (mRepeatTime > 0.0f && !mRepeatTimer.mRunning && mPlayed) {
        mRepeatTimer.Set(0.0f, 1.0f, mRepeatTime + RandomFloat(-mRepeatSpread, mRepeatSpread), true);
    }
    AdvanceRepeatTimer(dt);
}

void TVideoObject::FinishPlayback()
{
    if (mHideInterface && mRestoreInterface) PostMovieEvent("showinterf");
    if (mLockLocation && mUnlockLocation) PostMovieEvent("unlocklocation");
    if (mHideFrame) PostMovieEvent("hideframe");
    if (mMovieListener) mMovieListener->OnPlaybackFinished();
    // Every completed playback uses two clicks; with none left the object stays active.
    if (static_cast<int64_t>(mClickCounter) >= static_cast<int64_t>(mMaxClicks) - 1) return;
    ++mClickCounter;
    mPlayed = true;
    mClock = 0.0f;
    mClickDelayCountdown = 0.0f;
    mFrameAccumulator = 0.0f;
    mActive = false;
    UseToolRecord(mClickCounter, mAfterEventToolRecords);
    RunEventReactions(0);
    if (mClickExecuter) mClickExecuter->OnClick(this, TSceneMouseEvent());
    if (mListener) mListener->OnObjectActivated(this);
    ++mClickCounter;
}

void TVideoObject::MarkFinishedWithoutFrame()
{
    mFinished = true;
    if (mDecoder) mDecoder->ClearUploaded();
}

void TVideoObject::OnLoopCompleted(int loopsDone)
{
    if (mMovieListener) mMovieListener->OnVideoFinished(loopsDone);
}

void TVideoObject::Draw(float /*alphaFactor*/) { DrawMovieFrame(); }

void TVideoObject::DrawMovieFrame()
{
    if (!IsVisible() || !mActive || !mTexture || !mDecoder || !mDecoder->IsUploaded()) return;
    const TAppState& app = GetAppState();
    DrawTransform t;
    const int frameWidth = GetFrameWidth();
    const int frameHeight = mDecoder->GetPictureHeight();
    if (mStretch && frameWidth > 0 && frameHeight > 0)
        t.mMatrix.Scale(mWidth / static_cast<float>(frameWidth), mHeight / static_cast<float>(frameHeight));
    t.mMatrix.m[6] = GetX() + static_cast<float>(app.mOffsetX);
    t.mMatrix.m[7] = GetY() + static_cast<float>(app.mOffsetY);
    t.mAlpha = mAlpha;
    t.mBlendMode = kBlendAlpha;
    mTexture->Draw(t);
}

bool TVideoObject::HitTestSelf(int px, int py)
{
    if (!mCheckCoords || !IsVisible() || !(mAlpha > 0.0f)) return false;
    const float fx = static_cast<float>(px);
    const float fy = static_cast<float>(py);
    if (fx < mX || fx >= mX + mWidth || fy < mY || fy >= mY + mHeight) return false;
    if (mAlphaThreshold == 0) return true;
    long long dx = static_cast<long long>(px) - TruncToInt(mX);
    long long dy = static_cast<long long>(py) - TruncToInt(mY);
    if (mStretch) {
        const int frameWidth = GetFrameWidth();
        const int frameHeight = mDecoder ? mDecoder->GetPictureHeight() : 0;
        if (mWidth > 0.0f) dx = TruncToInt(static_cast<double>(dx) * frameWidth / mWidth);
        if (mHeight > 0.0f) dy = TruncToInt(static_cast<double>(dy) * frameHeight / mHeight);
    }
    if (!mDecoder) return false;
    return mAlphaThreshold < mDecoder->AlphaAt(ClampToInt(dx), ClampToInt(dy));
}

void TVideoObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mReservedFlag);
    buffer.WriteByte(mFinished);
    buffer.WriteByte(mPlayed);
    buffer.WriteInt16(SavedWord(mActivations, "activation count", GetName()));
    buffer.WriteInt16(SavedWord(mMonologIndex, "monolog index", GetName()));
    buffer.WriteInt16(SavedWord(mSoundIndex, "sound index", GetName()));
    buffer.WriteMilli(mClock);
    buffer.WriteMilli(mFrameAccumulator);
    buffer.WriteMilli(mFrameTime);
    mRepeatTimer.SaveState(&buffer);
}

void TVideoObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool reservedFlag = buffer.ReadByte() != 0;
    const bool finished = buffer.ReadByte() != 0;
    const bool played = buffer.ReadByte() != 0;
    const int32_t activations = buffer.ReadInt16();
    const int32_t monologIndex = buffer.ReadInt16();
    const int32_t soundIndex = buffer.ReadInt16();
    const float clock = buffer.ReadMilli();
    const float frameAccumulator = buffer.ReadMilli();
    const float frameTime = buffer.ReadMilli();
    IncValue repeatTimer = mRepeatTimer;
    repeatTimer.LoadState(&buffer);
    if (StateRefused()) return;
    mReservedFlag = reservedFlag;
    mFinished = finished;
    mPlayed = played;
    mActivations = activations;
    mMonologIndex = monologIndex;
    mSoundIndex = soundIndex;
    mClock = clock;
    mFrameAccumulator = frameAccumulator;
    mFrameTime = frameTime;
    mRepeatTimer = repeatTimer;
}

// ---- The ghost.

TGhostObject::TGhostObject() = default;

TGhostObject::~TGhostObject() = default;

void TGhostObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TVideoObject::LoadXml(e, dataFolder);
    // Whatever the element says, a ghost is found with the catcher and keeps it in hand.
    mToolFlags.assign(1, std::vector<TFlagRef>(1));
    mToolFlags[0][0].mName = "findghost";
    mHoldToolAfterUse = 1;
    mSoundTool.clear();
    mHomeX = TruncToInt(GetX());
    mHomeY = TruncToInt(GetY());
}

void TGhostObject::LoadResources()
{
    if (mCaught) return;
    TVideoObject::LoadResources();
}

void TGhostObject::SetLens(int32_t offsetX, int32_t offsetY, const TexturePtr& lens)
{
    TLensTarget::SetLens(offsetX, offsetY, lens);
    if (!mDecoder) return;
    mDecoder->mMaskOffsetX = offsetX;
    mDecoder->mMaskOffsetY = offsetY;
    mDecoder->mMask = lens;
}

void TGhostObject::ClearLens()
{
    TLensTarget::ClearLens();
    if (!mDecoder) return;
    mDecoder->mMaskOffsetX = 0;
    mDecoder->mMaskOffsetY = 0;
    mDecoder->mMask.Reset();
    mDecoder->ClearLensCut();
}

void TGhostObject::Draw(float /*alphaFactor*/)
{
    if (!mLensActive || !mDecoder || !mDecoder->HasVisibleAlpha()) return;
    DrawMovieFrame();
}

bool TGhostObject::CarriesCatcher(const TSceneMouseEvent& event) const
{
    // Only the first name of "tool" counts; without one no tool matches.
    return event.mTool && !mNeededTools.empty() && event.mTool->GetCurrentName() == mNeededTools.front();
}

bool TGhostObject::OnMouseDown(const TSceneMouseEvent& event)
{
    if (!CarriesCatcher(event)) return false;
    if (!TObject::OnMouseDown(event)) return false;
    mCaught = true;
    return true;
}

bool TGhostObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    if (!CarriesCatcher(event)) return false;
    if (!TObject::OnMouseMove(event, hoverTaken)) return false;
    if (!mFlee.mActive) {
        const TIntPoint to = PickFleePoint();
        const float fromX = static_cast<float>(TruncToInt(GetX()));
        const float fromY = static_cast<float>(TruncToInt(GetY()));
        const float dx = static_cast<float>(to.x) - fromX;
        const float dy = static_cast<float>(to.y) - fromY;
        const TSpacesRegistry* registry = GetAppState().mSpacesRegistry;
        const float speed = registry && registry->mGhostSpeed > 0.0f ? registry->mGhostSpeed : 1.0f;
        const float duration = std::sqrt(dx * dx + dy * dy) * 0.002f / speed;
        mFlee.StartSegment(fromX, fromY, static_cast<float>(to.x), static_cast<float>(to.y), duration, 0.0f, 0,
                           false);
    }
    return true;
}

TIntPoint TGhostObject::PickFleePoint() const
{
    // The infrared object's rule: both take their area from the design size here.
    return TInfraredObject::PickFleePoint(mHomeX, mHomeY, TruncToInt(mWidth), TruncToInt(mHeight));
}

bool TGhostObject::Update(float dt)
{
    if (mFlee.mActive) {
        mFlee.Update(dt);
        SetPosition(mFlee.mX, mFlee.mY, true);
    }
    return TVideoObject::Update(dt);
}

void TGhostObject::SaveState(TBaseBuffer& buffer)
{
    TVideoObject::SaveState(buffer);
    buffer.WriteByte(mCaught);
}

void TGhostObject::LoadState(TBaseBuffer& buffer)
{
    TVideoObject::LoadState(buffer);
    const bool caught = buffer.ReadByte() != 0;
    if (!StateRefused()) mCaught = caught;
}

// ---- The wrapper that reacts to the end of its movie.

TFinishVideoWrapperObject::~TFinishVideoWrapperObject()
{
    // The movie is our child and goes with us, but not before it forgets us.
    if (!mChildren.empty())
        if (auto* movie = dynamic_cast<TVideoObject*>(mChildren.front().get()))
            if (movie->mMovieListener == this) movie->mMovieListener = nullptr;
}

void TFinishVideoWrapperObject::OnLoaded()
{
    // Without a movie as its first child the wrapper never fires.
    if (mChildren.empty()) return;
    if (auto* movie = dynamic_cast<TVideoObject*>(mChildren.front().get())) movie->mMovieListener = this;
}

void TFinishVideoWrapperObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mArmed = true;
}

void TFinishVideoWrapperObject::OnVideoFinished(int /*loopsDone*/)
{
    if (!mArmed) return;
    mArmed = false;
    mPending = true;
}

bool TFinishVideoWrapperObject::Update(float dt)
{
    TObject::Update(dt);
    if (mPending) {
        mPending = false;
        RunEventReactions(0);
    }
    return false;
}

void TFinishVideoWrapperObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteByte(mArmed);
    buffer.WriteByte(mPending);
}

void TFinishVideoWrapperObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const bool armed = buffer.ReadByte() != 0;
    const bool pending = buffer.ReadByte() != 0;
    if (StateRefused()) return;
    mArmed = armed;
    mPending = pending;
}
