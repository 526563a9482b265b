#include "game/user_list.h"

namespace {
TUserList* gUsers = nullptr;
}

void SetUserList(TUserList* users) { gUsers = users; }

TUserList* GetUserList() { return gUsers; }
