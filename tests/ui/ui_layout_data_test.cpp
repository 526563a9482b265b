// The shipped layouts under assets/ui/: every one loads whole, names only styles that exist
// and text keys that the localisation table has, and interface.xml holds what the board and
// the level map look up; no object writes a wrap flag beside a style that would replace it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <dirent.h>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <tinyxml.h>

#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "game/selected_text.h"
#include "log_watch.h"
#include "ui/ui_info_holder.h"
#include "ui/ui_screen_elements.h"

namespace {

using THolderMaker = std::function<std::unique_ptr<TUIInfoHolder>()>;

// Windows whose holder knows more kinds read their file with that holder.
const std::map<std::string, THolderMaker>& SpecialHolders()
{
    static const std::map<std::string, THolderMaker> holders = {
        {"selectuser.xml", [] { return std::unique_ptr<TUIInfoHolder>(new TUIInfoHolderSelectUser()); }},
    };
    return holders;
}

std::vector<std::string> LayoutFiles()
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(BRISALO_ASSETS "/ui")) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0) files.push_back(name);
        }
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string Lower(std::string text)
{
    for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return text;
}

// The keys of termins.xml, lower-cased as the table matches them.
std::set<std::string> TextKeys()
{
    std::set<std::string> keys;
    TiXmlDocument* doc = nullptr;
    TiXmlElement* root = LoadXmlFile("termins.xml", &doc);
    TiXmlElement* table = FirstChildElement(FirstChildElement(root, "Worksheet"), "Table");
    std::vector<TiXmlElement*> rows;
    GetChildElements(table, "Row", rows);
    for (TiXmlElement* row : rows) {
        std::string key = GetElementText(FirstChildElement(FirstChildElement(row, "Cell"), "Data"));
        if (!key.empty()) keys.insert(Lower(key));
    }
    delete doc;
    return keys;
}

size_t CountChildren(TiXmlElement* root, const char* name)
{
    std::vector<TiXmlElement*> children;
    GetChildElements(root, name, children);
    return children.size();
}

struct TLoadedLayout {
    TiXmlDocument* doc = nullptr;
    TiXmlElement* root = nullptr;
    std::unique_ptr<TUIInfoHolder> holder;
    std::string log;

    ~TLoadedLayout() { delete doc; }
};

void LoadLayout(const std::string& file, TLoadedLayout& out)
{
    TLogWatch log;
    auto special = SpecialHolders().find(file);
    out.holder = special != SpecialHolders().end() ? special->second() : std::make_unique<TUIInfoHolder>();
    out.root = LoadXmlFile("ui/" + file, &out.doc);
    out.holder->Load(out.root);
    out.log = log.Text();
}

}  // namespace

TEST(UILayoutData, EveryShippedLayoutLoadsWholeWithKnownStylesAndTexts)
{
    TLoadedLayout interface;
    LoadLayout("interface.xml", interface);
    ASSERT_NE(interface.root, nullptr);
    // Windows read their layouts with the global holder filled, as in the game.
    GetInterfaceHolder()->Load(interface.root);
    const std::set<std::string> keys = TextKeys();
    ASSERT_FALSE(keys.empty());

    std::vector<std::string> files = LayoutFiles();
    ASSERT_NE(std::find(files.begin(), files.end(), "interface.xml"), files.end());
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        TLoadedLayout layout;
        LoadLayout(file, layout);
        ASSERT_NE(layout.root, nullptr);
        EXPECT_EQ(layout.log.find("File not found"), std::string::npos) << layout.log;
        EXPECT_EQ(layout.log.find("wrong style conversion"), std::string::npos) << layout.log;
        EXPECT_EQ(layout.holder->Elements().size(), CountChildren(layout.root, "object"))
            << "an object of an unknown type";
        EXPECT_EQ(layout.holder->Styles().size(), CountChildren(layout.root, "style"))
            << "a style of an unknown type or a repeated style name";
        for (const auto& element : layout.holder->Elements()) {
            const std::string& style = element->mStyleName;
            if (style.empty()) continue;
            EXPECT_TRUE(layout.holder->FindStyle(style) || interface.holder->FindStyle(style))
                << element->mName << " names the missing style " << style;
        }
        for (TiXmlElement* e = layout.root->FirstChildElement("object"); e; e = e->NextSiblingElement("object")) {
            // A style's wrap flag replaces the object's own: written beside a style it is lost.
            EXPECT_FALSE(!GetAttrString(e, "style").empty() && e->Attribute("wrapped"))
                << GetAttrString(e, "name") << " writes \"wrapped\" beside its style";
            for (const char* attr : {"text", "text1", "text2"}) {
                std::string key = GetAttrString(e, attr);
                if (!key.empty()) {
                    EXPECT_TRUE(keys.count(Lower(key)))
                        << GetAttrString(e, "name") << " " << attr << ": no text for " << key;
                }
            }
        }
    }
}

TEST(UILayoutData, InterfaceHoldsTheBoardMapAndTips)
{
    TLoadedLayout layout;
    LoadLayout("interface.xml", layout);
    ASSERT_NE(layout.root, nullptr);
    const TUIInfoHolder& holder = *layout.holder;

    std::vector<std::pair<std::string, int>> kinds = {
        {"board", kUIKindWindow},        {"imageback", kUIKindImage},     {"paintview", kUIKindRect},
        {"colortable", kUIKindRect},      {"offsettable", kUIKindRect},    {"flyhint", kUIKindRect},
        {"mapboardbox", kUIKindRect},     {"colorupbtn", kUIKindButton},   {"colordownbtn", kUIKindButton},
        {"fillrechargebtn", kUIKindButton}, {"rescalebtn", kUIKindButton}, {"menubtn", kUIKindButton},
        {"scalesld", kUIKindSlider},      {"fillcolorsld", kUIKindSlider}, {"TimerValueLbl", kUIKindImageText},
        {"GameTypeLbl", kUIKindImageText},
    };
    for (int n = 1; n <= 15; ++n) kinds.push_back({"imageerror" + std::to_string(n), kUIKindImage});
    for (const auto& named : kinds) {
        const TUIBaseBox* box = holder.Find(named.first);
        ASSERT_NE(box, nullptr) << named.first;
        EXPECT_EQ(box->mKind, named.second) << named.first;
    }
    // The board reads error marks up to the first gap: there are as many as the error maximum.
    EXPECT_EQ(holder.Find("imageerror16"), nullptr);

    const char* tips[] = {
        "TipMoveToPaint",      "TipUseRightMouse",     "TipDoubleToFill",        "TipFillAllToComplete",
        "TipChangeColor",      "TipUseArrowsToScroll", "TipChangeScale",         "TipChangeBackColor",
        "TipScaleFit",         "TipMapClickToPlay",    "TipMapClickToNextStage", "TipMapLockedCities",
    };
    for (const char* name : tips) {
        SCOPED_TRACE(name);
        const auto* tip = dynamic_cast<const TUITutorial*>(holder.Find(name));
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(tip->mKind, kUIKindTutorial);
        // A tip is recorded by its state key but looked up by its name: they must agree.
        EXPECT_EQ(tip->mStateStr, name);
        EXPECT_EQ(tip->mText1, name);
        EXPECT_EQ(tip->mText2, "TipContinue");
        EXPECT_LE(tip->mArrows.size(), 1u);
    }
}

TEST(UILayoutData, DialogAndHintLayoutsHoldWhatTheirWindowsFind)
{
    struct TButtonRow {
        const char* file;
        const char* name;
        int id;
    };
    const TButtonRow buttons[] = {{"mbok.xml", "ok", 1}, {"mbokcancel.xml", "ok", 1}, {"mbokcancel.xml", "cancel", 2}};
    for (const TButtonRow& row : buttons) {
        SCOPED_TRACE(std::string(row.file) + " " + row.name);
        TLoadedLayout layout;
        LoadLayout(row.file, layout);
        ASSERT_NE(layout.root, nullptr);
        const auto* window = dynamic_cast<const TUIFlyWindow*>(layout.holder->Find("window"));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->mKind, kUIKindFlyWindow);
        EXPECT_EQ(window->mX, 683);
        EXPECT_EQ(window->mY, 384);
        // "stay" 0 would send the box away at its first update after arriving.
        EXPECT_EQ(window->mStay, -1.0f);
        EXPECT_GT(window->mTime, 0.0f);
        for (const char* text : {"caption", "mess"}) {
            const TUIBaseBox* box = layout.holder->Find(text);
            ASSERT_NE(box, nullptr) << text;
            EXPECT_EQ(box->mKind, kUIKindImageText) << text;
        }
        const TUIBaseBox* button = layout.holder->Find(row.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->mKind, kUIKindButton);
        EXPECT_EQ(button->mId, row.id);
    }
    TLoadedLayout ok;
    LoadLayout("mbok.xml", ok);
    EXPECT_EQ(ok.holder->Find("cancel"), nullptr);

    TLoadedLayout hint;
    LoadLayout("tutorial.xml", hint);
    ASSERT_NE(hint.root, nullptr);
    const auto* window = dynamic_cast<const TUIFlyWindow*>(hint.holder->Find("window"));
    ASSERT_NE(window, nullptr);
    // After its first Close the hint stays flying out for good: only the fade brings it back.
    EXPECT_TRUE(window->mFade);
    EXPECT_GT(window->mAlphaTime, 0.0f);
    EXPECT_EQ(window->mStay, -1.0f);
    EXPECT_EQ(window->mFlyInSound, "");
    EXPECT_EQ(window->mFlyOutSound, "");
    const std::pair<const char*, int> children[] = {
        {"tutorialtext1", kUIKindImageText}, {"tutorialtext2", kUIKindImageText}, {"skiptutorial", kUIKindButton}};
    for (const auto& child : children) {
        const TUIBaseBox* box = hint.holder->Find(child.first);
        ASSERT_NE(box, nullptr) << child.first;
        EXPECT_EQ(box->mKind, child.second) << child.first;
    }
    EXPECT_EQ(hint.holder->Find("skiptutorial")->mEnterSound, "");

    TLoadedLayout interface;
    LoadLayout("interface.xml", interface);
    for (const auto& element : interface.holder->Elements()) {
        const auto* tip = dynamic_cast<const TUITutorial*>(element.get());
        if (!tip) continue;
        EXPECT_EQ(tip->mStateStr, tip->mName);
        EXPECT_FALSE(tip->mFinalize) << tip->mName;
        EXPECT_FALSE(tip->mHideFast) << tip->mName;
    }
}
