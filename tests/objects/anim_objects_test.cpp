// Frame objects: sheets played while active, the countdown, animations that wait and move,
// and the trajectory sprite as a scene object.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio_cases.h"
#include "core/buffer.h"
#include "core/numbers.h"
#include "core/random.h"
#include "graphics/texture.h"
#include "graphics/tweens.h"
#include "objects/anim_objects.h"
#include "objects/object_scene_fixture.h"
#include "rooms/sound_calls.h"

namespace {

constexpr float kAnimStep = 0.0625f;

template <class Kind>
void Steps(Kind& object, int count)
{
    for (int i = 0; i < count; ++i) object.Update(kAnimStep);
}

// "scene/sheet.png": 32 x 32, four 16 x 16 frames in red, green, blue and white.
class FrameObjectTest : public SceneCanvasTest {
protected:
    void SetUp() override
    {
        SceneCanvasTest::SetUp();
        SavePng("scene/sheet.png", MakeSurface(32, 32, SDL_PIXELFORMAT_ABGR8888, [](int x, int y) {
                    const int frame = (y / 16) * 2 + x / 16;
                    const SDL_Color colours[] = {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255},
                                                 {255, 255, 255, 255}};
                    return colours[frame];
                }));
    }
    std::unique_ptr<TCadrObject> Cadr(const std::string& keys)
    {
        return LoadObjectFrom<TCadrObject>("<object type='cadrobj' anim='sheet' w='16' h='16' tw='32' th='32' "
                                           "frames='4' speed='0.1' " + keys + "/>");
    }
    int Frame(const TCadrImage& image) const { return image.GetCurrentFrame(); }
};

}  // namespace

TEST_F(FrameObjectTest, LoopsAndTheFrameLayout)
{
    TCadrObject unread;
    EXPECT_EQ(1, unread.mLoops);
    EXPECT_TRUE(unread.IsActive());
    EXPECT_FALSE(unread.mCadrImage);
    unread.Update(kAnimStep);  // safe without a frame image
    unread.Draw(1.0f);
    unread.Activate(0, 0, 0);
    unread.SetPosition(1, 2, true);

    auto endless = Cadr("");
    EXPECT_EQ(-1, endless->mLoops);
    endless->Activate(0, 0, 0);
    Steps(*endless, 40);
    EXPECT_TRUE(endless->mCadrImage->IsPlaying());

    struct Case {
        const char* keys;
        int restsOn;
    };
    for (const Case& c : {Case{"loop='2'", 0}, Case{"loop='2' stayonlastcadr='1'", 3}}) {
        auto twice = Cadr(c.keys);
        twice->Activate(0, 0, 0);
        Steps(*twice, 40);
        EXPECT_FALSE(twice->mCadrImage->IsPlaying()) << c.keys;
        EXPECT_EQ(c.restsOn, Frame(*twice->mCadrImage)) << c.keys;
    }

    const std::vector<TCadrRect>& rects = endless->mCadrImage->GetFrameRects();
    ASSERT_EQ(4u, rects.size());
    const int corners[4][2] = {{0, 0}, {16, 0}, {0, 16}, {16, 16}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(corners[i][0], rects[i].x);
        EXPECT_EQ(corners[i][1], rects[i].y);
    }
    EXPECT_EQ("scene/sheet", endless->mCadrImage->mFileName);
    EXPECT_EQ("sheet", Cadr("udf='0'")->mCadrImage->mFileName);
    auto noFrames = LoadObjectFrom<TCadrObject>("<object anim='sheet' w='16' h='16' tw='32'/>");
    noFrames->Activate(0, 0, 0);
    EXPECT_FALSE(noFrames->mCadrImage->IsPlaying());

    auto timed = Cadr("timed='1' ctime='0.5,0.25'");
    auto* image = dynamic_cast<TTimeCadrImage*>(timed->mCadrImage.Get());
    ASSERT_NE(nullptr, image);
    EXPECT_EQ((std::vector<float>{0.5f, 0.25f}), image->mDurations);
}

TEST_F(FrameObjectTest, FirstShowActivationAndSound)
{
    TRecordedSoundCalls sounds;
    auto object = Cadr("anim_sound='whirr'");
    TCadrObject* child = NestChild<TCadrObject>(*object, "<object anim='sheet' w='16' h='16' tw='32' frames='4'/>");
    object->OnSpaceFirstShown();
    EXPECT_TRUE(object->mCadrImage->IsPlaying());
    EXPECT_FALSE(child->mCadrImage->IsPlaying());  // children are not visited
    EXPECT_EQ((std::vector<std::string>{"play whirr"}), sounds.mCalls);
    Steps(*object, 2);
    const int frame = Frame(*object->mCadrImage);
    ASSERT_NE(0, frame);
    object->Deactivate(0, 0, 0);
    EXPECT_FALSE(object->IsActive());
    EXPECT_EQ(frame, Frame(*object->mCadrImage));
    EXPECT_EQ("stop whirr", sounds.mCalls.back());

    auto idle = Cadr("active='0'");
    idle->OnSpaceFirstShown();
    EXPECT_FALSE(idle->mCadrImage->IsPlaying());
}

TEST_F(FrameObjectTest, SheetPlacementAlphaAndMask)
{
    auto centred = Cadr("drawtype='1' x='100.7' y='50'");
    EXPECT_FLOAT_EQ(92.0f, centred->mCadrImage->GetImage().GetX());

    auto bounds = Cadr("checkonlybounds='1'");
    bounds->LoadResources();
    EXPECT_TRUE(KeepTextureAlpha);
    ASSERT_NE(nullptr, bounds->mCadrImage->GetImage().GetTexture());
    EXPECT_EQ(0, bounds->mCadrImage->GetImage().GetTexture()->GetAlphaAt(1, 1));
    bounds->FreeResources();
    auto masked = Cadr("");
    masked->LoadResources();
    EXPECT_EQ(255, masked->mCadrImage->GetImage().GetTexture()->GetAlphaAt(1, 1));
    masked->FreeResources();

    // Frame 3 is white: at alpha 0.5 and factor 0.5 it shows as a quarter on black.
    auto faint = Cadr("alpha='0.5' x='10' y='10'");
    faint->LoadResources();
    faint->mCadrImage->SetFrame(3);
    faint->Update(0.0f);
    faint->Draw(0.5f);
    ExpectPixel(15, 15, 64, 64, 64, 2);
    ExpectPixel(25, 25, 64, 64, 64, 2);  // the corner stands on the position
    ExpectPixel(9, 9, 0, 0, 0);
    faint->FreeResources();
}

TEST_F(FrameObjectTest, StateRoundTrip)
{
    auto saved = Cadr("id='c'");
    saved->Activate(0, 0, 0);
    Steps(*saved, 5);
    TBaseBuffer buffer;
    saved->SaveState(buffer);
    auto restored = Cadr("id='c'");
    restored->LoadState(buffer);
    EXPECT_TRUE(restored->mCadrImage->IsPlaying());
    EXPECT_EQ(Frame(*saved->mCadrImage), Frame(*restored->mCadrImage));
}

TEST_F(FrameObjectTest, CountdownTicksDownToExactlyZero)
{
    TRecordedSoundCalls sounds;
    auto never = LoadObjectFrom<TDoubleHOCadrObject>("<object anim='sheet' w='16' h='16' tw='32' frames='4' time='0'/>");
    never->Activate(0, 0, 0);
    EXPECT_FALSE(never->IsActive());
    never->Update(1.0f);
    EXPECT_EQ(0, Frame(*never->mCadrImage));

    auto counter = LoadObjectFrom<TDoubleHOCadrObject>(
        "<object id='n' anim='sheet' w='16' h='16' tw='32' frames='4' speed='0.1' time='3'/>");
    counter->Activate(0, 0, 0);
    counter->mRemaining = 0.4f;
    sounds.mCalls.clear();
    counter->Update(1.0f);
    EXPECT_EQ(0.0f, counter->mRemaining);
    EXPECT_FALSE(counter->IsActive());
    EXPECT_EQ(1, std::count(sounds.mCalls.begin(), sounds.mCalls.end(), "play clockticking"));
    const int frame = Frame(*counter->mCadrImage);
    sounds.mCalls.clear();
    counter->Update(1.0f);
    EXPECT_EQ(frame, Frame(*counter->mCadrImage));
    EXPECT_TRUE(sounds.mCalls.empty());

    counter->Activate(0, 0, 0);
    counter->mRemaining = 0.5f;
    TBaseBuffer buffer;
    counter->SaveState(buffer);
    EXPECT_EQ(500, buffer.Bytes()[buffer.Size() - 4] | (buffer.Bytes()[buffer.Size() - 3] << 8));
    auto restored = LoadObjectFrom<TDoubleHOCadrObject>(
        "<object id='n' anim='sheet' w='16' h='16' tw='32' frames='4' speed='0.1' time='3'/>");
    restored->LoadState(buffer);
    EXPECT_FLOAT_EQ(0.5f, restored->mRemaining);
    restored->OnSpaceFirstShown();
    EXPECT_FLOAT_EQ(3.0f, restored->mRemaining);
}

// ---------------------------------------------------------------- animations with moves

namespace {

const char kTwoMoves[] =
    "<movedat pause='0' startX='10' startY='20' endX='50' endY='20' time='0.25'/>"
    "<movedat pause='0' sflp='1' endX='50' endY='60' time='0.25'/>";

template <class Kind = TLineMovingAnimObject>
std::unique_ptr<Kind> Anim(const std::string& keys, const std::string& moves = kTwoMoves)
{
    return LoadObjectFrom<Kind>("<object id='an' type='animlinemover' filename='sheet' frames='4' cadr_width='16' "
                                "cadr_height='16' tw='32' speed='0.0625' " + keys + ">" + moves + "</object>");
}

TIntPoint SpriteAt(const TAnimObject& anim)
{
    return TIntPoint{static_cast<int>(anim.mCadrImage.GetImage().GetX()),
                     static_cast<int>(anim.mCadrImage.GetImage().GetY())};
}

}  // namespace

TEST(AnimObject, MovesStartWhereTheyAreToldTo)
{
    auto anim = Anim("x='100.9' y='7.5'",
                     "<movedat sflp='1' endX='1' endY='2'/><movedat sflp='1' endX='3' endY='4'/>");
    ASSERT_EQ(2u, anim->mMoves.size());
    EXPECT_EQ(100, anim->mMoves[0].mStartX);
    EXPECT_EQ(7, anim->mMoves[0].mStartY);
    EXPECT_EQ(1, anim->mMoves[1].mStartX);
    EXPECT_EQ(2, anim->mMoves[1].mStartY);
    EXPECT_TRUE(anim->mMoves[0].mStopFrames);

    SeedRandom(77);
    const float u = RandomFloat(-1.0f, 3.0f);
    SeedRandom(77);
    auto waits = Anim("", "<movedat pause='1' diff='2'/>");
    EXPECT_FLOAT_EQ(std::fabs(u), waits->mPauseTimer.mDuration);
    EXPECT_TRUE(waits->mWaiting);
}

TEST(AnimObject, LineMoverRunsItsMovesInTurnWhileActive)
{
    auto anim = Anim("active='1' play='1'");
    std::vector<TIntPoint> ends;
    for (int i = 0; i < 40; ++i) {
        const bool moving = anim->mMoving;
        anim->Update(kAnimStep);
        if (moving && !anim->mMoving) ends.push_back(SpriteAt(*anim));
        if (moving && anim->mMoving) {
            EXPECT_EQ(TruncToInt(anim->mLine.mX), SpriteAt(*anim).x);
            EXPECT_EQ(TruncToInt(anim->mLine.mY), SpriteAt(*anim).y);
        }
    }
    ASSERT_GE(ends.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(50, ends[i].x);
        EXPECT_EQ(i % 2 == 0 ? 20 : 60, ends[i].y);
    }

    auto idle = Anim("play='1'");
    Steps(*idle, 10);
    EXPECT_TRUE(idle->mWaiting);
    EXPECT_EQ(0, idle->mCadrImage.GetCurrentFrame());
    EXPECT_EQ(0, idle->mMoveIndex);

    auto test = Anim("test='1' play='1'");
    EXPECT_TRUE(test->IsActive());
    EXPECT_FALSE(test->mPlaying);
}

TEST(AnimObject, FramesRestWhileTheWaitRuns)
{
    const char* move = "<movedat pause='1' startX='0' startY='0' endX='5' endY='0' time='1'/>";
    auto resting = Anim("active='1' play='1'", move);
    Steps(*resting, 8);
    EXPECT_FALSE(resting->mCadrImage.IsPlaying());
    Steps(*resting, 10);
    EXPECT_TRUE(resting->mMoving);
    EXPECT_TRUE(resting->mCadrImage.IsPlaying());

    auto running = Anim("active='1' play='1'",
                        "<movedat pause='1' dont_move='0' startX='0' startY='0' endX='5' endY='0' time='1'/>");
    Steps(*running, 7);
    EXPECT_TRUE(running->mCadrImage.IsPlaying());
    EXPECT_NE(0, running->mCadrImage.GetCurrentFrame());

    // A plain animation waits once and then stays, its frames running.
    auto plain = Anim<TAnimObject>("active='1' play='1'", move);
    Steps(*plain, 40);
    EXPECT_FALSE(plain->mWaiting || plain->mMoving);
    EXPECT_TRUE(plain->mCadrImage.IsPlaying());
    EXPECT_EQ(0, SpriteAt(*plain).x);
}

TEST(AnimObject, RestoredRecordsAgreeWithThemselves)
{
    auto saved = Anim("active='1' play='1'",
                      "<movedat pause='5' startX='0' startY='0' endX='40' endY='0' time='0.25'/>");
    Steps(*saved, 2);
    ASSERT_TRUE(saved->mWaiting);
    TBaseBuffer buffer;
    saved->SaveState(buffer);
    auto restored = Anim("active='1' play='1'",
                         "<movedat pause='5' startX='0' startY='0' endX='40' endY='0' time='0.25'/>");
    restored->LoadState(buffer);
    restored->Update(kAnimStep);
    EXPECT_TRUE(restored->mMoving);  // the wait was not saved

    // A move index past the moves starts them over.
    auto damaged = Anim("active='1'");
    damaged->mMoveIndex = 7;
    damaged->mWaiting = true;
    TBaseBuffer bad;
    damaged->SaveState(bad);
    auto loaded = Anim("active='1'");
    loaded->LoadState(bad);
    EXPECT_EQ(0, loaded->mMoveIndex);
    EXPECT_TRUE(loaded->mWaiting);
    Steps(*loaded, 20);

    // Hidden when saved: nothing drawn; playing when saved: the frames run.
    auto hidden = Anim("active='1' play='1'", "");
    hidden->SetVisible(false);
    TBaseBuffer hiddenRecord;
    hidden->SaveState(hiddenRecord);
    auto back = Anim("active='1' play='0'", "");
    back->LoadState(hiddenRecord);
    EXPECT_FALSE(back->mCadrImage.GetImage().IsVisible());
    EXPECT_TRUE(back->mCadrImage.IsPlaying());
}

TEST_F(FrameObjectTest, HiddenAnimationDrawsNothing)
{
    auto anim = Anim("active='1' play='1' x='10' y='10'");
    anim->LoadResources();
    anim->SetVisible(false);
    anim->Draw(1.0f);
    EXPECT_EQ(0, DrawnBox(0, 0, 0).w);
    anim->SetVisible(true);
    anim->Draw(0.1f);  // drawn at full alpha whatever the factor
    ExpectPixel(15, 15, 255, 0, 0);
    anim->FreeResources();
}

// ---------------------------------------------------------------- trajectory sprite

TEST_F(FrameObjectTest, TrajectorySpriteIgnoresTheObjectKeys)
{
    ASSERT_TRUE(GetTrajectoryList().Load(std::string(BRISALO_ASSETS) + "/trajectories.dat"));
    std::unique_ptr<TObject> object = LoadObjectFrom<TrajectoryMoverCadrImage2Object>(
        "<object type='trajectorymovercadr2' trtype='0' tr='menuloop' movetime='10' filename='sheet' frames='4' "
        "cadrw='16' cadrh='16' speed='0.1' locked='1' onclick='0' visible='0' id='5'/>");
    auto* sprite = dynamic_cast<TrajectoryMoverCadrImage2Object*>(object.get());
    ASSERT_NE(nullptr, sprite);
    EXPECT_FALSE(object->IsLocked());
    EXPECT_TRUE(object->mClickEnabled);
    EXPECT_TRUE(object->IsVisible());
    EXPECT_EQ(5, static_cast<TrajectoryMoverCadrImage2*>(sprite)->mId);
    // The object's own update follows the sprite's: it reaches the children.
    TCadrObject* child = NestChild<TCadrObject>(*object, "<object anim='sheet' w='16' h='16' tw='32' frames='4' speed='0.5'/>");
    child->Activate(0, 0, 0);
    const float x0 = sprite->mSheet.GetImage().GetX();
    const float y0 = sprite->mSheet.GetImage().GetY();
    object->Update(1.0f);
    EXPECT_TRUE(sprite->mSheet.GetImage().GetX() != x0 || sprite->mSheet.GetImage().GetY() != y0);
    EXPECT_EQ(1, child->mCadrImage->GetCurrentFrame());
    object->TObject::SetVisible(false);
    object->Draw(1.0f);
    EXPECT_NE(0, DrawnBox(0, 0, 0).w);
    object.reset();  // through the scene's base
    GetTrajectoryList().Clear();
}
