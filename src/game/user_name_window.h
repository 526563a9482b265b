// The dialog where a new player types a name: Latin and Cyrillic letters and digits, up to
// ten. Its listener reads the name when the dialog has flown out with result 1.
#pragma once
#include <string>

#include "ui/classic_window.h"

class TUserNameWindow : public TFlyWindow, public TMyWindowListener {
public:
    static constexpr int kId = 101;

    explicit TUserNameWindow(TFlyWindowListener* listener);
    ~TUserNameWindow() override;

    bool AcceptChar(int editId, int character) override;
    void OnButtonClick(int parentId, TMyWindow* parent, int buttonId, TMyButton* button) override;
    // UTF-8.
    std::string GetName() const;

    TMyEditWindow* mEdit = nullptr;
};

// Adds a name dialog on top of the window stack, at once.
void ShowUserNameWindow(TFlyWindowListener* listener);
