// Layout text parsed in the test and read into a holder, for the layout reader tests.
#pragma once
#include <string>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include "core/xml_document.h"
#include "ui/ui_info_holder.h"

// Reads "<layout>" + children + "</layout>" into the holder; false when the text does not parse.
inline bool LoadLayoutText(TUIInfoHolder& holder, const std::string& children)
{
    TiXmlDocument doc;
    std::string text = "<layout>" + children + "</layout>";
    ParseXmlText(&doc, text);
    if (doc.Error()) return false;
    return holder.Load(doc.RootElement());
}

// The one description named "o" of a layout, as its kind, or null.
template <class T>
const T* ReadObject(TUIInfoHolder& holder, const std::string& children)
{
    if (!LoadLayoutText(holder, children)) return nullptr;
    return dynamic_cast<const T*>(holder.Find("o"));
}

inline void ExpectColor(const TFloatColor& c, float r, float g, float b, float a)
{
    EXPECT_FLOAT_EQ(c.r, r);
    EXPECT_FLOAT_EQ(c.g, g);
    EXPECT_FLOAT_EQ(c.b, b);
    EXPECT_FLOAT_EQ(c.a, a);
}

// The description as its class; a failure (and a blank one) when it is another class.
template <class T>
const T& As(const TUIBaseBox& box)
{
    if (const T* t = dynamic_cast<const T*>(&box)) return *t;
    ADD_FAILURE() << "description of another class";
    static const T blank;
    return blank;
}

// A row of a kind-reader table: layout children with the object "o", its kind code and what
// else must hold.
struct TLayoutRow {
    const char* layout;
    int kind;
    void (*check)(const TUIBaseBox&);
};

template <size_t N>
void CheckLayoutRows(const TLayoutRow (&rows)[N])
{
    for (const TLayoutRow& row : rows) {
        SCOPED_TRACE(row.layout);
        TUIInfoHolder holder;
        ASSERT_TRUE(LoadLayoutText(holder, row.layout));
        const TUIBaseBox* box = holder.Find("o");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->mKind, row.kind);
        if (row.check) row.check(*box);
    }
}
