#include <gtest/gtest.h>

#include <string>

#include "log_watch.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"
#include "ui_test_layout.h"

namespace {

std::string Object(const std::string& attrs) { return "<object name=\"o\" " + attrs + "/>"; }

}  // namespace

TEST(UIInfoHolder, RectangleIsDottedRectElseScreenRelativeValues)
{
    const struct {
        const char* attrs;
        int x, y, w, h;
    } cases[] = {
        {"rect=\"100.50.200.40\"", 100, 50, 200, 40},
        {"rect=\"100,50,200,40\"", 0, 0, 0, 0},
        {"rect=\"100.50.200.40\" x=\"7\"", 100, 50, 200, 40},
        // A short rect falls back to x, y, w, h entirely.
        {"rect=\"5.6\" w=\"9\"", 0, 0, 9, 0},
        {"x=\"0.5\" w=\"0.25\" y=\"1.5\" h=\"100+20\"", 683, 384, 342, 120},
        {"x=\"1.0\" y=\"683.5\" w=\"100-20\"", 1, 384, 80, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attrs);
        TUIInfoHolder holder;
        const TUIBaseBox* box = ReadObject<TUIBaseBox>(holder, Object(c.attrs));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->mX, c.x);
        EXPECT_EQ(box->mY, c.y);
        EXPECT_EQ(box->mWidth, c.w);
        EXPECT_EQ(box->mHeight, c.h);
    }
}

TEST(UIInfoHolder, CommonAttributesAndTheirDefaults)
{
    TUIInfoHolder holder;
    const TUIBaseBox* plain = ReadObject<TUIBaseBox>(holder, Object(""));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->mKind, kUIKindRect);
    EXPECT_EQ(plain->mEnterSound, "btnmouseenter");
    EXPECT_EQ(plain->mLeaveSound, "");
    EXPECT_EQ(plain->mPressSound, "btnmousedown");
    EXPECT_TRUE(plain->mCreate);
    EXPECT_TRUE(plain->mAllowMouse);
    EXPECT_EQ(plain->mVAlign, -1);
    EXPECT_EQ(plain->mHAlign, -1);

    TUIInfoHolder written;
    const TUIBaseBox* box = ReadObject<TUIBaseBox>(
        written, Object("id=\"7\" param=\"big\" float_param=\"0.5\" create=\"0\" allowmousereaction=\"false\" "
                        "valign=\"2\" halign=\"1\" soundmouseenter=\"\" soundmousedown=\"click\" "
                        "points=\"1,2;3+1,4\""));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->mId, 7);
    EXPECT_EQ(box->mParam, "big");
    EXPECT_FLOAT_EQ(box->mFloatParam, 0.5f);
    EXPECT_FALSE(box->mCreate);
    EXPECT_FALSE(box->mAllowMouse);
    EXPECT_EQ(box->mVAlign, 2);
    EXPECT_EQ(box->mHAlign, 1);
    EXPECT_EQ(box->mEnterSound, "");
    EXPECT_EQ(box->mPressSound, "click");
    ASSERT_EQ(box->mPoints.size(), 2u);
    EXPECT_EQ(box->mPoints[0].x, 1);
    EXPECT_EQ(box->mPoints[0].y, 2);
    EXPECT_EQ(box->mPoints[1].x, 4);
    EXPECT_EQ(box->mPoints[1].y, 4);
}

// The style element is written after the object on purpose: styles are read first.
TEST(UIInfoHolder, StyleCompletesTheCommonFields)
{
    const struct {
        const char* style;
        const char* object;
        void (*check)(const TUIBaseBox&);
    } cases[] = {
        {"soundmouseenter=\"tick\"", "", [](const TUIBaseBox& b) { EXPECT_EQ(b.mEnterSound, "tick"); }},
        {"soundmouseenter=\"tick\"", "soundmouseenter=\"\"",
         [](const TUIBaseBox& b) { EXPECT_EQ(b.mEnterSound, "tick"); }},
        {"", "", [](const TUIBaseBox& b) {
             EXPECT_EQ(b.mEnterSound, "btnmouseenter");
             EXPECT_EQ(b.mPressSound, "btnmousedown");
             EXPECT_EQ(b.mVAlign, -1);
         }},
        {"halign=\"0\"", "halign=\"1\"", [](const TUIBaseBox& b) {
             EXPECT_EQ(b.mHAlign, 0);
             EXPECT_EQ(b.mVAlign, -1);
         }},
        {"w=\"200\"", "w=\"300\"", [](const TUIBaseBox& b) { EXPECT_EQ(b.mWidth, 300); }},
        {"w=\"200\"", "h=\"50\"", [](const TUIBaseBox& b) {
             EXPECT_EQ(b.mWidth, 200);
             EXPECT_EQ(b.mHeight, 50);
         }},
        {"color=\"0.0.0.0\"", "color=\"ff0000\"", [](const TUIBaseBox& b) { ExpectColor(b.mColor, 1, 0, 0, 1); }},
        {"color=\"0.0.0.1\"", "color=\"ff0000\"",
         [](const TUIBaseBox& b) { ExpectColor(b.mColor, 0, 0, 0, 1.0f / 255); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.style) + " / " + c.object);
        TUIInfoHolder holder;
        const TUIBaseBox* box = ReadObject<TUIBaseBox>(
            holder, Object(std::string("style=\"s\" ") + c.object) + "<style name=\"s\" " + c.style + "/>");
        ASSERT_NE(box, nullptr);
        c.check(*box);
    }
}

TEST(UIInfoHolder, FirstStyleOfANameWins)
{
    TUIInfoHolder holder;
    const TUIBaseBox* box = ReadObject<TUIBaseBox>(
        holder, "<style name=\"s\" w=\"10\"/><style name=\"s\" w=\"20\"/>" + Object("style=\"s\""));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->mWidth, 10);
    EXPECT_EQ(holder.Styles().size(), 1u);
}

TEST(UIInfoHolder, MissingStyleFallsBackToTheGlobalHolderSilently)
{
    ASSERT_TRUE(LoadLayoutText(*GetInterfaceHolder(), "<style name=\"globalonly\" w=\"77\"/>"));
    TLogWatch log;
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder, "<object name=\"a\" style=\"globalonly\"/>"
                                       "<object name=\"b\" style=\"nowhere\"/>"));
    EXPECT_EQ(holder.Find("a")->mWidth, 77);
    EXPECT_EQ(holder.Find("b")->mWidth, 0);
    EXPECT_EQ(log.Text(), "");
    EXPECT_EQ(holder.FindStyle("globalonly"), nullptr);
}

TEST(UIInfoHolder, TypesAreMatchedExactly)
{
    const struct {
        const char* type;
        int kind;  // -1: skipped
    } objects[] = {
        {"Button", -1}, {"foo", -1}, {"", kUIKindRect}, {"rect", kUIKindRect}, {"button", kUIKindButton},
    };
    for (const auto& c : objects) {
        SCOPED_TRACE(c.type);
        TUIInfoHolder holder;
        ASSERT_TRUE(LoadLayoutText(holder, Object(std::string("type=\"") + c.type + "\"")));
        const TUIBaseBox* box = holder.Find("o");
        if (c.kind < 0) {
            EXPECT_EQ(box, nullptr);
            EXPECT_TRUE(holder.Elements().empty());
        } else {
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->mKind, c.kind);
        }
    }
    const struct {
        const char* type;
        bool kept;
        TUIStyleKind kind;
    } styles[] = {
        {"", true, TUIStyleKind::Plain},    {"text", true, TUIStyleKind::Text},
        {"button", true, TUIStyleKind::Button}, {"slider", true, TUIStyleKind::Slider},
        {"Text", false, TUIStyleKind::Plain}, {"image", false, TUIStyleKind::Plain},
    };
    for (const auto& c : styles) {
        SCOPED_TRACE(c.type);
        TUIInfoHolder holder;
        ASSERT_TRUE(LoadLayoutText(holder, std::string("<style name=\"s\" type=\"") + c.type + "\"/>"));
        const TUIStyle* style = holder.FindStyle("s");
        EXPECT_EQ(style != nullptr, c.kept);
        if (style) {
            EXPECT_EQ(style->Kind(), c.kind);
        }
    }
}

TEST(UIInfoHolder, FindIsExactTakesTheFirstAndLoadsAppend)
{
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder, "<object name=\"a\" id=\"1\"/><object name=\"a\" id=\"2\"/>"
                                       "<other name=\"c\"/>"));
    ASSERT_TRUE(LoadLayoutText(holder, "<object name=\"b\" id=\"3\"/><object name=\"a\" id=\"4\"/>"));
    ASSERT_NE(holder.Find("a"), nullptr);
    EXPECT_EQ(holder.Find("a")->mId, 1);
    EXPECT_EQ(holder.Find("A"), nullptr);
    EXPECT_EQ(holder.Find("c"), nullptr);
    ASSERT_NE(holder.Find("b"), nullptr);
    EXPECT_EQ(holder.Find("b")->mId, 3);
    EXPECT_EQ(holder.Elements().size(), 4u);
    EXPECT_FALSE(holder.Load(nullptr));
}

TEST(UITextStyle, OverAndSelectedColoursDefaultToItsColour)
{
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder, "<style name=\"t\" type=\"text\" color=\"10.20.30.255\"/>"
                                       "<style name=\"u\" type=\"text\" color=\"10.20.30.255\" "
                                       "overcolor=\"0.0.255.255\" wrapped=\"1\"/>"));
    const auto* t = static_cast<const TUITextStyle*>(holder.FindStyle("t"));
    const auto* u = static_cast<const TUITextStyle*>(holder.FindStyle("u"));
    ASSERT_NE(t, nullptr);
    ASSERT_NE(u, nullptr);
    ExpectColor(t->mOverColor, 10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1);
    ExpectColor(t->mSelectedColor, 10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1);
    EXPECT_FALSE(t->mWrapped);
    ExpectColor(u->mOverColor, 0, 0, 1, 1);
    ExpectColor(u->mSelectedColor, 10 / 255.0f, 20 / 255.0f, 30 / 255.0f, 1);
    EXPECT_TRUE(u->mWrapped);
}

TEST(UIStyle, UnsetValuesAndFields)
{
    TUIInfoHolder holder;
    ASSERT_TRUE(LoadLayoutText(holder, "<style name=\"p\"/><style name=\"q\" w=\"5\" h=\"6\" valign=\"1\" "
                                       "halign=\"2\" font=\"f\" flags=\"3\" dofinger=\"1\" "
                                       "soundmouseleave=\"out\"/>"));
    const TUIStyle* p = holder.FindStyle("p");
    const TUIStyle* q = holder.FindStyle("q");
    ASSERT_NE(p, nullptr);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(p->mWidth, 0);
    EXPECT_EQ(p->mVAlign, TUIStyle::kUnset);
    EXPECT_EQ(p->mHAlign, TUIStyle::kUnset);
    EXPECT_EQ(p->mEnterSound, "");
    EXPECT_EQ(q->mWidth, 5);
    EXPECT_EQ(q->mHeight, 6);
    EXPECT_EQ(q->mVAlign, 1);
    EXPECT_EQ(q->mHAlign, 2);
    EXPECT_EQ(q->mFont, "f");
    EXPECT_EQ(q->mFlags, 3);
    EXPECT_TRUE(q->mFinger);
    EXPECT_EQ(q->mLeaveSound, "out");
}

TEST(UIInfoHolder, EveryTypeMakesItsKind)
{
    const struct {
        const char* type;
        int kind;
    } cases[] = {
        {"button", 0},      {"regenervideobutton2", 0}, {"listbox", 4},      {"toolholder", 5},
        {"regenerbutton2", 6}, {"text", 8},             {"imagetext", 9},    {"tutorialwindow", 10},
        {"tutorial", 11},   {"window", 12},            {"flywindow", 13},   {"slider", 14},
        {"edit", 15},       {"image", 16},             {"rect", 17},        {"hintbox", 17},
        {"backbox", 17},    {"taskbox", 17},           {"lockinterfbtn", 18},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        TUIInfoHolder holder;
        ASSERT_TRUE(LoadLayoutText(holder, Object(std::string("type=\"") + c.type + "\"")));
        ASSERT_NE(holder.Find("o"), nullptr);
        EXPECT_EQ(holder.Find("o")->mKind, c.kind);
    }
}
