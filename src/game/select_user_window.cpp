#include "game/select_user_window.h"

#include <algorithm>

#include "core/text.h"
#include "game/user_list.h"
#include "game/user_name_window.h"
#include "ui/window_manager.h"

namespace {
const int kMaxUsers = 6;
const int kDeleteQuestionId = 1;

int UserCount() { return GetUserList() ? GetUserList()->UserCount() : 0; }
}  // namespace

TSelectUserWindow::TSelectUserWindow(TFlyWindowListener* listener, const std::string& layoutFile)
    : TFlyWindow(listener, false, std::string())
{
    // Loaded here, not by the base, so that this window's holder and controls serve; the
    // state stays "shown": the window appears in place and only flies out.
    LoadLayout(layoutFile, true);
    mId = kId;
    mDeleteButton = dynamic_cast<TMyButton*>(FindChild("delete"));
    mOkButton = dynamic_cast<TMyButton*>(FindChild("ok"));
    mCreateButton = dynamic_cast<TMyButton*>(FindChild("create"));
    SetButtonsListener(this);
    for (int i = 0; i < kLines; ++i) mLines[i] = dynamic_cast<TSimpleTextSelected*>(FindChild(FormatString("name%i", i + 1)));
    if (UserCount() > 0) mSelectedIndex = ShownOrNone(std::max(0, GetUserList()->CurrentUserIndex()));
    Refresh();
    UpdateDeleteButton();
}

TUIInfoHolder* TSelectUserWindow::CreateInfoHolder()
{
    mHolder.reset(new TUIInfoHolderSelectUser());
    return mHolder.get();
}

TMyWindow* TSelectUserWindow::CreateControl(TUIBaseBox* d)
{
    // A line is made whatever its "create" says.
    if (!d || d->mKind != kUIKindTextSelected) return TFlyWindow::CreateControl(d);
    TSimpleTextSelected* line = new TSimpleTextSelected();
    AddChild(line);
    line->ApplyLineInfo(static_cast<TUITextSelected*>(d));
    return line;
}

void TSelectUserWindow::Refresh()
{
    for (TSimpleTextSelected* line : mLines) {
        if (!line) continue;
        line->SetName(std::wstring());
        line->SetLineSelected(false);
        line->SetListener(this);
    }
    // The file may hold more players than there are lines: those are not shown.
    const int shown = std::min(UserCount(), static_cast<int>(kLines));
    for (int j = 0; j < shown; ++j) {
        if (!mLines[j]) continue;
        mLines[j]->SetName(WidenStoredName(GetUserList()->UserName(j)));
        mLines[j]->SetLineSelected(j == mSelectedIndex);
    }
}

void TSelectUserWindow::OnWindowMouseUp(TMyWindow* widget, const TMouseEvent& /*event*/)
{
    const int count = std::min(UserCount(), static_cast<int>(kLines));
    int released = -1;
    for (int j = 0; j < count; ++j)
        if (mLines[j] && mLines[j] == widget) released = j;
    if (released < 0) return;
    for (int j = 0; j < count; ++j)
        if (mLines[j]) mLines[j]->SetLineSelected(j == released);
    if (released != mSelectedIndex) {
        mSelectedIndex = released;
        mChoiceMade = true;
    }
}

void TSelectUserWindow::OnButtonClick(int /*parentId*/, TMyWindow* /*parent*/, int buttonId, TMyButton* /*button*/)
{
    switch (buttonId) {
    case 1:
        if (UserCount() >= kMaxUsers)
            ShowMessage("NoMorePlayersAvalible", -1);
        else
            ShowUserNameWindow(this);
        break;
    case 2:
        GetWindowManager()->AddWindow(
            new TMessageBoxOkCancelWindow(this, std::string(), "DeleteWarning", kDeleteQuestionId), 0.0f);
        break;
    case 3:
    case 4:
        Close(0);
        break;
    default:
        break;
    }
}

void TSelectUserWindow::OnFlyClosed(TFlyWindow* window, int id, int result)
{
    if (result != 1 || window == this) return;
    TUserList* users = GetUserList();
    if (!users) return;
    if (id == kDeleteQuestionId) {
        // Only the player the window shows picked may go.
        if (ShownOrNone(mSelectedIndex) < 0) return;
        users->DeleteUser(mSelectedIndex);
        mChoiceMade = true;
        mSelectedIndex = ShownOrNone(users->UserCount() > 0 ? 0 : -1);
        Refresh();
        UpdateDeleteButton();
    } else if (id == TUserNameWindow::kId) {
        // The name dialog is deleted right after this call: its name is read now.
        TUserNameWindow* nameWindow = dynamic_cast<TUserNameWindow*>(window);
        const std::string name = nameWindow ? nameWindow->GetName() : std::string();
        if (name.empty() || users->UserExists(name)) {
            ShowMessage("EnterCorrectName", -1);
            return;
        }
        users->AddUser(name);
        mSelectedIndex = ShownOrNone(users->CurrentUserIndex());
        mChoiceMade = true;
        Refresh();
        UpdateDeleteButton();
    }
}

int TSelectUserWindow::ShownOrNone(int index) const
{
    // The file may hold more players than there are lines, and a layout may lack a line:
    // a player the window does not show can be neither picked nor deleted here.
    const int shown = std::min(UserCount(), static_cast<int>(kLines));
    return index >= 0 && index < shown && mLines[index] ? index : -1;
}

void TSelectUserWindow::UpdateDeleteButton()
{
    if (mDeleteButton) mDeleteButton->mDisabled = UserCount() == 0;
}

void TSelectUserWindow::ShowMessage(const char* key, int id)
{
    GetWindowManager()->AddWindow(new TMessageBoxOkWindow(this, std::string(), key, id), 0.0f);
}
