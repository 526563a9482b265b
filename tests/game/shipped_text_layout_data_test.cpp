// Every tip and dialog text the game ships, laid out in the box that shows it, through the
// shipped fonts and the labels' own word wrap: no line is left holding a single word that the
// box could have kept with a neighbour.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "core/localization.h"
#include "core/text.h"
#include "core/xml_document.h"
#include "game/difficulty.h"
#include "game/help_pages.h"
#include "graphics/drawing_fixture.h"
#include "graphics/font_manager.h"
#include "graphics/image_font.h"
#include "ui/text_image.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"
#include "ui/ui_screen_elements.h"

namespace {

// One text to lay out: where it is shown, and the text itself.
struct TShownText {
    std::string mWhere;
    std::wstring mText;
};

std::vector<std::string> ShippedLayoutFiles()
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(BRISALO_ASSETS "/ui")) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0) files.push_back(name);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A shipped layout read into a holder of its own, as a window reads it.
bool ReadShippedLayout(const std::string& file, TUIInfoHolder& holder)
{
    TiXmlDocument* doc = nullptr;
    TiXmlElement* root = LoadXmlFile("ui/" + file, &doc);
    if (root) holder.Load(root);
    delete doc;
    return root != nullptr;
}

std::vector<std::wstring> SplitLineWords(const std::wstring& line)
{
    std::vector<std::wstring> words;
    std::wstring word;
    for (wchar_t c : line) {
        if (c != L' ') {
            word += c;
            continue;
        }
        if (!word.empty()) words.push_back(word);
        word.clear();
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

std::wstring JoinLineWords(const std::vector<std::wstring>& words)
{
    std::wstring line;
    for (const std::wstring& word : words) line += (line.empty() ? L"" : L" ") + word;
    return line;
}

// What is wrong with the layout of the text in the label, empty when nothing: a line of one
// word after a line that could have taken it, or whose last word could have come down to
// keep it company.
std::string LoneWordIn(TSimpleTextImage& label, const std::wstring& text)
{
    label.mText = text;
    const std::vector<std::wstring> lines = label.WrappedLines(label.GetWidth());
    for (size_t k = 1; k < lines.size(); ++k) {
        const std::vector<std::wstring> words = SplitLineWords(lines[k]);
        const std::vector<std::wstring> before = SplitLineWords(lines[k - 1]);
        if (words.size() != 1 || before.empty()) continue;
        const int room = label.GetWidth();
        std::vector<std::wstring> joined = before;
        joined.push_back(words[0]);
        const bool previousHoldsIt = label.mFont->WStringWidth(JoinLineWords(joined)) <= room;
        const bool companionFits =
            before.size() > 1 && label.mFont->WStringWidth(JoinLineWords({before.back(), words[0]})) <= room;
        if (previousHoldsIt || companionFits)
            return "\"" + ToUtf8(words[0]) + "\" alone on line " + std::to_string(k + 1) + " after \"" +
                   ToUtf8(lines[k - 1]) + "\"";
    }
    return "";
}

class ShippedTextLayout : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
        ASSERT_TRUE(GetLocalization()->Load("termins.xml"));
        ASSERT_TRUE(TFontManager::Instance()->Load(LoadXmlDocument("fonts.xml")));
        DeleteCurrentXmlDocument();
        // The global holder lives as long as the process: read the file into it once.
        if (!GetInterfaceHolder()->FindStyle("message")) {
            if (TiXmlElement* root = LoadXmlDocument("ui/interface.xml")) GetInterfaceHolder()->Load(root);
            DeleteCurrentXmlDocument();
        }
        InitMosaicStars();
    }
    void TearDown() override
    {
        mLabels.clear();
        TFontManager::Destroy();
        CanvasTest::TearDown();
    }

    // The label a layout's object makes, as its window builds it.
    TSimpleTextImage* LabelOf(const std::string& file, const std::string& object)
    {
        TUIInfoHolder holder;
        EXPECT_TRUE(ReadShippedLayout(file, holder)) << file;
        const auto* info = dynamic_cast<const TUIText*>(holder.Find(object));
        EXPECT_NE(info, nullptr) << file << " " << object;
        if (!info) return nullptr;
        mLabels.emplace_back(CreateTextImage(info, nullptr));
        return mLabels.back().get();
    }
    // A label of the font and width of a help page's text.
    TSimpleTextImage* HelpLabel(const THelpText& text)
    {
        mLabels.emplace_back(new TSimpleTextImage());
        TSimpleTextImage* label = mLabels.back().get();
        label->SetFont(text.mFont.empty() ? "default" : text.mFont);
        label->mWrapped = true;
        label->SetRect(text.mX, text.mY, text.mW, text.mH);
        return label;
    }

    std::vector<std::unique_ptr<TSimpleTextImage>> mLabels;
};

TEST_F(ShippedTextLayout, NoTipOrDialogTextLeavesALoneWordOnALine)
{
    std::vector<std::pair<TSimpleTextImage*, TShownText>> shown;
    auto add = [&](TSimpleTextImage* label, const std::string& where, const std::wstring& text) {
        ASSERT_NE(label, nullptr) << where;
        ASSERT_NE(label->mFont, nullptr) << where;
        ASSERT_TRUE(label->mWrapped) << where;
        ASSERT_FALSE(text.empty()) << where;
        shown.push_back({label, {where, text}});
    };
    auto addKey = [&](TSimpleTextImage* label, const std::string& where, const std::string& key) {
        add(label, where + " " + key, GetLocalization()->GetText(key));
    };

    // Every wrapped text a layout names itself.
    const std::vector<std::string> files = ShippedLayoutFiles();
    ASSERT_GE(files.size(), 10u);
    for (const std::string& file : files) {
        TUIInfoHolder holder;
        ASSERT_TRUE(ReadShippedLayout(file, holder)) << file;
        for (const auto& element : holder.Elements()) {
            const auto* text = dynamic_cast<const TUIImageText*>(element.get());
            if (!text || !text->mWrapped || text->mText.empty()) continue;
            addKey(LabelOf(file, text->mName), file + " " + text->mName, text->mText);
        }
    }
    // The tips, in the tutorial hint's box; read from the shipped file itself, since the global
    // holder may hold other tests' tips as well.
    TSimpleTextImage* tipBox = LabelOf("tutorial.xml", "tutorialtext1");
    TUIInfoHolder interface;
    ASSERT_TRUE(ReadShippedLayout("interface.xml", interface));
    int tips = 0;
    for (const auto& element : interface.Elements()) {
        if (const auto* tip = dynamic_cast<const TUITutorial*>(element.get())) {
            addKey(tipBox, "tip", tip->mText1);
            ++tips;
        }
    }
    EXPECT_GE(tips, 12);
    // The questions and notices the game puts into its message boxes.
    for (const char* key : {"wrongresolution", "timeisovermessageMosaic", "NoMorePlayersAvalible", "EnterCorrectName"})
        addKey(LabelOf("mbok.xml", "mess"), "message", key);
    for (const char* key : {"sureexit", "DeleteWarning"}) addKey(LabelOf("mbokcancel.xml", "mess"), "question", key);
    // The descriptions of the other difficulties, in the boxes of the casual ones.
    for (const char* mode : {"normal", "expert"})
        for (int i = 1; i <= 3; ++i)
            addKey(LabelOf("selectdifficultymode.xml", "usual" + std::to_string(i)), "difficulty",
                   std::string("dif_") + mode + std::to_string(i));
    // The star rules in the level complete window's slots.
    TLevelPlayStats stats;
    stats.mSecondsAllowed = 125.0f;
    for (const char* rule : {"complete", "0hint", "1hint", "2hint", "3hint", "4hint", "5hint", "6hint", "0error",
                             "1error", "2error", "3error", "4error", "90time"}) {
        const TMosaicStar* star = FindMosaicStar(rule);
        ASSERT_NE(star, nullptr) << rule;
        add(LabelOf("levelcomplete.xml", "stardesc1"), std::string("star ") + rule, star->GetDescription(stats));
    }
    // The help book's pages.
    THelpPages help;
    help.Load("help.xml");
    ASSERT_EQ(help.GetPageCount(), 3);
    for (int page = 0; page < help.GetPageCount(); ++page)
        for (const THelpText& text : help.GetPage(page)->mTexts)
            add(HelpLabel(text), "help page " + std::to_string(page + 1), text.mText);

    for (auto& [label, text] : shown) EXPECT_EQ(LoneWordIn(*label, text.mText), "") << text.mWhere;
}

// The check itself, on a box of the tips' font and width: a word pushed alone onto a line by
// a line break or by the wrap is found; a text that keeps its words together passes.
TEST_F(ShippedTextLayout, LoneWordCheckFindsBreaksThatStrandAWord)
{
    TSimpleTextImage* box = LabelOf("tutorial.xml", "tutorialtext1");
    ASSERT_NE(box, nullptr);
    const int room = box->GetWidth();
    // A line just too wide for the box: its last word wraps alone before the line break.
    std::wstring full = L"Paint";
    while (box->mFont->WStringWidth(full + L" cells") <= room) full += L" paint";
    const struct {
        std::wstring text;
        bool lone;
    } cases[] = {
        {full + L" cells\nto finish.", true},
        {L"Paint the cells\nnow.", true},
        {L"Paint the cells\nnow and then.", false},
        {full + L" cells to finish.", false},
        {L"Done!\n\nPaint again.", false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.lone, !LoneWordIn(*box, c.text).empty()) << ToUtf8(c.text);
}

}  // namespace
