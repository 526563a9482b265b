// Tools and rooms read from the finds room under tests/data/rooms, with a small picture for
// every name it uses written into the drawing fixture's assets folder, and a counting effect
// that tools can show.
#pragma once
#include <tinyxml.h>

#include <memory>
#include <string>

#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "graphics/drawing_fixture.h"
#include "rooms/tool.h"

inline std::string FindsRoomPath() { return std::string(BRISALO_TEST_DATA) + "/rooms/finds_room.xml"; }

// Counts every effect made and destroyed; done after a set number of updates (never with 0).
class TCountingEffect : public TToolEffect {
public:
    explicit TCountingEffect(int updatesToDone = 0) : mUpdatesToDone(updatesToDone) { ++sMade; }
    TCountingEffect(const TCountingEffect& other) : TToolEffect(other), mUpdatesToDone(other.mUpdatesToDone)
    {
        ++sMade;
    }
    ~TCountingEffect() override { ++sDestroyed; }

    std::unique_ptr<TToolEffect> Clone() const override { return std::make_unique<TCountingEffect>(*this); }
    bool Update(float /*dt*/) override
    {
        ++mUpdates;
        if (mUpdatesToDone > 0 && mUpdates >= mUpdatesToDone) mDone = true;
        return mDone;
    }
    void Reset() override
    {
        ++mResets;
        mUpdates = 0;
        mDone = false;
    }

    static void ResetCounts() { sMade = sDestroyed = 0; }

    int mUpdatesToDone;
    int mUpdates = 0;
    int mResets = 0;
    static inline int sMade = 0;
    static inline int sDestroyed = 0;
};

class ToolTest : public CanvasTest {
protected:
    void SetUp() override
    {
        CanvasTest::SetUp();
        WriteFindsPictures();
        TCountingEffect::ResetCounts();
    }

    void TearDown() override
    {
        GlobalToolsList().Clear();
        NamedEffectsRegistry().clear();
        CanvasTest::TearDown();
    }

    void WriteFindsPictures()
    {
        const SDL_Color grey{128, 128, 128, 255};
        for (const char* folder : {"textures/tools/key", "textures/tools/lamp", "textures/tools/catcher",
                                   "textures/tools/spare", "textures/amulet", "finds"})
            MakeFolder(folder);
        for (const char* name :
             {"textures/tools/key/wnd", "textures/tools/key/inv", "textures/tools/lamp/wnd", "textures/tools/lamp/inv",
              "textures/tools/lamp/glass1", "textures/tools/lamp/glass2", "textures/tools/lamp/wick1",
              "textures/tools/lamp/wick2", "textures/tools/catcher/wnd", "textures/tools/catcher/inv",
              "textures/tools/spare/wnd", "textures/tools/spare/inv", "textures/amulet/fly", "textures/amulet/left",
              "textures/amulet/left_inv", "textures/amulet/left_fly", "textures/amulet/right",
              "textures/amulet/right_inv", "textures/amulet/right_fly", "map_inv", "textures/map_fly", "finds/ring",
              "finds/cup", "finds/vase", "finds/coin", "finds/stain", "finds/lever", "finds/drawer", "finds/door",
              "finds/box", "finds/plain", "finds/sign", "finds/cabinet", "finds/handle"})
            SolidPng(std::string(name) + ".png", 8, 8, grey);
    }

    // A tool read from the text of one "tool" element.
    static std::unique_ptr<TTool> ToolFrom(const std::string& xml)
    {
        TiXmlDocument doc;
        ParseXmlText(&doc, xml);
        std::unique_ptr<TTool> tool = CreateTool(GetAttrString(doc.RootElement(), "type", ""));
        tool->LoadXml(doc.RootElement());
        return tool;
    }
};
