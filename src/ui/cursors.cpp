#include "ui/cursors.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <tinyxml.h>

#include "core/logger.h"
#include "core/system.h"
#include "core/xml_attributes.h"
#include "core/xml_document.h"
#include "graphics/texture.h"

namespace {

TGameCursors* gCursors = nullptr;

// Far beyond any picture, and small enough that positions computed from it stay in range.
const long kCursorCoordinateLimit = 1 << 20;

// Reads up to `count` integers separated by commas; the ones the text lacks stay as they are.
void ReadIntList(const std::string& text, const char* what, int* values[], int count)
{
    const char* p = text.c_str();
    for (int i = 0; i < count && *p; ++i) {
        char* end = nullptr;
        long v = std::strtol(p, &end, 10);
        if (end == p) return;
        if (v > kCursorCoordinateLimit || v < -kCursorCoordinateLimit) {
            GetLogger()->LogMessage("cursors: %s \"%s\" is out of range, clamped", what, text.c_str());
            v = v > 0 ? kCursorCoordinateLimit : -kCursorCoordinateLimit;
        }
        *values[i] = static_cast<int>(v);
        p = end;
        if (*p != ',') return;
        ++p;
    }
}

}  // namespace

void TGameCursor::ReadAttributes(const TiXmlElement* element)
{
    mName = GetAttrString(element, "name");
    mFileName = GetAttrString(element, "filename");
    int* rect[] = {&mRectX, &mRectY, &mRectW, &mRectH};
    ReadIntList(GetAttrString(element, "rect"), "rect", rect, 4);
    int* hotspot[] = {&mHotX, &mHotY};
    ReadIntList(GetAttrString(element, "hotspot"), "hotspot", hotspot, 2);
    mFrames = GetAttrInt(element, "frames", 1);
    mSpeed = GetAttrFloat(element, "speed", 0.0f);
    std::string system = GetAttrString(element, "system");
    mSystem = system == "1" || system == "true";
}

void TGameCursor::LoadImage()
{
    mImage.SetTexture(mFileName);
    if (!mSystem && !HasPicture())
        GetLogger()->LogMessage("cursor %s: picture %s could not be loaded, the system pointer stays", mName.c_str(),
                                mFileName.c_str());
}

bool TGameCursor::HasPicture() const
{
    const TTexture* texture = mImage.GetTexture();
    return texture && texture->GetWidth() > 0 && texture->GetHeight() > 0;
}

int TGameCursor::FrameCount() const
{
    // A sheet needs a frame size that fits the texture at least once; anything else (a zero
    // or negative width, a frame wider than the texture, no texture, fewer than one frame)
    // would divide by zero or never wrap, so it shows one frame.
    if (mFrames <= 1 || mRectW <= 0 || mRectH <= 0) return 1;
    TTexture* texture = mImage.GetTexture();
    if (!texture || texture->GetWidth() / mRectW < 1) return 1;
    return mFrames;
}

SDL_Rect TGameCursor::FrameRect(int frame) const
{
    TTexture* texture = mImage.GetTexture();
    const int textureW = texture ? texture->GetWidth() : 0;
    const int textureH = texture ? texture->GetHeight() : 0;
    if (FrameCount() > 1) {
        const int perRow = textureW / mRectW;
        // A long sheet may put late frames of a huge count past any row: keep the int range.
        const int64_t y = std::min<int64_t>(int64_t{mRectH} * (frame / perRow), INT_MAX);
        return SDL_Rect{mRectW * (frame % perRow), static_cast<int>(y), mRectW, mRectH};
    }
    if (mRectW > 0 && mRectH > 0) return SDL_Rect{mRectX, mRectY, mRectW, mRectH};
    return SDL_Rect{0, 0, textureW, textureH};
}

void TGameCursor::ShowFrame(int frame)
{
    SDL_Rect r = FrameRect(frame);
    DrawTransform& t = mImage.mTransform;
    t.SetSourceRect(r.x, r.y, r.w, r.h);
}

void TGameCursor::Animate(float dt)
{
    mFrameTimer += dt;
    if (mFrameTimer < mSpeed) return;
    ++mFrame;
    if (mFrame >= FrameCount()) mFrame = 0;
    mFrameTimer = 0.0f;
    ShowFrame(mFrame);
}

void TGameCursor::Activate()
{
    mFrameTimer = 0.0f;
    mFrame = 0;
    ShowFrame(0);
}

void TGameCursor::DrawAtMouse(int x, int y)
{
    DrawAt(x + mImage.GetWidth() / 2 - mHotX, y + mImage.GetHeight() / 2 - mHotY);
}

void TGameCursor::DrawAt(int x, int y)
{
    mImage.SetPosition(static_cast<float>(x), static_cast<float>(y), true);
    mImage.Draw(1.0f);
}

TSystemGameCursor::~TSystemGameCursor() { FreeCursorHandle(mHandle); }

void TSystemGameCursor::Activate()
{
    if (mHandle) {
        SetCursorHandle(mHandle);
        return;
    }
    mHandle = SetCursorImage(mFileName, mHotX, mHotY);
    // Tried again at the next activation; said once.
    if (!mHandle && !mFailureLogged) {
        GetLogger()->LogMessage("system cursor %s from %s could not be made: %s", mName.c_str(), mFileName.c_str(),
                                SDL_GetError());
        mFailureLogged = true;
    }
}

std::unique_ptr<TGameCursor> CreateGameCursor(bool system)
{
    if (system) return std::make_unique<TSystemGameCursor>();
    return std::make_unique<TGameCursor>();
}

void TGameCursors::Load(const std::string& path)
{
    TiXmlElement* root = LoadXmlDocument(path);
    if (root) {
        TiXmlElement* list = FirstChildElement(root, "cursors");
        if (!list) GetLogger()->LogMessage("%s holds no cursors element", path.c_str());
        std::vector<TiXmlElement*> entries;
        if (list) GetChildElements(list, "cursor", entries);
        for (TiXmlElement* entry : entries) {
            std::string system = GetAttrString(entry, "system");
            std::unique_ptr<TGameCursor> cursor = CreateGameCursor(system == "1" || system == "true");
            cursor->ReadAttributes(entry);
            mCursors.push_back(std::move(cursor));
        }
        for (auto& cursor : mCursors) cursor->LoadImage();
        SelectDefault();
    }
    DeleteCurrentXmlDocument();
}

TGameCursor* TGameCursors::Find(const std::string& name) const
{
    for (const auto& cursor : mCursors)
        if (cursor->mName == name && cursor->mSystem != mCustom) return cursor.get();
    return nullptr;
}

void TGameCursors::MakeCurrent(TGameCursor* cursor)
{
    mCurrent = cursor;
    cursor->Activate();
}

void TGameCursors::Select(const std::string& name)
{
    TGameCursor* cursor = Find(name);
    if (cursor && cursor != mCurrent) MakeCurrent(cursor);
}

void TGameCursors::SelectDefault()
{
    if (mCursors.empty()) return;
    // A mode without its own "default" keeps the cursor it has.
    if (TGameCursor* cursor = Find("default")) MakeCurrent(cursor);
}

void TGameCursors::ApplySystemPointer()
{
    // A drawn cursor without its picture would leave no pointer at all.
    const bool drawn = mCustom && mCurrent && !mCurrent->mSystem && mCurrent->HasPicture();
    SDL_ShowCursor(drawn ? SDL_DISABLE : SDL_ENABLE);
}

void TGameCursors::SetCustomMode(bool custom)
{
    mCustom = custom;
    if (mCurrent) {
        TGameCursor* same = Find(mCurrent->mName);
        if (same && same != mCurrent) MakeCurrent(same);
    }
    ApplySystemPointer();
}

void TGameCursors::Update(float dt)
{
    if (!mInside || !mShown) return;
    if (mCurrent) mCurrent->Animate(dt);
    ApplySystemPointer();
}

void TGameCursors::DrawCurrent()
{
    if (mCurrent) mCurrent->DrawAtMouse(mMouseX, mMouseY);
}

void LoadCursors(const std::string& path)
{
    delete gCursors;
    gCursors = new TGameCursors();
    gCursors->Load(path);
}

bool GameCursorsExist() { return gCursors != nullptr; }

TGameCursors* GetGameCursors()
{
    if (!gCursors) gCursors = new TGameCursors();
    return gCursors;
}

void DestroyCursors()
{
    delete gCursors;
    gCursors = nullptr;
}
