// The cursor set: loading "cursors.xml", frame layouts, selection rules, the two modes and
// drawing at the pointer, read back from a software canvas.
#include "ui/cursors.h"

#include <unistd.h>

#include "graphics/drawing_fixture.h"
#include "graphics/texture_cache.h"
#include "log_watch.h"

namespace {

const SDL_Color kRed{255, 0, 0, 255};
const SDL_Color kGreen{0, 255, 0, 255};
const SDL_Color kBlue{0, 0, 255, 255};
const SDL_Color kWhite{255, 255, 255, 255};

SDL_Rect SourceRect(const TGameCursor* cursor)
{
    const DrawTransform& t = cursor->mImage.mTransform;
    return SDL_Rect{static_cast<int>(t.mSrcX), static_cast<int>(t.mSrcY), static_cast<int>(t.mSrcW),
                    static_cast<int>(t.mSrcH)};
}

class CursorsTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        ASSERT_EQ(0, SDL_InitSubSystem(SDL_INIT_VIDEO)) << SDL_GetError();
        MakeFolder("cur");
    }
    void TearDown() override
    {
        DestroyCursors();
        SetCursorCalls(TCursorCalls());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        CanvasTest::TearDown();
    }

    // The cursor elements inside the usual "cursorset" > "cursors" frame.
    TGameCursors* Load(const std::string& cursors)
    {
        WriteWholeFile(AssetPath("cursors.xml"),
                       "<?xml version=\"1.0\"?>\n<cursorset><cursors>\n" + cursors + "</cursors></cursorset>\n");
        LoadCursors("cursors.xml");
        return GetGameCursors();
    }

    // A 64 x 64 sheet whose four 32 x 32 quarters are red, green, blue and white.
    void QuarterSheet(const std::string& name)
    {
        SavePng(name, MakeSurface(64, 64, SDL_PIXELFORMAT_ABGR8888, [](int x, int y) {
                    return x < 32 ? (y < 32 ? kRed : kBlue) : (y < 32 ? kGreen : kWhite);
                }));
    }
};

TEST_F(CursorsTest, SheetFramesRunRowByRowAndWrap)
{
    QuarterSheet("cur/sheet.png");
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/sheet\" frames=\"4\" rect=\"0,0,32,32\" "
                             "speed=\"0.125\"/>\n");
    ASSERT_TRUE(set->HasCurrent());
    TGameCursor* cursor = set->Current();
    EXPECT_EQ(SourceRect(cursor), (SDL_Rect{0, 0, 32, 32}));
    const SDL_Rect expected[] = {{32, 0, 32, 32}, {0, 32, 32, 32}, {32, 32, 32, 32}, {0, 0, 32, 32}};
    for (const SDL_Rect& rect : expected) {
        set->Update(0.0625f);
        set->Update(0.0625f);
        EXPECT_EQ(SourceRect(cursor), rect);
    }
    // The frame drawn is the one the rectangle names: the second frame is the green quarter.
    set->Update(0.125f);
    set->SetMousePosition(100, 100);
    set->DrawCurrent();
    ExpectPixel(100, 100, 0, 255, 0);
    ExpectPixel(131, 131, 0, 255, 0);
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{100, 100, 32, 32}));
}

TEST_F(CursorsTest, FrameLayoutsThatCannotBeCutShowOneFrame)
{
    QuarterSheet("cur/sheet.png");
    struct Case {
        const char* what;
        const char* attributes;
        SDL_Rect frame;  // the source rectangle, before and after three updates
        bool drawn;
    } cases[] = {
        {"one frame without rect: whole texture", "", {0, 0, 64, 64}, true},
        {"one frame with rect: as written", "rect=\"2,2,10,10\"", {2, 2, 10, 10}, true},
        {"frame width 0", "frames=\"4\" rect=\"0,0,0,32\"", {0, 0, 64, 64}, true},
        {"frame wider than the sheet", "frames=\"4\" rect=\"0,0,100,100\"", {0, 0, 100, 100}, true},
        {"negative frame width", "frames=\"4\" rect=\"0,0,-32,32\"", {0, 0, 64, 64}, true},
        {"no frames", "frames=\"0\" rect=\"0,0,32,32\"", {0, 0, 32, 32}, true},
        {"missing image", "frames=\"4\" rect=\"0,0,32,32\" missing", {0, 0, 32, 32}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string attributes = c.attributes;
        std::string file = "cur/sheet";
        if (attributes.find(" missing") != std::string::npos) {
            attributes.erase(attributes.find(" missing"));
            file = "cur/none";
        }
        TGameCursors* set = Load("<cursor name=\"default\" filename=\"" + file + "\" " + attributes + "/>\n");
        ASSERT_TRUE(set->HasCurrent());
        TGameCursor* cursor = set->Current();
        EXPECT_EQ(SourceRect(cursor), c.frame);
        for (int i = 0; i < 3; ++i) set->Update(0.5f);
        EXPECT_EQ(cursor->mFrame, 0);
        EXPECT_EQ(SourceRect(cursor), c.frame);
        Clear(0, 0, 0);
        set->SetMousePosition(200, 200);
        set->DrawCurrent();
        EXPECT_EQ(DrawnBox(0, 0, 0).w > 0, c.drawn);
        DestroyCursors();
    }
}

TEST_F(CursorsTest, HotspotLiesOnThePointer)
{
    SolidPng("cur/dot.png", 20, 20, kWhite);
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/dot\" hotspot=\"5,3\"/>\n");
    set->SetMousePosition(100, 100);
    set->DrawCurrent();
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{95, 97, 20, 20}));
}

TEST_F(CursorsTest, OutOfRangeNumbersAreClampedAndSaid)
{
    SolidPng("cur/dot.png", 20, 20, kWhite);
    TLogWatch log;
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/dot\" hotspot=\"99999999999,-3000000\"/>\n");
    EXPECT_TRUE(log.Has("cursors: hotspot \"99999999999,-3000000\" is out of range, clamped")) << log.Text();
    EXPECT_EQ(set->Current()->mHotX, 1 << 20);
    EXPECT_EQ(set->Current()->mHotY, -(1 << 20));
    set->SetMousePosition(100, 100);
    set->DrawCurrent();  // far off the canvas, and no overflow on the way
    EXPECT_EQ(DrawnBox(0, 0, 0).w, 0);
}

TEST_F(CursorsTest, SelectingTheCurrentCursorKeepsItsFrameSelectDefaultRestarts)
{
    QuarterSheet("cur/sheet.png");
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/sheet\" frames=\"4\" rect=\"0,0,32,32\"/>\n"
                             "<cursor name=\"hand\" filename=\"cur/sheet\" frames=\"4\" rect=\"0,0,32,32\"/>\n");
    set->Select("hand");
    TGameCursor* hand = set->Current();
    ASSERT_EQ(hand->mName, "hand");
    set->Update(0.1f);
    set->Update(0.1f);
    set->Select("hand");
    EXPECT_EQ(hand->mFrame, 2);
    EXPECT_EQ(SourceRect(hand), (SDL_Rect{0, 32, 32, 32}));

    set->SelectDefault();
    TGameCursor* arrow = set->Current();
    set->Update(0.1f);
    set->Update(0.1f);
    ASSERT_EQ(arrow->mFrame, 2);
    set->SelectDefault();
    EXPECT_EQ(set->Current(), arrow);
    EXPECT_EQ(arrow->mFrame, 0);
    EXPECT_EQ(SourceRect(arrow), (SDL_Rect{0, 0, 32, 32}));
}

TEST_F(CursorsTest, ModeSwitchKeepsTheCursorNameAndTheSystemPointerFollows)
{
    SolidPng("cur/dot.png", 20, 20, kWhite);
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/dot\"/>\n"
                             "<cursor name=\"hand\" filename=\"cur/dot\"/>\n"
                             "<cursor name=\"default\" filename=\"cur/dot\" system=\"1\"/>\n"
                             "<cursor name=\"hand\" filename=\"cur/dot\" system=\"true\"/>\n");
    set->Select("hand");
    set->SetCustomMode(false);
    ASSERT_TRUE(set->HasCurrent());
    EXPECT_EQ(set->Current()->mName, "hand");
    EXPECT_TRUE(set->Current()->mSystem);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    set->SetCustomMode(true);
    EXPECT_EQ(set->Current()->mName, "hand");
    EXPECT_FALSE(set->Current()->mSystem);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
}

TEST_F(CursorsTest, OutsideTheWindowNothingAnimates)
{
    QuarterSheet("cur/sheet.png");
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/sheet\" frames=\"4\" rect=\"0,0,32,32\"/>\n");
    set->SetInside(false);
    set->Update(0.5f);
    EXPECT_EQ(set->Current()->mFrame, 0);
    set->SetInside(true);
    set->Update(0.5f);
    EXPECT_EQ(set->Current()->mFrame, 1);
}

TEST_F(CursorsTest, WithoutCursorsNothingIsDrawnAndTheSystemPointerStays)
{
    struct Case {
        const char* what;
        const char* file;  // null: no file at all
        const char* log;
    } cases[] = {
        {"missing file", nullptr, "File not found"},
        {"root without cursors", "<?xml version=\"1.0\"?>\n<cursorset><cursor name=\"default\"/></cursorset>\n",
         "cursors.xml holds no cursors element"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TLogWatch log;
        remove(AssetPath("cursors.xml").c_str());
        if (c.file) WriteWholeFile(AssetPath("cursors.xml"), c.file);
        LoadCursors("cursors.xml");
        ASSERT_TRUE(GameCursorsExist());
        TGameCursors* set = GetGameCursors();
        EXPECT_NE(log.Text().find(c.log), std::string::npos) << log.Text();
        EXPECT_TRUE(set->Cursors().empty());
        set->SelectDefault();
        set->Select("hand");
        EXPECT_FALSE(set->HasCurrent());
        set->SetCustomMode(true);
        SDL_ShowCursor(SDL_DISABLE);
        set->Update(0.1f);
        EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
        set->DrawCurrent();
        EXPECT_EQ(DrawnBox(0, 0, 0).w, 0);
        DestroyCursors();
    }
    // With a drawn default the system pointer goes.
    SolidPng("cur/dot.png", 20, 20, kWhite);
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/dot\"/>\n");
    set->Update(0.1f);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    // One whose picture is missing draws nothing, so the system pointer stays.
    TLogWatch log;
    set = Load("<cursor name=\"default\" filename=\"cur/none\"/>\n");
    EXPECT_TRUE(log.Has("cursor default: picture cur/none could not be loaded, the system pointer stays"))
        << log.Text();
    ASSERT_TRUE(set->HasCurrent());
    set->SetCustomMode(true);
    set->Update(0.1f);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

TEST_F(CursorsTest, ModeWithoutDefaultKeepsTheCurrentCursor)
{
    SolidPng("cur/dot.png", 20, 20, kWhite);
    TGameCursors* set = Load("<cursor name=\"default\" filename=\"cur/dot\"/>\n");
    TGameCursor* drawn = set->Current();
    ASSERT_NE(drawn, nullptr);
    set->SetCustomMode(false);
    set->SelectDefault();
    EXPECT_EQ(set->Current(), drawn);
    set->SetMousePosition(10, 10);
    set->DrawCurrent();
    EXPECT_EQ(DrawnBox(0, 0, 0), (SDL_Rect{10, 10, 20, 20}));
}

int gMade = 0, gSet = 0, gFreed = 0;
char gFakeCursor;
SDL_Cursor* CountMake(SDL_Surface*, int, int)
{
    ++gMade;
    return reinterpret_cast<SDL_Cursor*>(&gFakeCursor);
}
SDL_Cursor* FailMake(SDL_Surface*, int, int)
{
    ++gMade;
    return nullptr;
}
void CountSet(SDL_Cursor*) { ++gSet; }
void CountFree(SDL_Cursor*) { ++gFreed; }

TEST_F(CursorsTest, SystemCursorIsMadeOnceAndFreedWithTheSet)
{
    SolidPng("cur/dot.png", 20, 20, kWhite);
    const std::string entries = "<cursor name=\"default\" filename=\"cur/dot\"/>\n"
                                "<cursor name=\"hand\" filename=\"cur/dot\" hotspot=\"3,3\" system=\"1\"/>\n";
    struct Case {
        SDL_Cursor* (*make)(SDL_Surface*, int, int);
        int activations, made, set, freed;
    } cases[] = {{CountMake, 3, 1, 3, 1}, {FailMake, 2, 2, 0, 0}};
    for (const Case& c : cases) {
        gMade = gSet = gFreed = 0;
        TLogWatch log;
        TCursorCalls calls;
        calls.mMake = c.make;
        calls.mSet = CountSet;
        calls.mFree = CountFree;
        SetCursorCalls(calls);
        TGameCursors* set = Load(entries);
        set->SetCustomMode(false);
        TGameCursor* hand = set->Find("hand");
        ASSERT_NE(hand, nullptr);
        for (int i = 0; i < c.activations; ++i) hand->Activate();
        EXPECT_EQ(gMade, c.made);
        EXPECT_EQ(gSet, c.set);
        EXPECT_EQ(gFreed, 0);
        const bool failed = c.make == FailMake;
        // Said once, however often it is tried.
        const std::string text = log.Text(), line = "system cursor hand from cur/dot could not be made";
        size_t said = 0;
        for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++said;
        EXPECT_EQ(said, failed ? 1u : 0u);
        DestroyCursors();
        EXPECT_EQ(gFreed, c.freed);
    }
}

TEST_F(CursorsTest, ShippedCursorsLoadInBothModes)
{
    std::string assets = BRISALO_ASSETS;
    ASSERT_EQ(0, chdir(assets.substr(0, assets.rfind('/')).c_str()));
    TLogWatch log;
    LoadCursors("cursors.xml");
    TGameCursors* set = GetGameCursors();
    EXPECT_EQ(log.Text().find("File not found"), std::string::npos) << log.Text();
    const char* names[] = {"default", "hand", "handspot", "text", "drag", "active"};
    ASSERT_EQ(set->Cursors().size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        const TGameCursor* cursor = set->Cursors()[i].get();
        SCOPED_TRACE(cursor->mName);
        EXPECT_EQ(cursor->mName, names[i % 6]);
        EXPECT_EQ(cursor->mSystem, i >= 6);
        ASSERT_NE(cursor->mImage.GetTexture(), nullptr);
        SDL_Rect frame = cursor->FrameRect(0);
        EXPECT_GT(frame.w, 0);
        EXPECT_TRUE(cursor->mHotX >= 0 && cursor->mHotX < frame.w && cursor->mHotY >= 0 && cursor->mHotY < frame.h);
    }
    for (bool custom : {true, false}) {
        set->SetCustomMode(custom);
        for (const char* name : names) EXPECT_NE(set->Find(name), nullptr) << name << " custom " << custom;
    }
    set->SetCustomMode(true);
    const TGameCursor* sheet = set->Find("handspot");
    EXPECT_EQ(sheet->FrameCount(), 4);
    EXPECT_EQ(sheet->mImage.GetTexture()->GetWidth(), 128);
    // The arrow's tip is its opaque corner pixel.
    SDL_Surface* arrow = IMG_Load("assets/textures/cursors/arrow.png");
    ASSERT_NE(arrow, nullptr);
    Uint8 r, g, b, a;
    SDL_GetRGBA(*static_cast<Uint32*>(arrow->pixels), arrow->format, &r, &g, &b, &a);
    EXPECT_EQ(a, 255);
    SDL_FreeSurface(arrow);
    DestroyCursors();
}

}  // namespace
