#include "objects/object.h"

#include <SDL.h>
#include <tinyxml.h>

#include <algorithm>

#include "core/app_state.h"
#include "core/buffer.h"
#include "core/display.h"
#include "core/logger.h"
#include "core/numbers.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "graphics/cadr_image.h"
#include "graphics/clip_scope.h"
#include "graphics/tweens.h"
#include "graphics/texture.h"
#include "rooms/effector.h"
#include "rooms/executer.h"
#include "rooms/game_space.h"
#include "rooms/random_effectors.h"

float GetAttrAngle(const TiXmlElement* element, const char* name, float defDegrees)
{
    const float toRadians = 0.017453292f;
    const float limit = kMaxMilliValue / toRadians;
    return GetAttrFloatInRange(element, name, defDegrees, -limit, limit, ElementFileName(element)) * toRadians;
}

TObject::TObject() = default;

TObject::~TObject() { DestroyContents(); }

void TObject::DestroyContents()
{
    mEffect.reset();
    mImage.reset();
    mChildren.clear();
}

namespace {
// The width (or height) the draw types measure with: the image's when there is one.
float DrawnOffset(int drawType, float pos, float own, float image, float scale, bool horizontal)
{
    switch (drawType) {
    case 1:
        return pos - scale * image * 0.5f;
    case 2:
        return horizontal ? pos + own - scale * own : pos - scale * image;
    case 4:
        return horizontal ? pos - scale * image * 0.5f : pos - scale * image;
    default:
        return pos;
    }
}
}  // namespace

float TObject::GetX() const
{
    if (mDrawType == 5) return mX;
    const float image = mImage ? static_cast<float>(mImage->GetWidth()) : mWidth;
    float x = DrawnOffset(mDrawType, mX, mWidth, image, mScaleX, true);
    if (kCentreShiftsPosition && (mTcx != 0 || mTcy != 0)) x += static_cast<float>(mTcx);
    return x + GetOwnerOffsetX();
}

float TObject::GetY() const
{
    if (mDrawType == 5) return mY;
    const float image = mImage ? static_cast<float>(mImage->GetHeight()) : mHeight;
    float y = DrawnOffset(mDrawType, mY, mHeight, image, mScaleY, false);
    if (kCentreShiftsPosition && (mTcx != 0 || mTcy != 0)) y += static_cast<float>(mTcy);
    return y + GetOwnerOffsetY();
}

int TObject::GetXInt() const { return TruncToInt(GetX()); }

int TObject::GetYInt() const { return TruncToInt(GetY()); }

float TObject::GetOwnerOffsetX() const
{
    return mOwnerSpace && !mSkipOwnerOffset ? static_cast<const DrawObject*>(mOwnerSpace)->mOffsetX : 0.0f;
}

float TObject::GetOwnerOffsetY() const
{
    return mOwnerSpace && !mSkipOwnerOffset ? static_cast<const DrawObject*>(mOwnerSpace)->mOffsetY : 0.0f;
}

void TObject::SetHintMode(const std::string& mode)
{
    if (mode == "default")
        mHintMode = kHintDefault;
    else if (mode == "no_hint")
        mHintMode = kHintNone;
    else if (mode == "show_hint")
        mHintMode = kHintShow;
}

namespace {
struct TReactionKey {
    const char* name;
    const char* alias;
    TReactionList list;
};

// In reading order.
const TReactionKey kReactionKeys[] = {
    {"unlockafterevent", "uae", kUnlockAfterEvent},
    {"unlockaftertool", "uat", kUnlockAfterTool},
    {"unlockafterclick", "uac", kUnlockAfterClick},
    {"deactivateafterevent", "dae", kDeactivateAfterEvent},
    {"deactivateaftertool", "dat", kDeactivateAfterTool},
    {"deactivateafterclick", "dac", kDeactivateAfterClick},
    {"activateafterevent", "aae", kActivateAfterEvent},
    {"activateaftertool", "aat", kActivateAfterTool},
    {"activateafterclick", "aac", kActivateAfterClick},
    {"visibleafterevent", "vae", kVisibleAfterEvent},
    {"visibleaftertool", "vat", kVisibleAfterTool},
    {"visibleafterclick", "vac", kVisibleAfterClick},
    {"hideafterevent", "hae", kHideAfterEvent},
    {"hideaftertool", "hat", kHideAfterTool},
    {"hideafterclick", "hac", kHideAfterClick},
    {"visibleaftertoolcf", "vatcf", kVisibleAfterToolCf},
    {"visibleafterclickcf", "vaccf", kVisibleAfterClickCf},
    {"hideaftertoolcf", "hatcf", kHideAfterToolCf},
    {"hideafterclickcf", "haccf", kHideAfterClickCf},
    {"lockafterevent", "lae", kLockAfterEvent},
    {"lockaftertool", "lat", kLockAfterTool},
    {"lockafterclick", "lac", kLockAfterClick},
    {"effaftertool", "eat", kEffAfterTool},
    {"effafterclick", "eac", kEffAfterClick},
    {"effafterevent", "eae", kEffAfterEvent},
    {"effsafterevent", "esae", kEffsAfterEvent},
    {"effsaftertool", "esat", kEffsAfterTool},
    {"effsafterclick", "esac", kEffsAfterClick},
};
}  // namespace

void TObject::ReadToolRecords(const std::string& text)
{
    for (const std::vector<std::string>& parts : SplitGroups(text, ';', ',')) {
        if (parts.empty()) continue;
        int32_t mode = 0;
        if (parts.size() > 1 && parts[1] != "true") mode = parts[1] == "false" ? 1 : 2;
        mToolRecords.emplace_back(parts[0], mode, parts.size() > 2 ? parts[2] : std::string(), this);
    }
}

void TObject::ReadAfterEventToolRecords(const std::string& text)
{
    // Here "true" is mode 1: the opposite of "tools".
    for (const std::vector<std::string>& parts : SplitGroups(text, ';', ',')) {
        if (parts.size() != 2) continue;
        mAfterEventToolRecords.emplace_back(parts[0], parts[1] == "true" ? 1 : 0, std::string(), nullptr);
    }
}

void TObject::ReadFrameSheet(TiXmlElement* element)
{
    int x = 0, y = 0, w = 0, h = 0;
    if (!GetAttrRect(element, "texrects", &x, &y, &w, &h, ".")) return;
    int frames = GetAttrInt(element, "frames", 0);
    if (frames > TCadrImage::kMaxFrames) {
        // Each frame is a rectangle made now: billions would exhaust memory before the menu shows.
        GetLogger()->LogMessage("Object %s: frames %d clamped to %d", mName.c_str(), frames, TCadrImage::kMaxFrames);
        frames = TCadrImage::kMaxFrames;
    }
    if (frames > 0) {
        const int sheetWidth = GetAttrInt(element, "texw", 0);
        if (w <= 0 || sheetWidth < w) {
            // Cutting it would divide by zero columns.
            GetLogger()->LogMessage("Object %s: frame sheet ignored (frame width %d, sheet width %d)",
                                    mName.c_str(), w, sheetWidth);
        } else {
            mFrames.clear();
            for (int i = 0; i < frames; ++i) mFrames.push_back(ComputeFrameRect(i, w, h, sheetWidth));
        }
    }
    mCurrentFrame = GetAttrInt(element, "startframe", 0);
    mFrameDelay = GetAttrFloat(element, "framedelay", 0.0f);
    const std::string mode = GetAttrString(element, "animmode", "");
    if (mode == "loop")
        mAnimMode = 1;
    else if (mode == "noloop")
        mAnimMode = 2;
}

void TObject::LoadXml(TiXmlElement* e, const std::string& dataFolder)
{
    DestroyContents();
    // Named in the line of a value that is refused.
    const char* file = ElementFileName(e);

    const bool useDataFolder = GetAttrBool(e, "udf", true);
    const std::string image = GetAttrString(e, "name", "");
    mImagePath.clear();
    if (!image.empty()) mImagePath = (useDataFolder && !dataFolder.empty() ? dataFolder : "textures/") + image;
    SetName(GetAttrString(e, "id", ""));

    mRoom = GetAttrString(e, "room", "");
    mRoomXo = GetAttrString(e, "roomxo", "");
    mPocket = GetAttrString(e, "pocket", "");
    mMinigame = GetAttrString(e, "minigame", "");
    mDialog = GetAttrString(e, "dialog", "");
    mDialog2 = GetAttrString(e, "dialog2", "");
    mRoomAfterTool = GetAttrString(e, "roomaftertool", "");
    mRoomXoAfterTool = GetAttrString(e, "roomxoaftertool", "");
    mPocketAfterTool = GetAttrString(e, "pocketaftertool", "");
    mMinigameAfterTool = GetAttrString(e, "minigameaftertool", "");
    mDialogAfterTool = GetAttrString(e, "dialogaftertool", "");
    mDialogAfterTool2 = GetAttrString(e, "dialogaftertool2", "");
    mSound = GetAttrString(e, "sound", "");
    mSoundTool = GetAttrString(e, "soundtool", "drop_tool");
    mSoundNeedTool = GetAttrString(e, "soundneedtool", "need_tool");
    mSoundMouseEnter = GetAttrString(e, "soundmouseenter", "");
    mSoundMouseLeave = GetAttrString(e, "soundmouseleave", "");
    GetAttrList(e, "sounda", ',', mActivationSounds);
    mEffectorName = GetAttrString(e, "effector", "");
    mParam1 = GetAttrString(e, "param1", "");
    mParam2 = GetAttrString(e, "param2", "");
    mHintFromParent = GetAttrBool(e, "phint", mHintFromParent);
    mClickEnabled = GetAttrBool(e, "onclick", true);
    mActive = GetAttrBool(e, "active", mActive);
    SetHintMode(GetAttrString(e, "hint_mod", "default"));
    mMoveable = GetAttrBool(e, "moveable", mMoveable);
    GetAttrList(e, "tooltoopenpocket", ',', mPocketTools);
    GetAttrList(e, "tooltoopenminigame", ',', mMinigameTools);
    GetAttrList(e, "tool", ',', mNeededTools);
    mCursorName = GetAttrString(e, "c", "");
    if (mCursorName.empty()) mCursorName = GetAttrString(e, "cursor", "");
    mHideAfterTakeTool = GetAttrBool(e, "hideaftertaketool", mHideAfterTakeTool);
    GetAttrList(e, "hint", ',', mHints);
    GetAttrList(e, "hintlocked", ',', mLockedHints);
    GetAttrList(e, "hinttool", ',', mToolHints);
    for (TiXmlElement* hint = e ? e->FirstChildElement("wrongtoolhint") : nullptr; hint;
         hint = hint->NextSiblingElement("wrongtoolhint")) {
        mWrongToolHints.emplace_back();
        mWrongToolHints.back().LoadXml(hint);
    }
    const std::string hintExecuter = GetAttrString(e, "hintexe", "");
    mHintExecuter = GetExecuter(hintExecuter.empty() ? "hint" : hintExecuter);
    const int32_t drawType = GetAttrInt(e, "drawtype", mDrawType);
    if (drawType >= 0 && drawType <= kMaxDrawType) {
        mDrawType = drawType;
    } else {
        // The saved record refuses it; any placement it does not know draws as the default's.
        LogAttrOutOfRange(e, "drawtype", file, std::to_string(mDrawType));
    }
    mMaxClicks = GetAttrInt(e, "maxclicks", kNoLimit);
    mMaxToolUses = GetAttrInt(e, "maxclickstool", kNoLimit);
    mFreezeClicks = GetAttrInt(e, "freezeclicks", kNoLimit, "fc");
    mFreezeToolClicks = GetAttrInt(e, "freezetoolclicks", 1, "ftc");
    mClickDelay = GetAttrFloat(e, "delayclick", 0.0f);
    mCheckOnlyBounds = GetAttrBool(e, "cob", false, "checkonlybounds");
    mCacheColours = GetAttrBool(e, "cachergb", mCacheColours);
    if (!mNeededTools.empty() && mMaxToolUses == kNoLimit) mMaxToolUses = 1;
    // Percent of full alpha; in 64 bits, so a huge percentage clamps instead of overflowing.
    mAlphaThreshold = ClampToInt(static_cast<long long>(GetAttrInt(e, "testalpha", 25)) * 255 / 100);
    mVisible = GetAttrBool(e, "v", true, "visible");
    mDummy = GetAttrBool(e, "d", false, "dummy");
    mHideOnClick = GetAttrBool(e, "hideonclick", false);
    mHoldToolAfterUse = GetAttrInt(e, "holdtoolafteruse", 0);
    mLocked = GetAttrBool(e, "locked", false, "l");
    mVisibleAfterTempTool = GetAttrBool(e, "setvisibleaftertemptool", true);
    mAlpha = GetAttrFloatInRange(e, "a", mAlpha, 0.0f, 1.0f, file, "alpha");
    mAngle = GetAttrAngle(e, "angle", 0.0f);
    const float scale = GetAttrFloatInRange(e, "scale", 1.0f, -kMaxDrawScale, kMaxDrawScale, file);
    mScaleX = mScaleY = scale;
    // Exactly 1 counts as unset, so these never undo "scale".
    const float scaleX = GetAttrFloatInRange(e, "scalex", 1.0f, -kMaxDrawScale, kMaxDrawScale, file);
    if (scaleX != 1.0f) mScaleX = scaleX;
    const float scaleY = GetAttrFloatInRange(e, "scaley", 1.0f, -kMaxDrawScale, kMaxDrawScale, file);
    if (scaleY != 1.0f) mScaleY = scaleY;
    mHintPointY = GetAttrInt(e, "hpy", 0);
    mHintPointX = GetAttrInt(e, "hpx", 0);
    const std::string blend = GetAttrString(e, "blendmode", "");
    mBlendMode = blend == "additive" ? kBlendAdd : blend == "multiplicative" ? kBlendMod : kBlendAlpha;
    mBlink = GetAttrFloat(e, "blink", 0.0f);
    mBlinkOffsetX = GetAttrInt(e, "bx", 0);
    mBlinkOffsetY = GetAttrInt(e, "by", 0);
    mX = GetAttrFloat(e, "x", 0.0f);
    mY = GetAttrFloat(e, "y", 0.0f);
    mWidth = GetAttrFloat(e, "w", 0.0f);
    mHeight = GetAttrFloat(e, "h", 0.0f);
    mRefX = GetXInt();
    mRefY = GetYInt();
    mTag = GetAttrFloat(e, "tag", 0.0f);
    ReadToolRecords(GetAttrString(e, "tools", ""));
    if (!mToolRecords.empty() && mMaxClicks == kNoLimit) mMaxClicks = static_cast<int32_t>(mToolRecords.size());
    ReadAfterEventToolRecords(GetAttrString(e, "toolsae", ""));
    for (const TReactionKey& key : kReactionKeys)
        ParseObjectRefList(mReactions[key.list], GetAttrString(e, key.name, ""), GetAttrString(e, key.alias, ""));
    ParseNameList(mTasks, GetAttrString(e, "tasks", ""));
    ParseNameList(mToolTasks, GetAttrString(e, "ttasks", ""));
    ParseNameList(mTasksRemove, GetAttrString(e, "tasksr", ""));
    ParseNameList(mToolTasksRemove, GetAttrString(e, "ttasksr", ""));
    ParseNameList(mEventTasks, GetAttrString(e, "etasks", ""));
    ParseNameList(mEventTasksRemove, GetAttrString(e, "etasksr", ""));
    GetAttrList(e, "aobjafterclick", ',', mAobjAfterClick);
    GetAttrList(e, "aobjaftertool", ',', mAobjAfterTool);
    GetAttrList(e, "aobjafterevent", ',', mAobjAfterEvent);
    GetAttrList(e, "robjafterclick", ',', mRobjAfterClick);
    GetAttrList(e, "robjaftertool", ',', mRobjAfterTool);
    GetAttrList(e, "robjafterevent", ',', mRobjAfterEvent);
    GetAttrList(e, "cobjafterclick", ',', mCobjAfterClick);
    GetAttrList(e, "cobjaftertool", ',', mCobjAfterTool);
    GetAttrList(e, "cobjafterevent", ',', mCobjAfterEvent);
    ParseValueRefList(mFlags, GetAttrString(e, "flags", ""));
    ParseValueRefList(mToolFlags, GetAttrString(e, "tflags", ""));
    ParseValueRefList(mEventFlags, GetAttrString(e, "eflags", ""));
    ParseNamePairList(mStates, GetAttrString(e, "states", ""));
    ParseNamePairList(mToolStates, GetAttrString(e, "tstates", ""));
    ParseNamePairList(mEventStates, GetAttrString(e, "estates", ""));

    std::string executer = GetAttrString(e, "exe", "");
    if (executer.empty() && !mToolRecords.empty()) executer = mNeededTools.empty() ? "tool" : "toolaftertool";
    mClickExecuter = executer.empty() ? nullptr : GetExecuter(executer);

    mToolPower = GetAttrFloat(e, "toolpower", -1.0f);
    mTcx = GetAttrInt(e, "tcx", 0);
    mTcy = GetAttrInt(e, "tcy", 0);
    ReadFrameSheet(e);
    mIgnoreSubObjects = GetAttrBool(e, "ignoresubobjects", false);
    mSkipOwnerOffset = GetAttrBool(e, "skipowneroffset", false);
    if (mBlink == 0.0f && (!mCursorName.empty() || !mToolRecords.empty())) mBlink = 3.0f;
    GetAttrRect(e, "cliprect", &mClipX, &mClipY, &mClipW, &mClipH, ".");
    mCanRunXoEffect = GetAttrBool(e, "canrunxoeffect", mCanRunXoEffect);
    mDrawChildrenFirst = GetAttrBool(e, "drawchildsfirst", mDrawChildrenFirst);
    mLayer = GetAttrInt(e, "drawz", mLayer);
    mAllowClickWithTool = GetAttrBool(e, "allowclickwithtool", mAllowClickWithTool);
    mWrongClickCountsForXo = GetAttrBool(e, "canbewrongclickxo", mWrongClickCountsForXo);

    mGoalReached = false;
}

bool TObject::AddChild(TObject* object)
{
    if (!object || object == this || ContainsInTree(object)) return false;
    mChildren.emplace_back(object);
    return true;
}

std::unique_ptr<TObject> TObject::RemoveChild(TObject* object)
{
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it) {
        if (it->get() != object) continue;
        std::unique_ptr<TObject> removed = std::move(*it);
        mChildren.erase(it);
        return removed;
    }
    for (auto& child : mChildren)
        if (std::unique_ptr<TObject> removed = child->RemoveChild(object)) return removed;
    return nullptr;
}

bool TObject::ContainsInTree(const TObject* object) const
{
    for (const auto& child : mChildren)
        if (child.get() == object || child->ContainsInTree(object)) return true;
    return false;
}

TObject* TObject::FindChild(const std::string& name) const
{
    for (const auto& child : mChildren) {
        if (child->GetName() == name) return child.get();
        if (TObject* found = child->FindChild(name)) return found;
    }
    return nullptr;
}

TObject* TObject::FindParentOf(const TObject* object)
{
    for (const auto& child : mChildren)
        if (child.get() == object) return this;
    for (const auto& child : mChildren)
        if (TObject* parent = child->FindParentOf(object)) return parent;
    return nullptr;
}

void TObject::SetListener(TObjectListener* listener)
{
    mListener = listener;
    for (auto& child : mChildren) child->SetListener(listener);
}

std::string TObject::GetFullName() const
{
    std::string name = GetName();
    for (const TGameSpace* space = mOwnerSpace; space; space = space->mParentSpace)
        name = static_cast<const DrawObject*>(space)->GetName() + "." + name;
    return name;
}

TGameSpace* TObject::GetRootSpace() const
{
    TGameSpace* space = mOwnerSpace;
    while (space && space->mParentSpace) space = space->mParentSpace;
    return space;
}

void TObject::BindEffector(TEffector* effector)
{
    if (!effector) return;
    if (effector->mName == mEffectorName) {
        mEffector = effector;
        effector->SetTarget(this);
        return;
    }
    for (auto& child : mChildren) child->BindEffector(effector);
}

void TObject::ChildrenHookA(int value)
{
    for (auto& child : mChildren) child->ChildrenHookA(value);
}

void TObject::ChildrenHookB(int value)
{
    for (auto& child : mChildren) child->ChildrenHookB(value);
}

void TObject::ChildrenHookC(int value)
{
    for (auto& child : mChildren) child->ChildrenHookC(value);
}

void TObject::ChildrenHookD(int value)
{
    for (auto& child : mChildren) child->ChildrenHookD(value);
}

void TObject::SetPosition(float x, float y, bool moveChildren)
{
    const float dx = x - mX;
    const float dy = y - mY;
    mX = x;
    mY = y;
    if (mImage) mImage->SetPosition(GetX(), GetY(), false);
    if (!moveChildren) return;
    // Children follow at their stored position: the drawn one carries their draw type,
    // centre and space offset, which storing would add a second time.
    for (auto& child : mChildren) child->SetPosition(child->mX + dx, child->mY + dy, false);
}

void TObject::MoveBy(int dx, int dy)
{
    SetPosition(static_cast<float>(GetXInt() + dx), static_cast<float>(GetYInt() + dy), true);
    mRefX = TruncToInt(GetX());
    mRefY = TruncToInt(GetY());
    mX += static_cast<float>(dx);
    mY += static_cast<float>(dy);
    if (mImage) mImage->SetPosition(static_cast<float>(GetXInt()), static_cast<float>(GetYInt()), mDrawType == 1);
    for (auto& child : mChildren) child->MoveBy(dx, dy);
}

int TObject::GetCenterX() const { return TruncToInt(mDrawType == 1 ? mX : mX + mWidth * 0.5f); }

int TObject::GetCenterY() const { return TruncToInt(mDrawType == 1 ? mY : mY + mHeight * 0.5f); }

TIntPoint TObject::GetHintPoint() const
{
    TIntPoint point;
    point.x = ClampToInt(static_cast<long long>(GetCenterX()) + mHintPointX);
    point.y = ClampToInt(static_cast<long long>(GetCenterY()) + mHintPointY);
    return point;
}

void TObject::GetRect(float* x, float* y, float* w, float* h) const
{
    *x = GetX();
    *y = GetY();
    *w = mWidth;
    *h = mHeight;
}

void TObject::GetChildrenRect(float* x, float* y, float* w, float* h) const
{
    *x = *y = *w = *h = 0.0f;
    bool first = true;
    float left = 0.0f, top = 0.0f, right = 0.0f, bottom = 0.0f;
    for (const auto& child : mChildren) {
        float cx = 0.0f, cy = 0.0f, cw = 0.0f, ch = 0.0f;
        child->GetRect(&cx, &cy, &cw, &ch);
        left = first ? cx : std::min(left, cx);
        top = first ? cy : std::min(top, cy);
        right = first ? cx + cw : std::max(right, cx + cw);
        bottom = first ? cy + ch : std::max(bottom, cy + ch);
        first = false;
    }
    if (first) return;
    *x = left;
    *y = top;
    *w = right - left;
    *h = bottom - top;
}

void TObject::CenterOrigin()
{
    if (mDrawType == 1) return;
    mDrawType = 1;
    mX += mWidth * 0.5f * mScaleX;
    mY += mHeight * 0.5f * mScaleY;
}

void TObject::SetTextureCentre(int tcx, int tcy)
{
    mTcx = tcx;
    mTcy = tcy;
}

void TObject::SetAlpha(float a)
{
    if (a < 0.0f || a > 1.0f) return;
    mAlpha = a;
    if (mImage) mImage->mAlpha = a;
}

void TObject::SetVisible(bool visible)
{
    mVisible = visible;
    if (!visible) mEffect.reset();
}

void TObject::PlayEffector()
{
    if (mEffector) mEffector->Play();
}

void TObject::StopEffector()
{
    if (mEffector) mEffector->Stop();
}

void TObject::RemoveXoEffects()
{
    mEffect.reset();
    for (auto& child : mChildren) child->RemoveXoEffects();
}

void TObject::ShowCurrentFrame()
{
    if (mAnimMode == 0 || !mImage) return;
    // A frame index outside the list (a bad "startframe") shows nothing new until the
    // next advance brings it back in range.
    if (mCurrentFrame < 0 || static_cast<size_t>(mCurrentFrame) >= mFrames.size()) return;
    const TFrameRect& f = mFrames[static_cast<size_t>(mCurrentFrame)];
    DrawTransform& t = mImage->mTransform;
    t.SetSourceRect(f.mLeft, f.mTop, f.mRight - f.mLeft, f.mBottom - f.mTop);
}

void TObject::LoadResources()
{
    mImage.reset(new StaticImage());
    KeepTextureAlpha = !mCheckOnlyBounds;
    KeepTextureColors = mCacheColours;
    mImage->SetTexture(mImagePath);
    // Back to the loader's defaults whether or not the picture loaded.
    KeepTextureAlpha = true;
    KeepTextureColors = false;
    if (mWidth == 0.0f && mImage->GetWidth() > 0) mWidth = static_cast<float>(mImage->GetWidth());
    if (mHeight == 0.0f && mImage->GetHeight() > 0) mHeight = static_cast<float>(mImage->GetHeight());
    ShowCurrentFrame();
    for (auto& child : mChildren) child->LoadResources();
    SyncImage();
    for (auto& child : mChildren) child->SyncImage();
}

void TObject::FreeResources()
{
    mImage.reset();
    for (auto& child : mChildren) child->FreeResources();
}

void TObject::SyncImage()
{
    if (mDummy || !mImage) return;
    if (mTcx != 0 || mTcy != 0) {
        mImage->mTransform.mCentreX = static_cast<float>(mTcx);
        mImage->mTransform.mCentreY = static_cast<float>(mTcy);
        mImage->mTransform.mFlags |= kDrawCentre;
        mImage->mOwnCentre = true;
    }
    mImage->mTransform.mBlendMode = mBlendMode;
    mImage->SetScaleXY(mScaleX, mScaleY);
    mImage->mAlpha = mAlpha;
    mImage->SetAngle(mAngle);
    mImage->SetPosition(GetX(), GetY(), false);
    ShowCurrentFrame();
}

bool TObject::Update(float dt)
{
    if (mClickDelayCountdown > 0.0f) mClickDelayCountdown -= dt;
    if (CanRunXoEffect()) StartXoEffect();
    if (mEffect && (mEffect->Update(dt) || mEffect->IsDone())) mEffect.reset();
    if (mClickExecuter) mClickExecuter->Hook8(this, dt);
    if (mEffector) mEffector->Update(dt);
    if (mAnimMode != 0 && !mFrames.empty()) {
        mFrameTimer += dt;
        if (mFrameTimer >= mFrameDelay) {
            ++mCurrentFrame;
            // The leftover time is dropped: each frame lasts at least one update.
            mFrameTimer = 0.0f;
            const int32_t count = static_cast<int32_t>(mFrames.size());
            if (mCurrentFrame >= count) {
                if (mAnimMode == 1)
                    mCurrentFrame = 0;
                else if (mAnimMode == 2)
                    mCurrentFrame = count - 1;
            }
        }
    }
    SyncImage();
    for (auto& child : mChildren) child->Update(dt);
    return false;
}

void TObject::Draw(float alphaFactor)
{
    if (!IsVisible()) return;
    if (mHighlight) DrawDebugFrame();
    if (mDrawChildrenFirst) {
        for (auto& child : mChildren) child->Draw(alphaFactor);
        DrawSelf(alphaFactor);
    } else {
        DrawSelf(alphaFactor);
        for (auto& child : mChildren) child->Draw(alphaFactor);
    }
}

void TObject::DrawSelf(float alphaFactor)
{
    // The space clips its layer before drawing it: our rectangle replaces that clip for
    // this object alone and the space's comes back afterwards.
    TClipScope clip(mClipX, mClipY, mClipW, mClipH);
    if (!mDummy && mImage) mImage->Draw(alphaFactor);
    if (mHighlight) DrawDebugFrame();
    if (mEffect) mEffect->Draw(1.0f);
}

void TObject::DrawDebugFrame()
{
    const int w = TruncToInt(mWidth * mScaleX);
    const int h = TruncToInt(mHeight * mScaleY);
    DrawRectOutline(TruncToInt(mX + GetOwnerOffsetX()), TruncToInt(mY + GetOwnerOffsetY()), w, h, 1, 0, 0, 1);
    DrawRectOutline(GetXInt(), GetYInt(), w, h, 0, 0, 1, 1);
}

void TObject::OnSpaceFirstShown()
{
    for (auto& child : mChildren) child->OnSpaceFirstShown();
    if (mTcx != 0 || mTcy != 0) {
        mX -= static_cast<float>(mTcx);
        mY -= static_cast<float>(mTcy);
    }
    if (mActive) Activate(0, 0, 0);
}

void TObject::OnSpaceShown()
{
    SyncImage();
    if (CanRunXoEffect()) StartXoEffect();
    for (auto& child : mChildren) child->OnSpaceShown();
}

void TObject::OnSpaceHidden()
{
    for (auto& child : mChildren) child->OnSpaceHidden();
}

namespace {
void WriteWord(TBaseBuffer& buffer, int32_t value)
{
    buffer.WriteByte(value & 0xFF);
    buffer.WriteByte((value >> 8) & 0xFF);
}

int32_t ReadWord(TBaseBuffer& buffer)
{
    const int low = buffer.ReadByte();
    const int high = buffer.ReadByte();
    return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

// 9999 stands for "unlimited" both ways, so a counter that really is 9999 comes back as
// unlimited; stored games rely on that.
int32_t ReadCounter(TBaseBuffer& buffer)
{
    const int32_t value = ReadWord(buffer);
    return value == 9999 ? TObject::kNoLimit : value;
}
}  // namespace

void TObject::WriteCounter(TBaseBuffer& buffer, int32_t counter, int32_t maximum) const
{
    WriteWord(buffer, counter == maximum && maximum == kNoLimit ? 9999 : counter);
}

void TObject::SaveState(TBaseBuffer& buffer)
{
    if (mStateKey.empty()) mStateKey = GetFullName();
    buffer.BeginWriteSection(mStateKey.c_str());
    if (IsMovable()) {
        buffer.WriteMilli(mX);
        buffer.WriteMilli(mY);
    }
    const TTrajectoryEffector* trajectory = dynamic_cast<const TTrajectoryEffector*>(mEffector);
    buffer.WriteByte(trajectory && trajectory->mHide ? 0 : mVisible);
    buffer.WriteMilli(mAlpha);
    buffer.WriteByte(mLocked);
    buffer.WriteByte(mGoalReached);
    buffer.WriteByte(mToolApplied);
    buffer.WriteInt32(mDrawType);
    WriteCounter(buffer, mClickCounter, mMaxClicks);
    WriteCounter(buffer, mToolCounter, mMaxToolUses);
    buffer.WriteByte(mActive);
    WriteWord(buffer, mHintCycle);
    WriteWord(buffer, mReservedState);
    for (const TObjectToolRecord& record : mToolRecords) buffer.WriteByte(record.mUsed);
    for (const TObjectToolRecord& record : mAfterEventToolRecords) buffer.WriteByte(record.mUsed);
    for (auto& child : mChildren) child->SaveState(buffer);
}

void TObject::LoadState(TBaseBuffer& buffer)
{
    if (mStateKey.empty()) mStateKey = GetFullName();
    buffer.BeginReadSection(mStateKey.c_str());
    // Read whole before anything is taken: a record that fails keeps the object as its file
    // made it, the kind's own fields included (StateRefused). The children's records follow
    // either way.
    const bool movable = IsMovable();
    const float x = movable ? buffer.ReadMilli() : mX;
    const float y = movable ? buffer.ReadMilli() : mY;
    const bool visible = buffer.ReadByte() != 0;
    const float alpha = buffer.ReadMilli();
    const bool locked = buffer.ReadByte() != 0;
    const bool goalReached = buffer.ReadByte() != 0;
    const bool toolApplied = buffer.ReadByte() != 0;
    const int32_t drawType = buffer.ReadInt32();
    const int32_t clickCounter = ReadCounter(buffer);
    const int32_t toolCounter = ReadCounter(buffer);
    const bool active = buffer.ReadByte() != 0;
    const int32_t hintCycle = ReadWord(buffer);
    const int32_t reservedState = ReadWord(buffer);
    std::vector<bool> used;
    for (size_t i = 0; i < mToolRecords.size() + mAfterEventToolRecords.size(); ++i) used.push_back(buffer.ReadByte() != 0);
    mStateRefused = !(alpha >= 0.0f && alpha <= 1.0f) || drawType < 0 || drawType > kMaxDrawType;
    if (mStateRefused) {
        GetLogger()->LogMessage("object %s: saved state refused (alpha %g, draw type %d)", GetFullName().c_str(),
                                static_cast<double>(alpha), static_cast<int>(drawType));
    } else {
        mX = x;
        mY = y;
        mVisible = visible;
        mAlpha = alpha;
        mLocked = locked;
        mGoalReached = goalReached;
        mToolApplied = toolApplied;
        mDrawType = drawType;
        mClickCounter = clickCounter;
        mToolCounter = toolCounter;
        mActive = active;
        mHintCycle = hintCycle;
        mReservedState = reservedState;
        size_t next = 0;
        for (TObjectToolRecord& record : mToolRecords) record.mUsed = used[next++];
        for (TObjectToolRecord& record : mAfterEventToolRecords) record.mUsed = used[next++];
    }
    for (auto& child : mChildren) child->LoadState(buffer);
}
