#include "game/layout_button_row.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {
struct TRowCase {
    TWindowRect box;
    int count, w, h;
    std::vector<int> xs, ys;
};
}  // namespace

TEST(LayoutButtonRowTest, PlacesRowsAndColumnsWithTruncatingGaps)
{
    const TRowCase cases[] = {
        {{100, 50, 700, 40}, 3, 100, 40, {200, 400, 600}, {50, 50, 50}},  // row along the top
        {{0, 0, 300, 100}, 3, 80, 40, {15, 110, 205}, {0, 40, 80}},       // no vertical room: strict test
        {{0, 0, 99, 400}, 3, 120, 50, {-10, -10, -10}, {62, 174, 286}},   // narrower than the widths
    };
    for (const TRowCase& c : cases) {
        std::vector<std::unique_ptr<TMyWindow>> owned;
        std::vector<TMyWindow*> widgets;
        for (int i = 0; i < c.count; ++i) {
            owned.push_back(std::make_unique<TMyWindow>());
            owned.back()->SetRect(7, 9, c.w, c.h);
            widgets.push_back(owned.back().get());
        }
        LayoutButtonRow(c.box, widgets);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(c.xs[i], widgets[i]->GetX()) << "box w " << c.box.mW << " widget " << i;
            EXPECT_EQ(c.ys[i], widgets[i]->GetY()) << "box w " << c.box.mW << " widget " << i;
            EXPECT_EQ(c.w, widgets[i]->GetWidth());
        }
    }
}

TEST(LayoutButtonRowTest, EmptyBoxTouchesNothing)
{
    LayoutButtonRow({0, 0, 100, 100}, {});
    LayoutButtonRow({0, 0, 100, 100}, {nullptr});
}
