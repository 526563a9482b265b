// Rooms read from their file: the common attributes, the object tree, the first layer drawn
// inside the clip, frame sheets advanced by the room itself, and the shipped main menu scene.
#include <SDL.h>
#include <SDL_image.h>
#include <tinyxml.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "game/front_screens.h"
#include "objects/object.h"
#include "rooms/room.h"
#include "sound/sound_manager.h"

namespace {

class RoomTest : public CanvasTest {
protected:
    void WriteAsset(const std::string& name, const std::string& text)
    {
        std::ofstream(AssetPath(name)) << text;
    }

    // A room read from the text, its pictures loaded.
    std::unique_ptr<TRoom> Room(const std::string& xml)
    {
        WriteAsset("room.xml", xml);
        auto room = std::make_unique<TRoom>();
        EXPECT_TRUE(room->LoadFromXml("room.xml"));
        room->LoadObjectResources(0);
        return room;
    }
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
    auto room = Room(R"(<room><Common name="r" folder="pics/" cliprect="10.20.300" music="m"/>
        <Objects>
          <object id="a"><object id="a1"/></object>
          <object id="odd" type="nosuchkind"><object id="lost"/></object>
          <object id="b"/>
        </Objects></room>)");
    EXPECT_EQ(room->GetName(), "r");
    EXPECT_EQ(room->mDataFolder, "pics/");
    EXPECT_EQ(room->mFilePath, "room.xml");
    EXPECT_EQ((SDL_Rect{room->mClipX, room->mClipY, room->mClipW, room->mClipH}), (SDL_Rect{10, 20, 300, 0}));
    ASSERT_EQ(room->mObjects.size(), 2u);
    EXPECT_EQ(room->mObjects[0]->GetName(), "a");
    EXPECT_EQ(room->mObjects[1]->GetName(), "b");
    EXPECT_TRUE(room->mObjects[0]->mCheckOnlyBounds);
    EXPECT_FALSE(room->mObjects[1]->mCheckOnlyBounds);
    ASSERT_NE(room->FindObject("a1"), nullptr);
    EXPECT_EQ(room->FindObject("a1")->mOwnerSpace, room.get());
    EXPECT_EQ(room->FindObject("lost"), nullptr);
    EXPECT_EQ(CurrentXmlDocument(), nullptr);
}

TEST_F(RoomTest, NoMusicMeansNoStartNow)
{
    auto room = Room(R"(<room><Common name="r" StartMusicNow="1"/></room>)");
    EXPECT_FALSE(room->mStartMusicNow);
    EXPECT_TRUE(room->mStopPrevMusic);
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

TEST_F(RoomTest, DrawsTheFirstLayerInsideItsClipAndLeavesNoClip)
{
    MakeFolder("pics");
    SolidPng("pics/red.png", 200, 50, SDL_Color{255, 0, 0, 255});
    SolidPng("pics/blue.png", 50, 50, SDL_Color{0, 0, 255, 255});
    auto room = Room(R"(<room><Common name="r" folder="pics/" cliprect="0.0.100.100"/>
        <Objects><object id="red" name="red" x="0" y="0"/>
                 <object id="top" name="blue" x="0" y="60" drawz="1"/></Objects></room>)");
    SDL_Rect outer{0, 0, 20, 20};
    SDL_RenderSetClipRect(mRenderer, &outer);
    room->Draw();
    ExpectPixel(50, 10, 255, 0, 0);
    ExpectPixel(150, 10, 0, 0, 0);
    ExpectPixel(10, 70, 0, 0, 0);
    EXPECT_EQ(SDL_RenderIsClipEnabled(mRenderer), SDL_FALSE);

    // Three numbers leave the clip's height at 0: nothing shows at all.
    Clear(0, 0, 0);
    room->mClipH = 0;
    room->Draw();
    ExpectPixel(50, 10, 0, 0, 0);
}

TEST_F(RoomTest, UpdateAdvancesFrameSheetsOfNestedObjects)
{
    MakeFolder("pics");
    SolidPng("pics/sheet.png", 40, 10, SDL_Color{0, 255, 0, 255});
    auto room = Room(R"(<room><Common name="r" folder="pics/"/><Objects><object id="p">
        <object id="s" name="sheet" w="10" h="10" texrects="0.0.10.10" frames="4" texw="40"
                framedelay="0.1" animmode="loop"/></object></Objects></room>)");
    TObject* sheet = room->FindObject("s");
    ASSERT_NE(sheet, nullptr);
    for (int i = 0; i < 4; ++i) room->Update(1.0f / 16);
    EXPECT_EQ(sheet->mCurrentFrame, 2);
}

class ShippedMainMenu : public RoomTest {
protected:
    void SetUp() override
    {
        RoomTest::SetUp();
        ASSERT_EQ(0, rmdir(AssetPath("").c_str()));
        ASSERT_EQ(0, symlink(BRISALO_ASSETS, (mDir.Path() + "/assets").c_str()));
    }
    void TearDown() override
    {
        unlink((mDir.Path() + "/assets").c_str());
        RoomTest::TearDown();
    }
};

TEST_F(ShippedMainMenu, SceneLoadsTurnsAndDrawsItsHub)
{
    for (int copy = 0; copy < 2; ++copy) {
        SCOPED_TRACE(copy);
        Clear(0, 0, 0);
        auto room = std::make_unique<TRoom>();
        ASSERT_TRUE(room->LoadFromXml("mainmenu.xml"));
        room->LoadObjectResources(0);
        EXPECT_EQ(room->GetName(), "mainmenu");
        std::string ids;
        for (const auto& object : room->mObjects) ids += object->GetName() + " ";
        EXPECT_EQ(ids, "hills sun cloud1 cloud2 birds mill ");
        EXPECT_TRUE(room->mObjects.front()->mCheckOnlyBounds);
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
}

}  // namespace

namespace {

struct TSoundCalls : TSoundCallObserver {
    std::vector<std::string> mCalls;
    TSoundCalls() { GetSoundManager()->SetCallObserver(this); }
    ~TSoundCalls() override { GetSoundManager()->SetCallObserver(nullptr); }
    void OnSoundCall(const char* call, const std::string& id) override
    {
        mCalls.push_back(id.empty() ? std::string(call) : std::string(call) + " " + id);
    }
};

using TCalls = std::vector<std::string>;

TEST_F(RoomTest, ShowPlaysItsSoundsAndFollowsTheMusicRule)
{
    struct Case {
        const char* common;
        TCalls first, second;
    } cases[] = {
        {R"(music="m" showsound="s" runsounds="a,b")", {"play s", "play a", "play b", "music m"}, {"play s", "play a", "play b", "music m"}},
        // An empty show sound is still asked for; it plays nothing.
        {R"(music="m" StartMusicNow="0" AnywayStartMusicAfterShowCount="2")", {"play", "stopallmusic"},
         {"play", "music m"}},
        {"", {"play", "stopallmusic"}, {"play", "stopallmusic"}},
        {R"(StopPrevMusic="0")", {"play"}, {"play"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.common);
        auto room = Room(std::string("<room><Common name=\"r\" ") + c.common + "/></room>");
        TSoundCalls calls;
        room->OnShow();
        EXPECT_EQ(calls.mCalls, c.first);
        calls.mCalls.clear();
        room->OnShow();
        EXPECT_EQ(calls.mCalls, c.second);
        EXPECT_EQ(room->mShowCount, 2);
    }
}

}  // namespace

namespace {

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

}  // namespace

namespace {

// Each opening of the menu: the breeze and the birds once, and the menu's own music goes on.
TEST_F(ShippedMainMenu, ShowPlaysBreezeBirdsAndKeepsTheMenuMusic)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    TSoundCalls calls;
    room.mShowRequest = true;
    room.OnShow();
    EXPECT_EQ(room.mShowCount, 1);
    EXPECT_EQ(calls.mCalls, (TCalls{"play scene_breeze", "play scene_birds", "music mainmenu"}));
    room.FreeObjectResources();
}

// The scene's ids are one-shot entries of the "sound" list and its music a "music" track;
// its sheets fit their images.
TEST_F(ShippedMainMenu, SceneDataMatchesSoundsAndSheets)
{
    TiXmlDocument sounds;
    ASSERT_TRUE(sounds.LoadFile((std::string(BRISALO_ASSETS) + "/sounds.xml").c_str()));
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
    EXPECT_EQ(sounds.RootElement()->FirstChildElement("mainmenu"), nullptr);

    TiXmlDocument scene;
    ASSERT_TRUE(scene.LoadFile((std::string(BRISALO_ASSETS) + "/mainmenu.xml").c_str()));
    for (const char* excluded : {"pockets", "lists", "tools", "globaltools"}) {
        EXPECT_EQ(scene.RootElement()->FirstChildElement(excluded), nullptr) << excluded;
    }
    EXPECT_EQ(scene.RootElement()->FirstChildElement("Common")->Attribute("animfiles"), nullptr);
    std::vector<TiXmlElement*> pending{scene.RootElement()->FirstChildElement("Objects")};
    int sheets = 0;
    while (!pending.empty()) {
        TiXmlElement* parent = pending.back();
        pending.pop_back();
        for (TiXmlElement* e = parent->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
            const std::string type = e->Attribute("type") ? e->Attribute("type") : "";
            // A text label's children describe its layout, not scene objects.
            if (type != "text_obj") pending.push_back(e);
            for (const char* layer : {"imgclouds", "imgclouds2"}) {
                if (!e->Attribute(layer)) continue;
                EXPECT_EQ(access(AssetPath(std::string("textures/mainmenu/") + e->Attribute(layer) + ".png").c_str(), R_OK), 0)
                    << layer;
            }
            if (e->Attribute("particle")) {
                EXPECT_EQ(access(AssetPath(e->Attribute("particle")).c_str(), R_OK), 0);
            }
            if (!e->Attribute("name")) continue;
            const std::string name = e->Attribute("name");
            EXPECT_EQ(e->Attribute("drawz"), nullptr) << name;
            const std::string png = AssetPath("textures/mainmenu/" + name + ".png");
            EXPECT_EQ(access(png.c_str(), R_OK), 0) << png;
            EXPECT_NE(access(AssetPath("textures/mainmenu/" + name + ".jpg").c_str(), F_OK), 0) << name;
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
    EXPECT_EQ(sheets, 2);
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
