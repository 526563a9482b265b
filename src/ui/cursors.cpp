#include "ui/cursors.h"

#include "core/app_state.h"

namespace {
TGameCursors* gCursors = nullptr;
}

void LoadCursors(const std::string& /*path*/)
{
    if (!gCursors) gCursors = new TGameCursors();
}

TGameCursors* GetCursors() { return gCursors; }

void DestroyCursors()
{
    delete gCursors;
    gCursors = nullptr;
}
