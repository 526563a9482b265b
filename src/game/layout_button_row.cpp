#include "game/layout_button_row.h"

void LayoutButtonRow(const TWindowRect& box, const std::vector<TMyWindow*>& all)
{
    std::vector<TMyWindow*> widgets;
    for (TMyWindow* w : all)
        if (w) widgets.push_back(w);
    if (widgets.empty()) return;
    const int n = static_cast<int>(widgets.size());

    int sumH = 0;
    int sumW = 0;
    for (const TMyWindow* w : widgets) {
        sumH += w->GetHeight();
        sumW += w->GetWidth();
    }

    // Layouts rely on the strict test below: a widget that would reach the box's bottom
    // shares the previous widget's y rather than leaving the box.
    const int gapY = box.mH > sumH ? (box.mH - sumH) / (n + 1) : 0;
    int y = box.mY + gapY;
    for (TMyWindow* w : widgets) {
        w->SetPosition(w->GetX(), y);
        if (y + w->GetHeight() + gapY < box.mY + gapY + box.mH) y += w->GetHeight() + gapY;
    }

    if (box.mW > sumW) {
        const int gapX = (box.mW - sumW) / (n + 1);
        int x = box.mX + gapX;
        for (TMyWindow* w : widgets) {
            w->SetPosition(x, w->GetY());
            x += w->GetWidth() + gapX;
        }
    } else {
        const int x = box.mX + (box.mW - widgets.front()->GetWidth()) / 2;
        for (TMyWindow* w : widgets) w->SetPosition(x, w->GetY());
    }
}
