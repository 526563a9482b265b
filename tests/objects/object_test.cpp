#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "audio_cases.h"
#include "core/logger.h"
#include "core/xml_document.h"
#include "graphics/cadr_image.h"
#include "log_watch.h"
#include "objects/object.h"
#include "objects/object_fixture.h"
#include "rooms/executer.h"
#include "rooms/pocket_room_fixture.h"
#include "rooms/test_space.h"
#include "test_support.h"

namespace {

std::string Str(bool v) { return v ? "true" : "false"; }
std::string Str(int v) { return std::to_string(v); }
std::string Str(float v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}
std::string Str(const std::string& v) { return v; }
std::string Str(const TExecuter* v)
{
    if (!v) return "null";
    for (const auto& entry : ExecuterRegistry())
        if (entry.second.get() == v) return entry.first;
    return "unknown";
}

std::unique_ptr<TObject> LoadFixture(const char* name)
{
    return LoadObjectFrom(ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/objects/" + name));
}

// A kind whose constructor changes fields that have "current" and fixed defaults.
class TKindWithDefaults : public TObject {
public:
    TKindWithDefaults()
    {
        mActive = true;
        mLayer = 3;
        mWrongClickCountsForXo = false;
        mLocked = true;
        mGoalReached = true;
    }
};

struct TFieldRow {
    const char* field;
    std::function<std::string(const TObject&)> get;
    const char* constructed;
    const char* loaded;
};

}  // namespace

TEST(SceneObject, DefaultsAfterConstructionAndAfterAnEmptyElement)
{
    const TFieldRow rows[] = {
        {"visible", [](const TObject& o) { return Str(o.mVisible); }, "true", "true"},
        {"locked", [](const TObject& o) { return Str(o.mLocked); }, "false", "false"},
        {"active", [](const TObject& o) { return Str(o.mActive); }, "false", "false"},
        {"click enabled", [](const TObject& o) { return Str(o.mClickEnabled); }, "true", "true"},
        {"click counter", [](const TObject& o) { return Str(o.mClickCounter); }, "-1", "-1"},
        {"tool counter", [](const TObject& o) { return Str(o.mToolCounter); }, "-1", "-1"},
        {"max clicks", [](const TObject& o) { return Str(o.mMaxClicks); }, "99999999", "99999999"},
        {"max tool uses", [](const TObject& o) { return Str(o.mMaxToolUses); }, "99999999", "99999999"},
        {"freeze clicks", [](const TObject& o) { return Str(o.mFreezeClicks); }, "0", "99999999"},
        {"freeze tool clicks", [](const TObject& o) { return Str(o.mFreezeToolClicks); }, "0", "1"},
        {"alpha threshold", [](const TObject& o) { return Str(o.mAlphaThreshold); }, "25", "63"},
        {"tool power", [](const TObject& o) { return Str(o.mToolPower); }, "0", "-1"},
        {"visible after temp tool", [](const TObject& o) { return Str(o.mVisibleAfterTempTool); }, "false", "true"},
        {"hide after take tool", [](const TObject& o) { return Str(o.mHideAfterTakeTool); }, "true", "true"},
        {"hint from parent", [](const TObject& o) { return Str(o.mHintFromParent); }, "true", "true"},
        {"wrong click for xo", [](const TObject& o) { return Str(o.mWrongClickCountsForXo); }, "true", "true"},
        {"blend mode", [](const TObject& o) { return Str(o.mBlendMode); }, "1", "1"},
        {"sound tool", [](const TObject& o) { return Str(o.mSoundTool); }, "", "drop_tool"},
        {"sound need tool", [](const TObject& o) { return Str(o.mSoundNeedTool); }, "", "need_tool"},
        {"hint executer", [](const TObject& o) { return Str(o.mHintExecuter); }, "null", "hint"},
        {"click executer", [](const TObject& o) { return Str(o.mClickExecuter); }, "null", "null"},
        {"goal reached", [](const TObject& o) { return Str(o.mGoalReached); }, "false", "false"},
        {"alpha", [](const TObject& o) { return Str(o.mAlpha); }, "1", "1"},
        {"scale x", [](const TObject& o) { return Str(o.mScaleX); }, "1", "1"},
        {"blink", [](const TObject& o) { return Str(o.mBlink); }, "0", "0"},
        {"hint mode", [](const TObject& o) { return Str(o.mHintMode); }, "0", "0"},
        {"frames", [](const TObject& o) { return Str(static_cast<int>(o.mFrames.size())); }, "0", "0"},
    };
    TObject constructed;
    std::unique_ptr<TObject> loaded = LoadObjectFrom("<object/>");
    for (const TFieldRow& row : rows) {
        EXPECT_EQ(row.get(constructed), row.constructed) << row.field;
        EXPECT_EQ(row.get(*loaded), row.loaded) << row.field;
    }
}

TEST(SceneObject, EveryKeyReadsIntoItsOwnField)
{
    std::unique_ptr<TObject> o = LoadFixture("all_keys.xml");
    EXPECT_EQ(o->mImagePath, "textures/pic");
    EXPECT_EQ(o->GetName(), "obj1");
    EXPECT_EQ(o->mRoom + o->mRoomXo + o->mPocket + o->mMinigame + o->mDialog + o->mDialog2, "r1r2r3r4r5r6");
    EXPECT_EQ(o->mRoomAfterTool + o->mRoomXoAfterTool + o->mPocketAfterTool + o->mMinigameAfterTool +
                  o->mDialogAfterTool + o->mDialogAfterTool2,
              "t1t2t3t4t5t6");
    EXPECT_EQ(o->mSound + o->mSoundTool + o->mSoundNeedTool + o->mSoundMouseEnter + o->mSoundMouseLeave,
              "s1s2s3s4s5");
    EXPECT_EQ(o->mActivationSounds, (std::vector<std::string>{"sa1", "sa2"}));
    EXPECT_EQ(o->mEffectorName, "eff");
    EXPECT_EQ(o->mParam1 + o->mParam2, "p1p2");
    EXPECT_FALSE(o->mHintFromParent);
    EXPECT_FALSE(o->mClickEnabled);
    EXPECT_TRUE(o->mActive);
    EXPECT_EQ(o->mHintMode, kHintNone);
    EXPECT_TRUE(o->mMoveable);
    EXPECT_EQ(o->mPocketTools, (std::vector<std::string>{"tp1", "tp2"}));
    EXPECT_EQ(o->mMinigameTools, (std::vector<std::string>{"tm1"}));
    EXPECT_EQ(o->mNeededTools, (std::vector<std::string>{"nt1", "nt2"}));
    EXPECT_EQ(o->mCursorName, "hand");
    EXPECT_FALSE(o->mHideAfterTakeTool);
    EXPECT_EQ(o->mHints, (std::vector<std::string>{"h1", "h2"}));
    EXPECT_EQ(o->mLockedHints, (std::vector<std::string>{"hl1"}));
    EXPECT_EQ(o->mToolHints, (std::vector<std::string>{"ht1"}));
    ASSERT_EQ(o->mWrongToolHints.size(), 1u);
    EXPECT_EQ(o->mWrongToolHints[0].mTool, "wt");
    EXPECT_EQ(o->mWrongToolHints[0].mHints, (std::vector<std::string>{"w1", "w2"}));
    EXPECT_EQ(Str(o->mHintExecuter), "iteraction");
    EXPECT_EQ(o->mDrawType, 3);
    EXPECT_EQ(o->mMaxClicks, 7);
    EXPECT_EQ(o->mMaxToolUses, 8);
    EXPECT_EQ(o->mFreezeClicks, 9);
    EXPECT_EQ(o->mFreezeToolClicks, 10);
    EXPECT_FLOAT_EQ(o->mClickDelay, 1.5f);
    EXPECT_TRUE(o->mCheckOnlyBounds);
    EXPECT_TRUE(o->mCacheColours);
    EXPECT_EQ(o->mAlphaThreshold, 102);
    EXPECT_FALSE(o->mVisible);
    EXPECT_TRUE(o->mDummy);
    EXPECT_TRUE(o->mHideOnClick);
    EXPECT_EQ(o->mHoldToolAfterUse, 11);
    EXPECT_TRUE(o->mLocked);
    EXPECT_FALSE(o->mVisibleAfterTempTool);
    EXPECT_FLOAT_EQ(o->mAlpha, 0.5f);
    EXPECT_FLOAT_EQ(o->mAngle, 180 * 0.017453292f);
    EXPECT_FLOAT_EQ(o->mScaleX, 3.0f);
    EXPECT_FLOAT_EQ(o->mScaleY, 4.0f);
    EXPECT_EQ(o->mHintPointY, 12);
    EXPECT_EQ(o->mHintPointX, 13);
    EXPECT_EQ(o->mBlendMode, kBlendAdd);
    EXPECT_FLOAT_EQ(o->mBlink, 4.5f);
    EXPECT_EQ(o->mBlinkOffsetX, 14);
    EXPECT_EQ(o->mBlinkOffsetY, 15);
    EXPECT_FLOAT_EQ(o->mX, 16.0f);
    EXPECT_FLOAT_EQ(o->mY, 17.0f);
    EXPECT_FLOAT_EQ(o->mWidth, 18.0f);
    EXPECT_FLOAT_EQ(o->mHeight, 19.0f);
    EXPECT_EQ(o->mRefX, 16);
    EXPECT_EQ(o->mRefY, 17);
    EXPECT_FLOAT_EQ(o->mTag, 20.5f);
    ASSERT_EQ(o->mToolRecords.size(), 2u);
    EXPECT_EQ(o->mToolRecords[0].mToolName + o->mToolRecords[0].mOption + o->mToolRecords[1].mToolName, "k1optk2");
    ASSERT_EQ(o->mAfterEventToolRecords.size(), 1u);
    EXPECT_EQ(o->mAfterEventToolRecords[0].mToolName, "e1");
    const TNameList* taskLists[] = {&o->mTasks, &o->mToolTasks, &o->mTasksRemove,
                                    &o->mToolTasksRemove, &o->mEventTasks, &o->mEventTasksRemove};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(*taskLists[i], (TNameList{{"ta" + std::to_string(i + 1)}})) << i;
    const TNameGroup* nameLists[] = {&o->mAobjAfterClick, &o->mAobjAfterTool, &o->mAobjAfterEvent,
                                     &o->mRobjAfterClick, &o->mRobjAfterTool, &o->mRobjAfterEvent,
                                     &o->mCobjAfterClick, &o->mCobjAfterTool, &o->mCobjAfterEvent};
    const char* nameValues[] = {"ao1", "ao2", "ao3", "ro1", "ro2", "ro3", "co1", "co2", "co3"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(*nameLists[i], (TNameGroup{nameValues[i]})) << i;
    const TFlagRefList* flagLists[] = {&o->mFlags, &o->mToolFlags, &o->mEventFlags};
    const TStateRefList* stateLists[] = {&o->mStates, &o->mToolStates, &o->mEventStates};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(flagLists[i]->size(), 1u);
        EXPECT_EQ((*flagLists[i])[0][0].mName, "f" + std::to_string(i + 1));
        EXPECT_EQ((*flagLists[i])[0][0].mValue, i + 1);
        ASSERT_EQ(stateLists[i]->size(), 1u);
        EXPECT_EQ((*stateLists[i])[0][0].mFirst, "s" + std::to_string(i + 1));
        EXPECT_EQ((*stateLists[i])[0][0].mSecond, std::string(1, static_cast<char>('a' + i)));
    }
    EXPECT_EQ(Str(o->mClickExecuter), "xodouble");
    EXPECT_FLOAT_EQ(o->mToolPower, 2.5f);
    EXPECT_EQ(o->mTcx, 21);
    EXPECT_EQ(o->mTcy, 22);
    ASSERT_EQ(o->mFrames.size(), 3u);
    EXPECT_EQ(o->mFrames[2].mLeft, 0);
    EXPECT_EQ(o->mFrames[2].mTop, 8);
    EXPECT_EQ(o->mCurrentFrame, 2);
    EXPECT_FLOAT_EQ(o->mFrameDelay, 0.25f);
    EXPECT_EQ(o->mAnimMode, 2);
    EXPECT_TRUE(o->mIgnoreSubObjects);
    EXPECT_TRUE(o->mSkipOwnerOffset);
    EXPECT_EQ(o->mClipX * 1000 + o->mClipY * 100 + o->mClipW * 10 + o->mClipH, 1234);
    EXPECT_TRUE(o->mCanRunXoEffect);
    EXPECT_TRUE(o->mDrawChildrenFirst);
    EXPECT_EQ(o->mLayer, 23);
    EXPECT_TRUE(o->mAllowClickWithTool);
    EXPECT_FALSE(o->mWrongClickCountsForXo);
}

namespace {
struct TReactionKeyRow {
    const char* name;
    const char* alias;
    TReactionList list;
};
const TReactionKeyRow kReactionRows[] = {
    {"unlockafterclick", "uac", kUnlockAfterClick},       {"unlockaftertool", "uat", kUnlockAfterTool},
    {"unlockafterevent", "uae", kUnlockAfterEvent},       {"lockafterclick", "lac", kLockAfterClick},
    {"lockaftertool", "lat", kLockAfterTool},             {"lockafterevent", "lae", kLockAfterEvent},
    {"activateafterclick", "aac", kActivateAfterClick},   {"activateaftertool", "aat", kActivateAfterTool},
    {"activateafterevent", "aae", kActivateAfterEvent},   {"visibleaftertool", "vat", kVisibleAfterTool},
    {"visibleafterclick", "vac", kVisibleAfterClick},     {"visibleafterevent", "vae", kVisibleAfterEvent},
    {"hideaftertool", "hat", kHideAfterTool},             {"hideafterclick", "hac", kHideAfterClick},
    {"hideafterevent", "hae", kHideAfterEvent},           {"visibleaftertoolcf", "vatcf", kVisibleAfterToolCf},
    {"visibleafterclickcf", "vaccf", kVisibleAfterClickCf}, {"hideaftertoolcf", "hatcf", kHideAfterToolCf},
    {"hideafterclickcf", "haccf", kHideAfterClickCf},     {"effaftertool", "eat", kEffAfterTool},
    {"effafterclick", "eac", kEffAfterClick},             {"effafterevent", "eae", kEffAfterEvent},
    {"effsafterevent", "esae", kEffsAfterEvent},          {"effsaftertool", "esat", kEffsAfterTool},
    {"effsafterclick", "esac", kEffsAfterClick},          {"deactivateafterclick", "dac", kDeactivateAfterClick},
    {"deactivateaftertool", "dat", kDeactivateAfterTool}, {"deactivateafterevent", "dae", kDeactivateAfterEvent},
};
}  // namespace

TEST(SceneObject, EveryReactionListReadsItsOwnKeyAndAlias)
{
    std::unique_ptr<TObject> longNames = LoadFixture("all_keys.xml");
    std::unique_ptr<TObject> aliases = LoadFixture("aliases.xml");
    for (const TReactionKeyRow& row : kReactionRows) {
        ASSERT_EQ(longNames->mReactions[row.list].size(), 1u) << row.name;
        EXPECT_EQ(longNames->mReactions[row.list][0][0].mObject, std::string(row.name) + "obj");
        ASSERT_EQ(aliases->mReactions[row.list].size(), 1u) << row.alias;
        EXPECT_EQ(aliases->mReactions[row.list][0][0].mObject, std::string(row.alias) + "obj");
    }
}

TEST(SceneObject, EveryAliasReadsIntoTheFieldOfItsKey)
{
    std::unique_ptr<TObject> o = LoadFixture("aliases.xml");
    EXPECT_EQ(o->mCursorName, "arrow");
    EXPECT_EQ(o->mFreezeClicks, 31);
    EXPECT_EQ(o->mFreezeToolClicks, 32);
    EXPECT_TRUE(o->mCheckOnlyBounds);
    EXPECT_FALSE(o->mVisible);
    EXPECT_TRUE(o->mDummy);
    EXPECT_TRUE(o->mLocked);
    EXPECT_FLOAT_EQ(o->mAlpha, 0.25f);
}

TEST(SceneObject, LongNameWinsOverAliasUnlessEmpty)
{
    struct Case {
        const char* xml;
        const char* cursor;
        bool visible;
        bool locked;
        const char* shown;  // object of the first "visibleafterclick" reference
    };
    const Case cases[] = {
        {"<object l='0' locked='1' vac='b' visibleafterclick='a'/>", "", true, true, "a"},
        {"<object l='1' locked='' vac='b' visibleafterclick=''/>", "", true, true, "b"},
        {"<object v='0' visible='1'/>", "", false, false, ""},
        {"<object visible='0'/>", "", false, false, ""},
        {"<object c='' cursor='hand'/>", "hand", true, false, ""},
        {"<object c='x' cursor='hand'/>", "x", true, false, ""},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom(c.xml);
        EXPECT_EQ(o->mCursorName, c.cursor) << c.xml;
        EXPECT_EQ(o->mVisible, c.visible) << c.xml;
        EXPECT_EQ(o->mLocked, c.locked) << c.xml;
        const TObjectRefList& shown = o->mReactions[kVisibleAfterClick];
        EXPECT_EQ(shown.empty() ? "" : shown[0][0].mObject, c.shown) << c.xml;
    }
}

TEST(SceneObject, FixedDefaultsOverrideTheKindAndCurrentOnesKeepIt)
{
    std::unique_ptr<TKindWithDefaults> plain = LoadObjectFrom<TKindWithDefaults>("<object/>");
    EXPECT_FALSE(plain->mLocked);  // "locked" has a fixed default
    EXPECT_FALSE(plain->mGoalReached);
    EXPECT_TRUE(plain->mActive);
    EXPECT_EQ(plain->mLayer, 3);
    EXPECT_FALSE(plain->mWrongClickCountsForXo);

    std::unique_ptr<TKindWithDefaults> written =
        LoadObjectFrom<TKindWithDefaults>("<object active='0' drawz='7' canbewrongclickxo='1'/>");
    EXPECT_FALSE(written->mActive);
    EXPECT_EQ(written->mLayer, 7);
    EXPECT_TRUE(written->mWrongClickCountsForXo);
}

TEST(SceneObject, ToolRecordsAndNamesDecideLimitsAndExecuters)
{
    struct Case {
        const char* xml;
        int maxClicks;
        int maxToolUses;
        const char* executer;
        const char* hintExecuter;
        float blink;
    };
    const Case cases[] = {
        {"<object tools='t1'/>", 1, 99999999, "tool", "hint", 3.0f},
        {"<object tools='t1;t2;t3'/>", 3, 99999999, "tool", "hint", 3.0f},
        {"<object tools='t1' maxclicks='5'/>", 5, 99999999, "tool", "hint", 3.0f},
        {"<object tools='t1' maxclicks='99999999'/>", 1, 99999999, "tool", "hint", 3.0f},
        {"<object tools='t1' tool='k'/>", 1, 1, "toolaftertool", "hint", 3.0f},
        {"<object tool='k' maxclickstool='4'/>", 99999999, 4, "null", "hint", 0.0f},
        {"<object exe='nosuch' hintexe='nosuch'/>", 99999999, 99999999, "null", "null", 0.0f},
        {"<object exe='Tool' hintexe='tool'/>", 99999999, 99999999, "null", "tool", 0.0f},
        {"<object c='hand'/>", 99999999, 99999999, "null", "hint", 3.0f},
        {"<object c='hand' blink='2'/>", 99999999, 99999999, "null", "hint", 2.0f},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom(c.xml);
        EXPECT_EQ(o->mMaxClicks, c.maxClicks) << c.xml;
        EXPECT_EQ(o->mMaxToolUses, c.maxToolUses) << c.xml;
        EXPECT_EQ(Str(o->mClickExecuter), c.executer) << c.xml;
        EXPECT_EQ(Str(o->mHintExecuter), c.hintExecuter) << c.xml;
        EXPECT_FLOAT_EQ(o->mBlink, c.blink) << c.xml;
    }
}

TEST(SceneObject, ToolRecordModesAndOwners)
{
    const size_t givenBefore = GivenToolRecords().size();
    struct Case {
        const char* xml;
        const char* tool;
        int mode;
        const char* option;
        bool owned;
    };
    const Case cases[] = {
        {"<object tools='t'/>", "t", 0, "", true},
        {"<object tools='t,true'/>", "t", 0, "", true},
        {"<object tools='t,false,opt'/>", "t", 1, "opt", true},
        {"<object tools='t,maybe,opt'/>", "t", 2, "opt", true},
        {"<object tools='t,,x'/>", "t", 2, "", true},
        {"<object toolsae='t,true'/>", "t", 1, "", false},
        {"<object toolsae='t,false'/>", "t", 0, "", false},
        {"<object toolsae='t,maybe'/>", "t", 0, "", false},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom(c.xml);
        const TToolRecordList& records = c.owned ? o->mToolRecords : o->mAfterEventToolRecords;
        ASSERT_EQ(records.size(), 1u) << c.xml;
        EXPECT_EQ(records[0].mToolName, c.tool) << c.xml;
        EXPECT_EQ(records[0].mMode, c.mode) << c.xml;
        EXPECT_EQ(records[0].mOption, c.option) << c.xml;
        EXPECT_EQ(records[0].mOwner, c.owned ? o.get() : nullptr) << c.xml;
        EXPECT_FALSE(records[0].mUsed);
    }
    EXPECT_TRUE(LoadObjectFrom("<object toolsae='t;a,b,c'/>")->mAfterEventToolRecords.empty());
    EXPECT_EQ(GivenToolRecords().size(), givenBefore);  // loading gives no tool away
}

TEST(SceneObject, ImagePathAndConvertedValues)
{
    EXPECT_EQ(LoadObjectFrom("<object name='a'/>")->mImagePath, "scene/a");
    EXPECT_EQ(LoadObjectFrom("<object name='a' udf='0'/>")->mImagePath, "textures/a");
    EXPECT_EQ(LoadObjectFrom("<object name='a'/>", "")->mImagePath, "textures/a");
    EXPECT_EQ(LoadObjectFrom("<object/>")->mImagePath, "");

    struct Case {
        const char* testAlpha;
        int threshold;
    };
    // 2147483647 * 255 / 100 = 5476083299 does not fit: it clamps.
    const Case alphas[] = {{"100", 255}, {"0", 0}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const Case& c : alphas)
        EXPECT_EQ(LoadObjectFrom(std::string("<object testalpha='") + c.testAlpha + "'/>")->mAlphaThreshold,
                  c.threshold)
            << c.testAlpha;

    EXPECT_FLOAT_EQ(LoadObjectFrom("<object angle='90'/>")->mAngle, 1.5707963f);
    EXPECT_EQ(LoadObjectFrom("<object blendmode='additive'/>")->mBlendMode, kBlendAdd);
    EXPECT_EQ(LoadObjectFrom("<object blendmode='multiplicative'/>")->mBlendMode, kBlendMod);
    EXPECT_EQ(LoadObjectFrom("<object blendmode='normal'/>")->mBlendMode, kBlendAlpha);
    EXPECT_EQ(LoadObjectFrom("<object hint_mod='show_hint'/>")->mHintMode, kHintShow);
    EXPECT_EQ(LoadObjectFrom("<object hint_mod='loud'/>")->mHintMode, kHintDefault);

    std::unique_ptr<TObject> scaled = LoadObjectFrom("<object scale='2' scalex='1' scaley='3'/>");
    EXPECT_FLOAT_EQ(scaled->mScaleX, 2.0f);
    EXPECT_FLOAT_EQ(scaled->mScaleY, 3.0f);

    TiXmlDocument doc;
    ParseXmlText(&doc, "<object cliprect='1.2.3'/>");
    TObject clipped;
    clipped.mClipH = 44;
    clipped.LoadXml(doc.RootElement(), "scene/");
    EXPECT_EQ(clipped.mClipX + clipped.mClipY + clipped.mClipW, 6);
    EXPECT_EQ(clipped.mClipH, 44);
}

TEST(SceneObject, HintModeWordsAndUnknownWordKeepsTheMode)
{
    TObject o;
    o.SetHintMode("no_hint");
    EXPECT_EQ(o.mHintMode, kHintNone);
    o.SetHintMode("Show_hint");
    EXPECT_EQ(o.mHintMode, kHintNone);
    o.SetHintMode("default");
    EXPECT_EQ(o.mHintMode, kHintDefault);
}

TEST(SceneObject, ReferencePointIsTakenBeforeCentreAndOwnerKeys)
{
    EXPECT_EQ(LoadObjectFrom("<object drawtype='1' x='300' w='100' scale='2'/>")->mRefX, 200);
    EXPECT_EQ(LoadObjectFrom("<object drawtype='5' x='300' w='100' scale='2'/>")->mRefX, 300);

    std::unique_ptr<TObject> centred = LoadObjectFrom("<object x='100' tcx='5'/>");
    EXPECT_EQ(centred->mRefX, 100);
    EXPECT_FLOAT_EQ(centred->GetX(), 105.0f);

    TTestSpace space(nullptr, 10.0f, 20.0f);
    std::unique_ptr<TObject> skipping = LoadObjectFrom("<object x='1' y='2' skipowneroffset='1'/>", "scene/", &space);
    EXPECT_EQ(skipping->mRefX, 11);
    EXPECT_EQ(skipping->mRefY, 22);
    EXPECT_FLOAT_EQ(skipping->GetX(), 1.0f);
    EXPECT_FLOAT_EQ(skipping->GetOwnerOffsetY(), 0.0f);

    std::unique_ptr<TObject> offset = LoadObjectFrom("<object x='1' y='2'/>", "scene/", &space);
    EXPECT_FLOAT_EQ(offset->GetY(), 22.0f);
    EXPECT_EQ(offset->GetXInt(), 11);
}

TEST(SceneObject, DrawTypesPlaceTheDrawnCorner)
{
    struct Case {
        int drawType;
        float x;
        float y;
    };
    // x 100, y 200, w 40, h 60, scale 2 (the object has no image, so its own size counts).
    const Case cases[] = {{0, 100, 200}, {1, 60, 140}, {2, 60, 80}, {3, 100, 200}, {4, 60, 80}, {5, 100, 200}};
    for (const Case& c : cases) {
        std::unique_ptr<TObject> o = LoadObjectFrom("<object x='100' y='200' w='40' h='60' scale='2' drawtype='" +
                                                    std::to_string(c.drawType) + "'/>");
        EXPECT_FLOAT_EQ(o->GetX(), c.x) << c.drawType;
        EXPECT_FLOAT_EQ(o->GetY(), c.y) << c.drawType;
    }
}

TEST(SceneObject, FrameSheetCutsRowByRow)
{
    std::unique_ptr<TObject> o = LoadObjectFrom(
        "<object texrects='0.0.64.32' frames='5' texw='128' startframe='1' framedelay='0.5' animmode='loop'/>");
    const int expected[5][4] = {{0, 0, 64, 32}, {64, 0, 128, 32}, {0, 32, 64, 64}, {64, 32, 128, 64}, {0, 64, 64, 96}};
    ASSERT_EQ(o->mFrames.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        const TFrameRect& f = o->mFrames[i];
        EXPECT_EQ((std::vector<int>{f.mLeft, f.mTop, f.mRight, f.mBottom}),
                  (std::vector<int>(expected[i], expected[i] + 4)))
            << i;
    }
    EXPECT_EQ(o->mCurrentFrame, 1);
    EXPECT_FLOAT_EQ(o->mFrameDelay, 0.5f);
    EXPECT_EQ(o->mAnimMode, 1);
}

TEST(SceneObject, FrameSheetKeysNeedACompleteRectangle)
{
    struct Case {
        const char* xml;
        size_t frames;
        int startFrame;
        int animMode;
        bool logged;
    };
    const Case cases[] = {
        {"<object texrects='0.0.64' frames='5' texw='128' startframe='2' animmode='loop'/>", 0, 0, 0, false},
        {"<object texrects='0.0.64.32' frames='0' texw='128' startframe='2' animmode='noloop'/>", 0, 2, 2, false},
        {"<object id='o' texrects='0.0.0.32' frames='2' texw='128' startframe='2' animmode='loop'/>", 0, 2, 1, true},
        {"<object id='o' texrects='0.0.64.32' frames='2' texw='63' startframe='3' animmode='loop'/>", 0, 3, 1, true},
    };
    for (const Case& c : cases) {
        TLogWatch log;
        std::unique_ptr<TObject> o = LoadObjectFrom(c.xml);
        EXPECT_EQ(o->mFrames.size(), c.frames) << c.xml;
        EXPECT_EQ(o->mCurrentFrame, c.startFrame) << c.xml;
        EXPECT_EQ(o->mAnimMode, c.animMode) << c.xml;
        EXPECT_EQ(log.Text().find("Object o: frame sheet ignored (frame width ") != std::string::npos, c.logged)
            << c.xml;
    }
    TLogWatch log;
    LoadObjectFrom("<object id='o' texrects='0.0.64.32' frames='2' texw='63'/>");
    EXPECT_TRUE(log.Has("Object o: frame sheet ignored (frame width 64, sheet width 63)"));
}

TEST(SceneObject, FrameRowsPastTheIntRangeClamp)
{
    std::unique_ptr<TObject> o = LoadObjectFrom("<object texrects='0.0.8.2147483647' frames='2' texw='8'/>");
    ASSERT_EQ(o->mFrames.size(), 2u);
    EXPECT_EQ(o->mFrames[1].mLeft, 0);
    EXPECT_EQ(o->mFrames[1].mTop, 2147483647);
    EXPECT_EQ(o->mFrames[1].mRight, 8);
    EXPECT_EQ(o->mFrames[1].mBottom, 2147483647);
}

TEST(SceneObject, FrameCountIsClampedAsTheSheetAnimationDoes)
{
    // One frame past the limit comes first: without the clamp it fails here at once, where two
    // billion would only run out of memory.
    for (const char* frames : {"65537", "2000000000"}) {
        SCOPED_TRACE(frames);
        TLogWatch log;
        std::unique_ptr<TObject> o = LoadObjectFrom(std::string("<object id='o' texrects='0.0.8.8' frames='") +
                                                    frames + "' texw='64' animmode='loop'/>");
        ASSERT_EQ(o->mFrames.size(), static_cast<size_t>(TCadrImage::kMaxFrames));
        EXPECT_TRUE(log.Has(std::string("Object o: frames ") + frames + " clamped to 65536"));
        const TFrameRect& last = o->mFrames.back();
        EXPECT_EQ((std::vector<int>{last.mLeft, last.mTop, last.mRight, last.mBottom}),
                  (std::vector<int>{56, 65528, 64, 65536}));
    }
}

using SceneObjectFile = PocketRoomTest;

// A space file with a picture at an angle that is no number, or sixteen screens wide, crashed
// SDL's software renderer or asked it for petabytes; alpha and draw type are held to what a
// saved record accepts. Each is brought in where the file is read, with one line.
TEST_F(SceneObjectFile, DrawnValuesOutsideTheirRangeAreBroughtInWithALine)
{
    struct Case {
        const char* attribute;
        std::function<float(const TObject&)> field;
        float taken;
        const char* line;
    };
    const auto angle = [](const TObject& o) { return o.mAngle; };
    const auto scaleX = [](const TObject& o) { return o.mScaleX; };
    const auto scaleY = [](const TObject& o) { return o.mScaleY; };
    const auto alpha = [](const TObject& o) { return o.mAlpha; };
    const auto drawType = [](const TObject& o) { return static_cast<float>(o.mDrawType); };
    const Case cases[] = {
        {"angle='nan'", angle, 0.0f, "room.xml: object \"angle\" = \"nan\" is out of range, taken as 0"},
        {"angle='-1e39'", angle, 0.0f, "room.xml: object \"angle\" = \"-1e39\" is out of range, taken as 0"},
        {"scale='2000000'", scaleX, 16.0f, "room.xml: object \"scale\" = \"2000000\" is out of range, taken as 16"},
        {"scalex='nan'", scaleX, 1.0f, "room.xml: object \"scalex\" = \"nan\" is out of range, taken as 1"},
        {"scaley='-2000000'", scaleY, -16.0f,
         "room.xml: object \"scaley\" = \"-2000000\" is out of range, taken as -16"},
        {"a='1.5'", alpha, 1.0f, "room.xml: object \"a\" = \"1.5\" is out of range, taken as 1"},
        {"alpha='nan'", alpha, 1.0f, "room.xml: object \"alpha\" = \"nan\" is out of range, taken as 1"},
        {"alpha='-0.5'", alpha, 0.0f, "room.xml: object \"alpha\" = \"-0.5\" is out of range, taken as 0"},
        {"drawtype='6'", drawType, 0.0f, "room.xml: object \"drawtype\" = \"6\" is out of range, taken as 0"},
        {"drawtype='-1'", drawType, 0.0f, "room.xml: object \"drawtype\" = \"-1\" is out of range, taken as 0"},
        {"angle='-720' scale='16' a='0' drawtype='5'", scaleX, 16.0f, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attribute);
        TLogWatch log;
        TRoom* room = Load(std::string("<room><Common name='r'/><Objects><object id='o' name='pic' x='40' y='40' ") +
                           c.attribute + "/></Objects></room>");
        EXPECT_EQ(c.field(*Object("o")), c.taken);
        EXPECT_EQ(log.CountStartingWith("room.xml: object "), c.line ? 1u : 0u);
        if (c.line) {
            EXPECT_TRUE(log.Has(c.line));
        }
        ShowAndDraw(room);
    }
}

TEST(SceneObject, LoadingDropsImageEffectAndChildren)
{
    TObject o;
    o.mImage = std::make_unique<StaticImage>();
    o.mEffect = std::make_unique<DrawObject>();
    o.mChildren.push_back(std::make_unique<TObject>());
    o.mChildren.push_back(nullptr);
    o.mChildren.back().reset();
    o.mChildren.push_back(std::make_unique<TKindWithDefaults>());
    TiXmlDocument doc;
    ParseXmlText(&doc, "<object/>");
    o.LoadXml(doc.RootElement(), "scene/");
    EXPECT_EQ(o.mImage, nullptr);
    EXPECT_EQ(o.mEffect, nullptr);
    EXPECT_TRUE(o.mChildren.empty());
    EXPECT_EQ(o.GetTypeCode(), 0);
}
