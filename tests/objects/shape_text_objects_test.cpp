// Polygon click areas, text labels and the two-picture switch.
#include <gtest/gtest.h>

#include "objects/object_scene_fixture.h"
#include "objects/shape_text_objects.h"
#include "rooms/test_space.h"

TEST(Shape, AnswersInsideItsOutline)
{
    struct Case {
        const char* points;
        int x, y;
        bool inside;
    };
    const Case cases[] = {
        {"0.0;100.0;0.100", 10, 10, true},
        {"0.0;100.0;0.100", 90, 90, false},
        // First and last share x: still closed.
        {"100.0;0.50;100.100", 70, 40, true},
        {"100.0;0.50;100.100", 10, 40, false},
        // Two points: the rectangle alone.
        {"0.0;100.100", 90, 90, true},
        {"0.0;100.100", 101, 50, false},
        // Large coordinates need a wide product.
        {"0.0;100000.0;0.100000", 10, 10, true},
        {"0.0;100000.0;0.100000", 90000, 90000, false},
    };
    for (const Case& c : cases) {
        auto shape = LoadObjectFrom<TShapeObject>(std::string("<object points='") + c.points + "'/>");
        EXPECT_TRUE(shape->mDummy);
        EXPECT_EQ(c.inside, shape->HitTestSelf(c.x, c.y)) << c.points << " at " << c.x << "," << c.y;
    }

    auto none = LoadObjectFrom<TShapeObject>("<object x='5' y='5' w='10' h='10'/>");
    EXPECT_TRUE(none->HitTestSelf(6, 6));
    EXPECT_FALSE(none->HitTestSelf(15, 6));
    auto locked = LoadObjectFrom<TShapeObject>("<object points='0.0;100.0;0.100'/>");
    locked->mLocked = true;
    EXPECT_FALSE(locked->HitTestSelf(10, 10));
    locked->mLocked = false;
    locked->SetVisible(false);
    EXPECT_FALSE(locked->HitTestSelf(10, 10));
}

TEST(TextObject, WithoutATextDescriptionEverythingIsSafe)
{
    for (const char* xml : {"<object/>", "<object><object name='text' type='rect' rect='1.2.3.4'/></object>"}) {
        auto label = LoadObjectFrom<TTextObject>(xml);
        EXPECT_EQ(nullptr, label->mText) << xml;
        label->SetPosition(10.7f, 20.2f, true);
        label->SetText("12/30");
        label->Draw(1.0f);
    }
}

TEST(ImageSwitch, ReadsTogglesAndKeepsItsRecord)
{
    auto holder = LoadObjectFrom<TTextInfoSwitchImageObject>(
        "<object text='note' preview='p'><image_switcher flag='1'>"
        "<image filename='a' x='200' y='100'/><image filename='b'/></image_switcher></object>");
    EXPECT_EQ("note", holder->mText);
    EXPECT_TRUE(holder->mSwitch.mSwitched);
    EXPECT_EQ("scene/a", holder->mSwitch.mFirstImage.mTextureName);
    EXPECT_EQ("scene/b", holder->mSwitch.mSecondImage.mTextureName);
    EXPECT_EQ("scene/p", holder->mPreviewImage.mTextureName);
    EXPECT_EQ(&holder->mSwitch.mSecondImage, &holder->mSwitch.Current());
    EXPECT_TRUE(holder->mSwitch.Toggle());
    EXPECT_EQ(&holder->mSwitch.mFirstImage, &holder->mSwitch.Current());

    holder->mSwitch.SetSecondFlag(false);
    TBaseBuffer buffer;
    holder->SaveState(buffer);
    auto restored = LoadObjectFrom<TTextInfoSwitchImageObject>("<object/>");
    restored->mSwitch.mSwitched = true;
    TBaseBuffer objectOnly;
    restored->TObject::SaveState(objectOnly);
    EXPECT_EQ(objectOnly.Bytes().size() + 2, buffer.Bytes().size());
    restored->LoadState(buffer);
    EXPECT_FALSE(restored->mSwitch.mSwitched);
    EXPECT_FALSE(restored->mSwitch.GetSecondFlag());

    auto single = LoadObjectFrom<TTextInfoSwitchImageObject>(
        "<object><image_switcher><image filename='a'/></image_switcher></object>");
    EXPECT_TRUE(single->mSwitch.mSecondImage.mTextureName.empty());
    EXPECT_EQ("textures/", LoadObjectFrom<TTextInfoSwitchImageObject>("<object/>", "")->mPreviewImage.mTextureName);
}

using SwitchCanvasTest = SceneCanvasTest;

TEST_F(SwitchCanvasTest, IsHitWhereItsPictureIsDrawn)
{
    auto holder = LoadObjectFrom<TTextInfoSwitchImageObject>(
        "<object><image_switcher><image filename='pic' x='200' y='100'/></image_switcher></object>", "scene/");
    holder->LoadResources();
    ASSERT_NE(nullptr, holder->mSwitch.mFirstImage.GetTexture());
    EXPECT_TRUE(holder->HitTestSelf(210, 110));
    EXPECT_TRUE(holder->HitTestSelf(231, 115));
    EXPECT_FALSE(holder->HitTestSelf(10, 10));  // the picture's own corner is not where it is drawn
    EXPECT_FALSE(holder->HitTestSelf(232, 110));
    holder->mSwitch.SetSecondFlag(false);  // drawn or not, the picture still answers
    EXPECT_TRUE(holder->HitTestSelf(210, 110));
}

TEST_F(SwitchCanvasTest, DrawsTheCurrentPictureWhileItsSecondFlagSaysAndNeverThePreview)
{
    SolidPng("scene/one.png", 10, 10, SDL_Color{255, 0, 0, 255});
    SolidPng("scene/two.png", 10, 10, SDL_Color{0, 255, 0, 255});
    SolidPng("scene/peek.png", 10, 10, SDL_Color{255, 255, 255, 255});
    auto holder = LoadObjectFrom<TTextInfoSwitchImageObject>(
        "<object preview='peek' previewx='300' previewy='100'><image_switcher flag='1'>"
        "<image filename='one' x='100' y='100'/><image filename='two' x='200' y='100'/></image_switcher></object>",
        "scene/");
    holder->LoadResources();
    ASSERT_NE(nullptr, holder->mPreviewImage.GetTexture());
    auto drawn = [&]() {
        Clear(0, 0, 0);
        holder->Draw(1.0f);
        std::string shown;
        if (Pixel(105, 105).r == 255) shown += "first ";
        if (Pixel(205, 105).g == 255) shown += "second ";
        if (Pixel(305, 105).b == 255) shown += "preview";
        return shown;
    };
    EXPECT_EQ("second ", drawn());
    holder->mSwitch.Toggle();
    EXPECT_EQ("first ", drawn());
    holder->mSwitch.SetSecondFlag(false);
    EXPECT_EQ("", drawn());
    holder->FreeResources();
}

TEST(Shape, AnswersAroundItsOwnersOffset)
{
    TTestSpace space(nullptr, 40.0f, 30.0f);
    auto shape = LoadObjectFrom<TShapeObject>("<object points='0.0;100.0;0.100'/>", "", &space);
    EXPECT_TRUE(shape->HitTestSelf(50, 40));
    EXPECT_FALSE(shape->HitTestSelf(10, 10));
}
