// The shipped menu's scene leaves the menu's own widgets alone: over twenty seconds of its life,
// nothing it draws changes inside the title's box, a button's box or the player's labels. Its
// pieces sit in the landscape: the menu's pictures hang framed on something that stands, the
// reel's echo hangs from its board, and the waterfall falls whole from its rock into a mist
// without edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "audio_cases.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "menu_scene_fixture.h"
#include "objects/decor_objects.h"
#include "test_support.h"

namespace {

struct TBox {
    std::string mName;
    int mX, mY, mW, mH;
};

// The large button's picture holds four states of 240 x 56 stacked.
const int kButtonWidth = 240;
const int kButtonHeight = 56;

std::vector<TBox> MenuBoxes()
{
    std::vector<TBox> boxes;
    TiXmlDocument doc;
    if (!ReadXmlDocumentFile(&doc, std::string(BRISALO_ASSETS) + "/ui/mainmenu.xml") || !doc.RootElement())
        return boxes;
    for (const TiXmlElement* e = doc.RootElement()->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
        const std::string name = GetAttrString(e, "name", "");
        if (e->Attribute("rect")) {
            if (name != "title" && name != "namelbl" && name != "notyoulbl") continue;
            int x = 0, y = 0, w = 0, h = 0;
            if (std::sscanf(e->Attribute("rect"), "%d.%d.%d.%d", &x, &y, &w, &h) == 4) boxes.push_back({name, x, y, w, h});
        } else if (name.compare(0, 5, "main_") == 0) {
            boxes.push_back({name, GetAttrInt(e, "x", 0), GetAttrInt(e, "y", 0), kButtonWidth, kButtonHeight});
        }
    }
    return boxes;
}

class MenuComposition : public MenuSceneTest {
protected:
    std::vector<TPixel> Inside(const TBox& box)
    {
        std::vector<TPixel> pixels;
        for (int y = box.mY; y < box.mY + box.mH; ++y)
            for (int x = box.mX; x < box.mX + box.mW; ++x) pixels.push_back(Pixel(x, y));
        return pixels;
    }
};

TEST_F(MenuComposition, NothingMovesBehindTheTitleTheButtonsOrTheLabels)
{
    const std::vector<TBox> boxes = MenuBoxes();
    ASSERT_EQ(boxes.size(), 9u);
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    // The menu updates its scene before it draws a frame: some pieces take their place then.
    room.Update(1.0f / 60.0f);
    Clear(0, 0, 0);
    room.Draw();
    std::vector<std::vector<TPixel>> first;
    for (const TBox& box : boxes) first.push_back(Inside(box));
    for (int frame = 1; frame <= 20 * 60; ++frame) {
        room.Update(1.0f / 60.0f);
        if (frame % 15) continue;
        Clear(0, 0, 0);
        room.Draw();
        for (size_t i = 0; i < boxes.size(); ++i) {
            const std::vector<TPixel> now = Inside(boxes[i]);
            size_t changed = 0;
            for (size_t p = 0; p < now.size(); ++p)
                changed += now[p].r != first[i][p].r || now[p].g != first[i][p].g || now[p].b != first[i][p].b;
            ASSERT_EQ(changed, 0u) << boxes[i].mName << " at " << frame / 60.0f << " s";
        }
    }
    room.FreeObjectResources();
}

// Whether the scene's opaque pixels (a mask of 1366 x 768) join the start to a pixel that
// passes the goal, keeping to the rows from top to bottom.
bool JoinedThroughOpaque(const std::vector<bool>& opaque, int x, int y, int top, int bottom,
            const std::function<bool(int, int)>& goal)
{
    const auto at = [](int px, int py) { return static_cast<size_t>(py) * 1366 + static_cast<size_t>(px); };
    if (!opaque[at(x, y)]) return false;
    std::vector<bool> seen(opaque.size(), false);
    std::vector<std::pair<int, int>> open{{x, y}};
    seen[at(x, y)] = true;
    while (!open.empty()) {
        const auto [px, py] = open.back();
        open.pop_back();
        if (goal(px, py)) return true;
        for (const auto& [dx, dy] : {std::pair<int, int>{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
            const int nx = px + dx, ny = py + dy;
            if (nx < 0 || nx >= 1366 || ny < top || ny > bottom || ny < 0 || ny >= 768) continue;
            if (seen[at(nx, ny)] || !opaque[at(nx, ny)]) continue;
            seen[at(nx, ny)] = true;
            open.push_back({nx, ny});
        }
    }
    return false;
}

// The box of a menu picture's cells: twelve 16-pixel cells a side with the file's spacing.
SDL_Rect MenuPictureCells(const char* file)
{
    TiXmlDocument doc;
    if (!ParseXmlText(&doc, ReadWholeFile(std::string(BRISALO_ASSETS) + "/" + file)) || !doc.RootElement())
        return SDL_Rect{0, 0, 0, 0};
    const TiXmlElement* root = doc.RootElement();
    return SDL_Rect{GetAttrInt(root, "x", 0), GetAttrInt(root, "y", 0), 11 * (16 + GetAttrInt(root, "spacex", 0)) + 16,
                    11 * (16 + GetAttrInt(root, "spacey", 0)) + 16};
}

class MenuLandscape : public MenuComposition {
protected:
    std::vector<TPixel> Frame(TRoom& room, int r, int g, int b)
    {
        Clear(r, g, b);
        room.Draw();
        std::vector<TPixel> pixels;
        pixels.reserve(1366 * 768);
        for (int y = 0; y < 768; ++y)
            for (int x = 0; x < 1366; ++x) pixels.push_back(Pixel(x, y));
        return pixels;
    }
    // What the scene covers whole: the same over black and over white.
    std::vector<bool> Opaque(TRoom& room)
    {
        const std::vector<TPixel> black = Frame(room, 0, 0, 0), white = Frame(room, 255, 255, 255);
        std::vector<bool> opaque(black.size());
        for (size_t i = 0; i < black.size(); ++i)
            opaque[i] = black[i].r == white[i].r && black[i].g == white[i].g && black[i].b == white[i].b;
        return opaque;
    }
    static int Difference(const TPixel& a, const TPixel& b)
    {
        return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
    }
    static const TPixel& At(const std::vector<TPixel>& frame, int x, int y)
    {
        return frame[static_cast<size_t>(y) * 1366 + static_cast<size_t>(x)];
    }
};

// The menu paints its two pictures cell by cell over the scene: the scene gives each a canvas
// to be painted on, a frame round it, and something under the frame that stands on the grass.
TEST_F(MenuLandscape, EachMenuPictureHangsFramedOnSomethingThatStands)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    room.Update(1.0f / 60.0f);
    const std::vector<bool> opaque = Opaque(room);
    for (const char* file : {"mainleft.xml", "mainright.xml"}) {
        SCOPED_TRACE(file);
        const SDL_Rect cells = MenuPictureCells(file);
        ASSERT_GT(cells.w, 0);
        const int frame = 10;
        int open = 0;
        for (int y = cells.y - frame; y < cells.y + cells.h + frame; ++y)
            for (int x = cells.x - frame; x < cells.x + cells.w + frame; ++x) open += !opaque[y * 1366 + x];
        EXPECT_EQ(open, 0) << "pixels of sky inside the picture's frame";
        const int below = cells.y + cells.h + frame;
        const auto grass = [](int, int y) { return y >= 700; };
        EXPECT_TRUE(JoinedThroughOpaque(opaque, cells.x + cells.w / 2, below, below, 767, grass))
            << "nothing under the frame reaches the grass";
    }
    room.FreeObjectResources();
}

// The echo's plaque hangs from the reel's board: they are joined above the plaque's middle,
// where the hill behind cannot join them.
TEST_F(MenuLandscape, EchoPlaqueHangsFromTheReelsBoard)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    room.Update(1.0f / 60.0f);
    TObject* echo = room.FindObject("reel_echo");
    TObject* board = room.FindObject("board");
    ASSERT_TRUE(echo && board);
    float x = 0, y = 0, w = 0, h = 0, boardX = 0, boardY = 0, boardW = 0, boardH = 0;
    echo->GetRect(&x, &y, &w, &h);
    board->GetRect(&boardX, &boardY, &boardW, &boardH);
    ASSERT_GT(w, 0.0f);
    const int middle = static_cast<int>(y + h / 2);
    const int boardRight = static_cast<int>(boardX) + 100;  // the plank's width
    const auto onBoard = [boardRight](int px, int) { return px < boardRight; };
    EXPECT_TRUE(JoinedThroughOpaque(Opaque(room), static_cast<int>(x + w / 2), middle, static_cast<int>(boardY), middle,
                                    onBoard));
    room.FreeObjectResources();
}

// Over four seconds: the water covers its whole strip from under the lip of its rock down to the
// pool in every frame, and the mist over the pool shows, with no edge along a side of its
// rectangle that lies inside the screen.
TEST_F(MenuLandscape, WaterfallFallsWholeFromItsLipIntoMistWithoutEdges)
{
    TRoom room;
    ASSERT_NO_FATAL_FAILURE(ShowShippedMenu(room));
    auto* water = FindKind<TUVSpinObject>(room, "waterfall");
    auto* mist = FindKind<TCloudsObject>(room, "mist");
    ASSERT_TRUE(water && mist);
    float wx = 0, wy = 0, ww = 0, wh = 0;
    water->GetRect(&wx, &wy, &ww, &wh);
    const int left = static_cast<int>(wx), top = static_cast<int>(wy);
    const int right = left + 64, pool = top + 120;  // two 32-pixel columns down to the pool

    water->SetVisible(false);
    room.Update(1.0f / 60.0f);
    const std::vector<bool> rock = Opaque(room);
    water->SetVisible(true);
    int open = 0;
    for (int x = left; x < right; ++x) open += !rock[(top - 1) * 1366 + x];
    EXPECT_EQ(open, 0) << "columns of the strip with no rock above the water";

    int mistShows = 0, edge = 0;
    std::string edgeAt;
    for (int frame = 1; frame <= 4 * 60; ++frame) {
        room.Update(1.0f / 60.0f);
        if (frame % 20) continue;
        SCOPED_TRACE(frame);
        const std::vector<TPixel> all = Frame(room, 0, 0, 0);
        water->SetVisible(false);
        const std::vector<TPixel> dry = Frame(room, 0, 0, 0);
        water->SetVisible(true);
        mist->SetVisible(false);
        const std::vector<TPixel> clear = Frame(room, 0, 0, 0);
        mist->SetVisible(true);
        // Below the lip, every row of the strip shows water.
        for (int y = top + 12; y < pool; ++y) {
            int wet = 0;
            for (int x = left + 4; x < right; x += 8) wet += Difference(At(all, x, y), At(dry, x, y)) > 24;
            ASSERT_GT(wet, 0) << "no water in row " << y;
        }
        const int mx = mist->mRectX, my = mist->mRectY, mw = mist->mRectW, mh = mist->mRectH;
        for (int x = mx; x < mx + mw; ++x)
            for (int y = my; y < my + mh; ++y) {
                const int change = Difference(At(all, x, y), At(clear, x, y));
                if (change > 24) ++mistShows;
                const bool side = (y == my && my > 0) || (x == mx && mx > 0) || (y == my + mh - 1 && my + mh < 768) ||
                                  (x == mx + mw - 1 && mx + mw < 1366);
                if (side && change > edge) {
                    edge = change;
                    edgeAt = std::to_string(x) + ", " + std::to_string(y);
                }
            }
    }
    EXPECT_GT(mistShows, 1000);
    EXPECT_LE(edge, 8) << "the mist's edge shows at " << edgeAt;
    room.FreeObjectResources();
}

}  // namespace
