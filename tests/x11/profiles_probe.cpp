// Whole-program check under a real X server: the profile window over an empty screen in the
// game's window. Prints where its buttons are once it is opaque, its players, lines and
// picked index whenever they change, the name dialog's confirm button and field, and how the
// window closed; tests/x11/profiles_click.sh clicks and types.
#include <cstdio>
#include <string>

#include "core/text.h"
#include "game/select_user_window.h"
#include "game/user_list.h"
#include "game/user_name_window.h"
#include "probe_support.h"

namespace {

struct TProfilesListener : TFlyWindowListener {
    bool mClosed = false;
    std::string mLine;
    void OnFlyClosed(TFlyWindow* window, int id, int result) override
    {
        const TSelectUserWindow* profiles = dynamic_cast<TSelectUserWindow*>(window);
        if (!profiles) return;
        mClosed = true;
        mLine = FormatString("closed id=%d result=%d choice=%d selected=%d", id, result, profiles->mChoiceMade ? 1 : 0,
                             profiles->mSelectedIndex);
    }
};

std::string UsersLine(const TSelectUserWindow* window)
{
    std::string lines;
    for (int i = 0; i < TSelectUserWindow::kLines; ++i) {
        if (i) lines += "|";
        if (window->mLines[i]) lines += ToUtf8(window->mLines[i]->mText);
    }
    const int users = GetUserList() ? GetUserList()->UserCount() : 0;
    return FormatString("users=%d lines=%s selected=%d", users, lines.c_str(), window->mSelectedIndex);
}

}  // namespace

int main()
{
    if (!StartGame()) {
        std::fprintf(stderr, "start-up failed\n");
        return 2;
    }
    ShowProbeScreen();
    TAppState& app = GetAppState();
    TMyWindowManager* manager = GetWindowManager();
    TProfilesListener listener;
    auto* window = new TSelectUserWindow(&listener);
    manager->AddWindow(window, 0);

    int status = 0;
    bool shown = false;
    std::string users, field;
    const TUserNameWindow* named = nullptr;  // the name dialog last reported as shown
    const Uint32 start = SDL_GetTicks();
    while (!app.mQuit) {
        RunFrame();
        // The window is deleted once it has closed: nothing of it is read after that.
        if (listener.mClosed) {
            std::printf("%s\n", listener.mLine.c_str());
            break;
        }
        const std::string nowUsers = UsersLine(window);
        if (nowUsers != users) std::printf("%s\n", nowUsers.c_str());
        users = nowUsers;
        if (!shown && window->mAlpha >= 1.0f) {
            const unsigned long id = ProbeWindowId();
            if (!id) {
                status = 1;
                break;
            }
            shown = true;
            int createX = 0, createY = 0, okX = 0, okY = 0;
            ButtonCentre(window, "create", &createX, &createY);
            ButtonCentre(window, "ok", &okX, &okY);
            std::printf("shown window=%lu create=%d,%d ok=%d,%d\n", id, createX, createY, okX, okY);
        }
        TUserNameWindow* name = dynamic_cast<TUserNameWindow*>(manager->FindTopModal());
        if (!name || !name->mEdit) {
            named = nullptr;
        } else if (name != named && name->GetState() == TFlyWindow::kShown && name->mAlpha >= 1.0f) {
            named = name;
            field = ToUtf8(name->mEdit->mText);
            int confirmX = 0, confirmY = 0;
            ButtonCentre(name, "ok", &confirmX, &confirmY);
            std::printf("name shown confirm=%d,%d field=%s\n", confirmX, confirmY, field.c_str());
        } else if (name == named && ToUtf8(name->mEdit->mText) != field) {
            field = ToUtf8(name->mEdit->mText);
            std::printf("field=%s\n", field.c_str());
        }
        std::fflush(stdout);
        if (ProbeGaveUp(start, 30000, "no answer")) {
            status = 1;
            break;
        }
        SDL_Delay(5);
    }
    return EndProbe(status);
}
