// The shipped help: "help.xml" reads as three pages whose texts all have their words and
// colours and whose pictures and sheets all load whole, and "ui/help.xml" is the dialog the
// help window looks up.
#include <tinyxml.h>
#include <unistd.h>

#include <memory>

#include "core/localization.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "game/help_pages.h"
#include "log_watch.h"
#include "ui/ui_elements.h"
#include "ui/ui_info_holder.h"

namespace {

class ShippedHelp : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        UseShippedAssets();
    }
};

TEST_F(ShippedHelp, PagesLoadWithTheirTextsPicturesAndSheets)
{
    TLogWatch log;
    TLocalization texts;
    ASSERT_TRUE(texts.Load("termins.xml"));
    {
        THelpPages book;
        book.Load("help.xml");
        ASSERT_EQ(3, book.GetPageCount());
        for (int i = 0; i < book.GetPageCount(); ++i) {
            SCOPED_TRACE(i);
            const THelpPage& page = *book.GetPage(i);
            EXPECT_EQ(3u, page.mTexts.size());
            ASSERT_EQ(1u, page.mImages.size());
            EXPECT_TRUE(page.mImages[0].mPicture->GetTexture());
            EXPECT_EQ(i < 2 ? 1u : 0u, page.mAnimations.size());
            for (const auto& animation : page.mAnimations) {
                const TCadrImage& sheet = *animation.mPicture;
                const TTexture* texture = sheet.GetImage().GetTexture();
                ASSERT_TRUE(texture) << sheet.mFileName;
                ASSERT_GT(sheet.mFrameWidth, 0);
                ASSERT_GT(sheet.mFrameHeight, 0);
                int columns = texture->GetWidth() / sheet.mFrameWidth;
                int rows = texture->GetHeight() / sheet.mFrameHeight;
                EXPECT_GE(columns * rows, sheet.mFrames) << sheet.mFileName;
                EXPECT_GT(sheet.mFrames, 1);
            }
        }
    }
    EXPECT_EQ(std::string::npos, log.Text().find("File not found")) << log.Text();

    // Every text names a key of the table and writes its colour.
    TiXmlDocument* doc = nullptr;
    TiXmlElement* root = LoadXmlFile("help.xml", &doc);
    std::unique_ptr<TiXmlDocument> owner(doc);
    ASSERT_TRUE(root);
    int count = 0;
    for (TiXmlElement* page = root->FirstChildElement("page"); page; page = page->NextSiblingElement("page"))
        for (TiXmlElement* text = page->FirstChildElement("text"); text; text = text->NextSiblingElement("text")) {
            std::string key = GetAttrString(text, "id");
            EXPECT_NE(texts.GetText(key), texts.Widen(key)) << "no text for " << key;
            EXPECT_TRUE(text->Attribute("color")) << key;
            ++count;
        }
    EXPECT_EQ(9, count);
}

TEST_F(ShippedHelp, DialogLayoutHasItsFlightAndButtons)
{
    TiXmlDocument* doc = nullptr;
    TiXmlElement* root = LoadXmlFile("ui/help.xml", &doc);
    std::unique_ptr<TiXmlDocument> owner(doc);
    ASSERT_TRUE(root);
    TUIInfoHolder holder;
    holder.Load(root);
    auto* window = dynamic_cast<TUIFlyWindow*>(holder.Find("window"));
    ASSERT_TRUE(window);
    EXPECT_FLOAT_EQ(-1.0f, window->mStay);
    const struct {
        const char* name;
        int id;
    } buttons[] = {{"help_prev", 1}, {"help_close", 2}, {"help_next", 3}};
    for (const auto& b : buttons) {
        auto* button = dynamic_cast<TUIMyButton*>(holder.Find(b.name));
        ASSERT_TRUE(button) << b.name;
        EXPECT_EQ(b.id, button->mId) << b.name;
    }
}

}  // namespace
