#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "core/app_state.h"
#include "core/logger.h"
#include "core/virtual_files.h"
#include "game/picture.h"
#include "log_watch.h"
#include "picture_fixture.h"
#include "test_support.h"

namespace {

const SDL_Color kWhite{255, 255, 255, 255};
const SDL_Color kRed{200, 30, 40, 255};
const SDL_Color kGreen{20, 160, 60, 255};
const SDL_Color kBlue{30, 60, 200, 255};
const SDL_Color kYellow{240, 220, 20, 255};
const SDL_Color kPurple{120, 40, 140, 255};
const SDL_Color kTeal{0, 128, 128, 255};

struct TRecorder : TPaintByNumberListener {
    std::vector<std::string> mEvents;
    static std::string Where(TPaintByNumberItem* cell)
    {
        if (!cell) return "null";
        return std::to_string(cell->GetColumn()) + "," + std::to_string(cell->GetRow());
    }
    void OnStrokeErrors(TPaintByNumberItem* cell, int count) override
    {
        mEvents.push_back("errors " + Where(cell) + " " + std::to_string(count));
    }
    void OnStrokeFinished() override { mEvents.push_back("finished"); }
    void OnCellPainted(TPaintByNumberItem* cell) override { mEvents.push_back("painted " + Where(cell)); }
    void OnAreaFilled() override { mEvents.push_back("filled"); }
};

std::string Bytes(const std::vector<int>& values)
{
    std::string s;
    for (int v : values) s.push_back(static_cast<char>(v));
    return s;
}

class PictureModel : public TPictureTest {
protected:
    // A picture at cell size 26 whose viewport fits it at zoom 1, placed at (100, 50).
    void Load(int w, int h, const std::vector<SDL_Color>& palette, const std::vector<uint8_t>& pixels,
              const std::string& name = "textures/levels/test")
    {
        mModel.mViewportX = 100;
        mModel.mViewportY = 50;
        mModel.mViewportWidth = w * 26;
        mModel.mViewportHeight = h * 26;
        mModel.mListener = &mRecorder;
        mModel.LoadPicture(26, name, "3", MakePicture(w, h, palette, pixels));
        mModel.Draw(1.0f);  // the hit test uses the origin of the last draw
    }
    TMouseEvent At(int column, int row, int buttons = 1) const
    {
        return PointerAt(100 + column * 26 + 13, 50 + row * 26 + 13, buttons);
    }
    void Click(int column, int row, int buttons = 1)
    {
        mModel.MouseDown(At(column, row, buttons));
        mModel.MouseUp(At(column, row, buttons));
    }
    std::string ProgressFile() const { return UserPath("3/test.dat"); }

    void SetUp() override
    {
        TPictureTest::SetUp();
        MakeUserFolder("3");
        RemoveFile("user:3/test.dat");
        RemoveFile("user:3/test.dat.bad");
    }

    TPaintByNumber mModel;
    TRecorder mRecorder;
};

}  // namespace

TEST_F(PictureModel, WhiteLeavesTheColourListAndTheHighestColourTakesItsNumber)
{
    Load(3, 2, {kRed, kGreen, kWhite, kBlue, kYellow}, {0, 1, 2, 3, 4, 2});
    EXPECT_EQ(mModel.mColorCount, 4);
    EXPECT_FLOAT_EQ(mModel.mColors[2].r, kYellow.r / 255.0f);
    EXPECT_FLOAT_EQ(mModel.mColors[2].g, kYellow.g / 255.0f);
    EXPECT_EQ(mModel.GetCell(1, 1)->GetNumber(), 2);  // was 4
    EXPECT_EQ(mModel.GetCell(2, 0)->GetNumber(), 2);  // white
    EXPECT_FALSE(mModel.GetCell(2, 0)->IsVisible());
    EXPECT_FALSE(mModel.GetCell(2, 1)->IsVisible());
    EXPECT_TRUE(mModel.GetCell(1, 1)->IsVisible());
    // Lightness is taken after the replacement.
    EXPECT_FLOAT_EQ(mModel.mLightness[2], (20 + 240) / 255.0f * 0.5f);
    EXPECT_EQ(mModel.mSelectedColor, 0);

    struct TCase {
        std::vector<SDL_Color> palette;
        std::vector<uint8_t> pixels;
        int count;
    };
    const TCase cases[] = {
        {{kRed, kGreen, kBlue}, {0, 1, 2, 2, 1, 0}, 3},   // no white
        {{kRed, kGreen, kWhite}, {0, 1, 2, 2, 1, 0}, 2},  // white last
    };
    for (const TCase& c : cases) {
        Load(3, 2, c.palette, c.pixels);
        EXPECT_EQ(mModel.mColorCount, c.count);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(mModel.GetCell(i % 3, i / 3)->GetNumber(), c.pixels[i]);
    }
}

TEST_F(PictureModel, GreyRampLightensWithTheNumber)
{
    Load(2, 2, {kRed, kGreen, kBlue, kYellow}, {0, 1, 2, 3});
    const int greys[] = {60, 108, 156, 204};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(mModel.mGreyRamp[i].r, greys[i] / 255.0f);
        EXPECT_FLOAT_EQ(mModel.mGreyRamp[i].a, 1.0f);
    }
    Load(2, 1, {kRed, kWhite}, {0, 1});
    EXPECT_EQ(mModel.mColorCount, 1);
    EXPECT_FLOAT_EQ(mModel.mGreyRamp[0].r, 60 / 255.0f);
}

TEST_F(PictureModel, FitAndZoomLimitsFollowTheViewport)
{
    struct TCase {
        int w, h, cellSize, viewW, viewH;
        float fit, maxZoom, minZoom;
    };
    const TCase cases[] = {
        {40, 20, 26, 600, 600, 0.5769231f, 3.0f, 0.28846154f},
        {100, 100, 1, 1000, 1000, 10.0f, 10.0f, 1.5f},
        {300, 300, 26, 1100, 728, 728.0f / 7800.0f, 3.0f, 0.1f},  // the fit lies below the min zoom
    };
    for (const TCase& c : cases) {
        TPaintByNumber model;
        model.mViewportWidth = c.viewW;
        model.mViewportHeight = c.viewH;
        model.LoadPicture(c.cellSize, "x", "3",
                          MakePicture(c.w, c.h, {kRed, kGreen}, std::vector<uint8_t>(c.w * c.h, 0)));
        EXPECT_FLOAT_EQ(model.mFitZoom, c.fit);
        EXPECT_FLOAT_EQ(model.mZoom, c.fit);
        EXPECT_FLOAT_EQ(model.mMaxZoom, c.maxZoom);
        EXPECT_FLOAT_EQ(model.mMinZoom, c.minZoom);
    }
}

TEST_F(PictureModel, WrongClickCountsPaintsReportsAndSaves)
{
    Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
    mModel.SelectColor(1);
    Click(0, 0);
    EXPECT_EQ(mModel.mErrors, 1);
    EXPECT_EQ(mModel.GetCell(0, 0)->GetPainted(), 1);
    EXPECT_EQ(mRecorder.mEvents, (std::vector<std::string>{"errors 0,0 1", "finished"}));
    EXPECT_EQ(ReadWholeFile(ProgressFile()), Bytes({1, 0, 0, 0, 1, 255, 255, 255, 255, 255}));

    // A right cell clicked with another colour counts and keeps its colour.
    mModel.SelectColor(0);
    Click(0, 1);
    EXPECT_EQ(mModel.GetCell(0, 1)->GetPainted(), 0);
    mModel.SelectColor(2);
    Click(0, 1);
    EXPECT_EQ(mModel.mErrors, 2);
    EXPECT_EQ(mModel.GetCell(0, 1)->GetPainted(), 0);
}

TEST_F(PictureModel, ErrorsCountPerEventAndTheReleaseCountsAgain)
{
    Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
    mModel.SelectColor(1);
    mModel.MouseDown(At(2, 0));
    for (int i = 0; i < 3; ++i) mModel.MouseMove(At(2, 0));
    mModel.MouseUp(At(2, 0));
    EXPECT_EQ(mModel.mErrors, 4);
    EXPECT_EQ(mRecorder.mEvents, (std::vector<std::string>{"painted 2,0", "painted 2,0", "painted 2,0",
                                                            "errors 2,0 4", "finished"}));
}

TEST_F(PictureModel, BackgroundAndOutsideClicks)
{
    Load(3, 2, {kRed, kGreen, kWhite}, {0, 1, 2, 0, 1, 2});
    mModel.SelectColor(0);
    Click(2, 0);  // background inside the viewport: an error, nothing painted
    EXPECT_EQ(mModel.mErrors, 1);
    EXPECT_EQ(mModel.GetCell(2, 0)->GetPainted(), 255);
    mModel.SelectColor(2);  // white's number
    Click(2, 0);
    EXPECT_EQ(mModel.mErrors, 1);

    RemoveFile("user:3/test.dat");
    mRecorder.mEvents.clear();
    mModel.MouseDown(PointerAt(10, 10, 1));
    mModel.MouseUp(PointerAt(10, 10, 1));
    EXPECT_EQ(mModel.mErrors, 1);
    EXPECT_TRUE(PathExists(ProgressFile()));
    EXPECT_EQ(mRecorder.mEvents, (std::vector<std::string>{"finished"}));
}

TEST_F(PictureModel, RightDragPansInPicturePixelsWithoutSaving)
{
    Load(4, 2, {kRed, kGreen}, {0, 1, 0, 1, 1, 0, 1, 0});
    mModel.mViewportX = mModel.mViewportY = 0;
    mModel.mViewportWidth = 1000;
    mModel.mViewportHeight = 600;
    mModel.mZoom = 2.0f;
    mModel.GetCell(0, 0)->SetPainted(0);
    mModel.Draw(1.0f);
    const int x = mModel.mOriginX + 26 * 2 / 2, y = mModel.mOriginY + 26 * 2 / 2;
    EXPECT_TRUE(SameColor(ReadPixel(x, y), kRed.r, kRed.g, kRed.b));

    mModel.MouseDown(PointerAt(x, y, 2));
    mModel.MouseMove(PointerAt(x + 100, y, 2));
    EXPECT_EQ(mModel.mDragX, 50);
    SetUp();
    mModel.Draw(1.0f);
    EXPECT_TRUE(SameColor(ReadPixel(x + 100, y), kRed.r, kRed.g, kRed.b));
    mModel.MouseUp(PointerAt(x + 100, y, 2));
    EXPECT_EQ(mModel.mPanX, 50);
    EXPECT_EQ(mModel.mDragX, 0);
    EXPECT_FALSE(PathExists(ProgressFile()));
    EXPECT_TRUE(mRecorder.mEvents.empty());
    EXPECT_EQ(mModel.mErrors, 0);
}

TEST_F(PictureModel, AreaFill)
{
    // Decision of the fill: nothing for an isolated cell, but the file is still written.
    Load(3, 3, {kRed, kGreen}, {0, 0, 0, 0, 1, 0, 0, 0, 0});
    mModel.SelectColor(0);
    mModel.DoubleClick(At(1, 1));
    EXPECT_EQ(mModel.GetCell(1, 1)->GetPainted(), 255);
    EXPECT_TRUE(PathExists(ProgressFile()));
    EXPECT_TRUE(mRecorder.mEvents.empty());

    // 12 cells of 3 filled with colour 5: all painted 5, 12 errors, also the right ones.
    std::vector<uint8_t> pixels(6 * 4, 0);
    for (int i = 0; i < 12; ++i) pixels[i] = 3;
    for (int i = 12; i < 24; ++i) pixels[i] = static_cast<uint8_t>(i % 3 == 0 ? 1 : i % 3 == 1 ? 2 : i % 5 == 0 ? 4 : 5);
    Load(6, 4, {kRed, kGreen, kBlue, kYellow, kPurple, kTeal}, pixels);
    mModel.SelectColor(3);
    Click(0, 0);
    mModel.SelectColor(5);
    mModel.mErrors = 0;
    mRecorder.mEvents.clear();
    mModel.DoubleClick(At(2, 1));
    EXPECT_EQ(mModel.mErrors, 12);
    EXPECT_EQ(mModel.mStrokeErrors, 12);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(mModel.GetCell(i % 6, i / 6)->GetPainted(), 5);
    EXPECT_EQ(mRecorder.mEvents, (std::vector<std::string>{"filled"}));
}

TEST_F(PictureModel, WhiteElsewhereLetsTheRenumberedColourFillTheBackground)
{
    // White at index 1: the last colour (2) takes number 1 and shares it with the background.
    Load(4, 1, {kRed, kWhite, kBlue}, {0, 2, 1, 1});
    EXPECT_EQ(mModel.mColorCount, 2);
    mModel.SelectColor(0);
    mModel.DoubleClick(At(1, 0));
    EXPECT_EQ(mModel.mErrors, 3);  // one per cell, the invisible ones included
    EXPECT_EQ(mModel.GetCell(3, 0)->GetPainted(), 0);
}

TEST_F(PictureModel, OneColourMillionCellFill)
{
    mModel.mViewportWidth = 1100;
    mModel.mViewportHeight = 728;
    mModel.LoadPicture(1, "textures/bench/solid1000", "3");
    ASSERT_EQ(mModel.GetRowCount(), 1000);
    TPaintByNumberItem* cell = mModel.GetCell(500, 500);
    mModel.SelectColor(0);
    EXPECT_EQ(mModel.FillArea(cell), 1000000);
    EXPECT_EQ(mModel.mErrors, 0);
    mModel.SelectColor(1);
    EXPECT_EQ(mModel.FillArea(cell), 1000000);
    EXPECT_EQ(mModel.mErrors, 1000000);
}

TEST_F(PictureModel, ProgressFileRoundTrip)
{
    Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
    mModel.mErrors = 1;
    mModel.GetCell(0, 0)->SetPainted(2);
    ASSERT_TRUE(mModel.SaveProgress("user:3/test.dat"));
    EXPECT_EQ(ReadWholeFile(ProgressFile()), Bytes({1, 0, 0, 0, 2, 255, 255, 255, 255, 255}));

    Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
    EXPECT_EQ(mModel.mErrors, 1);
    EXPECT_EQ(mModel.GetCell(0, 0)->GetPainted(), 2);
    EXPECT_EQ(mModel.GetCell(1, 0)->GetPainted(), 255);

    // Another picture without a file starts afresh, whatever the model held before.
    Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2}, "textures/levels/other");
    EXPECT_EQ(mModel.mErrors, 0);
    EXPECT_EQ(mModel.GetCell(0, 0)->GetPainted(), 255);
}

TEST_F(PictureModel, ProgressOfTheWrongLengthIsSetAside)
{
    const int wh = 6;
    const int lengths[] = {0, 3, 4 + wh - 1, 4 + wh + 1};
    for (int n = 0; n < 4; ++n) {
        const int length = lengths[n];
        // Each damaged file keeps a name of its own beside the earlier ones.
        const std::string kept = ".bad" + (n == 0 ? std::string() : std::to_string(n));
        SCOPED_TRACE(length);
        std::string junk(length, '\x01');
        WriteWholeFile(ProgressFile(), junk);
        Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
        EXPECT_EQ(mModel.mErrors, 0);
        for (int i = 0; i < wh; ++i) EXPECT_EQ(mModel.GetCell(i % 3, i / 3)->GetPainted(), 255);
        std::ostringstream line;
        line << "progress user:3/test.dat: " << length << " bytes, 10 expected; kept as user:3/test.dat" << kept << "\n";
        EXPECT_NE(LogText().find(line.str()), std::string::npos);
        EXPECT_EQ(ReadWholeFile(ProgressFile() + kept), junk);
        EXPECT_FALSE(PathExists(ProgressFile()));
        Click(0, 0);
        EXPECT_EQ(ReadWholeFile(ProgressFile()).size(), 4u + wh);
    }
    for (const char* kept : {".bad1", ".bad2", ".bad3"}) remove((ProgressFile() + kept).c_str());
}

namespace {

// The progress file whose open or reads fail, as with too many open files or a failing disk.
std::string gUnreadableProgress;
FILE* gUnreadableStream = nullptr;
bool gFailProgressOpen = false;

bool IsUnreadableProgress(const char* path)
{
    const std::string name = path;
    return name.size() >= gUnreadableProgress.size() &&
           name.compare(name.size() - gUnreadableProgress.size(), gUnreadableProgress.size(), gUnreadableProgress) == 0;
}

FILE* OpenWithUnreadableProgress(const char* path, const char* mode)
{
    if (gFailProgressOpen && IsUnreadableProgress(path)) {
        errno = EMFILE;
        return nullptr;
    }
    FILE* stream = fopen(path, mode);
    if (IsUnreadableProgress(path))
        gUnreadableStream = stream;
    else if (stream == gUnreadableStream)
        gUnreadableStream = nullptr;
    return stream;
}

size_t ReadWithUnreadableProgress(void* buffer, size_t size, size_t count, FILE* stream)
{
    if (stream && stream == gUnreadableStream) {
        errno = EIO;
        return 0;
    }
    return fread(buffer, size, count, stream);
}

}  // namespace

// A progress file that is there but cannot be read (the open fails, or the read after its
// size was measured) leaves the picture unpainted, and no stroke writes over the player's
// progress; once it reads again, the progress is all there.
TEST_F(PictureModel, ProgressThatCannotBeReadIsNeverSavedOver)
{
    const std::string progress = Bytes({2, 0, 0, 0, 0, 1, 255, 0, 255, 2});
    for (bool failOpen : {true, false}) {
        SCOPED_TRACE(failOpen ? "the open fails" : "the read fails");
        ASSERT_TRUE(WriteWholeFile(ProgressFile(), progress));
        TLogWatch watch;
        gUnreadableProgress = "/3/test.dat";
        gFailProgressOpen = failOpen;
        TFileCalls calls;
        calls.mOpen = OpenWithUnreadableProgress;
        calls.mRead = ReadWithUnreadableProgress;
        SetFileCalls(calls);
        Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
        SetFileCalls(TFileCalls());
        gUnreadableStream = nullptr;
        EXPECT_EQ(mModel.mErrors, 0);
        for (int i = 0; i < 6; ++i) EXPECT_EQ(mModel.GetCell(i % 3, i / 3)->GetPainted(), 255) << i;
        Click(0, 0);
        mModel.DoubleClick(At(0, 0));
        EXPECT_EQ(ToHex(ReadWholeFile(ProgressFile())), ToHex(progress));
        const std::string log = watch.Text();
        EXPECT_NE(log.find("progress user:3/test.dat cannot be read\n"), std::string::npos) << log;
        EXPECT_NE(log.find("cannot save user:3/test.dat: it could not be read, and the player's progress is in it\n"),
                  std::string::npos) << log;
        EXPECT_FALSE(PathExists(ProgressFile() + ".bad"));

        Load(3, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 1, 2});
        EXPECT_EQ(mModel.mErrors, 2);
        EXPECT_EQ(mModel.GetCell(1, 0)->GetPainted(), 1);
        EXPECT_EQ(mModel.GetCell(2, 1)->GetPainted(), 2);
        Click(2, 0);
        EXPECT_NE(ReadWholeFile(ProgressFile()), progress);  // read again: saved as usual
    }
}

TEST_F(PictureModel, MissingPictureIsHarmless)
{
    WriteWholeFile(UserPath("3/nothing.dat"), Bytes({7, 0, 0, 0, 1, 2}));
    TPaintByNumber model;
    model.mViewportX = 10;
    model.mViewportY = 10;
    model.mViewportWidth = 200;
    model.mViewportHeight = 200;
    model.LoadPicture(26, "textures/levels/nothing", "3");
    EXPECT_NE(LogText().find("picture textures/levels/nothing cannot be loaded"), std::string::npos);
    EXPECT_EQ(model.mColorCount, 0);
    EXPECT_TRUE(model.AllColorsComplete());
    EXPECT_TRUE(std::isfinite(model.mZoom));
    EXPECT_FLOAT_EQ(model.mZoom, 1.0f);
    EXPECT_FLOAT_EQ(model.mMinZoom, 0.5f);

    const std::vector<uint32_t> before = ReadWindow();
    model.Draw(1.0f);
    TMouseEvent e = PointerAt(50, 50, 1);
    EXPECT_EQ(model.CellAt(&e), nullptr);
    model.MouseDown(PointerAt(50, 50, 1));
    model.MouseUp(PointerAt(50, 50, 1));
    model.DoubleClick(PointerAt(50, 50, 1));
    StaticImage image;
    model.RenderToTexture(&image, 16, 16);
    TTexture* preview = image.GetTexture();
    EXPECT_NE(preview, nullptr);
    model.RenderToTexture(&image, 0, 0);
    EXPECT_EQ(image.GetTexture(), preview);
    EXPECT_EQ(ReadWindow(), before);
    EXPECT_EQ(ReadWholeFile(UserPath("3/nothing.dat")), Bytes({7, 0, 0, 0, 1, 2}));

    // A viewport without area gives no usable fit either.
    TPaintByNumber flat;
    flat.LoadPicture(26, "x", "3", MakePicture(2, 2, {kRed, kGreen}, {0, 1, 1, 0}));
    EXPECT_FLOAT_EQ(flat.mZoom, 1.0f);
    flat.Draw(1.0f);
    TMouseEvent f = PointerAt(5, 5, 1);
    TPaintByNumberItem* hit = flat.CellAt(&f);
    // Zoom 1 and the default origin: (5, 5) is picture pixel (31, 31), in the last cell.
    EXPECT_EQ(f.mX, 31);
    EXPECT_EQ(f.mY, 31);
    EXPECT_EQ(hit, flat.GetCell(1, 1));
}

TEST_F(PictureModel, GapsAndJunkProgressDrawClean)
{
    // Numbers 0, 1 and 4 of a five-entry palette; progress bytes that are no colour at all.
    WriteWholeFile(ProgressFile(), Bytes({0, 0, 0, 0, 200, 9, 255, 4, 0, 77}));
    Load(3, 2, {kRed, kGreen, kBlue, kYellow, kPurple}, {0, 1, 4, 4, 1, 0});
    EXPECT_NE(LogText().find("picture textures/levels/test: colour numbers have gaps"), std::string::npos);
    EXPECT_EQ(mModel.GetCell(0, 0)->GetPainted(), 200);
    for (float zoom : {mModel.mMinZoom, 1.0f, mModel.mMaxZoom}) {
        mModel.mZoom = zoom;
        mModel.Draw(1.0f);
    }
    StaticImage image;
    mModel.RenderToTexture(&image, 30, 20);
    mModel.UpdateCompletion();
    EXPECT_FALSE(mModel.AllColorsComplete());
}

TEST_F(PictureModel, CompletionFollowsThePaint)
{
    Load(3, 1, {kRed, kGreen, kWhite}, {0, 1, 2});
    mModel.UpdateCompletion();
    EXPECT_EQ(mModel.mCompletion, (std::vector<bool>{false, false}));
    mModel.SelectColor(0);
    Click(0, 0);
    EXPECT_EQ(mModel.mCompletion, (std::vector<bool>{true, false}));
    EXPECT_EQ(mModel.CountCompleteColors(), 1);
    mModel.SelectColor(1);
    Click(1, 0);
    EXPECT_TRUE(mModel.AllColorsComplete());
}

TEST_F(PictureModel, RenderToTextureDrawsFlatGreysAndColours)
{
    TPaintByNumber model;
    model.LoadPicture(1, "small", "3", MakePicture(4, 2, {kRed, kGreen, kBlue}, {0, 1, 2, 0, 2, 1, 0, 0}));
    model.GetCell(0, 0)->SetPainted(0);
    model.GetCell(1, 0)->SetPainted(2);  // wrong: still its painted colour, flat
    StaticImage image;
    GetAppState().mScaleX = GetAppState().mScaleY = 1.5f;
    SDL_RenderSetScale(GetRenderer(), 1.5f, 1.5f);
    // Something else drawn first leaves its colour in the renderer: not in the preview.
    SDL_SetRenderDrawColor(GetRenderer(), 40, 40, 60, 255);
    SDL_RenderClear(GetRenderer());
    model.RenderToTexture(&image, 8, 8);
    EXPECT_FLOAT_EQ(GetAppState().mScaleX, 1.5f);
    EXPECT_EQ(GetAppState().mOffsetX, 0);
    EXPECT_EQ(GetAppState().mOffsetY, 0);
    EXPECT_EQ(SDL_GetRenderTarget(GetRenderer()), nullptr);
    float sx = 0, sy = 0;
    SDL_RenderGetScale(GetRenderer(), &sx, &sy);
    EXPECT_FLOAT_EQ(sx, 1.5f);
    GetAppState().mScaleX = GetAppState().mScaleY = 1.0f;
    SDL_RenderSetScale(GetRenderer(), 1.0f, 1.0f);
    EXPECT_NE(LogText().find("RENDERER SCALE  3 2.000000"), std::string::npos);

    ASSERT_NE(image.GetTexture(), nullptr);
    SDL_SetRenderTarget(GetRenderer(), image.GetTexture()->GetSdlTexture());
    // Scale 2, centred: the 8 x 4 picture starts at row 2.
    const int grey0 = 60, grey1 = 60 + 65, grey2 = 60 + 130;
    EXPECT_TRUE(SameColor(ReadPixel(1, 3), kRed.r, kRed.g, kRed.b));
    EXPECT_TRUE(SameColor(ReadPixel(3, 2), kBlue.r, kBlue.g, kBlue.b));
    EXPECT_TRUE(SameColor(ReadPixel(5, 3), grey2, grey2, grey2));
    EXPECT_TRUE(SameColor(ReadPixel(7, 2), grey0, grey0, grey0));
    EXPECT_TRUE(SameColor(ReadPixel(1, 5), grey2, grey2, grey2));
    EXPECT_TRUE(SameColor(ReadPixel(3, 5), grey1, grey1, grey1));
    EXPECT_TRUE(SameColor(ReadPixel(5, 4), grey0, grey0, grey0));
    EXPECT_TRUE(SameColor(ReadPixel(0, 0), 255, 255, 255));
    EXPECT_TRUE(SameColor(ReadPixel(6, 7), 255, 255, 255));
    SDL_SetRenderTarget(GetRenderer(), nullptr);
}
