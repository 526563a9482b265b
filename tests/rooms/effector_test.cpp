// Keyframe effectors: tracks written into their target, play and repeat, the kinds, the
// factory and the saved state.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <functional>
#include <typeinfo>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/random.h"
#include "core/xml_document.h"
#include "log_watch.h"
#include "objects/anim_objects.h"
#include "objects/object_scene_fixture.h"
#include "rooms/effector.h"
#include "rooms/pocket.h"
#include "rooms/pocket_room_fixture.h"
#include "rooms/random_effectors.h"
#include "rooms/room_factory.h"
#include "test_support.h"

namespace {

const char* const kXKeys = "<key id='x' time='0' value='0'/><key id='x' time='1' value='100'/>";

std::unique_ptr<TEffector> MakeEffector(const std::string& xml, const std::string& type = "")
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    TEffectorsFactory factory;
    std::unique_ptr<TEffector> effector(factory.Create(type));
    if (effector) effector->LoadXml(doc.RootElement());
    return effector;
}

std::string Keys(const char* id, float a, float b)
{
    return std::string("<key id='") + id + "' time='0' value='" + std::to_string(a) + "'/><key id='" + id +
           "' time='1' value='" + std::to_string(b) + "'/>";
}

class TEffectorRecorder : public TEffectorListener {
public:
    explicit TEffectorRecorder(std::vector<std::string>* log) : mLog(log) {}
    void OnEffectorStarted(TEffector* effector) override { mLog->push_back("started " + effector->mName); }
    void OnEffectorStopped(TEffector* effector) override { mLog->push_back("stopped " + effector->mName); }
    void OnEffectorChannelFinished(TEffector*, int channel) override
    {
        mLog->push_back("listener " + std::to_string(channel));
    }
    std::vector<std::string>* mLog;
};

// A target that records the channel ends it hears, named "object".
struct TTrackFixture {
    std::vector<std::string> log;
    TEffectorRecorder listener{&log};
    std::unique_ptr<TRecordingObject> target = LoadObjectFrom<TRecordingObject>("<object id='object'/>");

    TTrackFixture() { target->mLog = &log; }

    std::unique_ptr<TEffector> Bind(const std::string& xml, const std::string& type = "")
    {
        std::unique_ptr<TEffector> e = MakeEffector(xml, type);
        e->mListener = &listener;
        e->SetTarget(target.get());
        return e;
    }
};

std::vector<float> Steps(TEffector& e, const float* member, int updates)
{
    std::vector<float> seen;
    for (int i = 0; i < updates; ++i) {
        e.Update(0.25f);
        seen.push_back(*member);
    }
    return seen;
}

int Count(const std::vector<std::string>& log, const std::string& entry)
{
    return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

std::string StateOf(const TEffector& e)
{
    TBaseBuffer buffer;
    e.SaveState(buffer);
    return Bytes(buffer);
}

}  // namespace

TEST(Effector, TracksWriteTheirValuesAndReportTheirEnd)
{
    TTrackFixture f;
    std::unique_ptr<TEffector> x = f.Bind(std::string("<effector loop='1'>") + kXKeys + "</effector>");
    EXPECT_EQ(Steps(*x, &f.target->mX, 4), (std::vector<float>{0, 25, 50, 75}));
    EXPECT_EQ(f.log, (std::vector<std::string>{"object 0", "listener 0"}));  // started before it had a listener
    x->Update(0.25f);
    EXPECT_FLOAT_EQ(f.target->mX, 75.0f);

    TTrackFixture g;
    std::unique_ptr<TEffector> y = g.Bind("<effector loop='1'>" + Keys("y", 0, 100) + "</effector>");
    EXPECT_EQ(Steps(*y, &g.target->mY, 4), (std::vector<float>{25, 50, 75, 100}));
    EXPECT_EQ(Count(g.log, "object 1"), 1);

    TTrackFixture h;
    std::unique_ptr<TEffector> endless = h.Bind(std::string("<effector>") + kXKeys + "</effector>");
    EXPECT_EQ(Steps(*endless, &h.target->mX, 6), (std::vector<float>{0, 25, 50, 75, 0, 25}));
    EXPECT_TRUE(h.log.empty());

    TTrackFixture k;
    std::unique_ptr<TEffector> twice = k.Bind(std::string("<effector loop='2'>") + kXKeys + "</effector>");
    Steps(*twice, &k.target->mX, 7);
    EXPECT_EQ(Count(k.log, "object 0"), 0);
    twice->Update(0.25f);
    EXPECT_EQ(Count(k.log, "object 0"), 1);

    // An unknown id is skipped, and keys out of time order run over |dt|.
    TTrackFixture m;
    std::unique_ptr<TEffector> odd =
        m.Bind("<effector><key id='z' time='0' value='9'/><key id='x' time='1' value='0'/>"
               "<key id='x' time='0' value='100'/></effector>");
    for (int i = 0; i < kChannelCount; ++i) EXPECT_EQ(odd->mSlots[i].mHasKeys, i == kChannelX) << i;
    EXPECT_EQ(Steps(*odd, &m.target->mX, 3), (std::vector<float>{0, 25, 50}));
}

TEST(Effector, EveryChannelWritesItsMember)
{
    struct Case {
        const char* id;
        float angle, alpha, scaleX, scaleY;
    };
    const Case cases[] = {
        {"a", 0.5f, 1, 1, 1}, {"o", 0, 0.5f, 1, 1}, {"s", 0, 1, 0.5f, 0.5f},
        {"sx", 0, 1, 0.5f, 1}, {"sy", 0, 1, 1, 0.5f},
    };
    for (const Case& c : cases) {
        TTrackFixture f;
        std::unique_ptr<TEffector> e = f.Bind("<effector>" + Keys(c.id, 0, 1) + "</effector>");
        e->Update(0.25f);
        e->Update(0.25f);
        EXPECT_FLOAT_EQ(f.target->mAngle, c.angle) << c.id;
        EXPECT_FLOAT_EQ(f.target->mAlpha, c.alpha) << c.id;
        EXPECT_FLOAT_EQ(f.target->mScaleX, c.scaleX) << c.id;
        EXPECT_FLOAT_EQ(f.target->mScaleY, c.scaleY) << c.id;
        EXPECT_FLOAT_EQ(f.target->mX, 0.0f) << c.id;
    }
}

TEST(Effector, WritesKeepTheStoredPositionOfTheOtherAxisAndOfChildren)
{
    for (const char* keys : {"drawtype='1' w='100' h='40'", "tcx='10' tcy='10'"}) {
        std::unique_ptr<TObject> o = LoadObjectFrom(std::string("<object y='50' ") + keys + "/>");
        std::unique_ptr<TEffector> e = MakeEffector(std::string("<effector>") + kXKeys + "</effector>");
        e->SetTarget(o.get());
        for (int i = 0; i < 120; ++i) e->Update(1.0f / 60);
        EXPECT_FLOAT_EQ(o->mY, 50.0f) << keys;
    }

    std::unique_ptr<TObject> parent = LoadObjectFrom("<object x='0' y='0'/>");
    TObject* child = NestChild(*parent, "<object x='30' y='20' tcx='10'/>");
    std::unique_ptr<TEffector> e = MakeEffector(std::string("<effector>") + kXKeys + "</effector>");
    e->SetTarget(parent.get());
    for (int i = 0; i < 6; ++i) {
        e->Update(0.25f);
        EXPECT_FLOAT_EQ(child->mX - parent->mX, 30.0f) << i;
        EXPECT_FLOAT_EQ(child->mY - parent->mY, 20.0f) << i;
    }
}

TEST(Effector, PlayFlagRepeatersAndReset)
{
    TTrackFixture f;
    f.target->mX = 7;
    std::unique_ptr<TEffector> waiting = f.Bind(std::string("<effector play='0'>") + kXKeys + "</effector>");
    Steps(*waiting, &f.target->mX, 4);
    EXPECT_FLOAT_EQ(f.target->mX, 7.0f);
    waiting->Play();
    EXPECT_EQ(Steps(*waiting, &f.target->mX, 2), (std::vector<float>{0, 25}));

    TTrackFixture g;
    g.target->mX = 7;
    std::unique_ptr<TEffector> repeated =
        g.Bind(std::string("<effector>") + kXKeys + "<repeater stime='1' time='10'/></effector>");
    Steps(*repeated, &g.target->mX, 4);
    EXPECT_FLOAT_EQ(g.target->mX, 7.0f);
    EXPECT_EQ(g.log, (std::vector<std::string>{"started "}));  // at the end of the fourth update
    EXPECT_EQ(Steps(*repeated, &g.target->mX, 2), (std::vector<float>{0, 25}));

    TTrackFixture h;
    h.target->mX = 7;
    std::unique_ptr<TEffector> never =
        h.Bind(std::string("<effector play='0'>") + kXKeys + "<repeater stime='1'/></effector>");
    Steps(*never, &h.target->mX, 8);
    EXPECT_FLOAT_EQ(h.target->mX, 7.0f);
    EXPECT_FLOAT_EQ(static_cast<TVariousTimeRepeater*>(never->mRepeater.Get())->GetTimer().GetElapsed(), 0.0f);

    TTrackFixture k;
    std::unique_ptr<TEffector> unknown =
        k.Bind(std::string("<effector>") + kXKeys + "<repeater type='fixed' stime='1'/></effector>");
    EXPECT_FALSE(unknown->mRepeater);
    EXPECT_EQ(Steps(*unknown, &k.target->mX, 2), (std::vector<float>{0, 25}));

    repeated->Reset();
    g.target->mX = 7;
    Steps(*repeated, &g.target->mX, 2);
    EXPECT_FLOAT_EQ(g.target->mX, 7.0f);
    EXPECT_TRUE(repeated->mSlots[kChannelX].mChannel.mValues.empty());
    EXPECT_FALSE(repeated->mSlots[kChannelX].mHasKeys);
    EXPECT_TRUE(repeated->mRepeater);
}

TEST(Effector, SingleKeyIsShownAtOnce)
{
    TTrackFixture f;
    f.target->mX = 7;
    f.target->mY = 9;
    std::unique_ptr<TEffector> e = f.Bind("<effector><key id='o' time='0' value='0.5'/></effector>");
    e->Update(0.25f);
    EXPECT_FLOAT_EQ(f.target->mAlpha, 0.5f);
    Steps(*e, &f.target->mAlpha, 3);
    EXPECT_FLOAT_EQ(f.target->mAlpha, 0.5f);
    EXPECT_EQ(Count(f.log, "object 3"), 1);
    EXPECT_FLOAT_EQ(f.target->mX, 7.0f);
    EXPECT_FLOAT_EQ(f.target->mY, 9.0f);
    EXPECT_FLOAT_EQ(f.target->mScaleX, 1.0f);
    EXPECT_FLOAT_EQ(f.target->mScaleY, 1.0f);
}

TEST(Effector, StopAndPlayLeaveKeylessChannelsIdle)
{
    const std::string fresh = StateOf(TEffector());
    TTrackFixture f;
    f.target->mX = 7;
    f.target->mY = 9;
    f.target->mAngle = 0.3f;
    f.target->mScaleX = f.target->mScaleY = 2;
    std::unique_ptr<TEffector> e = f.Bind("<effector>" + Keys("o", 0, 1) + "</effector>");
    e->Update(0.25f);
    e->Stop();
    EXPECT_EQ(f.log.back(), "stopped ");
    const std::string stopped = StateOf(*e);
    // Three key-less slots before the opacity's, three after it.
    const size_t three = 3 * 43;
    EXPECT_EQ(ToHex(stopped.substr(1, three)), ToHex(fresh.substr(1, three)));
    EXPECT_EQ(ToHex(stopped.substr(stopped.size() - three)), ToHex(fresh.substr(fresh.size() - three)));

    e->Play();
    EXPECT_EQ(Steps(*e, &f.target->mAlpha, 2), (std::vector<float>{0.25f, 0.5f}));
    EXPECT_FLOAT_EQ(f.target->mX, 7.0f);
    EXPECT_FLOAT_EQ(f.target->mY, 9.0f);
    EXPECT_FLOAT_EQ(f.target->mAngle, 0.3f);
    EXPECT_FLOAT_EQ(f.target->mScaleX, 2.0f);
    EXPECT_FLOAT_EQ(f.target->mScaleY, 2.0f);
}

TEST(Effector, CloneReplaysOnARepeaterOfItsOwn)
{
    SeedRandom(1);
    std::vector<std::string> log;
    TEffectorRecorder listener(&log);
    std::unique_ptr<TEffector> source =
        MakeEffector("<effector name='src'>" + Keys("o", 1, 0) + "<repeater stime='0.5' time='0.5'/></effector>");
    source->mListener = &listener;
    std::unique_ptr<TObject> a = LoadObjectFrom("<object/>");
    std::unique_ptr<TObject> b = LoadObjectFrom("<object/>");
    source->SetTarget(a.get());
    std::unique_ptr<TEffector> clone(source->Clone());
    clone->mName = "clone";
    clone->SetTarget(b.get());
    for (int i = 0; i < 8; ++i) {
        source->Update(0.25f);
        clone->Update(0.25f);
    }
    EXPECT_EQ(Count(log, "started src"), 4);
    EXPECT_EQ(Count(log, "started clone"), 4);
    EXPECT_LT(a->mAlpha, 1.0f);
    EXPECT_LT(b->mAlpha, 1.0f);

    source.reset();
    for (int i = 0; i < 4; ++i) clone->Update(0.25f);
    EXPECT_EQ(Count(log, "started clone"), 6);
}

TEST(EffectorKinds, FactoryBuildsEachKindByItsExactName)
{
    struct Case {
        const char* type;
        const std::type_info& kind;
    };
    const Case cases[] = {
        {"", typeid(TEffector)},
        {"cadr", typeid(TCadrEffector)},
        {"parent_signal", typeid(TParentSignalEffector)},
        {"random", typeid(TRandomEffector)},
        {"randomsv", typeid(TRandomEffectorOwnSV)},
        {"trajectory", typeid(TTrajectoryEffector)},
        {"showpocket", typeid(TShowPocketEffector)},
        {"shake", typeid(TShakeEffector)},
    };
    TEffectorsFactory factory;
    for (const Case& c : cases) {
        std::unique_ptr<TEffector> e(factory.Create(c.type));
        ASSERT_NE(e, nullptr) << c.type;
        EXPECT_EQ(typeid(*e), c.kind) << c.type;
    }
    EXPECT_EQ(factory.Create("Cadr"), nullptr);
    EXPECT_EQ(factory.Create("x"), nullptr);
}

TEST(EffectorKinds, FrameEffectorSetsUpTheSheetOfAFrameObject)
{
    const char* xml = "<effector name='c' cadr_width='16' cadr_height='8' frames='6' speed='0.2' tw='48' th='16'/>";
    std::unique_ptr<TEffector> e = MakeEffector(xml, "cadr");
    TCadrObject target;
    target.mScaleX = 1.5f;
    target.mScaleY = 3.0f;
    target.mCadrImage = new TCadrImage();
    e->SetTarget(&target);
    const TCadrImage& image = *target.mCadrImage;
    EXPECT_EQ(image.mSheetWidth, 48);
    EXPECT_EQ(image.mSheetHeight, 16);
    EXPECT_FLOAT_EQ(image.mFrameTime, 0.2f);
    EXPECT_EQ(image.mFrames, 6);
    EXPECT_EQ(image.mFrameWidth, 16);
    EXPECT_EQ(image.mFrameHeight, 8);
    EXPECT_FLOAT_EQ(image.GetImage().mScaleX, 1.5f);
    EXPECT_FLOAT_EQ(image.GetImage().mScaleY, 1.5f);
    EXPECT_EQ(target.GetTypeCode(), 18);

    TCadrObject bare;
    std::unique_ptr<TObject> plain = LoadObjectFrom("<object/>");
    e->SetTarget(&bare);
    e->SetTarget(plain.get());
    EXPECT_EQ(e->mTarget, plain.get());

    std::unique_ptr<TEffector> clone(e->Clone());
    EXPECT_EQ(typeid(*clone), typeid(TEffector));
}

TEST(EffectorKinds, ParentSignalTellsTheParentInsteadOfTheTarget)
{
    std::vector<std::string> log;
    TEffectorRecorder listener(&log);
    std::unique_ptr<TRecordingObject> parent = LoadObjectFrom<TRecordingObject>("<object id='parent'/>");
    parent->mLog = &log;
    TRecordingObject* child = NestChild<TRecordingObject>(*parent, "<object id='child'/>");
    child->mLog = &log;
    std::unique_ptr<TEffector> e =
        MakeEffector(std::string("<effector loop='1'>") + kXKeys + "</effector>", "parent_signal");
    e->mListener = &listener;
    e->SetTarget(child);
    for (int i = 0; i < 4; ++i) e->Update(0.25f);
    EXPECT_EQ(log, (std::vector<std::string>{"parent 0", "listener 0"}));

    log.clear();
    child->mParentObject = nullptr;
    e->Play();
    for (int i = 0; i < 4; ++i) e->Update(0.25f);
    EXPECT_EQ(log, (std::vector<std::string>{"started ", "listener 0"}));
}

TEST(EffectorState, RecordsMatchTheirBytes)
{
    std::string idleSlot = "00 00 00 00 00 00 00 00 00 00 01 00 00 00 00 01 00 00 00 ";
    for (int i = 0; i < 20; ++i) idleSlot += "00 ";
    idleSlot += "01 00 00 01 ";
    std::string sixIdle;
    for (int i = 0; i < 6; ++i) sixIdle += idleSlot;

    TEffector empty;
    EXPECT_EQ(ToHex(StateOf(empty)), ToHex(HexBytes(("01 " + idleSlot + sixIdle).c_str())));

    const std::string keys = "01 01 02 00 00 00 00 00 00 00 A0 86 01 00 02 00 00 00 00 00 00 00 E8 03 00 00 00 00 00 "
                             "00 00 FF FF FF FF ";
    TTrackFixture f;
    std::unique_ptr<TEffector> e = f.Bind(std::string("<effector>") + kXKeys + "</effector>");
    const std::string loaded = StateOf(*e);
    EXPECT_EQ(loaded.size(), 318u);
    EXPECT_EQ(ToHex(loaded), ToHex(HexBytes(("01 " + keys +
                                             "00 00 00 00 00 00 00 00 A0 86 01 00 E8 03 00 00 00 00 00 00 00 01 00 01 " +
                                             sixIdle).c_str())));
    e->Update(0.25f);
    EXPECT_EQ(ToHex(StateOf(*e)),
              ToHex(HexBytes(("01 " + keys + "A8 61 00 00 00 00 00 00 A0 86 01 00 E8 03 00 00 FA 00 00 00 00 01 00 01 " +
                              sixIdle).c_str())));

    std::unique_ptr<TEffector> repeated = MakeEffector(std::string("<effector>") + kXKeys + "<repeater stime='2'/></effector>");
    const std::string waiting = StateOf(*repeated);
    EXPECT_EQ(waiting.size(), 323u);
    std::string notPlayed = "01 00 01 02 00 00 00 00 00 00 00 A0 86 01 00 02 00 00 00 00 00 00 00 E8 03 00 00 01 "
                            "00 00 00 00 01 00 00 00 ";
    for (int i = 0; i < 20; ++i) notPlayed += "00 ";
    notPlayed += "01 00 00 01";
    EXPECT_EQ(ToHex(waiting.substr(0, 60)), ToHex(HexBytes(notPlayed.c_str())));
    EXPECT_EQ(ToHex(waiting.substr(318)), ToHex(HexBytes("D0 07 00 00 01")));
}

TEST(EffectorState, LoadedStateContinuesWhereItWasSaved)
{
    const std::string xml = std::string("<effector>") + kXKeys + "</effector>";
    TTrackFixture f;
    std::unique_ptr<TEffector> e = f.Bind(xml);
    for (int i = 0; i < 3; ++i) e->Update(0.25f);
    TBaseBuffer buffer;
    e->SaveState(buffer);

    TTrackFixture g;
    std::unique_ptr<TEffector> back = g.Bind(xml);
    back->LoadState(buffer);
    e->Update(0.25f);
    back->Update(0.25f);
    EXPECT_FLOAT_EQ(g.target->mX, f.target->mX);
    EXPECT_FLOAT_EQ(g.target->mX, 75.0f);

    // Saved with a repeater, read without one: its bytes stay unread.
    std::unique_ptr<TEffector> repeated = MakeEffector(xml.substr(0, xml.size() - 11) + "<repeater stime='2'/></effector>");
    TBaseBuffer withRepeater;
    repeated->SaveState(withRepeater);
    back->LoadState(withRepeater);
    EXPECT_EQ(withRepeater.BytesLeft(), 5u);
}

using EffectorFile = PocketRoomTest;

// A scale key of two million made SDL's software renderer ask for a picture of petabytes. Keys
// are held to what a saved track takes back: a scale within the drawable's range, every other
// value and every time within what thousandths hold; no number takes the key's default.
TEST_F(EffectorFile, KeysASavedTrackCouldNotHoldAreBroughtInWithALine)
{
    TLogWatch log;
    TRoom* room = Load(R"(<room><Common name="r"/><Objects><object id="o" name="pic" x="10" y="10" effector="e"/>
        </Objects><effector name="e" loop="1"><key id="s" time="0" value="2000000"/><key id="s" time="nan" value="1"/>
        <key id="sy" time="0" value="-1e39"/><key id="a" time="0" value="nan"/>
        <key id="x" time="-5e6" value="1e30"/></effector></room>)");
    const TEffector* e = room->GetEffector(0);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->mSlots[kChannelScale].mChannel.mValues, (std::vector<float>{16.0f, 1.0f}));
    EXPECT_EQ(e->mSlots[kChannelScale].mChannel.mTimes, (std::vector<float>{0.0f, 0.0f}));
    EXPECT_EQ(e->mSlots[kChannelScaleY].mChannel.mValues, (std::vector<float>{0.0f}));
    EXPECT_EQ(e->mSlots[kChannelAngle].mChannel.mValues, (std::vector<float>{0.0f}));
    EXPECT_EQ(e->mSlots[kChannelX].mChannel.mValues, (std::vector<float>{kMaxMilliValue}));
    EXPECT_EQ(e->mSlots[kChannelX].mChannel.mTimes, (std::vector<float>{-kMaxMilliValue}));
    const char* const lines[] = {
        "room.xml: key \"value\" = \"2000000\" is out of range, taken as 16",
        "room.xml: key \"time\" = \"nan\" is out of range, taken as 0",
        "room.xml: key \"value\" = \"-1e39\" is out of range, taken as 0",
        "room.xml: key \"value\" = \"nan\" is out of range, taken as 0",
        "room.xml: key \"time\" = \"-5e6\" is out of range, taken as -2.14748e+06",
        "room.xml: key \"value\" = \"1e30\" is out of range, taken as 2.14748e+06",
    };
    for (const char* line : lines) EXPECT_TRUE(log.Has(line)) << line;
    EXPECT_EQ(log.CountStartingWith("room.xml: key "), 6u);
    ShowAndDraw(room);
    EXPECT_FLOAT_EQ(Object("o")->GetScaleX(), 1.0f) << "the track played to its last key";
}

// A damaged record is refused whole: the effector plays on as its element made it.
TEST(EffectorState, DamagedRecordsAreRefusedWhole)
{
    const std::string xml = "<effector name='e'><key id='s' time='0' value='1'/><key id='s' time='1' value='2'/>"
                            "<key id='x' time='0' value='0'/><key id='x' time='1' value='100'/></effector>";
    struct Case {
        const char* label;
        std::function<void(TEffector&)> damage;
        const char* line;
    };
    const Case cases[] = {
        {"scale key", [](TEffector& e) { e.mSlots[kChannelScaleY].mChannel.mValues[1] = 2000000.0f; },
         "effector e: saved state refused (a scale past the range)"},
        {"scale tween", [](TEffector& e) { e.mSlots[kChannelScale].mChannel.mTween.mTo = -17.0f; },
         "effector e: saved state refused (a scale past the range)"},
        {"tween flags",
         [](TEffector& e) {
             e.mSlots[kChannelX].mChannel.mTween.mFinished = true;
             e.mSlots[kChannelX].mChannel.mTween.mRunning = true;
         },
         "effector e: saved state refused (a track's tween or key times cannot be used)"},
        {"tween past an hour", [](TEffector& e) { e.mSlots[kChannelX].mChannel.mTween.mDuration = 2000000.0f; },
         "effector e: saved state refused (a track's tween or key times cannot be used)"},
        {"key time past an hour", [](TEffector& e) { e.mSlots[kChannelX].mChannel.mTimes[1] = 2000000.0f; },
         "effector e: saved state refused (a track's tween or key times cannot be used)"},
        {"nothing", [](TEffector&) {}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::unique_ptr<TEffector> source = MakeEffector(xml);
        source->mSlots[kChannelScaleY] = source->mSlots[kChannelScale];
        source->mPlay = false;
        c.damage(*source);
        TBaseBuffer buffer;
        source->SaveState(buffer);

        std::unique_ptr<TEffector> e = MakeEffector(xml);
        e->Update(0.5f);
        const std::vector<float> values = e->mSlots[kChannelScale].mChannel.mValues;
        TLogWatch log;
        e->LoadState(buffer);
        EXPECT_EQ(log.CountStartingWith("effector e: saved state refused"), c.line ? 1u : 0u);
        EXPECT_EQ(log.CountStartingWith("saved tween refused"), 0u) << "one line per record";
        if (c.line) {
            EXPECT_TRUE(log.Has(c.line));
        }
        EXPECT_EQ(e->mPlay, c.line != nullptr);
        EXPECT_EQ(e->mSlots[kChannelScaleY].mHasKeys, c.line == nullptr);
        EXPECT_EQ(e->mSlots[kChannelScale].mChannel.mValues, values);
    }
}
