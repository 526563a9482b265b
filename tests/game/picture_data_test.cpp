// The shipped pictures and textures of the mosaic, checked as SDL_image loads them, and one
// whole-program pass: a level painted, drawn with its colour table and rendered flat.
#include <gtest/gtest.h>

#include <SDL_image.h>
#include <dirent.h>

#include <set>

#include "core/input.h"
#include "core/system.h"
#include "core/text.h"
#include "core/virtual_files.h"
#include "game/color_table.h"
#include "game/picture.h"
#include "graphics/render_origin.h"
#include "picture_fixture.h"
#include "test_support.h"

namespace {

std::vector<std::string> PngsIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0) names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

// The play area every view test draws in.
void PlaceInThePlayArea(TPaintByNumber* model)
{
    model->mViewportX = 20;
    model->mViewportY = 20;
    model->mViewportWidth = 1040;
    model->mViewportHeight = 728;
}

bool IsWhite(const SDL_Color& c)
{
    return c.r == 255 && c.g == 255 && c.b == 255 && c.a == 255;
}

}  // namespace

TEST(PictureData, LevelAndBenchPicturesArePalettedWithWhiteLast)
{
    std::set<std::string> baseNames;
    int twoPages = 0, thirty = 0, noWhite = 0;
    for (const char* folder : {"levels", "bench"}) {
        const std::string path = std::string(BRISALO_ASSETS) + "/textures/" + folder;
        const std::vector<std::string> files = PngsIn(path);
        EXPECT_GE(files.size(), 6u) << folder;
        for (const std::string& file : files) {
            SCOPED_TRACE(file);
            EXPECT_TRUE(baseNames.insert(file).second) << "base names are unique";
            SDL_Surface* s = IMG_Load((path + "/" + file).c_str());
            ASSERT_NE(s, nullptr) << IMG_GetError();
            EXPECT_EQ(s->format->format, SDL_PIXELFORMAT_INDEX8);
            EXPECT_NE(SDL_HasColorKey(s), SDL_TRUE);
            ASSERT_NE(s->format->palette, nullptr);
            const SDL_Palette* palette = s->format->palette;
            const int n = palette->ncolors;
            std::vector<bool> used(n, false);
            SDL_LockSurface(s);
            for (int y = 0; y < s->h; ++y)
                for (int x = 0; x < s->w; ++x) {
                    const int index = static_cast<uint8_t*>(s->pixels)[y * s->pitch + x];
                    ASSERT_LT(index, n);
                    used[index] = true;
                }
            SDL_UnlockSurface(s);
            for (int i = 0; i < n; ++i) EXPECT_TRUE(used[i]) << "entry " << i << " unused";
            for (int i = 0; i + 1 < n; ++i) EXPECT_FALSE(IsWhite(palette->colors[i])) << "white only last";
            const bool white = IsWhite(palette->colors[n - 1]);
            const int colours = white ? n - 1 : n;
            EXPECT_GE(colours, 1);
            EXPECT_LE(colours, 30);
            if (std::string(folder) == "levels") {
                EXPECT_GE(colours, 2);
                EXPECT_GE(s->w, 8);
                EXPECT_LE(s->w, 300);
                if (colours > 20 && colours < 30) ++twoPages;
                if (colours == 30) ++thirty;
                if (!white) ++noWhite;
            }
            SDL_FreeSurface(s);
        }
    }
    EXPECT_GE(twoPages, 1);
    EXPECT_GE(thirty, 1);
    EXPECT_GE(noWhite, 1);
}

TEST(PictureData, CellGlyphAndSwatchTexturesHaveTheirSizes)
{
    struct TCase {
        const char* name;
        int w, h;
    };
    const TCase cases[] = {
        {"scuare26", 26, 26},
        {"scuare26white", 26, 26},
        {"scuare1", 1, 1},
        {"scuare1white", 1, 1},
        {"tilesets/basenumbers20", 26, 600},
        {"tilesets/basenumbers20white", 40, 840},
        {"tilesets/color", 56, 56},
        {"tilesets/frame", 56, 56},
        {"tilesets/complete", 56, 56},
        {"gui/gamescreen/colortableback", 256, 314},
    };
    for (const TCase& c : cases) {
        SDL_Surface* s = IMG_Load((std::string(BRISALO_ASSETS) + "/textures/" + c.name + ".png").c_str());
        ASSERT_NE(s, nullptr) << c.name;
        EXPECT_EQ(s->w, c.w) << c.name;
        EXPECT_EQ(s->h, c.h) << c.name;
        SDL_FreeSurface(s);
    }
}

using PictureProgram = TPictureTest;

TEST_F(PictureProgram, PaintedLevelDrawsWithItsTableAndRendersFlat)
{
    MakeUserFolder("1");
    RemoveFile("user:1/boat.dat");
    TPaintByNumber model;
    PlaceInThePlayArea(&model);
    model.LoadPicture(26, "textures/levels/boat", "1");
    ASSERT_EQ(model.GetColumnCount(), 32);
    model.Draw(1.0f);

    // Paint the first row right with its own colour, and a few cells of row 5 wrong.
    auto centre = [&](int c, int r) {
        TMouseEvent e;
        e.mX = model.mOriginX + static_cast<int>((c * 26 + 13) * model.mZoom);
        e.mY = model.mOriginY + static_cast<int>((r * 26 + 13) * model.mZoom);
        e.mButtons = 1;
        return e;
    };
    const int sky = model.GetCell(0, 0)->GetNumber();
    model.SelectColor(sky);
    model.MouseDown(centre(0, 0));
    for (int c = 0; c < 32; ++c) model.MouseMove(centre(c, 0));
    model.MouseUp(centre(31, 0));
    model.SelectColor((sky + 1) % model.mColorCount);
    model.MouseDown(centre(0, 5));
    for (int c = 0; c < 6; ++c) model.MouseMove(centre(c, 5));
    model.MouseUp(centre(5, 5));
    EXPECT_EQ(model.GetCell(10, 0)->GetPainted(), sky);
    EXPECT_GT(model.mErrors, 0);

    TColorsTableGrid table;
    table.SetPosition(1100.0f, 60.0f, false);
    table.SetWidth(232);
    table.SetHeight(290);
    table.mBackOffsetX = table.mBackOffsetY = -12;
    table.SetColors(model.mColors, model.mColorCount);
    table.mItems[0].Select();
    model.UpdateCompletion();
    table.SetCompleted(model.mCompletion);
    table.Update(0.5f);

    SDL_Renderer* renderer = GetRenderer();
    SDL_SetRenderDrawColor(renderer, 40, 40, 60, 255);
    SDL_RenderClear(renderer);
    model.Draw(1.0f);
    table.Draw(1.0f);
    SDL_RenderFlush(renderer);
    const TMouseEvent right = centre(10, 0);
    const TRgbaF& skyColor = model.mColors[sky];
    const SDL_Color pixel = ReadPixel(right.mX, right.mY);
    EXPECT_TRUE(SameColor(pixel, static_cast<int>(skyColor.r * 255), static_cast<int>(skyColor.g * 255),
                          static_cast<int>(skyColor.b * 255)));
    const std::vector<uint32_t> frame = ReadWindow();
    SDL_Surface* shot = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(frame.data()), 1366, 768, 32,
                                                           1366 * 4, SDL_PIXELFORMAT_ARGB8888);
    EXPECT_EQ(IMG_SavePNG(shot, (GetSystem()->mExeFolder + "picture_board.png").c_str()), 0);
    SDL_FreeSurface(shot);

    StaticImage preview;
    model.RenderToTexture(&preview, 320, 240);
    ASSERT_NE(preview.GetTexture(), nullptr);
    SDL_SetRenderTarget(renderer, preview.GetTexture()->GetSdlTexture());
    std::vector<uint32_t> flat(320 * 240);
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, flat.data(), 320 * 4);
    // Scale 10 / 26: an unpainted cell of row 10 shows its ramp grey.
    int column = 0;
    while (column < 31 && !model.GetCell(column, 10)->IsVisible()) ++column;
    const int number = model.GetCell(column, 10)->GetNumber();
    const uint32_t grey = flat[(10 * 10 + 5) * 320 + column * 10 + 5];
    const int expected = static_cast<int>(model.mGreyRamp[number].r * 255.0f);
    EXPECT_EQ(static_cast<int>((grey >> 16) & 0xFF), expected);
    EXPECT_EQ(static_cast<int>(grey & 0xFF), expected);
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_Surface* flatShot = SDL_CreateRGBSurfaceWithFormatFrom(flat.data(), 320, 240, 32, 320 * 4,
                                                               SDL_PIXELFORMAT_ARGB8888);
    EXPECT_EQ(IMG_SavePNG(flatShot, (GetSystem()->mExeFolder + "picture_flat.png").c_str()), 0);
    SDL_FreeSurface(flatShot);
}

namespace {

// The play view drawn through the cache and cell by cell over the same fill, compared pixel
// for pixel; the two frames start from different screens, so nothing left over can pass.
class TViewComparison {
public:
    TViewComparison(TPaintByNumber* model, std::vector<uint32_t> (*readWindow)())
        : mModel(model), mReadWindow(readWindow)
    {
    }

    std::vector<uint32_t> Frame(bool cached, Uint8 under)
    {
        SDL_Renderer* renderer = GetRenderer();
        SDL_SetRenderDrawColor(renderer, under, 0, under, 255);
        SDL_RenderClear(renderer);
        if (cached) {
            mModel->DrawOverFill(1.0f, mArea, mBack);
        } else {
            picture_fixture::gDevice->FillRect(mArea, mBack[0], mBack[1], mBack[2], mBack[3]);
            mModel->Draw(1.0f);
        }
        SDL_RenderFlush(renderer);
        return mReadWindow();
    }

    void Same(const std::string& step)
    {
        const std::vector<uint32_t> fast = Frame(true, 200);
        const std::vector<uint32_t> reference = Frame(false, 10);
        size_t differing = 0, first = 0;
        for (size_t i = 0; i < fast.size(); ++i)
            if (fast[i] != reference[i] && differing++ == 0) first = i;
        EXPECT_EQ(differing, 0u) << step << " at zoom " << mModel->mZoom << ", pan " << mModel->mPanX + mModel->mDragX
                                 << ", " << mModel->mPanY + mModel->mDragY << "; first at " << first % 1366 << ", "
                                 << first / 1366;
    }

    TMouseEvent Centre(int c, int r, int buttons) const
    {
        TMouseEvent e;
        e.mX = mModel->mOriginX + static_cast<int>((c * 26 + 13) * mModel->mZoom);
        e.mY = mModel->mOriginY + static_cast<int>((r * 26 + 13) * mModel->mZoom);
        e.mButtons = buttons;
        return e;
    }

    SDL_Rect mArea{0, 0, 1366, 768};
    float mBack[4] = {0.3f, 0.5f, 0.7f, 1.0f};

private:
    TPaintByNumber* mModel;
    std::vector<uint32_t> (*mReadWindow)();
};

}  // namespace

// A stale cache after any kind of change is the fault to catch, including changes the model
// makes without being drawn in between.
TEST_F(PictureProgram, CachedPlayViewMatchesTheCellByCellDrawAfterEveryChange)
{
    MakeUserFolder("1");
    TAppState& app = GetAppState();
    // Scale 1 and the scale of a 1920 x 1080 window, where the cells land on fractional pixels.
    for (const float scale : {1.0f, 1920.0f / 1366.0f})
    for (const char* name : {"mosaic100", "mosaic300"}) {
        SCOPED_TRACE(std::string(name) + " at scale " + std::to_string(scale));
        app.mScaleX = app.mScaleY = scale;
        ResetRenderOrigin();
        RemoveFile(std::string("user:1/") + name + ".dat");
        TPaintByNumber model;
        PlaceInThePlayArea(&model);
        model.LoadPicture(26, std::string("textures/bench/") + name, "1");
        ASSERT_GT(model.GetColumnCount(), 0);
        TViewComparison view(&model, &ReadWindow);
        for (bool maxZoom : {false, true}) {
            RemoveFile(std::string("user:1/") + name + ".dat");
            model.LoadPicture(26, std::string("textures/bench/") + name, "1");
            model.ResetView();
            if (maxZoom) model.mZoom = model.mMaxZoom;
            view.Same("fresh");
            // Cells near the view's centre stay on screen at every zoom.
            const int c0 = model.GetColumnCount() / 2, r0 = model.GetRowCount() / 2;
            const int number = model.GetCell(c0, r0)->GetNumber();
            model.SelectColor(number);
            view.Same("swatch");
            model.MouseDown(view.Centre(c0, r0, 1));
            model.MouseMove(view.Centre(c0 + 1, r0, 1));
            view.Same("during a stroke");
            model.MouseUp(view.Centre(c0 + 1, r0, 1));
            view.Same("right stroke");
            model.SelectColor((number + 1) % model.mColorCount);
            model.MouseDown(view.Centre(c0, r0 + 2, 1));
            model.MouseUp(view.Centre(c0, r0 + 2, 1));
            view.Same("wrong click");
            EXPECT_GE(model.FillArea(model.GetCell(c0 - 2, r0 - 2)), 0);
            view.Same("fill without the board");
            model.mZoom = std::max(model.mMinZoom, model.mZoom - 0.1f);
            view.Same("wheel step");
            model.MouseDown(view.Centre(c0, r0, 2));
            model.MouseMove(view.Centre(c0 + 3, r0 + 1, 2));
            view.Same("during a right pan");
            model.MouseUp(view.Centre(c0 + 3, r0 + 1, 0));
            view.Same("after a right pan");
            view.mBack[0] = view.mBack[0] > 0.5f ? 0.2f : 0.9f;
            view.Same("background");
            const std::string kept = model.GetProgressPath() + ".kept";
            model.SaveProgress(kept);
            model.SelectColor(number);
            model.MouseDown(view.Centre(c0, r0 + 1, 1));
            model.MouseUp(view.Centre(c0, r0 + 1, 1));
            view.Same("another click");
            model.LoadProgress(kept);
            view.Same("progress loaded without the board");
            RemoveFile(kept);
            // Every cell of one colour painted through the model: the colour is complete.
            const int colour = model.GetCell(c0, r0)->GetNumber();
            for (int r = 0; r < model.GetRowCount(); ++r)
                for (int c = 0; c < model.GetColumnCount(); ++c)
                    if (model.GetCell(c, r)->GetNumber() == colour) model.GetCell(c, r)->SetPainted(colour);
            model.UpdateCompletion();
            EXPECT_TRUE(model.mCompletion[static_cast<size_t>(colour)]);
            view.Same("a colour completed without the board");
        }
    }
    app.mScaleX = app.mScaleY = 1.0f;
    ResetRenderOrigin();
}

// Repeat and Next level load a picture into the model the view cache already drew: one of the
// same size at the same zoom must not show the kept looks of the picture before.
TEST_F(PictureProgram, CachedPlayViewShowsANewPictureOfTheSameSize)
{
    MakeUserFolder("1");
    const struct {
        const char* first;
        const char* second;
    } cases[] = {{"levels/cat", "levels/kite"}, {"bench/mosaic100", "levels/lighthouse"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " then " + c.second);
        TPaintByNumber model;
        PlaceInThePlayArea(&model);
        TViewComparison view(&model, &ReadWindow);
        for (const char* name : {c.first, c.second}) {
            RemoveFile(std::string("user:1/") + FileNameWithoutExt(name) + ".dat");
            model.LoadPicture(26, std::string("textures/") + name, "1");
            ASSERT_GT(model.GetColumnCount(), 0);
            view.Same(name);
        }
    }
}

// A renderer reset takes what its target textures held (with the device, every texture): the
// frame after one draws the whole view anew instead of copying the cache.
TEST_F(PictureProgram, CachedPlayViewDrawsAnewAfterARendererReset)
{
    MakeUserFolder("1");
    RemoveFile("user:1/mosaic100.dat");
    TPaintByNumber model;
    PlaceInThePlayArea(&model);
    model.LoadPicture(26, "textures/bench/mosaic100", "1");
    ASSERT_GT(model.GetColumnCount(), 0);
    TViewComparison view(&model, &ReadWindow);
    for (const Uint32 reset : {Uint32(SDL_RENDER_TARGETS_RESET), Uint32(SDL_RENDER_DEVICE_RESET)}) {
        SCOPED_TRACE(reset == SDL_RENDER_TARGETS_RESET ? "targets reset" : "device reset");
        view.Same("before");
        view.Frame(true, 200);
        EXPECT_EQ(model.mDrawnImages, 0) << "an unchanged frame copies the cache";
        // Through the queue, as the frame loop meets it.
        SDL_Event event{};
        event.type = reset;
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
        bool polled = false;
        while (SDL_PollEvent(&event)) {
            std::vector<TInputEvent> events;
            const bool made = TranslateSdlEvent(event, &events);
            if (event.type != reset) continue;
            polled = true;
            EXPECT_FALSE(made) << "no input comes of a reset";
        }
        ASSERT_TRUE(polled);
        view.Frame(true, 200);
        EXPECT_GT(model.mDrawnImages, 0) << "the view is drawn anew";
        view.Same("after the reset");
    }
    EXPECT_NE(LogText().find("SDL_RENDER_DEVICE_RESET"), std::string::npos);
}

// Right-drags in every direction by amounts that are no whole number of cells, at zooms where
// cells land on fractional pixels and the picture reaches past the window's edges, with a
// picture larger than the play area and one smaller.
TEST_F(PictureProgram, CachedPlayViewMatchesTheCellByCellDrawThroughPans)
{
    MakeUserFolder("1");
    TAppState& app = GetAppState();
    struct TCase {
        const char* picture;
        float scale;
        float zoom;  // 0: the middle of the zoom range
    };
    const TCase cases[] = {{"bench/mosaic300", 1.0f, 0.0f},
                           {"bench/mosaic300", 1.0f, 3.0f},
                           {"bench/mosaic300", 1920.0f / 1366.0f, 0.0f},
                           {"levels/boat", 1.0f, 1.0f},
                           {"levels/boat", 1920.0f / 1366.0f, 3.0f}};
    const int directions[][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {1, -1}, {-1, 1}};
    for (const TCase& test : cases) {
        SCOPED_TRACE(std::string(test.picture) + " at scale " + std::to_string(test.scale));
        app.mScaleX = app.mScaleY = test.scale;
        ResetRenderOrigin();
        TPaintByNumber model;
        PlaceInThePlayArea(&model);
        RemoveFile(std::string("user:1/") + FileNameWithoutExt(test.picture) + ".dat");
        model.LoadPicture(26, std::string("textures/") + test.picture, "1");
        ASSERT_GT(model.GetColumnCount(), 0);
        model.ResetView();
        model.mZoom = test.zoom > 0.0f ? test.zoom : (model.mMinZoom + model.mMaxZoom) * 0.5f;
        TViewComparison view(&model, &ReadWindow);
        // Some paint, so moved cells differ.
        const int c0 = model.GetColumnCount() / 2, r0 = model.GetRowCount() / 2;
        model.SelectColor(model.GetCell(c0, r0)->GetNumber());
        model.FillArea(model.GetCell(c0, r0));
        view.Same("start");
        const int cx = model.mViewportX + model.mViewportWidth / 2, cy = model.mViewportY + model.mViewportHeight / 2;
        int step = 7;
        for (const auto& d : directions) {
            TMouseEvent e;
            e.mX = cx;
            e.mY = cy;
            e.mButtons = 2;
            model.MouseDown(e);
            for (int k = 1; k <= 3; ++k) {
                e.mX = cx + d[0] * step * k;
                e.mY = cy + d[1] * step * k;
                model.MouseMove(e);
                view.Same("during a drag by " + std::to_string(d[0] * step * k) + ", " + std::to_string(d[1] * step * k));
            }
            e.mButtons = 0;
            model.MouseUp(e);
            view.Same("after the drag");
            step = step * 3 % 41 + 5;  // 7, 26, 42, 8, ...: other offsets each time
        }
    }
    app.mScaleX = app.mScaleY = 1.0f;
    ResetRenderOrigin();
}
