// The profile window: the players by name in six lines, to pick one, create one (through
// the name dialog) or delete the picked one. The players list changes at once; the listener
// reads the choice and the picked index when the window has flown out.
#pragma once
#include <string>

#include "game/selected_text.h"
#include "ui/classic_window.h"

class TSelectUserWindow : public TFlyWindow, public TFlyWindowListener, public TMyWindowListener {
public:
    static constexpr int kId = 305;
    static const int kLines = 6;

    // Another layout serves only tests of layouts that lack or mistype lines.
    explicit TSelectUserWindow(TFlyWindowListener* listener, const std::string& layoutFile = "ui/selectuser.xml");

    TUIInfoHolder* CreateInfoHolder() override;
    TMyWindow* CreateControl(TUIBaseBox* d) override;
    void Refresh();

    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    // The dialogs this window opened; its own closing passes here too and does nothing.
    void OnFlyClosed(TFlyWindow* window, int id, int result) override;
    void OnWindowMouseUp(TMyWindow* widget, const TMouseEvent& event) override;

    TMyButton* mDeleteButton = nullptr;
    TMyButton* mOkButton = nullptr;
    TMyButton* mCreateButton = nullptr;
    // Null where the layout has no selectable line of that name.
    TSimpleTextSelected* mLines[kLines] = {};
    int mSelectedIndex = -1;
    bool mChoiceMade = false;

private:
    // The index when a line shows that player, else -1.
    int ShownOrNone(int index) const;
    void UpdateDeleteButton();
    void ShowMessage(const char* key, int id);
};
