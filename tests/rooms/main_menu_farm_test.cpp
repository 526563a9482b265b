// The main menu's farm as the menu runs it: the hatch opens once and drops its bale, the
// pennant waves, the butterfly flies its moves and the firefly rides its loop with a trail;
// and the shipped sheets, curves and particle files these kinds name.
#include <SDL.h>
#include <SDL_image.h>
#include <tinyxml.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/app_state.h"
#include "core/xml_document.h"
#include "game/front_screens.h"
#include "graphics/drawing_fixture.h"
#include "graphics/particle_system.h"
#include "graphics/trajectories.h"
#include "graphics/trajectory_sprite.h"
#include "objects/anim_objects.h"
#include "objects/container_objects.h"
#include "objects/object_factory.h"
#include "sound/sound_manager.h"
#include "test_support.h"

namespace {

constexpr float kFarmFrame = 1.0f / 60.0f;

class MainMenuFarm : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
        ASSERT_TRUE(GetTrajectoryList().Load(std::string(BRISALO_ASSETS) + "/trajectories.dat"));
    }
    void TearDown() override
    {
        GetTrajectoryList().Clear();
        GetAppState().mObjectFactory = std::move(mOldFactory);
        GetSoundManager()->RemoveSoundList("mainmenu");
        CanvasTest::TearDown();
    }

    TOwned<TObjectFactory> mOldFactory;
};

// Where the sprite was placed (a centred sprite answers its corner plus half a frame).
TIntPoint At(const StaticImage& sprite) { return TIntPoint{static_cast<int>(sprite.mX), static_cast<int>(sprite.mY)}; }

bool operator!=(const TIntPoint& a, const TIntPoint& b) { return a.x != b.x || a.y != b.y; }

}  // namespace

TEST_F(MainMenuFarm, HatchPennantButterflyAndFireflyRunAsTheMenuShowsThem)
{
    TMainMenu menu;
    menu.OnShown();
    TRoom& room = menu.mRoom;

    auto* farm = dynamic_cast<TGroupObject*>(room.FindObject("farm"));
    ASSERT_NE(nullptr, farm);
    ASSERT_EQ(3u, farm->mChildren.size());
    EXPECT_EQ("barn", farm->mChildren[0]->GetName());
    auto* flag = dynamic_cast<TCadrObject*>(farm->mChildren[1].get());
    auto* hatch = dynamic_cast<TShutterObject*>(farm->mChildren[2].get());
    ASSERT_NE(nullptr, flag);
    ASSERT_NE(nullptr, hatch);
    auto* bale = dynamic_cast<TCadrObject*>(hatch->FindChild("sh_ball"));
    ASSERT_NE(nullptr, bale);
    auto* butterfly = dynamic_cast<TLineMovingAnimObject*>(room.FindObject("butterfly"));
    ASSERT_NE(nullptr, butterfly);
    TrajectoryMoverCadrImage2Object* firefly = nullptr;
    for (const auto& object : room.mObjects)
        if (auto* found = dynamic_cast<TrajectoryMoverCadrImage2Object*>(object.get())) firefly = found;
    ASSERT_NE(nullptr, firefly);
    const TTrajectory* loop = FindTrajectory("menuloop");
    ASSERT_NE(nullptr, loop);
    ASSERT_FALSE(loop->mPoints.empty());
    ASSERT_FALSE(firefly->mParticles.mItems.empty());
    // The loader also builds the trail's element as a plain child object.
    ASSERT_EQ(1u, firefly->mChildren.size());
    EXPECT_EQ(0, firefly->mChildren[0]->GetTypeCode());

    const TIntPoint stops[3] = {{1330, 530}, {1300, 566}, {1300, 488}};
    std::vector<int> reached{2};  // it starts where the last move ends
    std::set<int> flagFrames;
    TIntPoint butterflyBefore = At(butterfly->mCadrImage.GetImage());
    TIntPoint fireflyBefore = At(firefly->mSheet.GetImage());
    int fireflyHome = 0;
    bool nearHome = true;
    for (int i = 1; i <= 60 * 60; ++i) {
        room.Update(kFarmFrame);
        if (i <= 90) flagFrames.insert(flag->mCadrImage->GetCurrentFrame());
        if (i == 60) {
            EXPECT_FLOAT_EQ(876.0f, hatch->mX);
            EXPECT_FLOAT_EQ(604.0f, hatch->mY);
            EXPECT_FLOAT_EQ(913.0f, bale->mX);
            EXPECT_FLOAT_EQ(686.0f, bale->mY);
            EXPECT_FALSE(bale->mCadrImage->IsPlaying());
            int live = 0;
            for (const auto& item : firefly->mParticles.mItems)
                if (item->GetSystem()) live += item->GetSystem()->Count();
            EXPECT_GT(live, 0);
        }
        if (i > 60 && i <= 660) {
            ASSERT_FLOAT_EQ(876.0f, hatch->mX) << i;
            ASSERT_FLOAT_EQ(686.0f, bale->mY) << i;
        }
        const TIntPoint wing = At(butterfly->mCadrImage.GetImage());
        for (int s = 0; s < 3; ++s)
            if (wing.x == stops[s].x && wing.y == stops[s].y && (reached.empty() || reached.back() != s))
                reached.push_back(s);
        const TIntPoint glow = At(firefly->mSheet.GetImage());
        const bool home = std::abs(glow.x - loop->mPoints[0].x) <= 1 && std::abs(glow.y - loop->mPoints[0].y) <= 1;
        if (home && !nearHome) ++fireflyHome;
        nearHome = home;
        if (i % 60 == 0) {
            EXPECT_TRUE(wing != butterflyBefore) << "butterfly still at second " << i / 60;
            EXPECT_TRUE(glow != fireflyBefore) << "firefly still at second " << i / 60;
            butterflyBefore = wing;
            fireflyBefore = glow;
        }
    }
    EXPECT_EQ(12u, flagFrames.size());
    {
        auto flagBox = [&]() {
            Clear(0, 0, 0);
            room.Draw();
            std::vector<TPixel> box;
            for (int y = 558; y < 590; ++y)
                for (int x = 925; x < 973; ++x) box.push_back(Pixel(x, y));
            return box;
        };
        const std::vector<TPixel> a = flagBox();
        for (int i = 0; i < 20; ++i) room.Update(kFarmFrame);
        const std::vector<TPixel> b = flagBox();
        int changed = 0;
        for (size_t i = 0; i < a.size(); ++i) changed += a[i].r != b[i].r || a[i].g != b[i].g || a[i].b != b[i].b;
        EXPECT_GE(changed, 150);
    }
    EXPECT_TRUE(flag->mCadrImage->IsPlaying());
    ASSERT_GE(reached.size(), 7u);
    for (size_t i = 1; i < reached.size(); ++i) EXPECT_EQ(static_cast<int>((i - 1) % 3), reached[i]) << i;
    EXPECT_GE(fireflyHome, 2);
    room.FreeObjectResources();
}

// The sheets fit their pictures, the curve and the particle file exist, every ball is a
// resting frame object.
TEST_F(MainMenuFarm, ShippedSheetsCurvesAndBallsFitTheirKinds)
{
    TiXmlDocument scene;
    ASSERT_TRUE(ParseXmlText(&scene, ReadWholeFile(std::string(BRISALO_ASSETS) + "/mainmenu.xml")));
    std::vector<TiXmlElement*> pending{scene.RootElement()->FirstChildElement("Objects")};
    int checked = 0;
    auto attr = [](TiXmlElement* e, const char* key) { return e->Attribute(key) ? std::string(e->Attribute(key)) : ""; };
    while (!pending.empty()) {
        TiXmlElement* parent = pending.back();
        pending.pop_back();
        for (TiXmlElement* e = parent->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
            pending.push_back(e);
            const std::string type = attr(e, "type");
            if (attr(e, "id") == "sh_ball") {
                EXPECT_EQ("cadrobj", type);
                EXPECT_EQ("0", attr(e, "active"));
            }
            std::string file, fw, fh;
            if (type == "cadrobj") {
                file = attr(e, "anim"), fw = "w", fh = "h";
            } else if (type == "animlinemover" || type == "anim") {
                file = attr(e, "filename"), fw = "cadr_width", fh = "cadr_height";
            } else if (type == "trajectorymovercadr2") {
                file = attr(e, "filename"), fw = "cadrw", fh = "cadrh";
                EXPECT_NE(nullptr, FindTrajectory(attr(e, "tr"))) << attr(e, "tr");
                for (TiXmlElement* p = e->FirstChildElement("object"); p; p = p->NextSiblingElement("object"))
                    EXPECT_EQ(0, access(AssetPath(attr(p, "particle")).c_str(), R_OK)) << attr(p, "particle");
            } else {
                continue;
            }
            ++checked;
            const std::string png = AssetPath("textures/mainmenu/" + file + ".png");
            SDL_Surface* image = IMG_Load(png.c_str());
            ASSERT_NE(nullptr, image) << png;
            const int w = std::atoi(attr(e, fw.c_str()).c_str()), h = std::atoi(attr(e, fh.c_str()).c_str());
            ASSERT_GT(w, 0) << file;
            ASSERT_GT(h, 0) << file;
            if (e->Attribute("tw")) {
                EXPECT_EQ(image->w, std::atoi(e->Attribute("tw"))) << file;
            }
            EXPECT_LE(std::atoi(attr(e, "frames").c_str()), (image->w / w) * (image->h / h)) << file;
            SDL_FreeSurface(image);
        }
    }
    EXPECT_EQ(4, checked);
}
