// The main menu's two movies from the shipped files: the ring of light loops without end, the
// easel's canvas plays its pass, pauses and plays again.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "audio_cases.h"
#include "core/app_state.h"
#include "graphics/drawing_fixture.h"
#include "objects/movie_objects.h"
#include "objects/object_factory.h"
#include "rooms/room.h"

namespace {

class ShippedMenuMovies : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        mOldFactory = std::move(GetAppState().mObjectFactory);
        GetAppState().mObjectFactory.reset(new TObjectFactory());
    }
    void TearDown() override
    {
        GetAppState().mObjectFactory = std::move(mOldFactory);
        CanvasTest::TearDown();
    }
    TOwned<TObjectFactory> mOldFactory;
};

TEST_F(ShippedMenuMovies, TheCanvasReplaysAfterItsPassAndTheRingNeverEnds)
{
    TRoom room;
    ASSERT_TRUE(room.LoadFromXml("mainmenu.xml"));
    room.LoadObjectResources(0);
    room.mShowRequest = true;
    room.OnShow();
    auto* canvas = dynamic_cast<TVideoObject*>(room.FindObject("canvas"));
    auto* ring = dynamic_cast<TVideoObject*>(room.FindObject("ringmovie"));
    ASSERT_NE(canvas, nullptr);
    ASSERT_NE(ring, nullptr);
    bool canvasDrew = false, ringDrew = false;
    for (int i = 0; i < 180; ++i) {
        room.Update(1.0f / 60);
        if (canvas->GetDecoder() && canvas->GetDecoder()->IsUploaded()) canvasDrew = true;
        if (ring->GetDecoder() && ring->GetDecoder()->IsUploaded()) ringDrew = true;
    }
    EXPECT_TRUE(canvas->mPlayed);
    EXPECT_EQ(canvas->mActivations, 2);
    EXPECT_TRUE(canvas->IsActive());
    EXPECT_NE(canvas->GetDecoder(), nullptr);
    EXPECT_FALSE(ring->mPlayed);
    EXPECT_TRUE(ring->IsActive());
    EXPECT_GE(ring->GetDecoder()->GetLoopsDone(), 2);
    EXPECT_TRUE(canvasDrew);
    EXPECT_TRUE(ringDrew);

    // Both show on the drawn scene: the ring's colour inside its box, and the canvas's frame.
    room.Draw();
    const TPixel ringCore = Pixel(318 + 64 + 36, 134 + 64);
    const TPixel ringCorner = Pixel(319, 135);
    EXPECT_NE(std::make_tuple(ringCore.r, ringCore.g, ringCore.b),
              std::make_tuple(ringCorner.r, ringCorner.g, ringCorner.b));
    room.FreeObjectResources();
}

}  // namespace
