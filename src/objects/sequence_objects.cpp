#include "objects/sequence_objects.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include <tinyxml.h>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"

// ---------------------------------------------------------------- child sequence

TCadrItemsObject::~TCadrItemsObject() = default;

void TCadrItemsObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mStepTimer.mDuration = GetAttrFloat(e, "speed", 0.0f);
    mLoopLimit = GetAttrInt(e, "count", 1);
    mShowOnFirstDisplay = GetAttrBool(e, "dovisibleonfirstenter", true);
    mShownIndex = 0;
}

void TCadrItemsObject::ShowChild(int32_t index)
{
    for (size_t i = 0; i < mChildren.size(); ++i)
        mChildren[i]->SetVisible(static_cast<int64_t>(i) == static_cast<int64_t>(index));
}

void TCadrItemsObject::Activate(int count, int x, int y)
{
    TObject::Activate(count, x, y);
    mActive = true;
    mLoopsDone = 0;
    // The shown index stays: a sequence stopped halfway goes on from where it was.
    mStepTimer.StartUnit(mStepTimer.mDuration);
    ShowChild(mShownIndex);
}

bool TCadrItemsObject::Update(float dt)
{
    if (!mActive) return false;
    TObject::Update(dt);
    // A timer at rest counts as ended: with "speed" 0 every update moves on one child.
    if (!mStepTimer.Update(dt)) return false;
    ++mShownIndex;
    if (static_cast<size_t>(mShownIndex) >= mChildren.size()) {
        // An endless sequence keeps counting passes: the count stops at its top.
        if (mLoopsDone < INT32_MAX) ++mLoopsDone;
        mShownIndex = 0;
        if (mLoopsDone == mLoopLimit && mLoopLimit != -1) {
            // The last child stays on show.
            mStepTimer.SetValue(0.0f);
            mActive = false;
            RunEventReactions(0);
            return false;
        }
    }
    mStepTimer.StartUnit(mStepTimer.mDuration);
    ShowChild(mShownIndex);
    return false;
}

void TCadrItemsObject::OnSpaceFirstShown()
{
    // Replaces the object's own first show: the children are left to the sequence.
    if (mActive)
        Activate(0, 0, 0);
    else if (mShowOnFirstDisplay)
        ShowChild(mShownIndex);
}

void TCadrItemsObject::SaveState(TBaseBuffer& buffer)
{
    TObject::SaveState(buffer);
    buffer.WriteInt32(mShownIndex);
}

void TCadrItemsObject::LoadState(TBaseBuffer& buffer)
{
    TObject::LoadState(buffer);
    const int32_t index = buffer.ReadInt32();
    if (StateRefused()) return;
    // A record read against other objects may hold anything: an index that names no child
    // starts the sequence over.
    if (index < 0 || static_cast<size_t>(index) >= mChildren.size()) {
        if (index != 0) GetLogger()->LogDebug("Object %s: saved child index %d ignored", GetName().c_str(), index);
        mShownIndex = 0;
    } else {
        mShownIndex = index;
    }
    if (mActive) Activate(0, 0, 0);
}

// ---------------------------------------------------------------- anim file holder

TAnimFileObject::~TAnimFileObject() = default;

bool TAnimFileObject::OnMouseDown(const TSceneMouseEvent& event)
{
    for (auto& child : mChildren)
        if (child->OnMouseDown(event)) return true;
    return false;
}

bool TAnimFileObject::OnMouseMove(const TSceneMouseEvent& event, bool& hoverTaken)
{
    for (auto& child : mChildren)
        if (child->OnMouseMove(event, hoverTaken)) return true;
    return false;
}

bool TAnimFileObject::OnMouseUp(const TSceneMouseEvent& event)
{
    for (auto& child : mChildren)
        if (child->OnMouseUp(event)) return true;
    return false;
}

bool TAnimFileObject::OnMouseDrag(const TSceneMouseEvent& event)
{
    for (auto& child : mChildren)
        if (child->OnMouseDrag(event)) return true;
    return false;
}

// ---------------------------------------------------------------- switcher

TIntPoint ParseFramePoint(const std::string& text)
{
    TIntPoint point;
    const char* start = text.c_str();
    char* end = nullptr;
    const long x = strtol(start, &end, 10);
    if (end == start) return point;
    point.x = ClampToInt(x);
    if (*end != ',') return point;
    start = end + 1;
    const long y = strtol(start, &end, 10);
    if (end != start) point.y = ClampToInt(y);
    return point;
}

TSwitcherObject::TSwitcherObject() { TSwitcherObject::ResetBehaviour(); }

TSwitcherObject::~TSwitcherObject() = default;

void TSwitcherObject::ResetBehaviour()
{
    mCurrentIndex = mTargetIndex = mFrameCount = 0;
    mLooped = mRun = 1;
    mSpeed = mDelay = 0.0f;
    mClickEnabled = false;
    mStarted = false;
    mActivateOnShow = false;
    mDelayTimer.SetValue(0.0f);
}

void TSwitcherObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    TObject::LoadXml(e, dataFolder);
    mFolder = dataFolder;
    mFrameNames.clear();
    GetAttrList(e, "names", ';', mFrameNames);
    mCurrentIndex = mTargetIndex = GetAttrInt(e, "startcadr", 0);
    // Read a second time: a switcher takes no clicks unless its element says so.
    mClickEnabled = GetAttrBool(e, "onclick", false);
    mPositions.clear();
    std::vector<std::string> points;
    SplitString(GetAttrString(e, "poss", ""), ';', points);
    for (const std::string& point : points) mPositions.push_back(ParseFramePoint(point));
    mSpeed = GetAttrFloat(e, "speed", 0.0f);
    mDelay = GetAttrFloat(e, "delay", 0.0f);
    const std::string animType = GetAttrString(e, "animtype", "");
    mLooped = animType.empty() || animType == "looped" ? 1 : 0;
    const std::string runType = GetAttrString(e, "runtype", "");
    mRun = runType.empty() || runType == "run" ? 1 : 0;
    mActivateOnShow = GetAttrBool(e, "activate", false);
}

void TSwitcherObject::StartSwitch()
{
    if (mDelay != 0.0f && mRun == 1) mDelayTimer.StartUnit(mDelay);
    if (mSpeed != 0.0f) {
        mFade.Set(1.0f, 0.0f, mSpeed, true);
        mFading = 1;
    } else {
        NextFrameIndex();
    }
}

void TSwitcherObject::NextFrameIndex()
{
    // In 64 bits: "startcadr" may be the largest int.
    const int64_t next = static_cast<int64_t>(mTargetIndex) + 1;
    if (next >= mFrameCount)
        mTargetIndex = mLooped ? 0 : mFrameCount - 1;
    else
        mTargetIndex = static_cast<int32_t>(next);
}

void TSwitcherObject::Activate(int /*count*/, int /*x*/, int /*y*/)
{
    // The object's own activation does not run: "active" stays as read and "sounda" is silent.
    if (!mLooped && mStarted) return;
    mStarted = true;
    mClickDelayCountdown = mClickDelay;
    StartSwitch();
}

void TSwitcherObject::OnClickAction(int /*count*/, int /*x*/, int /*y*/)
{
    if (mClickEnabled && (mLooped || !mStarted)) StartSwitch();
}

void TSwitcherObject::OnSpaceShown()
{
    TObject::OnSpaceShown();
    if (mActivateOnShow) StartSwitch();
}

const TIntPoint* TSwitcherObject::PositionOf(int32_t index) const
{
    if (index < 0 || static_cast<size_t>(index) >= mPositions.size()) return nullptr;
    return &mPositions[static_cast<size_t>(index)];
}

StaticImage* TSwitcherObject::FrameImage(int32_t index) const
{
    if (index < 0 || static_cast<size_t>(index) >= mFrameImages.size()) return nullptr;
    return mFrameImages[static_cast<size_t>(index)].get();
}

bool TSwitcherObject::Update(float dt)
{
    // Only the click delay of the object's own update: Activate restarts it, and nothing else
    // would ever run it out.
    if (mClickDelayCountdown > 0.0f) mClickDelayCountdown -= dt;
    // An ended delay does not start the switch again.
    if (mDelayTimer.mRunning) mDelayTimer.Update(dt);
    if (mFading && mFade.Update(dt)) mFading = 0;
    // A frame without a point leaves the object where it is.
    if (const TIntPoint* point = PositionOf(mCurrentIndex))
        TObject::SetPosition(static_cast<float>(point->x), static_cast<float>(point->y), true);
    return false;
}

void TSwitcherObject::DestroyContents()
{
    TObject::DestroyContents();
    mFrameImages.clear();
}

void TSwitcherObject::FreeResources()
{
    // Pockets free their resources at every close: the children and the frames must outlive
    // that, or the next show would find the scene without them.
    TObject::FreeResources();
    for (auto& image : mFrameImages) image->FreeTexture();
}

void TSwitcherObject::LoadFrames()
{
    // Only the frames are made anew; the children stay with the switcher.
    mFrameImages.clear();
    for (size_t i = 0; i < mFrameNames.size(); ++i) {
        std::unique_ptr<StaticImage> image(new StaticImage());
        image->SetTexture((mFolder.empty() ? std::string("textures/") : mFolder) + mFrameNames[i]);
        const TIntPoint* point = PositionOf(static_cast<int32_t>(i));
        image->SetPosition(point ? static_cast<float>(point->x) : mX, point ? static_cast<float>(point->y) : mY,
                           false);
        mFrameImages.push_back(std::move(image));
    }
}

void TSwitcherObject::DrawFrames()
{
    StaticImage* current = FrameImage(mCurrentIndex);
    if (!current) return;
    mWidth = static_cast<float>(current->GetWidth());
    mHeight = static_cast<float>(current->GetHeight());
    if (!mFading) {
        current->Draw(1.0f);
        return;
    }
    current->Draw(mFade.mCurrent);
    if (StaticImage* target = FrameImage(mTargetIndex)) target->Draw(1.0f - mFade.mCurrent);
}
