// What a space reads of its file (common attributes, state lists, music, objects, effectors,
// sounds, items to find) and the state it writes and reads back.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/buffer.h"
#include "core/random.h"
#include "core/text.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "rooms/effector.h"
#include "rooms/pocket.h"
#include "rooms/room.h"
#include "rooms/room_factory.h"
#include "sound/sound_info.h"
#include "sound/sound_manager.h"
#include "test_support.h"

namespace {

using TTrace = std::vector<std::string>;

// An element parsed from text, alive as long as the holder.
class TElement {
public:
    explicit TElement(const std::string& xml) { ParseXmlText(&mDocument, xml); }
    TiXmlElement* operator->() { return mDocument.RootElement(); }
    operator TiXmlElement*() { return mDocument.RootElement(); }

private:
    TiXmlDocument mDocument;
};

// Puts a factory into an application slot for the life of the scope and the old one back.
template <class Slot, class Factory>
class TSlotScope {
public:
    TSlotScope(Slot& slot, Factory* factory) : mSlot(slot), mOld(std::move(slot)) { mSlot.reset(factory); }
    ~TSlotScope() { mSlot = std::move(mOld); }

private:
    Slot& mSlot;
    Slot mOld;
};

// Records what is set on it when its element is read and when its loading ends.
class TTracingObject : public TObject {
public:
    explicit TTracingObject(TTrace* trace) : mTrace(trace) {}
    void LoadXml(TiXmlElement* element, const std::string& folder) override
    {
        mTrace->push_back(std::string("read ") + element->Attribute("id") + " space " +
                          (mOwnerSpace ? "set" : "none") + " key '" + mStateKey + "' type '" + mTypeName +
                          "' parent " + (mParentObject ? mParentObject->GetName() : "none"));
        TObject::LoadXml(element, folder);
    }
    void OnLoaded() override
    {
        mTrace->push_back("loaded " + GetName() + " parent " + (mParentObject ? mParentObject->GetName() : "none") +
                          " children " + std::to_string(mChildren.size()));
    }

    TTrace* mTrace;
};

class TTracingFactory : public TObjectFactory {
public:
    TObject* Create(const std::string& type) override
    {
        if (type == "nosuchkind") return nullptr;
        return new TTracingObject(&mTrace);
    }
    TTrace mTrace;
};

class SpaceFileTest : public CanvasTest {
protected:
    void Write(const std::string& name, const std::string& text) { std::ofstream(AssetPath(name)) << text; }

    std::unique_ptr<TRoom> Room(const std::string& xml)
    {
        Write("room.xml", xml);
        auto room = std::make_unique<TRoom>();
        EXPECT_TRUE(room->LoadFromXml("room.xml"));
        return room;
    }

    static std::string Bytes(TBaseBuffer& buffer)
    {
        return std::string(buffer.Bytes().begin(), buffer.Bytes().end());
    }
};

TEST_F(SpaceFileTest, CommonAttributesAreReadWithTheirDefaults)
{
    TRoom space;
    space.LoadAttributes(TElement(
        R"(<Common name="r" folder="f/" rules="ru" helpfontname="h" resetbtnavalible="1" cliprect="1.2.3.4"
             virtualwidth="5" virtualheight="6" showsound="ss" hidesound="hs" x="7" y="8" w="9" h="10"
             canbeopened="0" canshowbackhint="false"/>)"));
    EXPECT_EQ(space.mSpaceName, "r");
    EXPECT_EQ(space.GetName(), "r");
    EXPECT_EQ(space.mDataFolder, "f/");
    EXPECT_EQ(space.mRules, "ru");
    EXPECT_EQ(space.mHelpFontName, "h");
    EXPECT_TRUE(space.mResetButton);
    EXPECT_EQ((SDL_Rect{space.mClipX, space.mClipY, space.mClipW, space.mClipH}), (SDL_Rect{1, 2, 3, 4}));
    EXPECT_EQ(space.mVirtualWidth, 5);
    EXPECT_EQ(space.mVirtualHeight, 6);
    EXPECT_EQ(space.mShowSound, "ss");
    EXPECT_EQ(space.mHideSound, "hs");
    EXPECT_EQ((SDL_Rect{space.mRectX, space.mRectY, space.mRectW, space.mRectH}), (SDL_Rect{7, 8, 9, 10}));
    EXPECT_FALSE(space.mCanBeOpened);
    EXPECT_FALSE(space.mCanShowBackHint);

    // Absent keys keep what the constructor set; three numbers leave the clip's height alone.
    TRoom fresh;
    fresh.LoadAttributes(TElement(R"(<Common cliprect="10.20.300"/>)"));
    EXPECT_EQ(fresh.mHelpFontName, "default16");
    EXPECT_TRUE(fresh.mCanBeOpened);
    EXPECT_TRUE(fresh.mCanShowBackHint);
    EXPECT_EQ((SDL_Rect{fresh.mClipX, fresh.mClipY, fresh.mClipW, fresh.mClipH}), (SDL_Rect{10, 20, 300, 0}));
    EXPECT_FALSE(fresh.mStartMusicNow);  // no "music"

    // Without "Common" nothing is read, and the objects still load.
    auto bare = Room(R"(<room><Objects><object id="a"/></Objects></room>)");
    EXPECT_EQ(bare->GetName(), "");
    EXPECT_EQ(bare->mHelpFontName, "default16");
    EXPECT_TRUE(bare->mStartMusicNow);
    ASSERT_EQ(bare->mObjects.size(), 1u);
}

TEST_F(SpaceFileTest, StateListsReadTwiceKeepAllButTheObjectReferences)
{
    TRoom space;
    space.LoadAttributes(TElement(R"(<Common unlock="a" visibleshow="b;c" lockshide="d" taskshide="t1,t2"
        tasksr="r" statesshow="k.v;k2.v2" flags="f.3" flagsshow="g" aobj="x,y" robjshow="z" freeze="1"/>)"));
    EXPECT_EQ(space.mUnlock.size(), 1u);
    EXPECT_EQ(space.mVisibleShow.size(), 2u);
    EXPECT_EQ(space.mLockHide.size(), 1u);
    EXPECT_TRUE(space.mFreeze);

    space.LoadAttributes(TElement("<Common/>"));
    EXPECT_TRUE(space.mUnlock.empty());
    EXPECT_TRUE(space.mVisibleShow.empty());
    EXPECT_TRUE(space.mLockHide.empty());
    EXPECT_EQ(space.mTasks, (TNameList{{"t1", "t2"}}));
    EXPECT_EQ(space.mTasksRemove, (TNameList{{"r"}}));
    ASSERT_EQ(space.mStatesShow.size(), 2u);
    EXPECT_EQ(space.mStatesShow[1][0].mFirst, "k2");
    ASSERT_EQ(space.mFlags.size(), 1u);
    EXPECT_EQ(space.mFlags[0][0].mValue, 3);
    EXPECT_EQ(space.mFlagsShow.size(), 1u);
    EXPECT_EQ(space.mAobj, (TNameGroup{"x", "y"}));
    EXPECT_EQ(space.mRobjShow, (TNameGroup{"z"}));
    EXPECT_FALSE(space.mFreeze);

    // "taskshide" and "tasksshow" fill one list: only a non-empty "tasksshow" replaces it.
    TRoom tasks;
    tasks.LoadAttributes(TElement(R"(<Common taskshide="t1,t2" tasksshow=""/>)"));
    EXPECT_EQ(tasks.mTasks, (TNameList{{"t1", "t2"}}));
    tasks.LoadAttributes(TElement(R"(<Common taskshide="t1,t2" tasksshow="s"/>)"));
    EXPECT_EQ(tasks.mTasks, (TNameList{{"s"}}));
}

TEST_F(SpaceFileTest, ObjectsAreSetUpBeforeTheyReadTheirKeysAndFinishedLast)
{
    auto* factory = new TTracingFactory();
    TSlotScope<TOwned<TObjectFactory>, TObjectFactory> scope(GetAppState().mObjectFactory, factory);
    auto room = Room(R"(<room><Common name="r"/><Objects>
        <object id="a" name="a"><object id="b" name="b"/></object>
        <object id="odd" type="nosuchkind"><object id="lost"/></object>
        <object id="c" type="something" name="c"/></Objects></room>)");
    EXPECT_EQ(factory->mTrace, (TTrace{
                                   "read a space set key 'r.' type '' parent none",
                                   "read b space set key 'r.' type '' parent none",
                                   "loaded b parent a children 0",
                                   "loaded a parent none children 1",
                                   "read c space set key 'r.' type 'something' parent none",
                                   "loaded c parent none children 0",
                               }));
    ASSERT_EQ(room->mObjects.size(), 2u);
    EXPECT_EQ(room->mObjects[0]->GetName(), "a");
    EXPECT_EQ(room->mObjects[1]->GetName(), "c");
    EXPECT_EQ(room->mObjects[0]->mChildren.size(), 1u);
    EXPECT_EQ(room->FindObject("lost"), nullptr);
}

TEST_F(SpaceFileTest, WithoutAFactoryEveryObjectIsAPlainOne)
{
    TSlotScope<TOwned<TObjectFactory>, TObjectFactory> scope(GetAppState().mObjectFactory, nullptr);
    auto room = Room(R"(<room><Objects><object id="a" type="ghost"/><object id="b" type="nosuchkind"/></Objects></room>)");
    ASSERT_EQ(room->mObjects.size(), 2u);
    EXPECT_EQ(room->mObjects[0]->GetTypeCode(), 0);
    EXPECT_EQ(room->mObjects[0]->mTypeName, "ghost");
    EXPECT_EQ(room->mObjects[1]->GetTypeCode(), 0);
}

// Every object naming an effector gets one of its own, the first in load order the highest
// suffix; an unnamed effector serves every object without an "effector" key.
TEST_F(SpaceFileTest, EffectorsAreClonedForEveryObjectNamingThem)
{
    auto room = Room(R"(<room><Objects>
        <object id="a" effector="E"/><object id="b"><object id="c" effector="E"/></object>
        <object id="d" effector="E"/></Objects>
        <effector name="E"/><effector name="F" type="nosuchkind"/></room>)");
    ASSERT_EQ(room->mEffectors.size(), 3u);
    const char* names[] = {"E_3", "E_2", "E"};
    const char* targets[] = {"a", "c", "d"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(room->mEffectors[i]->mName, names[i]);
        TObject* object = room->FindObject(targets[i]);
        EXPECT_EQ(object->mEffectorName, names[i]);
        EXPECT_EQ(room->mEffectors[i]->mTarget, object) << targets[i];
        EXPECT_EQ(object->mEffector, room->mEffectors[i].get());
    }
    EXPECT_EQ(room->FindObject("b")->mEffector, nullptr);

    auto unnamed = Room(R"(<room><Objects><object id="a"/><object id="b"/><object id="c"/></Objects>
        <effector/></room>)");
    ASSERT_EQ(unnamed->mEffectors.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(unnamed->mEffectors[i]->mTarget, unnamed->mObjects[i].get()) << i;
    EXPECT_EQ(unnamed->mObjects[0]->mEffectorName, "_3");
    EXPECT_EQ(unnamed->mObjects[2]->mEffectorName, "");
}

TEST_F(SpaceFileTest, WithoutAnEffectorFactoryTheSpaceBuildsTheKindsItKnows)
{
    TSlotScope<TOwned<TEffectorsFactory>, TEffectorsFactory> scope(GetAppState().mEffectorsFactory, nullptr);
    auto room = Room(R"(<room><Objects><object id="a" effector="plain"/><object id="b" effector="sheet"/>
        <object id="c" effector="shaking"/></Objects>
        <effector name="plain"/><effector name="sheet" type="cadr"/><effector name="shaking" type="shake"/></room>)");
    ASSERT_EQ(room->mEffectors.size(), 2u);
    EXPECT_EQ(room->mEffectors[0]->mName, "plain");
    EXPECT_NE(dynamic_cast<TCadrEffector*>(room->mEffectors[1].get()), nullptr);
    EXPECT_EQ(room->FindObject("c")->mEffector, nullptr);
    EXPECT_EQ(GetAppState().mEffectorsFactory, nullptr);
}

TEST_F(SpaceFileTest, SoundListItemsToFindAndNames)
{
    MakeFolder("pics");
    SolidPng("pics/key.png", 8, 8, SDL_Color{255, 255, 255, 255});
    auto room = Room(R"(<room><Common name="r" folder="pics/"/>
        <itemtofind id="one" filename="key"/><itemtofind id="two" filename="key"/></room>)");
    SharedPtr<TSoundPlayList> list = GetSoundManager()->FindSoundList("r");
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->mOpen);
    ASSERT_EQ(room->mItemsToFind.size(), 2u);
    EXPECT_EQ(room->mItemsToFind[0].mId, "one");
    EXPECT_EQ(room->mItemsToFind[1].mId, "two");
    EXPECT_EQ(room->mItemsToFind[1].mImage.mTextureName, "pics/key");
    room.reset();
    GetSoundManager()->RemoveSoundList("r");

    // Without a name the drawing name is the generator's next number.
    Write("noname.xml", R"(<room><Common folder="f/"/></room>)");
    TRoom space;
    SeedRandom(7);
    const int next = GameRand();
    SeedRandom(7);
    EXPECT_EQ(space.OpenFile("noname.xml"), 1);
    EXPECT_EQ(space.GetName(), std::to_string(next));
    EXPECT_EQ(space.mDataFolder, "f/");
    EXPECT_EQ(space.mFilePath, "noname.xml");
    EXPECT_EQ(CurrentXmlDocument(), nullptr);
    EXPECT_EQ(space.OpenFile("nosuch.xml"), 0);

    TRoom outer;
    TPocket pocket;
    outer.mSpaceName = "r";
    outer.SetName("r");
    pocket.SetName("p");
    pocket.mSpaceName = "p";
    pocket.mParentSpace = &outer;
    EXPECT_EQ(pocket.GetFullKey(), "r.p");
    EXPECT_EQ(pocket.GetRootName(), "r");
    outer.SetName("");
    EXPECT_EQ(pocket.GetRootName(), "p");
}

// The bytes of a room that was never shown: its name, the flags, the texts, the time, the
// two offset tweens, the flags and counters of the room, and no records.
TEST_F(SpaceFileTest, EmptyRoomStateIsByteForByte)
{
    auto room = Room(R"(<room><Common name="r"/></room>)");
    const std::string tween = std::string(20, '\0') + HexBytes("01 00 00 01");
    const std::string empty = HexBytes("01 00 72 00 00 00 00 00 00 00 00") + tween + tween +
                              HexBytes("00 00 00 01 00 00 00 00 00 00 00 00 00 00");
    TBaseBuffer buffer;
    room->SaveState(buffer);
    EXPECT_EQ(ToHex(Bytes(buffer)), ToHex(empty));
    EXPECT_EQ(buffer.Size(), 73u);

    room->mShowRequest = true;
    room->OnShow();
    TBaseBuffer shown;
    room->SaveState(shown);
    ASSERT_EQ(shown.Size(), 73u);
    EXPECT_EQ(ToHex(Bytes(shown).substr(62, 5)), ToHex(HexBytes("00 01 00 00 00")));

    auto withObject = Room(R"(<room><Common name="r"/><Objects><object id="o"/></Objects></room>)");
    TBaseBuffer objects;
    withObject->SaveState(objects);
    const std::string record = HexBytes("15 00 00 00 01 E8 03 00 00 00 00 00 00 00 00 00 FF FF FF FF 00 00 00 00 00 BF 7B F2 3C");
    ASSERT_EQ(objects.Size(), 131u);
    EXPECT_EQ(ToHex(Bytes(objects).substr(59, 29)), ToHex(record));
    EXPECT_EQ(ToHex(Bytes(objects).substr(100, 29)), ToHex(record));
    EXPECT_EQ(Bytes(objects).substr(0, 59) + Bytes(objects).substr(88, 12) + Bytes(objects).substr(129), empty);
}

class RoomStateTest : public SpaceFileTest {
protected:
    std::unique_ptr<TRoom> Fixture()
    {
        return Room(R"(<room><Common name="r"/>
            <Objects><object id="a" x="10" y="20" effector="e"><object id="a1"/></object><object id="b"/></Objects>
            <pockets><pocket name="p" x="100" y="50"><object id="p1"/><object id="p2"/></pocket>
                     <pocket name="q"><object id="q1"/></pocket></pockets>
            <effector name="e"/></room>)");
    }
};

TEST_F(RoomStateTest, RoundTripGivesBackWhatWasSaved)
{
    auto room = Fixture();
    ASSERT_EQ(room->mPockets.size(), 2u);
    room->AddTime(1.2345f);
    room->mSaved = true;
    room->mHintUsed = true;
    room->mSavedText = "note";
    room->mOffsetTweenX.Set(0.0f, 100.0f, 2.0f, true);
    room->mOffsetTweenY.Set(40.0f, 0.0f, 2.0f, true);
    room->mOffsetTweenX.Update(0.5f);
    room->mOffsetTweenY.Update(0.5f);
    room->mSavedFlagA = true;
    room->mSavedFlagB = false;
    room->mShowCount = 3;
    room->mCurrentListIndex = 2;
    room->mShowHintText = "tip";
    room->FindObject("a1")->mLocked = true;
    room->FindObject("b")->SetVisible(false);
    room->mPockets[0]->mObjects[1]->mLocked = true;
    room->mPockets[1]->mObjects[0]->SetVisible(false);
    room->mPockets[1]->mShowCount = 2;
    TBaseBuffer buffer;
    room->SaveState(buffer);

    auto loaded = Fixture();
    loaded->LoadState(buffer);
    EXPECT_FLOAT_EQ(loaded->mTime, 1.234f);
    EXPECT_TRUE(loaded->mSaved);
    EXPECT_TRUE(loaded->mHintUsed);
    EXPECT_EQ(loaded->mSavedText, "note");
    EXPECT_FLOAT_EQ(loaded->mOffsetTweenX.mCurrent, 25.0f);
    EXPECT_FLOAT_EQ(loaded->mOffsetTweenY.mCurrent, 30.0f);
    EXPECT_FLOAT_EQ(loaded->mOffsetX, 25.0f);
    EXPECT_FLOAT_EQ(loaded->mOffsetY, 30.0f);
    EXPECT_TRUE(loaded->mSavedFlagA);
    EXPECT_FALSE(loaded->mSavedFlagB);
    EXPECT_EQ(loaded->mShowCount, 3);
    EXPECT_EQ(loaded->mCurrentListIndex, 2);
    EXPECT_EQ(loaded->mShowHintText, "tip");
    EXPECT_TRUE(loaded->FindObject("a1")->mLocked);
    EXPECT_FALSE(loaded->FindObject("b")->IsVisible());
    EXPECT_FALSE(loaded->mPockets[0]->mObjects[0]->mLocked);
    EXPECT_TRUE(loaded->mPockets[0]->mObjects[1]->mLocked);
    EXPECT_FALSE(loaded->mPockets[1]->mObjects[0]->IsVisible());
    EXPECT_EQ(loaded->mPockets[1]->mShowCount, 2);
    EXPECT_EQ(loaded->mPockets[0]->mShowCount, 0);
}

// A show count no player reaches would overflow at the next show: the room's own fields are
// refused together, and the objects' records after them are read as usual.
TEST_F(RoomStateTest, ShowCountsPastTheirRangeAreRefused)
{
    const int32_t counts[] = {INT32_MAX, -1, TRoom::kMaxShowCount + 1, TRoom::kMaxShowCount};
    for (int32_t count : counts) {
        SCOPED_TRACE(count);
        auto room = Fixture();
        room->mSavedFlagA = true;
        room->mShowCount = count;
        room->mCurrentListIndex = 2;
        room->FindObject("a1")->mLocked = true;
        TBaseBuffer buffer;
        room->SaveState(buffer);

        auto loaded = Fixture();
        TLogWatch log;
        loaded->LoadState(buffer);
        const bool taken = count == TRoom::kMaxShowCount;
        EXPECT_EQ(log.Count("room r: saved state refused (show count " + std::to_string(count) + ")"), taken ? 0u : 1u);
        EXPECT_EQ(loaded->mShowCount, taken ? count : 0);
        EXPECT_EQ(loaded->mSavedFlagA, taken);
        EXPECT_EQ(loaded->mCurrentListIndex, taken ? 2 : 0);
        EXPECT_TRUE(loaded->FindObject("a1")->mLocked);
    }
}

// A buffer cut anywhere loads without reading past its end; what is missing reads as 0.
TEST_F(RoomStateTest, CutBuffersLoadSafely)
{
    auto room = Fixture();
    room->mShowCount = 5;
    TBaseBuffer whole;
    room->SaveState(whole);
    for (size_t length = 0; length <= whole.Size(); ++length) {
        TBaseBuffer cut;
        for (size_t i = 0; i < length; ++i) cut.WriteByte(whole.Bytes()[i]);
        auto loaded = Fixture();
        loaded->LoadState(cut);
        if (length == 0) {
            EXPECT_EQ(loaded->GetName(), "");
            EXPECT_FALSE(loaded->mSavedFlagB);
            EXPECT_EQ(loaded->mShowCount, 0);
        }
    }
}

}  // namespace
