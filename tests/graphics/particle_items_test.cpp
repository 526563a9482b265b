#include "graphics/particle_items.h"

#include <tinyxml.h>

#include "core/xml_document.h"
#include "particle_fixture.h"

namespace {

class ParticleItemsTest : public ParticleCanvasTest {
protected:
    void SetUp() override
    {
        ParticleCanvasTest::SetUp();
        // Still white squares at the emitter, or slow drifting ones with a lifetime.
        Describe("glow.ini", "fLifetime=-1\r\nfSpeedMin=0\r\nfSpeedMax=0\r\nSrcAreaType=1\r\n");
        Describe("short.ini", "fLifetime=0.5\r\nfSpeedMin=1\r\nfSpeedMax=1\r\n");
        Describe("long.ini", "fLifetime=1\r\nfSpeedMin=1\r\nfSpeedMax=1\r\n");
    }

    void Describe(const char* name, const std::string& keys)
    {
        ASSERT_TRUE(WriteWholeFile(AssetPath(std::string("particles/") + name),
                                   "[Default]\r\nnEmission=100\r\nfParticleLifeMin=100\r\nfParticleLifeMax=100\r\n"
                                   "ImageFile=textures/sheet\r\nTextureRect0=0,0,8,8\r\nfSizeStart=1\r\nfSizeEnd=1\r\n"
                                   "colColorStartR=1\r\ncolColorStartG=1\r\ncolColorStartB=1\r\ncolColorStartA=1\r\n"
                                   "colColorEndR=1\r\ncolColorEndG=1\r\ncolColorEndB=1\r\ncolColorEndA=1\r\n" +
                                       keys));
    }

    void LoadVectors(TParticleVectors& vectors, const std::string& xml)
    {
        TiXmlDocument doc;
        ASSERT_TRUE(ParseXmlText(&doc, xml));
        vectors.LoadXml(doc.RootElement());
    }
};

TEST_F(ParticleItemsTest, LayersActivityAndPlacement)
{
    TParticleVectors vectors;
    LoadVectors(vectors, "<p><object particle=\"particles/glow.ini\" x=\"20\" y=\"30\" z=\"-1\" active=\"1\"/>"
                         "<object particle=\"particles/glow.ini\" x=\"200\" y=\"30\"/><other/></p>");
    ASSERT_EQ(2u, vectors.mItems.size());
    vectors.Update(0.1f);
    EXPECT_EQ(10, vectors.mItems[0]->GetSystem()->Count());
    EXPECT_EQ(0, vectors.mItems[1]->GetSystem()->Count()) << "inactive until restarted";

    Clear(0, 0, 0);
    vectors.DrawLayer(-1, 1.0f);
    EXPECT_EQ(SDL_Rect({20, 30, 8, 8}), DrawnBox(0, 0, 0));

    vectors.mItems[1]->Restart();
    vectors.Update(0.1f);
    EXPECT_EQ(10, vectors.mItems[1]->GetSystem()->Count());
    Clear(0, 0, 0);
    vectors.DrawLayer(0, 1.0f);
    EXPECT_EQ(SDL_Rect({200, 30, 8, 8}), DrawnBox(0, 0, 0));

    // Moving the list shifts the drawing of the particles already out.
    vectors.SetPosition(10, 5, true);
    Clear(0, 0, 0);
    vectors.DrawLayer(-1, 1.0f);
    EXPECT_EQ(SDL_Rect({30, 35, 8, 8}), DrawnBox(0, 0, 0));

    vectors.mItems[0]->SetVisible(false);
    Clear(0, 0, 0);
    vectors.Draw(1.0f);
    EXPECT_EQ(SDL_Rect({210, 35, 8, 8}), DrawnBox(0, 0, 0));
}

TEST_F(ParticleItemsTest, ListIsDoneWhenEveryEmitterHasStopped)
{
    TParticleVectors vectors;
    LoadVectors(vectors, "<p><object particle=\"particles/short.ini\" x=\"100\" y=\"100\" active=\"1\"/>"
                         "<object particle=\"particles/long.ini\" x=\"100\" y=\"100\" active=\"1\"/></p>");
    const bool want[] = {false, false, false, true};
    for (int i = 0; i < 4; ++i) {
        const float before = vectors.mItems[0]->GetSystem()->At(0).y;
        const int emitted = vectors.mItems[1]->GetSystem()->Count();
        EXPECT_EQ(want[i], vectors.Update(0.25f)) << "update " << i + 1;
        if (i > 0) {
            EXPECT_NE(before, vectors.mItems[0]->GetSystem()->At(0).y) << "still moving";
        }
        EXPECT_EQ(emitted + (want[i] ? 0 : 25), vectors.mItems[1]->GetSystem()->Count()) << "the long one emits";
    }
    EXPECT_TRUE(vectors.mItems[0]->Update(0.0f)) << "a done item stays done";

    TParticleItem empty;
    EXPECT_FALSE(empty.Update(0.25f));
}

}  // namespace
