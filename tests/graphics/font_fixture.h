// Font tests: descriptor scripts written into the canvas's own assets/fonts/, read through a
// descriptor that records the parser's messages, and a 64x32 white atlas to map glyphs from.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/text.h"
#include "drawing_fixture.h"
#include "graphics/font_data.h"
#include "graphics/image_font.h"

class TRecordingFontData : public FontData {
public:
    bool Error(const std::wstring& message) override
    {
        mMessages.push_back(ToUtf8(message));
        return DescParserW::Error(message);
    }
    // The characters that the descriptor keeps in its defines and its layers' tags.
    size_t HeldCharacters() const
    {
        size_t n = 0;
        for (const auto& define : mDefines) n += define.first.size() + TextCharacters(*define.second);
        for (const auto& layer : GetLayers())
            for (const auto* tags : {&layer->mRequiredTags, &layer->mExcludedTags})
                for (const std::wstring& tag : *tags) n += tag.size();
        return n;
    }
    std::vector<std::string> mMessages;

private:
    static size_t TextCharacters(const DataElement& value)
    {
        if (!value.IsList()) return static_cast<const SingleDataElementW&>(value).mText.size();
        size_t n = 0;
        for (const auto& item : static_cast<const ListDataElement&>(value).mItems) n += TextCharacters(*item);
        return n;
    }
};

// UTF-16 scripts get their byte-order mark unless told otherwise; byte scripts are Latin-1.
enum class TScriptCoding { Bytes, Utf16Le, Utf16Be, Utf16LeNoBom };

inline std::string EncodeScript(const std::wstring& script, TScriptCoding coding)
{
    std::string out;
    if (coding == TScriptCoding::Utf16Le) out = "\xFF\xFE";
    if (coding == TScriptCoding::Utf16Be) out = "\xFE\xFF";
    for (wchar_t c : script) {
        unsigned u = static_cast<unsigned>(c);
        if (coding == TScriptCoding::Bytes) {
            out += static_cast<char>(u & 0xFF);
        } else if (coding == TScriptCoding::Utf16Be) {
            out += static_cast<char>((u >> 8) & 0xFF);
            out += static_cast<char>(u & 0xFF);
        } else {
            out += static_cast<char>(u & 0xFF);
            out += static_cast<char>((u >> 8) & 0xFF);
        }
    }
    return out;
}

class FontTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        OpenFonts();
    }

    void OpenFonts()
    {
        SDL_SetHint("SDL_RENDER_SCALE_QUALITY", "0");
        MakeFolder("fonts");
        SolidPng("fonts/atlas.png", 64, 32, SDL_Color{255, 255, 255, 255});
    }

    void WriteScript(const std::string& name, const std::wstring& script,
                     TScriptCoding coding = TScriptCoding::Utf16Le)
    {
        ASSERT_TRUE(WriteWholeFile(AssetPath("fonts/" + name), EncodeScript(script, coding)));
    }

    // A new recording descriptor loaded from the script; the result of its load in mLoaded.
    std::unique_ptr<TRecordingFontData> Read(const std::wstring& script,
                                             TScriptCoding coding = TScriptCoding::Utf16Le)
    {
        WriteScript("t.txt", script, coding);
        auto data = std::make_unique<TRecordingFontData>();
        mLoaded = data->Load("fonts/t.txt");
        return data;
    }

    // A font that owns a recording descriptor of the script.
    std::unique_ptr<ImageFont> MakeFont(const std::wstring& script)
    {
        std::unique_ptr<TRecordingFontData> data = Read(script);
        EXPECT_TRUE(mLoaded) << (data->mMessages.empty() ? std::string() : data->mMessages[0]);
        return std::make_unique<ImageFont>(data.release());
    }

    bool mLoaded = false;
};
