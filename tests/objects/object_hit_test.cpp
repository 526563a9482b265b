// Hit tests of scene objects against what the renderer draws, and hovering.
#include <memory>
#include <string>
#include <vector>

#include "objects/object.h"
#include "objects/object_scene_fixture.h"
#include "rooms/scene_mouse_event.h"

namespace {

// "scene/ell.png": 40 x 20, opaque white where x < 10 or y >= 10, clear elsewhere.
class ObjectHitTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        SavePng("scene/ell.png", MakeSurface(40, 20, SDL_PIXELFORMAT_ABGR8888, [](int x, int y) {
                    return x < 10 || y >= 10 ? SDL_Color{255, 255, 255, 255} : SDL_Color{0, 0, 0, 0};
                }));
        SavePng("scene/half.png", MakeSurface(8, 8, SDL_PIXELFORMAT_ABGR8888, [](int, int) {
                    return SDL_Color{255, 255, 255, 128};
                }));
    }

    bool Drawn(int x, int y) { return Pixel(x, y).r > 0; }

    // True when every pixel within two of (x, y) agrees with it.
    bool AwayFromEdges(int x, int y)
    {
        const bool here = Drawn(x, y);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (Drawn(x + dx, y + dy) != here) return false;
        return true;
    }
};

TEST_F(ObjectHitTest, AnObjectIsHitWhereItIsDrawn)
{
    const char* cases[] = {
        R"(angle="30")",
        R"(angle="90")",
        R"(angle="30" tcx="10" tcy="10")",
        R"(angle="90" tcx="10" tcy="10")",
        R"(tcx="10" tcy="10")",
        R"(scalex="2" scaley="0.5")",
        "",
    };
    for (const char* extra : cases) {
        SCOPED_TRACE(extra);
        auto object = LoadObjectFrom(std::string(R"(<object name="ell" x="200" y="150" )") + extra + "/>");
        object->LoadResources();
        Clear(0, 0, 0);
        object->Draw(1.0f);
        SDL_RenderFlush(mRenderer);
        int checked = 0, hits = 0;
        for (int y = 100; y < 230; ++y)
            for (int x = 150; x < 280; ++x) {
                if (!AwayFromEdges(x, y)) continue;
                ++checked;
                const bool drawn = Drawn(x, y);
                hits += drawn;
                ASSERT_EQ(object->HitTestSelf(x, y), drawn) << "at " << x << ", " << y;
            }
        EXPECT_GT(hits, 100);
        EXPECT_GT(checked, 5000);
        object->FreeResources();
    }
}

TEST_F(ObjectHitTest, BoundsAloneOrTheAlphaThreshold)
{
    // The clear corner of the L is inside the rectangle.
    auto bounds = LoadObjectFrom(R"(<object name="ell" x="0" y="0" testalpha="0"/>)");
    auto cob = LoadObjectFrom(R"(<object name="ell" x="0" y="0" cob="1"/>)");
    auto alpha = LoadObjectFrom(R"(<object name="ell" x="0" y="0"/>)");
    for (auto* object : {bounds.get(), cob.get(), alpha.get()}) object->LoadResources();
    EXPECT_TRUE(bounds->HitTestSelf(30, 5));
    EXPECT_TRUE(cob->HitTestSelf(30, 5));
    EXPECT_FALSE(alpha->HitTestSelf(30, 5));
    EXPECT_TRUE(alpha->HitTestSelf(5, 5));
    EXPECT_FALSE(cob->HitTestSelf(40, 5));

    auto strict = LoadObjectFrom(R"(<object name="half" x="0" y="0" testalpha="100"/>)");
    auto loose = LoadObjectFrom(R"(<object name="half" x="0" y="0"/>)");
    strict->LoadResources();
    loose->LoadResources();
    EXPECT_FALSE(strict->HitTestSelf(3, 3));
    EXPECT_TRUE(loose->HitTestSelf(3, 3));
    for (auto* object : {bounds.get(), cob.get(), alpha.get(), strict.get(), loose.get()}) object->FreeResources();
}

TEST_F(ObjectHitTest, AnInvisibleBoundsParentPassesTheHitToItsGrandchild)
{
    // The bounds-only pair loads its picture without alpha: it must not be the grandchild's.
    auto parent = LoadObjectFrom(R"(<object name="ell" x="0" y="0" v="0" cob="1"/>)");
    TObject* child = NestChild(*parent, R"(<object name="ell" x="100" y="100" v="0" cob="1"/>)");
    TObject* grandchild = NestChild(*child, R"(<object name="pic" x="300" y="300"/>)");
    parent->LoadResources();
    EXPECT_TRUE(parent->HitTest(305, 305, true));
    EXPECT_EQ(parent->GetHitObject(), grandchild);
    EXPECT_EQ(parent->mHitDescendant, grandchild);
    EXPECT_FALSE(parent->HitTest(5, 5, true));
    EXPECT_EQ(parent->GetHitObject(), parent.get());
    grandchild->mLocked = true;
    EXPECT_FALSE(parent->HitTest(305, 305, true));
    EXPECT_TRUE(parent->HitTest(305, 305, false));
    parent->FreeResources();
}

}  // namespace
