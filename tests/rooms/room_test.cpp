// Rooms read from their file: the object tree with its anim files and pockets, the first layer
// drawn inside the clip, frame sheets advanced by the room itself, ghosts left hidden without
// a lens, input refused while disabled, the show's sounds, music and cursor, and the shipped
// main menu scene.
#include <SDL.h>
#include <SDL_image.h>
#include <tinyxml.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_document.h"
#include "game/user_info.h"
#include "graphics/drawing_fixture.h"
#include "game/front_screens.h"
#include "objects/object.h"
#include "objects/object_factory.h"
#include "rooms/pocket.h"
#include "rooms/room.h"
#include "rooms/room_factory.h"
#include "rooms/scene_mouse_event.h"
#include "rooms/sound_calls.h"
#include "sound/sound_info.h"
#include "sound/sound_manager.h"
#include "test_support.h"
#include "ui/cursors.h"

namespace {

using TCalls = std::vector<std::string>;

class RoomTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
        mHadCursors = GameCursorsExist();
    }
    void TearDown() override
    {
        // A show makes the cursor set when there is none: the next test starts without it.
        if (!mHadCursors) DestroyCursors();
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }

    void WriteAsset(const std::string& name, const std::string& text) { std::ofstream(AssetPath(name)) << text; }

    // A room read from the text, its pictures loaded.
    std::unique_ptr<TRoom> Room(const std::string& xml)
    {
        WriteAsset("room.xml", xml);
        auto room = std::make_unique<TRoom>();
        EXPECT_TRUE(room->LoadFromXml("room.xml"));
        EXPECT_EQ(CurrentXmlDocument(), nullptr);
        room->LoadObjectResources(0);
        return room;
    }

    static std::string Names(const std::vector<std::unique_ptr<TObject>>& objects)
    {
        std::string names;
        for (const auto& object : objects) names += object->GetName() + " ";
        return names;
    }

    TOwned<TObjectFactory> mOldFactory;
    bool mHadCursors = false;
};

TEST(RoomRects, IntersectOverlappingTouchingApart)
{
    struct Case {
        TFloatRect a, b, expected;
    } cases[] = {
        {{0, 0, 10, 10}, {5, 2, 10, 4}, {5, 2, 5, 4}},
        {{0, 0, 10, 10}, {10, 0, 5, 5}, {10, 0, 0, 5}},  // touching: an empty width, still there
        {{0, 0, 10, 10}, {11, 0, 5, 5}, {0, 0, 0, 0}},
        {{0, 0, 10, 10}, {0, 20, 5, 5}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        TFloatRect r = RectIntersect(c.a, c.b);
        EXPECT_EQ(r.x, c.expected.x);
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_EQ(r.w, c.expected.w);
        EXPECT_EQ(r.h, c.expected.h);
    }
}

TEST_F(RoomTest, CommonAndObjectTreeAreRead)
{
    auto room = Room(R"(<room><Common name="r" folder="pics/" cliprect="10.20.300" music="m"
            runsounds="a,b" hint_on_show="tip" caatt="1" back_hint_x="5" objneedlockedtoclose="b"/>
        <Objects>
          <object id="a"><object id="a1"/></object>
          <object id="odd" type="nosuchkind"><object id="lost"/></object>
          <object id="b"/>
        </Objects></room>)");
    EXPECT_EQ(room->GetName(), "r");
    EXPECT_EQ(room->mDataFolder, "pics/");
    EXPECT_EQ(room->mFilePath, "room.xml");
    EXPECT_EQ((SDL_Rect{room->mClipX, room->mClipY, room->mClipW, room->mClipH}), (SDL_Rect{10, 20, 300, 0}));
    EXPECT_EQ(room->mShowSounds, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(room->mShowHintText, "tip");
    EXPECT_TRUE(room->mCloseAfterAllToolsTaken);
    EXPECT_EQ(room->mBackHintX, 5);
    EXPECT_EQ(room->mLockToCloseObjects, (std::vector<TObject*>{room->FindObject("b")}));
    EXPECT_EQ(Names(room->mObjects), "a b ");
    EXPECT_TRUE(room->mObjects[0]->mCheckOnlyBounds);
    EXPECT_FALSE(room->mObjects[1]->mCheckOnlyBounds);
    ASSERT_NE(room->FindObject("a1"), nullptr);
    EXPECT_EQ(room->FindObject("a1")->mOwnerSpace, room.get());
    EXPECT_EQ(room->FindObject("a1")->mListener, room.get());
    EXPECT_EQ(room->FindObject("lost"), nullptr);
}

// The "animfile" objects take the anim files in order; a file left over adds top-level
// objects after the room's own, and a missing file gives its object no children.
TEST_F(RoomTest, AnimFilesFillTheirObjects)
{
    WriteAsset("a1.xml", R"(<anim><object id="p"/><effector name="E"/></anim>)");
    WriteAsset("a3.xml", R"(<anim><object id="r1"/><object id="r2" effector="E"/></anim>)");
    auto room = Room(R"(<room><Common name="r" animfiles="a1.xml,a2.xml,a3.xml"/><Objects>
        <object id="f1" type="animfile"/><object id="x"/><object id="f2" type="animfile"/></Objects></room>)");
    EXPECT_EQ(Names(room->mObjects), "f1 x f2 r1 r2 ");
    EXPECT_EQ(Names(room->FindObject("f1")->mChildren), "p ");
    EXPECT_TRUE(room->FindObject("f2")->mChildren.empty());
    // The anim files' effectors are loaded and bound too.
    ASSERT_NE(room->FindObject("r2")->mEffector, nullptr);
    EXPECT_EQ(room->FindObject("r2")->mEffector->mTarget, room->FindObject("r2"));
}

TEST_F(RoomTest, MissingFileLeavesAnEmptyRoomThatDrawsNothing)
{
    TRoom room;
    EXPECT_FALSE(room.LoadFromXml("nosuch.xml"));
    EXPECT_TRUE(room.mObjects.empty());
    EXPECT_EQ(CurrentXmlDocument(), nullptr);
    room.Draw();
    ExpectPixel(0, 0, 0, 0, 0);
}

// A plain name in a reaction list is this room's; when a pocket holds the object it is that
// pocket's too.
TEST_F(RoomTest, PocketsLoadAndReferencesNameTheirPocket)
{
    auto room = Room(R"(<room><Common name="r"/>
        <Objects><object id="a" x="5" y="6" vac="v,w,p2.v"><object id="a1" hac="u"/></object></Objects>
        <pockets><pocket name="p1" x="100" y="50"><object id="u" x="1" y="2"/>
                   <pocket name="inner"><object id="deep"/></pocket></pocket>
                 <pocket name="p2"><object id="v"/></pocket></pockets></room>)");
    ASSERT_EQ(room->mPockets.size(), 2u);
    TPocket* p1 = room->mPockets[0].get();
    EXPECT_EQ(p1->mParentSpace, room.get());
    EXPECT_EQ(p1->mOwnerRoom, room.get());
    EXPECT_EQ(p1->mStateKey, "r.p1");
    EXPECT_EQ(p1->GetSpaceType(), 8);
    EXPECT_EQ(room->FindPocket("inner"), p1->mPockets[0].get());
    EXPECT_EQ(room->FindPocket("p2"), room->mPockets[1].get());
    EXPECT_EQ(room->FindObject("deep"), p1->mPockets[0]->mObjects[0].get());
    EXPECT_EQ(room->FindObject("u")->mListener, p1);

    const TObjectRefGroup& refs = room->FindObject("a")->mReactions[kVisibleAfterClick][0];
    ASSERT_EQ(refs.size(), 3u);
    EXPECT_EQ(refs[0].mOuter, "r");
    EXPECT_EQ(refs[0].mInner, "p2");
    EXPECT_EQ(refs[1].mOuter, "r");
    EXPECT_EQ(refs[1].mInner, "");
    EXPECT_EQ(refs[2].mOuter, "p2");  // already addressed: left alone
    EXPECT_EQ(refs[2].mInner, "");
    EXPECT_EQ(room->FindObject("a1")->mReactions[kHideAfterClick][0][0].mInner, "p1");

    // Moving by nothing moves no room object, but every pocket moves by its own place.
    room->MoveBy(0, 0);
    EXPECT_EQ(room->FindObject("a")->GetX(), 5.0f);
    // An object's own move takes it twice the distance.
    EXPECT_EQ(room->FindObject("u")->GetX(), 201.0f);
    EXPECT_EQ(room->FindObject("u")->GetY(), 102.0f);
}

TEST_F(RoomTest, DrawsTheFirstLayerInsideItsClipAndLeavesNoClip)
{
    MakeFolder("pics");
    SolidPng("pics/red.png", 200, 50, SDL_Color{255, 0, 0, 255});
    SolidPng("pics/blue.png", 50, 50, SDL_Color{0, 0, 255, 255});
    auto room = Room(R"(<room><Common name="r" folder="pics/" cliprect="0.0.100.100"/>
        <Objects><object id="red" name="red" x="0" y="0"/>
                 <object id="top" name="blue" x="0" y="60" drawz="1"/>
                 <object id="ghost" type="ghost" name="blue" x="0" y="20"/></Objects></room>)");
    SDL_Rect outer{0, 0, 20, 20};
    SDL_RenderSetClipRect(mRenderer, &outer);
    room->Draw();
    ExpectPixel(50, 10, 255, 0, 0);
    ExpectPixel(150, 10, 0, 0, 0);
    ExpectPixel(10, 70, 0, 0, 0);
    ExpectPixel(10, 30, 255, 0, 0);  // no lens: the ghost stays unseen
    EXPECT_EQ(SDL_RenderIsClipEnabled(mRenderer), SDL_FALSE);

    // Three numbers leave the clip's height at 0: nothing shows at all.
    Clear(0, 0, 0);
    room->mClipH = 0;
    room->Draw();
    ExpectPixel(50, 10, 0, 0, 0);
}

// The room updates its objects itself; a ghost without a lens is never updated.
TEST_F(RoomTest, UpdateAdvancesSheetsButNoGhost)
{
    MakeFolder("pics");
    SolidPng("pics/sheet.png", 40, 10, SDL_Color{0, 255, 0, 255});
    const char* sheet = R"(name="sheet" w="10" h="10" texrects="0.0.10.10" frames="4" texw="40" framedelay="0.1"
        animmode="loop")";
    auto room = Room(std::string(R"(<room><Common name="r" folder="pics/"/><Objects><object id="p">
        <object id="s" )") + sheet + R"(/></object><object id="g" type="ghost" )" + sheet +
                     "/></Objects></room>");
    EXPECT_FALSE(room->mUpdateObjects);
    TObject* sheetObject = room->FindObject("s");
    TObject* ghost = room->FindObject("g");
    ASSERT_NE(sheetObject, nullptr);
    ASSERT_EQ(ghost->GetTypeCode(), 22);
    for (int i = 0; i < 4; ++i) room->Update(1.0f / 16);
    EXPECT_EQ(sheetObject->mCurrentFrame, 2);
    EXPECT_EQ(ghost->mCurrentFrame, 0);
}

// Records the presses and moves that reach it; takes every one.
class TInputProbe : public TObject {
public:
    explicit TInputProbe(TCalls* calls) : mCalls(calls)
    {
        SetPosition(0, 0, false);
        mWidth = 200;
        mHeight = 200;
    }
    bool OnMouseDown(const TSceneMouseEvent&) override
    {
        mCalls->push_back("down");
        return true;
    }
    bool OnMouseMove(const TSceneMouseEvent&, bool&) override
    {
        mCalls->push_back("move");
        return true;
    }
    TCalls* mCalls;
};

TEST_F(RoomTest, InputIsRefusedWhileDisabledAndOutsideTheClip)
{
    auto room = Room(R"(<room><Common name="r" cliprect="0.0.100.100"/></room>)");
    TCalls calls;
    room->mObjects.emplace_back(new TInputProbe(&calls));
    TSceneMouseEvent event;
    event.mX = 50;
    event.mY = 50;
    room->mHintText = "kept";
    room->DisableInput();
    EXPECT_FALSE(room->OnMouseMove(event));
    EXPECT_FALSE(room->OnMouseDown(event));
    EXPECT_TRUE(calls.empty());

    room->EnableInput();
    event.mX = 150;
    EXPECT_FALSE(room->OnMouseDown(event));
    EXPECT_EQ(room->mHintText, "kept");
    EXPECT_TRUE(calls.empty());
    event.mX = 50;
    EXPECT_TRUE(room->OnMouseDown(event));
    EXPECT_EQ(calls, (TCalls{"down"}));
    EXPECT_EQ(room->mHintText, "");

    // A clip reaching past the int range's end still holds its far corner.
    room->mClipX = room->mClipY = 10;
    room->mClipW = room->mClipH = INT32_MAX;
    event.mX = event.mY = INT32_MAX;
    EXPECT_TRUE(room->OnMouseDown(event));
}

TEST_F(RoomTest, ShowPlaysItsSoundsAndFollowsTheMusicRule)
{
    struct Case {
        const char* common;
        TCalls first, second;
    } cases[] = {
        {R"(music="m" showsound="s" runsounds="a,b")", {"play s", "play a", "play b", "music m"}, {"play s", "play a", "play b", "music m"}},
        // An empty show sound never reaches the sound manager.
        {R"(music="m" StartMusicNow="0" AnywayStartMusicAfterShowCount="2")", {"stopallmusic"}, {"music m"}},
        {"", {"stopallmusic"}, {"stopallmusic"}},
        {R"(StopPrevMusic="0")", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.common);
        auto room = Room(std::string("<room><Common name=\"r\" ") + c.common + "/></room>");
        TRecordedSoundCalls calls;
        room->OnShow();
        EXPECT_EQ(calls.mCalls, c.first);
        calls.mCalls.clear();
        room->OnShow();
        EXPECT_EQ(calls.mCalls, c.second);
        EXPECT_EQ(room->mShowCount, 2);
        EXPECT_FALSE(room->mSavedFlagB);
    }
}

TEST_F(RoomTest, ShowSelectsTheDefaultCursor)
{
    ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
    // Without a cursor set the show makes one, empty, and selects nothing in it.
    DestroyCursors();
    Room(R"(<room><Common name="r" StopPrevMusic="0"/></room>)")->OnShow();
    ASSERT_TRUE(GameCursorsExist());
    EXPECT_FALSE(GetGameCursors()->HasCurrent());

    SolidPng("arrow.png", 8, 8, SDL_Color{255, 255, 255, 255});
    WriteAsset("cursors.xml", R"(<cursorset><cursors><cursor name="default" filename="arrow"/>
        <cursor name="hand" filename="arrow"/></cursors></cursorset>)");
    LoadCursors("cursors.xml");
    GetGameCursors()->Select("hand");
    auto room = Room(R"(<room><Common name="r" StopPrevMusic="0"/></room>)");
    room->OnShow();
    ASSERT_TRUE(GetGameCursors()->HasCurrent());
    EXPECT_EQ(GetGameCursors()->Current()->mName, "default");
    DestroyCursors();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

// The marker entry leaves the overlay on show and is deleted, not leaked (LeakSanitizer).
TEST_F(RoomTest, ShowDeletesTheOverlayMarker)
{
    auto room = Room(R"(<room><Common name="r" StopPrevMusic="0"/></room>)");
    auto* marker = new DrawObject();
    marker->SetName("909090");
    auto* kept = new DrawObject();
    room->mOverlay.Add(0.0f, kept);
    room->mOverlay.Add(0.0f, marker);
    room->OnShow();
    ASSERT_EQ(room->mOverlay.Count(), 1u);
    EXPECT_EQ(room->mOverlay.At(0), kept);
}

class ShippedMainMenu : public RoomTest {
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        UseShippedAssets();
        // The start-up loader's effector factory builds every kind the scene names.
        mOldEffectors = std::move(GetAppState().mEffectorsFactory);
        GetAppState().mEffectorsFactory.reset(new TEffectorsFactory());
    }
    void TearDown() override
    {
        GetAppState().mEffectorsFactory = std::move(mOldEffectors);
        RoomTest::TearDown();
    }

    TOwned<TEffectorsFactory> mOldEffectors;
};

TEST_F(ShippedMainMenu, SceneLoadsTurnsAndDrawsItsHub)
{
    // A second menu, built after the first is gone, behaves the same.
    for (int copy = 0; copy < 2; ++copy) {
        SCOPED_TRACE(copy);
        Clear(0, 0, 0);
        auto room = std::make_unique<TRoom>();
        ASSERT_TRUE(room->LoadFromXml("mainmenu.xml"));
        room->LoadObjectResources(0);
        EXPECT_EQ(room->GetName(), "mainmenu");
        EXPECT_EQ(room->mFilePath, "mainmenu.xml");
        EXPECT_EQ(Names(room->mObjects), "hills sunhalo sunglow sunrays sky sun cloud1 cloud2 birds "
                                         "tower belfry clockhand windows "
                                         "mill stand cliff waterfall mist cliffrocks spray sign "
                                         "animhost glint1 glint2 glint3 pond balloon ringmovie easelcanvas canvas easel "
                                         "spark puff shaker drifter pz_wall pz_lock pz_tiles pz_maze pz_shelf "
                                         "board reel reel_echo well well_rope lamps lantern "
                                         "doorglow kite bee gulls gust birdcalls scale_stand scales "
                                         "farm butterfly  ");
        EXPECT_TRUE(room->mObjects.front()->mCheckOnlyBounds);
        EXPECT_EQ(room->mEffectors.size(), 4u);
        SharedPtr<TSoundPlayList> list = GetSoundManager()->FindSoundList("mainmenu");
        ASSERT_TRUE(list);
        EXPECT_FALSE(list->mOpen);
        TObject* sails = room->FindObject("sails");
        TObject* birds = room->FindObject("birds");
        ASSERT_NE(sails, nullptr);
        ASSERT_NE(birds, nullptr);
        EXPECT_EQ(room->FindObject("mill")->FindChild("sails"), sails);
        float x, y, w, h;
        sails->GetRect(&x, &y, &w, &h);
        EXPECT_EQ(w, 160.0f);
        EXPECT_EQ(h, 160.0f);
        room->mObjects.front()->GetRect(&x, &y, &w, &h);
        EXPECT_EQ(w, 1366.0f);
        EXPECT_EQ(h, 200.0f);

        room->Draw();
        SDL_Surface* before = SDL_DuplicateSurface(mSurface);
        ASSERT_NE(before, nullptr);
        for (int i = 0; i < 10; ++i) room->Update(1.0f / 16);
        EXPECT_EQ(sails->mCurrentFrame, 5);
        EXPECT_EQ(birds->mCurrentFrame, 5);
        Clear(0, 0, 0);
        room->Draw();
        // The hub stays put in its fixed colour while the sails round it turn.
        ExpectPixel(420, 572, 92, 52, 24, 12);
        int changed = 0;
        SDL_RenderFlush(mRenderer);
        for (int py = 492; py < 652; ++py) {
            for (int px = 340; px < 500; ++px) {
                Uint32 a = static_cast<Uint32*>(before->pixels)[py * before->pitch / 4 + px];
                Uint32 b = static_cast<Uint32*>(mSurface->pixels)[py * mSurface->pitch / 4 + px];
                if (a != b) ++changed;
            }
        }
        EXPECT_GT(changed, 300);
        SDL_FreeSurface(before);
        room->FreeObjectResources();
    }
    GetSoundManager()->RemoveSoundList("mainmenu");
}

// Each opening of the menu: the door, the breeze and the birds once, and the menu's own music goes on.
TEST_F(ShippedMainMenu, ShowPlaysBreezeBirdsAndKeepsTheMenuMusic)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    TRecordedSoundCalls calls;
    const size_t pairs = GetUserInfo()->Pairs().size();
    room.mShowRequest = true;
    room.OnShow();
    EXPECT_EQ(room.mShowCount, 1);
    EXPECT_EQ(GetUserInfo()->Pairs().size(), pairs);
    EXPECT_EQ(calls.mCalls, (TCalls{"play scene_door", "play scene_breeze", "play scene_birds", "music mainmenu"}));
    room.FreeObjectResources();
}

bool HoldsAnEffect(const TObject& object)
{
    if (object.mEffect) return true;
    for (const auto& child : object.mChildren)
        if (HoldsAnEffect(*child)) return true;
    return false;
}

// The active mill plays the door once per opening; the running scene grows no hint effect.
TEST_F(ShippedMainMenu, TheFirstShowPlaysTheDoorOnceAndNoEffectGrows)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    TRecordedSoundCalls calls;
    room.mShowRequest = true;
    room.OnShow();
    EXPECT_EQ(std::count(calls.mCalls.begin(), calls.mCalls.end(), "play scene_door"), 1);
    calls.mCalls.clear();
    room.OnShow();
    EXPECT_EQ(std::count(calls.mCalls.begin(), calls.mCalls.end(), "play scene_door"), 0);
    for (int i = 0; i < 600; ++i) room.Update(1.0f / 60);
    for (const auto& object : room.mObjects) EXPECT_FALSE(HoldsAnEffect(*object)) << object->GetName();
    room.FreeObjectResources();
    GetSoundManager()->RemoveSoundList("mainmenu");
}

// The scene's ids are one-shot entries of the "sound" list and its music a "music" track;
// its sheets fit their images; it keeps out of what would reach the profile or the lists.
TEST_F(ShippedMainMenu, SceneDataMatchesSoundsAndSheets)
{
    TiXmlDocument sounds;
    ASSERT_TRUE(ParseXmlText(&sounds, ReadWholeFile(std::string(BRISALO_ASSETS) + "/sounds.xml")));
    auto entry = [&](const char* tag, const std::string& id) -> TiXmlElement* {
        for (TiXmlElement* e = sounds.RootElement()->FirstChildElement(tag); e; e = e->NextSiblingElement(tag)) {
            if (e->Attribute("id") && id == e->Attribute("id")) return e;
        }
        return nullptr;
    };
    for (const char* id : {"scene_breeze", "scene_birds"}) {
        TiXmlElement* e = entry("sound", id);
        ASSERT_NE(e, nullptr) << id;
        EXPECT_STREQ(e->Attribute("loop"), "1") << id;
    }
    EXPECT_NE(entry("music", "mainmenu"), nullptr);
    // The room's sound list would replace a list of its name.
    for (TiXmlElement* e = sounds.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
        EXPECT_STRNE(e->Value(), "mainmenu");
        if (e->Attribute("list")) {
            EXPECT_STRNE(e->Attribute("list"), "mainmenu");
        }
    }
    const std::string stages = ReadWholeFile(std::string(BRISALO_ASSETS) + "/stages.xml");
    EXPECT_EQ(stages.find("soundlist=\"mainmenu\""), std::string::npos);

    TiXmlDocument scene;
    ASSERT_TRUE(ParseXmlText(&scene, ReadWholeFile(std::string(BRISALO_ASSETS) + "/mainmenu.xml")));
    for (const char* excluded : {"pockets", "lists", "tools", "globaltools"}) {
        EXPECT_EQ(scene.RootElement()->FirstChildElement(excluded), nullptr) << excluded;
    }
    TiXmlElement* common = scene.RootElement()->FirstChildElement("Common");
    EXPECT_STREQ(common->Attribute("animfiles"), "mainmenuanim.xml");
    for (const TiXmlAttribute* a = common->FirstAttribute(); a; a = a->Next()) {
        EXPECT_NE(std::string(a->Name()).rfind("states", 0), 0u) << a->Name();
    }
    std::vector<TiXmlElement*> pending{scene.RootElement()->FirstChildElement("Objects")};
    int sheets = 0;
    while (!pending.empty()) {
        TiXmlElement* parent = pending.back();
        pending.pop_back();
        for (TiXmlElement* e = parent->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
            const std::string type = e->Attribute("type") ? e->Attribute("type") : "";
            // A text label's children describe its layout, not scene objects.
            if (type != "text_obj") pending.push_back(e);
            for (const char* layer : {"imgclouds", "imgclouds2", "mname", "mname1", "mname2"}) {
                if (!e->Attribute(layer)) continue;
                EXPECT_EQ(access(AssetPath(std::string("textures/mainmenu/") + e->Attribute(layer) + ".png").c_str(), R_OK), 0)
                    << layer;
                EXPECT_NE(access(AssetPath(std::string("textures/mainmenu/") + e->Attribute(layer) + ".jpg").c_str(), F_OK), 0)
                    << layer;
            }
            if (e->Attribute("particle")) {
                EXPECT_EQ(access(AssetPath(e->Attribute("particle")).c_str(), R_OK), 0);
            }
            if (!e->Attribute("name")) continue;
            const std::string name = e->Attribute("name");
            EXPECT_EQ(e->Attribute("drawz"), nullptr) << name;
            // Only the pieces the effectors move name one.
            const std::string id = e->Attribute("id") ? e->Attribute("id") : "";
            if (id != "spark" && id != "puff" && id != "shaker" && id != "drifter") {
                EXPECT_EQ(e->Attribute("effector"), nullptr) << name;
            }
            // A movie's name is its file under textures/, written with its folder.
            if (type == "video") {
                EXPECT_STREQ(e->Attribute("udf"), "0") << name;
                EXPECT_EQ(name.substr(name.size() - 4), ".ogv") << name;
                EXPECT_EQ(access(AssetPath("textures/" + name).c_str(), R_OK), 0) << name;
                continue;
            }
            // A name may carry its ".png" already.
            const bool withExtension = name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0;
            const std::string stem = withExtension ? name.substr(0, name.size() - 4) : name;
            const std::string png = AssetPath("textures/mainmenu/" + stem + ".png");
            EXPECT_EQ(access(png.c_str(), R_OK), 0) << png;
            EXPECT_NE(access(AssetPath("textures/mainmenu/" + stem + ".jpg").c_str(), F_OK), 0) << name;
            if (!e->Attribute("frames")) continue;
            ++sheets;
            SDL_Surface* image = IMG_Load(png.c_str());
            ASSERT_NE(image, nullptr) << png;
            const int w = std::atoi(e->Attribute("w")), h = std::atoi(e->Attribute("h"));
            ASSERT_GT(w, 0);
            ASSERT_GT(h, 0);
            EXPECT_EQ(std::atoi(e->Attribute("texw")), image->w) << name;
            EXPECT_LE(std::atoi(e->Attribute("frames")), (image->w / w) * (image->h / h)) << name;
            EXPECT_EQ(std::string(e->Attribute("texrects")), "0.0." + std::to_string(w) + "." + std::to_string(h));
            SDL_FreeSurface(image);
        }
    }
    EXPECT_EQ(sheets, 3);
}

}  // namespace

namespace {

// The menu shows its room as a game space: one show, counted by the space.
TEST_F(ShippedMainMenu, MenuShowsItsRoomOnce)
{
    TMainMenu menu;
    menu.OnShown();
    const TGameSpace& space = menu.mRoom;
    EXPECT_EQ(space.mShowCount, 1);
    EXPECT_TRUE(space.mShowRequest);
    EXPECT_EQ(space.mSpaceName, "mainmenu");
    menu.mRoom.FreeObjectResources();
}

}  // namespace
