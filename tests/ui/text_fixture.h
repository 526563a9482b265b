// Text widget tests: a fixed-width font (every glyph 10 pixels wide, drawn as a white 8 x 10
// block, ascent 8, padding 1, line spacing 12) registered as "default" and "big", and a font
// of the same descriptor that records every line it is asked to draw.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/xml_document.h"
#include "graphics/font_fixture.h"
#include "graphics/font_manager.h"

struct TDrawnLine {
    int x;
    int y;
    std::wstring text;
    uint32_t color;
};

class TRecordingFont : public ImageFont {
public:
    explicit TRecordingFont(FontData* descriptor) : ImageFont(descriptor) {}
    void DrawWString(int x, int y, const std::wstring& text, uint32_t color, int unused, bool draw) override
    {
        mLines.push_back({x, y, text, color});
        ImageFont::DrawWString(x, y, text, color, unused, draw);
    }
    std::vector<TDrawnLine> mLines;
};

// Printable ASCII but the backslash, and Latin-1 from U+00A0: every one 10 pixels wide.
inline std::wstring FixedWidthScript()
{
    std::wstring chars;
    std::wstring rects;
    std::wstring widths;
    auto add = [&](wchar_t c) {
        if (c == L'\'')
            chars += L"\"'\" ";
        else
            chars += L"'" + std::wstring(1, c) + L"' ";
        rects += L"(0 0 8 10) ";
        widths += L"10 ";
    };
    for (wchar_t c = 32; c < 127; ++c)
        if (c != L'\\') add(c);
    for (wchar_t c = 0xA0; c <= 0xFF; ++c) add(c);
    return L"CreateLayer m; LayerSetImage m 'atlas.png'; LayerSetAscent m 8; LayerSetAscentPadding m 1;\n"
           L"LayerSetLineSpacingOffset m 2;\n"
           L"LayerSetImageMap m (" + chars + L") (" + rects + L");\n"
           L"LayerSetCharWidths m (" + chars + L") (" + widths + L");\n";
}

class FixedFontTest : public FontTest {
protected:
    // The fixed-width script registered as both "default" and "big".
    void LoadFixedFonts()
    {
        WriteScript("fixed.txt", FixedWidthScript());
        ASSERT_TRUE(WriteWholeFile(AssetPath("fonts.xml"),
                                   "<fonts><font id='default' name='fonts/fixed.txt'/>"
                                   "<font id='big' name='fonts/fixed.txt'/></fonts>"));
        ASSERT_TRUE(TFontManager::Instance()->Load(LoadXmlDocument("fonts.xml")));
        DeleteCurrentXmlDocument();
    }
};

class TextTest : public FixedFontTest {
protected:
    void SetUp() override
    {
        Open(320, 240);
        OpenFonts();
        LoadFixedFonts();
        mFont = MakeRecordingFont();
    }

    void TearDown() override
    {
        mFont.reset();
        TFontManager::Destroy();
        FontTest::TearDown();
    }

    std::unique_ptr<TRecordingFont> MakeRecordingFont()
    {
        auto data = std::make_unique<FontData>();
        EXPECT_TRUE(data->Load("fonts/fixed.txt"));
        return std::make_unique<TRecordingFont>(data.release());
    }

    std::unique_ptr<TRecordingFont> mFont;
};
