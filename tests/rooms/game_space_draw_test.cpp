// A space on a software renderer: layers and the clip; its resources, log lines and sound
// list.
#include <tinyxml.h>

#include "audio_cases.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "log_watch.h"
#include "rooms/scene_probe.h"
#include "rooms/test_space.h"
#include "sound/sound_manager.h"

namespace {

class SpaceDraw : public CanvasTest {
protected:
    TProbe* Probe(const std::string& name, int layer)
    {
        TProbe* probe = mSpace.Add(new TProbe(name, &mTrace));
        probe->mLayer = layer;
        return probe;
    }

    TTrace mTrace;
    TTestSpace mSpace;
};

TEST_F(SpaceDraw, EachLayerDrawsItsOwnObjectsInsideTheClip)
{
    Probe("A", 0);
    Probe("B", 1);
    Probe("C", 2);
    Probe("D", 0);
    mSpace.Draw();
    EXPECT_EQ(mTrace, (TTrace{"A draw", "D draw"}));
    mTrace.clear();
    mSpace.DrawLayer1();
    mSpace.DrawLayer2();
    EXPECT_EQ(mTrace, (TTrace{"B draw", "C draw"}));

    mTrace.clear();
    mSpace.mClipX = 10;
    mSpace.mClipY = 20;
    mSpace.mClipW = 30;
    mSpace.mClipH = 40;
    mSpace.Draw();
    EXPECT_EQ(mTrace, (TTrace{"A draw clip 10,20,30,40", "D draw clip 10,20,30,40"}));
    EXPECT_FALSE(SDL_RenderIsClipEnabled(mRenderer));

    mTrace.clear();
    mSpace.mClipW = 0;
    mSpace.DrawLayer1();
    EXPECT_EQ(mTrace, (TTrace{"B draw"}));
}

TEST_F(SpaceDraw, HintEffectDrawsTheThirdSlot)
{
    struct TDrawn : DrawObject {
        explicit TDrawn(TTrace* trace) : mTrace(trace) {}
        void Draw(float alpha) override { mTrace->push_back("effect " + std::to_string(alpha)); }
        TTrace* mTrace;
    };
    mSpace.DrawHintEffect();
    mSpace.mEffects[1].reset(new TDrawn(&mTrace));
    mSpace.mEffects[2].reset(new TDrawn(&mTrace));
    mSpace.DrawHintEffect();
    EXPECT_EQ(mTrace, (TTrace{"effect 1.000000"}));
}

TEST_F(SpaceDraw, ObjectResourcesLoadOnceAndFillAZeroRectangle)
{
    TTestSpace empty;
    empty.LoadObjectResources(0);
    EXPECT_EQ(empty.mRectW, 0);
    EXPECT_EQ(empty.mRectH, 0);
    EXPECT_TRUE(empty.mResourcesLoaded);

    mSpace.Add(new TProbe("A", &mTrace, 0, 0, 100, 40));
    TProbe* tall = mSpace.Add(new TProbe("B", &mTrace, 0, 0, 60, 90));
    mSpace.mRectW = 30;
    mSpace.LoadObjectResources(0);
    EXPECT_EQ(mTrace, (TTrace{"A load", "B load"}));
    EXPECT_EQ(mSpace.mRectW, 30);
    EXPECT_EQ(mSpace.mRectH, 90);

    mTrace.clear();
    tall->mHeight = 200;
    mSpace.LoadObjectResources(0);
    EXPECT_EQ(mTrace, TTrace{});
    EXPECT_EQ(mSpace.mRectH, 90);

    mSpace.FreeObjectResources();
    mSpace.mRectW = 0;
    mSpace.mRectH = 0;
    mSpace.LoadObjectResources(0);
    EXPECT_EQ(mSpace.mRectW, 100);
    EXPECT_EQ(mSpace.mRectH, 200);
}

TEST_F(SpaceDraw, LoadAndUnloadLogTheirTimeAndOpenAndCloseTheSoundList)
{
    mSpace.SetName("hall_drawn");
    mSpace.mSpaceName = "hall";
    TLogWatch log;
    TTestSpace stranger;
    stranger.mSpaceName = "nobody";
    stranger.OpenSounds();
    stranger.CloseSounds();

    TiXmlDocument document;
    ParseXmlText(&document, R"(<room><sound id="drop_tool" name="sounds/drop_tool" volume="0.7"/></room>)");
    TSoundManager* sound = GetSoundManager();
    sound->AddSoundList("hall", document.RootElement(), "sound", false, 0);
    SharedPtr<TSoundPlayList> list = sound->FindSoundList("hall");
    ASSERT_TRUE(list);
    EXPECT_FALSE(list->mOpen);
    mSpace.OpenSounds();
    EXPECT_TRUE(list->mOpen);
    mSpace.CloseSounds();
    EXPECT_FALSE(list->mOpen);

    EXPECT_EQ(mSpace.LoadResources(0), 0);
    EXPECT_TRUE(list->mOpen);
    mSpace.UnloadResources();
    EXPECT_FALSE(list->mOpen);
    EXPECT_FALSE(mSpace.mResourcesLoaded);
    EXPECT_EQ(log.CountStartingWith("loadresource hall_drawn time  = "), 1u);
    EXPECT_EQ(log.CountStartingWith("unloadresource hall_drawn time  = "), 1u);
    sound->RemoveSoundList("hall");
}

}  // namespace
