// Repeaters: when they play their client again, their saved interval and their copies.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include "core/buffer.h"
#include "core/xml_document.h"
#include "graphics/repeater.h"
#include "test_support.h"

namespace {
class TCountingClient : public TRepeaterClient {
public:
    void Play() override { ++mPlays; }
    int mPlays = 0;
};

SharedPtr<TRepeater> Make(const std::string& xml, TRepeaterClient* client)
{
    TiXmlDocument doc;
    ParseXmlText(&doc, xml);
    return CreateRepeater(doc.RootElement(), client);
}
}  // namespace

TEST(Repeater, PlaysAfterTheFirstIntervalThenAfterEachNext)
{
    TCountingClient client;
    SharedPtr<TRepeater> every = Make("<repeater/>", &client);
    for (int i = 0; i < 3; ++i) every->Update(0.1f);
    EXPECT_EQ(client.mPlays, 3);  // no interval: every update

    TCountingClient late;
    SharedPtr<TRepeater> first = Make("<repeater stime='2' time='1'/>", &late);
    for (int i = 0; i < 7; ++i) first->Update(0.25f);
    EXPECT_EQ(late.mPlays, 0);
    first->Update(0.25f);
    EXPECT_EQ(late.mPlays, 1);
    for (int i = 0; i < 4; ++i) first->Update(0.25f);
    EXPECT_EQ(late.mPlays, 2);

    EXPECT_FALSE(Make("<repeater type='fixed'/>", &client));
}

TEST(Repeater, StateIsTheRunningIntervalAndCopiesPlayTheirOwnClient)
{
    TCountingClient client, other;
    SharedPtr<TRepeater> source = Make("<repeater stime='2'/>", &client);
    TBaseBuffer buffer;
    source->SaveState(buffer);
    EXPECT_EQ(ToHex(std::string(buffer.Bytes().begin(), buffer.Bytes().end())), ToHex(HexBytes("D0 07 00 00 01")));

    source->Update(1.0f);
    std::unique_ptr<TRepeater> copy(source->CopyFor(&other));
    copy->Update(1.0f);  // the copy keeps the second already run
    EXPECT_EQ(other.mPlays, 1);
    EXPECT_EQ(client.mPlays, 0);

    // A restored repeater waits its whole interval again.
    SharedPtr<TRepeater> restored = Make("<repeater stime='5'/>", &client);
    restored->LoadState(buffer);
    restored->Update(1.5f);
    EXPECT_EQ(client.mPlays, 0);
    restored->Update(0.5f);
    EXPECT_EQ(client.mPlays, 1);
}
