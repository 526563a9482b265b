// Help tests: the canvas with the fixed-width test font registered as "default" and "big",
// the pictures the fixture pages name, and the fixture files of tests/data/help/ copied in.
#pragma once
#include <string>

#include "core/xml_document.h"
#include "graphics/font_fixture.h"
#include "graphics/font_manager.h"
#include "ui/text_fixture.h"

// Frame k of the test sheet.
inline SDL_Color HelpFrameColour(int k)
{
    static const SDL_Color colours[] = {{250, 40, 40, 255}, {40, 250, 40, 255}, {40, 40, 250, 255}, {250, 250, 40, 255}};
    return colours[k & 3];
}

const SDL_Color kHelpPicColour{200, 100, 250, 255};

class HelpTest : public FixedFontTest {
protected:
    void SetUp() override
    {
        FixedFontTest::SetUp();
        LoadFixedFonts();
        SolidPng("pic.png", 40, 30, kHelpPicColour);
        SavePng("sheet.png", MakeSurface(128, 32, SDL_PIXELFORMAT_ABGR8888,
                                         [](int x, int) { return HelpFrameColour(x / 32); }));
    }

    void TearDown() override
    {
        TFontManager::Destroy();
        FontTest::TearDown();
    }

    void UseFixture(const std::string& fixture, const std::string& asName)
    {
        std::string bytes = ReadWholeFile(std::string(BRISALO_TEST_DATA) + "/help/" + fixture);
        ASSERT_FALSE(bytes.empty()) << fixture;
        ASSERT_TRUE(WriteWholeFile(AssetPath(asName), bytes));
    }

    // The frame of the test sheet whose colour is at (x, y); -1 for none.
    int FrameAt(int x, int y)
    {
        TPixel p = Pixel(x, y);
        for (int k = 0; k < 4; ++k) {
            SDL_Color c = HelpFrameColour(k);
            if (p.r == c.r && p.g == c.g && p.b == c.b) return k;
        }
        return -1;
    }

    bool IsPic(int x, int y)
    {
        TPixel p = Pixel(x, y);
        return p.r == kHelpPicColour.r && p.g == kHelpPicColour.g && p.b == kHelpPicColour.b;
    }

    // How many pixels of the rectangle have exactly this colour.
    int CountColour(const SDL_Rect& r, int red, int green, int blue)
    {
        int n = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) {
                TPixel p = Pixel(x, y);
                if (p.r == red && p.g == green && p.b == blue) ++n;
            }
        return n;
    }
};
