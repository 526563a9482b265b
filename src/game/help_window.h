// The help dialog: flies in over the current screen with the book of "help.xml", steps
// through its pages with the arrows and flies out on close.
#pragma once
#include "game/help_pages.h"
#include "ui/classic_window.h"

class THelpWindow : public TFlyWindow {
public:
    static constexpr int kId = 333;
    enum { kButtonPrev = 1, kButtonClose = 2, kButtonNext = 3 };

    explicit THelpWindow(TFlyWindowListener* listener);

    bool Update(float dt) override;
    void DrawSelf() override;
    // The arrows page and must not close the dialog; close flies out with the result 0.
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    // An arrow shows only where there is a page to go to.
    void UpdateButtons();

    THelpPages& GetPages() { return mPages; }

private:
    TMyButton* mPrev = nullptr;  // children of the dialog; any may be missing from the layout
    TMyButton* mNext = nullptr;
    TMyButton* mClose = nullptr;
    THelpPages mPages;
};
