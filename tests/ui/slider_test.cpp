// Sliders: where the thumb is drawn, what presses, drags and releases do to the value, and
// what the listener hears.
#include "ui/slider.h"

#include <cmath>
#include <limits>

#include "graphics/drawing_fixture.h"
#include "ui/cursors.h"
#include "ui/ui_elements.h"
#include "ui/ui_test_layout.h"

namespace {

struct TSliderLog : TBaseSliderListener {
    std::vector<std::string> heard;
    void OnSliderChanged(int id, float value, TBaseSlider*) override
    {
        heard.push_back("changed " + std::to_string(id) + " " + std::to_string(value));
    }
    void OnSliderReleased(int id, float value, TBaseSlider*) override
    {
        heard.push_back("released " + std::to_string(id) + " " + std::to_string(value));
    }
};

struct TWindowLog : TMyWindowListener {
    int heard = 0;
    void OnWindowMouseDown(TMyWindow*, const TMouseEvent&) override { ++heard; }
    void OnWindowMouseUp(TMyWindow*, const TMouseEvent&) override { ++heard; }
    void OnWindowMouseMove(TMyWindow*, const TMouseEvent&) override { ++heard; }
};

std::string Changed(float v) { return "changed 7 " + std::to_string(v); }
std::string Released(float v) { return "released 7 " + std::to_string(v); }

class SliderTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        SolidPng("track220.png", 220, 20, SDL_Color{0, 0, 255, 255});
        SolidPng("track20.png", 20, 20, SDL_Color{0, 0, 255, 255});
        SolidPng("track232.png", 232, 28, SDL_Color{0, 0, 255, 255});
        SolidPng("thumb.png", 28, 28, SDL_Color{255, 0, 0, 255});
        SolidPng("thumb4.png", 4, 20, SDL_Color{255, 0, 0, 255});
    }
    TBaseSlider* Make(const std::string& attributes)
    {
        const TUIBaseSlider* info = ReadObject<TUIBaseSlider>(
            mHolder, "<object name=\"o\" type=\"slider\" id=\"7\" " + attributes + "/>");
        EXPECT_NE(info, nullptr);
        TBaseSlider* slider = CreateSlider(info, &mScreen);
        slider->mSliderListener = &mLog;
        return slider;
    }

    // The widgets hold textures, which must go before the renderer.
    void TearDown() override
    {
        mScreen.RemoveAllChildren(true, false);
        CanvasTest::TearDown();
    }

    TUIInfoHolder mHolder;
    TMyWindow mScreen;
    TSliderLog mLog;
};

TEST_F(SliderTest, ThumbCentreAndPressWithoutNotice)
{
    TBaseSlider* slider = Make("image=\"track220\" tumb=\"thumb4\" xoffset=\"10\" x=\"30\" y=\"40\" value=\"0.5\"");
    EXPECT_EQ(slider->GetWidth(), 220);
    EXPECT_EQ(slider->GetHeight(), 20);
    Clear(0, 0, 0);
    mScreen.Draw();
    ExpectPixel(30 + 108, 45, 255, 0, 0);  // the 4-wide thumb covers 108..111 around 110
    ExpectPixel(30 + 111, 45, 255, 0, 0);
    ExpectPixel(30 + 107, 45, 0, 0, 255);
    ExpectPixel(30 + 112, 45, 0, 0, 255);

    slider->mRangeMax = 100;
    slider->OnMouseDown(PointerAt(60, 5, 1));
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
    EXPECT_TRUE(mLog.heard.empty());
    slider->OnMouseUp(PointerAt(60, 5, 1));
    EXPECT_EQ(mLog.heard, (std::vector<std::string>{Changed(25), Released(25)}));
}

TEST_F(SliderTest, RangeMapping)
{
    TBaseSlider* slider = Make("image=\"track220\" tumb=\"thumb4\"");
    slider->SetValue(0.25f);
    EXPECT_FLOAT_EQ(slider->GetRangeValue(), 0.25f);  // 0..0 reports the raw value
    slider->mRangeMin = 10;
    slider->mRangeMax = 10;
    EXPECT_FLOAT_EQ(slider->GetRangeValue(), 0.25f);
    slider->mRangeMin = 0;
    slider->mRangeMax = 100;
    EXPECT_FLOAT_EQ(slider->GetRangeValue(), 25.0f);
    slider->SetValue(3);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    slider->SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
}

TEST_F(SliderTest, DragClampsAndReportsOnlyChanges)
{
    TBaseSlider* slider = Make("image=\"track220\" tumb=\"thumb4\" xoffset=\"10\"");
    slider->OnMouseDown(PointerAt(110, 5, 1));
    for (int x : {160, 300, 400, 210, -50, -80}) slider->OnMouseDrag(PointerAt(x, 5, 1));
    EXPECT_EQ(mLog.heard, (std::vector<std::string>{Changed(0.75f), Changed(1), Changed(0)}));
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.0f);
}

TEST_F(SliderTest, ThumbIsTheGrabZone)
{
    WriteWholeFile(AssetPath("cursors.xml"), "<cursorset><cursors><cursor name=\"default\"/><cursor name=\"drag\"/>"
                                             "</cursors></cursorset>");
    LoadCursors("cursors.xml");
    TBaseSlider* slider = Make("image=\"track232\" tumb=\"thumb\" xoffset=\"14\" value=\"0.5\"");
    EXPECT_FALSE(slider->InGrabZone(101, 5));
    EXPECT_TRUE(slider->InGrabZone(102, 5));
    EXPECT_TRUE(slider->InGrabZone(129, 27));
    EXPECT_FALSE(slider->InGrabZone(130, 5));
    slider->OnMouseMove(PointerAt(110, 5, 0));
    EXPECT_EQ(GetGameCursors()->Current()->mName, "drag");
    slider->OnMouseMove(PointerAt(60, 5, 0));
    EXPECT_EQ(GetGameCursors()->Current()->mName, "default");

    slider->OnMouseDown(PointerAt(110, 5, 1));
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
    EXPECT_TRUE(slider->mDragging);
    slider->OnMouseLeave();
    slider->OnMouseMove(PointerAt(110, 5, 0));
    slider->OnMouseUp(PointerAt(110, 5, 1));
    EXPECT_FALSE(slider->mDragging);
    EXPECT_EQ(GetGameCursors()->Current()->mName, "default");
    slider->OnMouseDown(PointerAt(60, 5, 1));
    EXPECT_FLOAT_EQ(slider->GetValue(), (60.0f - 14) / 204);
    DestroyCursors();
}

TEST_F(SliderTest, TrackWithoutWidthLeavesTheValue)
{
    TBaseSlider* zero = Make("image=\"track20\" tumb=\"thumb4\" xoffset=\"10\" value=\"0.5\"");
    TBaseSlider* negative = Make("image=\"missing\" tumb=\"thumb\" xoffset=\"14\" value=\"0.5\"");
    for (TBaseSlider* slider : {zero, negative}) {
        mLog.heard.clear();
        slider->OnMouseDown(PointerAt(10, 5, 1));
        slider->OnMouseDrag(PointerAt(3, 5, 1));
        slider->OnMouseDrag(PointerAt(16, 5, 1));
        EXPECT_FLOAT_EQ(slider->GetValue(), 0.5f);
        slider->OnMouseUp(PointerAt(16, 5, 1));
        EXPECT_EQ(mLog.heard, (std::vector<std::string>{Changed(0.5f), Released(0.5f)}));
        Clear(0, 0, 0);
        mScreen.Draw();
    }
}

TEST_F(SliderTest, NoPressSoundOrWindowListener)
{
    TBaseSlider* slider = Make("image=\"track220\" tumb=\"thumb4\" xoffset=\"10\"");
    TWindowLog windowLog;
    slider->mListener = &windowLog;
    slider->mPressSound = "no-such-sound";
    slider->OnMouseDown(PointerAt(50, 5, 1));
    slider->OnMouseMove(PointerAt(60, 5, 0));
    slider->OnMouseUp(PointerAt(60, 5, 1));
    EXPECT_EQ(windowLog.heard, 0);
}

}  // namespace
