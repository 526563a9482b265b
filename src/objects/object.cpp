#include "objects/object.h"

#include <tinyxml.h>

#include "core/logger.h"
#include "core/text.h"
#include "core/xml_attributes.h"
#include "graphics/tweens.h"
#include "rooms/executer.h"
#include "rooms/game_space.h"

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
    std::vector<std::string> entries, parts;
    SplitString(text, ';', entries);
    for (const std::string& entry : entries) {
        if (SplitString(entry, ',', parts) == 0) continue;
        int32_t mode = 0;
        if (parts.size() > 1 && parts[1] != "true") mode = parts[1] == "false" ? 1 : 2;
        mToolRecords.emplace_back(parts[0], mode, parts.size() > 2 ? parts[2] : std::string(), this);
    }
}

void TObject::ReadAfterEventToolRecords(const std::string& text)
{
    // Here "true" is mode 1: the opposite of "tools".
    std::vector<std::string> entries, parts;
    SplitString(text, ';', entries);
    for (const std::string& entry : entries) {
        if (SplitString(entry, ',', parts) != 2) continue;
        mAfterEventToolRecords.emplace_back(parts[0], parts[1] == "true" ? 1 : 0, std::string(), nullptr);
    }
}

void TObject::ReadFrameSheet(TiXmlElement* element)
{
    int x = 0, y = 0, w = 0, h = 0;
    if (!GetAttrRect(element, "texrects", &x, &y, &w, &h, ".")) return;
    const int frames = GetAttrInt(element, "frames", 0);
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
    mDrawType = GetAttrInt(e, "drawtype", mDrawType);
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
    mAlpha = GetAttrFloat(e, "a", mAlpha, "alpha");
    mAngle = GetAttrFloat(e, "angle", 0.0f) * 0.017453292f;
    const float scale = GetAttrFloat(e, "scale", 1.0f);
    mScaleX = mScaleY = scale;
    // Exactly 1 counts as unset, so these never undo "scale".
    const float scaleX = GetAttrFloat(e, "scalex", 1.0f);
    if (scaleX != 1.0f) mScaleX = scaleX;
    const float scaleY = GetAttrFloat(e, "scaley", 1.0f);
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
