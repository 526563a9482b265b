// The dialog that ends a level over the shipped layout: the preview sizes and the picture rendered
// into them, the star slots and their descriptions, the timed reveal with its bursts and sound,
// the buttons whose ids the board hears after the fly-out, and every star description inside
// the dialog in the shipped fonts.
#include "game/level_complete_window.h"

#include <string>
#include <vector>

#include "core/text.h"
#include "core/xml_document.h"

#include "game/difficulty.h"
#include "game/ring_burst.h"
#include "game/stages.h"
#include "graphics/font_manager.h"
#include "ui/dialog_fixture.h"
#include "ui/button.h"
#include "ui/image.h"
#include "ui/text_image.h"

namespace {

constexpr float kDt = 0.25f;

class LevelCompleteWindowTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        InitMosaicStars();
        mLevel.mStars = {{"complete", "0hint", "90time"}};
        mStats.mSecondsAllowed = 125.0f;
        mResult.mCompleted = 1;
        mResult.mStars = 3;
        mResult.mNewBest = 1;
    }
    void TearDown() override
    {
        mManager->DeleteTopWindows();
        // The window reaches the board through its getter: the board goes before the renderer.
        GetAppState().mBoard.reset();
        DialogTest::TearDown();
    }

    // A 3 x 3 picture, red but for one green corner, in the board's own model.
    void LoadBoardPicture()
    {
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 3, 3, 8, SDL_PIXELFORMAT_INDEX8);
        const SDL_Color palette[] = {{220, 30, 30, 255}, {30, 220, 30, 255}};
        SDL_SetPaletteColors(surface->format->palette, palette, 0, 2);
        surface->format->palette->ncolors = 2;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x) static_cast<uint8_t*>(surface->pixels)[y * surface->pitch + x] = 0;
        static_cast<uint8_t*>(surface->pixels)[0] = 1;
        auto* texture = new TTexture();
        ASSERT_TRUE(texture->CreatePalettedTexture(surface));
        SDL_FreeSurface(surface);
        TPaintByNumber& picture = GetBoard()->mPicture;
        picture.LoadPicture(26, "lc", "3", TexturePtr(texture));
        // Finished: every cell painted its own colour.
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) picture.GetCell(c, r)->SetPainted(picture.GetCell(c, r)->GetNumber());
    }

    TLevelCompleteWindow* Open()
    {
        auto* window = new TLevelCompleteWindow(mResult, &mLevel, mStats, &mFly);
        mManager->AddWindow(window, 0.0f);
        return window;
    }
    // Updates until the window has arrived; the phase stays 4 on every frame before.
    void Arrive(TLevelCompleteWindow* window)
    {
        for (int i = 0; i < 40 && window->GetState() != TFlyWindow::kShown; ++i) {
            EXPECT_EQ(window->mPhase, TLevelCompleteWindow::kPhaseArriving);
            mManager->Update(kDt);
        }
        ASSERT_EQ(window->GetState(), TFlyWindow::kShown);
    }
    int Count(const std::string& line)
    {
        int n = 0;
        for (const std::string& l : mLog) n += l == line;
        return n;
    }

    TLevelInfoMosaic mLevel;
    TLevelPlayStats mStats;
    TLevelResult mResult;
};

TEST_F(LevelCompleteWindowTest, PreviewTypeShowsOneSetAndRendersThePictureAtItsSize)
{
    LoadBoardPicture();
    struct TCase {
        int type;
        int shown;  // -1: none
        int size;   // the set that takes the textures and the picture
    };
    const char* const pictures[] = {"image", "imagebig", "imagebig15"};
    const char* const backs[] = {"imageback", "imagebackbig", "imagebackbig15"};
    const char* const frames[] = {"imageframe", "imageframebig", "imageframebig15"};
    const char* const suffix[] = {"", "big", "big15"};
    for (const TCase& c : {TCase{0, 0, 0}, TCase{1, 1, 1}, TCase{2, 2, 2}, TCase{3, -1, 2}, TCase{-1, -1, 2}}) {
        SCOPED_TRACE(c.type);
        mResult.mPreviewType = c.type;
        TLevelCompleteWindow window(mResult, &mLevel, mStats, &mFly);
        for (int s = 0; s < 3; ++s)
            for (const char* name : {pictures[s], backs[s], frames[s]}) {
                TMyWindow* child = window.FindChild(name);
                ASSERT_NE(child, nullptr) << name;
                EXPECT_EQ(child->mVisible, s == c.shown) << name;
            }
        auto* back = dynamic_cast<TMyImage*>(window.FindChild(backs[c.size]));
        auto* frame = dynamic_cast<TMyImage*>(window.FindChild(frames[c.size]));
        EXPECT_EQ(back->mImage.GetTextureName(), std::string("textures/gui/levelcomplete/frameback") + suffix[c.size]);
        EXPECT_EQ(frame->mImage.GetTextureName(), std::string("textures/gui/levelcomplete/frame") + suffix[c.size]);

        auto* picture = dynamic_cast<TMyImage*>(window.FindChild(pictures[c.size]));
        ASSERT_EQ(window.mPictureImage, picture);
        EXPECT_EQ(picture->mDrawMode, 1);
        TTexture* texture = picture->mImage.GetTexture();
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->GetWidth(), picture->mWidth);
        EXPECT_EQ(texture->GetHeight(), picture->mHeight);
        // The centre cell is red in the picture: so is the centre of the rendered texture.
        uint32_t pixel = 0;
        SDL_Rect r{picture->mWidth / 2, picture->mHeight / 2, 1, 1};
        SDL_SetRenderTarget(mRenderer, texture->GetSdlTexture());
        SDL_RenderReadPixels(mRenderer, &r, SDL_PIXELFORMAT_ARGB8888, &pixel, 4);
        SDL_SetRenderTarget(mRenderer, nullptr);
        EXPECT_EQ(pixel & 0xFFFFFFu, 0xDC1E1Eu) << std::hex << pixel;
        EXPECT_EQ(window.mResult.mNewBest, 0);
        EXPECT_EQ(window.mId, 314);
    }
}

TEST_F(LevelCompleteWindowTest, OneSlotPerRuleWithItsDescription)
{
    const std::wstring time = GetLocalization()->GetText("star_time");
    ASSERT_NE(time.find(L"$$"), std::wstring::npos);
    {
        TLevelCompleteWindow window(mResult, &mLevel, mStats, &mFly);
        ASSERT_EQ(window.mSlots.size(), 3u);
        EXPECT_EQ(window.mSlots[0].mLabel->mText, GetLocalization()->GetText("star_completelevel"));
        EXPECT_EQ(window.mSlots[1].mLabel->mText, GetLocalization()->GetText("star_0hint"));
        const std::wstring shown = window.mSlots[2].mLabel->mText;
        EXPECT_EQ(shown.find(L"$$"), std::wstring::npos) << "the allowed time replaces the mark";
        EXPECT_NE(shown.find(WidenAscii(FormatStarTime(125.0f))), std::wstring::npos);
        for (const auto& slot : window.mSlots) {
            EXPECT_EQ(slot.mShape->GetTextureName(), "textures/gui/levelcomplete/starshape");
            EXPECT_EQ(slot.mStar->GetTextureName(), "textures/gui/levelcomplete/star");
            EXPECT_FALSE(slot.mStar->IsVisible());
        }
        // Slot centres come from the layout's "star<k>" rects.
        EXPECT_EQ(window.mSlots[0].mCentreX, 420.0f + 28.0f);
        EXPECT_EQ(window.mSlots[2].mCentreY, 340.0f + 28.0f);
    }
    mLevel.mStars = {{"complete", "1error"}};
    TLevelCompleteWindow two(mResult, &mLevel, mStats, &mFly);
    EXPECT_EQ(two.mSlots.size(), 2u);
    auto* third = dynamic_cast<TSimpleTextImage*>(two.FindChild("stardesc3"));
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(third->mText.empty());
}

TEST_F(LevelCompleteWindowTest, StarsAppearHalfASecondApartWithBurstsAndSound)
{
    TLevelCompleteWindow* window = Open();
    Arrive(window);
    // The arrival frame already shows the first star.
    EXPECT_EQ(window->mPhase, TLevelCompleteWindow::kPhaseStars);
    EXPECT_EQ(window->mStarsShown, 1);
    EXPECT_TRUE(window->mSlots[0].mStar->IsVisible());
    EXPECT_FALSE(window->mSlots[1].mStar->IsVisible());
    ASSERT_EQ(window->mEffects.Count(), 2u);
    int x = 0, y = 0;
    window->GetAbsolutePosition(&x, &y);
    const float cycle[] = {1.5f, 1.7f}, scale[] = {1.5f, 2.0f};
    for (size_t i = 0; i < 2; ++i) {
        auto* burst = dynamic_cast<EffectChange3One*>(window->mEffects.At(i));
        ASSERT_NE(burst, nullptr);
        EXPECT_EQ(burst->mCentreX, static_cast<float>(x) + window->mSlots[0].mCentreX);
        EXPECT_EQ(burst->mCentreY, static_cast<float>(y) + window->mSlots[0].mCentreY);
        EXPECT_EQ(burst->mCycleTime, cycle[i]);
        EXPECT_EQ(burst->mEndScale, scale[i]);
        EXPECT_EQ(burst->mCycleLimit, -1);
        EXPECT_EQ(burst->mId, 0);
        EXPECT_EQ(burst->mImage.GetTextureName(), "textures/gui/levelcomplete/star");
    }
    EXPECT_EQ(Count("sound gotstar"), 1);

    mManager->Update(kDt);
    EXPECT_EQ(window->mStarsShown, 1);
    mManager->Update(kDt);  // +0.5 s
    EXPECT_EQ(window->mStarsShown, 2);
    EXPECT_EQ(window->mEffects.Count(), 4u);
    EXPECT_EQ(window->mPhase, TLevelCompleteWindow::kPhaseStars);
    mManager->Update(kDt);
    EXPECT_EQ(window->mStarsShown, 2);
    mManager->Update(kDt);  // +1.0 s
    EXPECT_EQ(window->mStarsShown, 3);
    EXPECT_EQ(window->mPhase, TLevelCompleteWindow::kPhaseDone);
    EXPECT_EQ(Count("sound gotstar"), 3);
    EXPECT_EQ(dynamic_cast<EffectChange3One*>(window->mEffects.At(5))->mId, 2);

    // The bursts go on: endless cycles, nothing more revealed.
    for (int i = 0; i < 40; ++i) mManager->Update(kDt);
    EXPECT_EQ(window->mEffects.Count(), 6u);
    EXPECT_EQ(Count("sound gotstar"), 3);
    mManager->Draw();
}

TEST_F(LevelCompleteWindowTest, RevealEndsAtTheEarnedStarsOrTheLastSlot)
{
    struct TCase {
        int stars;
        std::vector<std::string> rules;
        int shown;
        int phase;
    };
    const TCase cases[] = {{0, {"complete", "0hint", "90time"}, 0, TLevelCompleteWindow::kPhaseStars},
                           {3, {"complete"}, 1, TLevelCompleteWindow::kPhaseDone},
                           {2, {}, 0, TLevelCompleteWindow::kPhaseDone}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.stars);
        mLog.clear();
        mResult.mStars = c.stars;
        mLevel.mStars = {c.rules};
        TLevelCompleteWindow* window = Open();
        Arrive(window);
        for (int i = 0; i < 12; ++i) mManager->Update(kDt);
        EXPECT_EQ(window->mStarsShown, c.shown);
        EXPECT_EQ(window->mPhase, c.phase);
        EXPECT_EQ(window->mEffects.Count(), static_cast<size_t>(2 * c.shown));
        EXPECT_EQ(Count("sound gotstar"), c.shown);
        mManager->DeleteTopWindows();
    }
    // A result that is not completed reveals nothing.
    mResult.mCompleted = 0;
    mResult.mStars = 3;
    mLevel.mStars = {{"complete"}};
    TLevelCompleteWindow* window = Open();
    Arrive(window);
    mManager->Update(kDt);
    EXPECT_EQ(window->mPhase, TLevelCompleteWindow::kPhaseNotCompleted);
    EXPECT_EQ(window->mStarsShown, 0);
}

TEST_F(LevelCompleteWindowTest, ButtonsCloseWithTheirIdAfterTheFlyOut)
{
    const struct {
        const char* name;
        int result;
    } buttons[] = {{"repeat", 1}, {"mainmenu", 2}, {"nextlevel", 3}};
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.name);
        mLog.clear();
        TLevelCompleteWindow* window = Open();
        mManager->Update(kDt);
        TMyWindow* button = window->FindChild(b.name);
        ASSERT_NE(button, nullptr);
        // During the fly-in a click does nothing.
        int x = 0, y = 0;
        button->GetAbsolutePosition(&x, &y);
        Click(x + button->GetWidth() / 2, y + button->GetHeight() / 2);
        EXPECT_EQ(window->GetState(), TFlyWindow::kFlyingIn);
        EXPECT_EQ(Count("fly closing 314"), 0);
        Arrive(window);
        ASSERT_GT(window->mEffects.Count(), 0u);
        mLog.clear();
        button->GetAbsolutePosition(&x, &y);
        Click(x + button->GetWidth() / 2, y + button->GetHeight() / 2);
        EXPECT_EQ(window->mEffects.Count(), 0u) << "the bursts go as the fly-out begins";
        EXPECT_EQ(Count("fly closed 314 result " + std::to_string(b.result)), 0);
        for (int i = 0; i < 40 && mManager->FindWindow(314); ++i) mManager->Update(kDt);
        EXPECT_EQ(Count("fly closed 314 result " + std::to_string(b.result)), 1);
        EXPECT_EQ(mManager->FindWindow(314), nullptr) << "deleted after the fly-out";
    }
}


// The window over the shipped fonts, as the player sees its texts.
class LevelCompleteShippedFonts : public LevelCompleteWindowTest {
protected:
    void SetUp() override
    {
        LevelCompleteWindowTest::SetUp();
        for (const char* shipped : {"fonts", "fonts.xml"})
            ASSERT_EQ(0, symlink((std::string(BRISALO_ASSETS) + "/" + shipped).c_str(), AssetPath(shipped).c_str()));
        ASSERT_TRUE(TFontManager::Instance()->Load(LoadXmlDocument("fonts.xml")));
        DeleteCurrentXmlDocument();
    }
    void TearDown() override
    {
        // The windows go before the fonts they draw with.
        mManager->DeleteTopWindows();
        TFontManager::Destroy();
        LevelCompleteWindowTest::TearDown();
    }
};

// Every star rule's description in every slot, the time rule with its widest time, drawn
// alone on a black canvas: no pixel of it lies outside the dialog.
TEST_F(LevelCompleteShippedFonts, EveryStarDescriptionFitsInsideTheDialog)
{
    const char* const rules[] = {"complete", "0hint",  "1hint",  "2hint",  "3hint",  "4hint",  "5hint",
                                 "6hint",    "0error", "1error", "2error", "3error", "4error", "5error",
                                 "75time",   "80time", "85time", "90time"};
    // The widest time the description can show, in the font the slots draw with.
    {
        TLevelCompleteWindow probe(mResult, &mLevel, mStats, &mFly);
        ASSERT_FALSE(probe.mSlots.empty());
        ImageFont* font = probe.mSlots[0].mLabel->mFont;
        ASSERT_NE(font, nullptr);
        int widest = -1;
        for (int seconds = 0; seconds < 3600; ++seconds) {
            const int width = font->WStringWidth(WidenAscii(FormatStarTime(static_cast<float>(seconds))));
            if (width > widest) {
                widest = width;
                mStats.mSecondsAllowed = static_cast<float>(seconds);
            }
        }
    }
    for (const char* rule : rules) {
        SCOPED_TRACE(rule);
        mLevel.mStars = {{rule, rule, rule}};
        TLevelCompleteWindow* window = Open();
        Arrive(window);
        int wx = 0, wy = 0;
        window->GetAbsolutePosition(&wx, &wy);
        ASSERT_EQ(window->mSlots.size(), 3u);
        for (size_t i = 0; i < window->mSlots.size(); ++i) {
            TSimpleTextImage* label = window->mSlots[i].mLabel;
            ASSERT_NE(label, nullptr);
            ASSERT_FALSE(label->mText.empty());
            Clear(0, 0, 0);
            label->mDrawOffsetX = wx;
            label->mDrawOffsetY = wy;
            label->DrawSelf();
            const SDL_Rect text = DrawnBox(0, 0, 0);
            ASSERT_GT(text.w, 0) << "slot " << i << " drew nothing";
            EXPECT_GE(text.x, wx) << "slot " << i << " " << text;
            EXPECT_GE(text.y, wy) << "slot " << i << " " << text;
            EXPECT_LE(text.x + text.w, wx + window->GetWidth()) << "slot " << i << " " << text;
            EXPECT_LE(text.y + text.h, wy + window->GetHeight()) << "slot " << i << " " << text;
            // Nor into the next slot's row.
            if (i + 1 < window->mSlots.size()) {
                EXPECT_LE(text.y + text.h, wy + window->mSlots[i + 1].mLabel->GetY()) << "slot " << i << " " << text;
            }
        }
        mManager->DeleteTopWindows();
    }
}

// Each button's label drawn alone on a black canvas: it keeps the margin every other label of
// the game has inside its button, on either side.
TEST_F(LevelCompleteShippedFonts, EveryButtonLabelKeepsAMarginInsideItsButton)
{
    const int kMargin = 24;
    TLevelCompleteWindow* window = Open();
    Arrive(window);
    for (const char* name : {"repeat", "mainmenu", "nextlevel"}) {
        SCOPED_TRACE(name);
        auto* button = dynamic_cast<TMyButton*>(window->FindChild(name));
        ASSERT_NE(button, nullptr);
        ASSERT_NE(button->mCaption, nullptr);
        int wx = 0, wy = 0, x = 0, y = 0;
        window->GetAbsolutePosition(&wx, &wy);
        button->GetAbsolutePosition(&x, &y);
        Clear(0, 0, 0);
        button->mDrawOffsetX = wx;
        button->mDrawOffsetY = wy;
        button->DrawCaption();
        button->mDrawOffsetX = button->mDrawOffsetY = 0;
        const SDL_Rect text = DrawnBox(0, 0, 0);
        ASSERT_GT(text.w, 0) << "the label drew nothing";
        EXPECT_GE(text.x - x, kMargin) << text;
        EXPECT_GE(x + button->GetWidth() - (text.x + text.w), kMargin) << text;
        EXPECT_GE(text.y, y);
        EXPECT_LE(text.y + text.h, y + button->GetHeight());
    }
}

}  // namespace
