// The game's mouse cursors from "cursors.xml": drawn pictures (animated from a sheet where
// the file says so) at the pointer, or operating-system colour cursors made from the same
// entries. Widgets ask for a cursor by name among those of the current mode.
#pragma once
#include <SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "graphics/static_image.h"

class TiXmlElement;

class TGameCursor {
public:
    virtual ~TGameCursor() = default;
    virtual void LoadImage();
    virtual void Animate(float dt);
    virtual void Activate();
    virtual void DrawAtMouse(int x, int y);
    virtual void DrawAt(int x, int y);

    void ReadAttributes(const TiXmlElement* element);
    // How many frames the animation cycles through: a sheet without a usable layout has one.
    int FrameCount() const;
    SDL_Rect FrameRect(int frame) const;
    // A picture that loaded: without one a drawn cursor draws nothing.
    bool HasPicture() const;

    std::string mName;
    std::string mFileName;
    int mRectX = 0;
    int mRectY = 0;
    int mRectW = 0;
    int mRectH = 0;
    int mHotX = 0;
    int mHotY = 0;
    int mFrames = 1;
    float mSpeed = 0.0f;  // seconds per frame
    bool mSystem = false;
    float mFrameTimer = 0.0f;
    int mFrame = 0;
    StaticImage mImage;

protected:
    void ShowFrame(int frame);
};

class TSystemGameCursor : public TGameCursor {
public:
    TSystemGameCursor() = default;
    TSystemGameCursor(const TSystemGameCursor&) = delete;
    TSystemGameCursor& operator=(const TSystemGameCursor&) = delete;
    ~TSystemGameCursor() override;
    void Animate(float) override {}
    void Activate() override;
    void DrawAtMouse(int, int) override {}

    // Made at the first activation and set again at the later ones; freed with the cursor.
    SDL_Cursor* mHandle = nullptr;
    bool mFailureLogged = false;
};

std::unique_ptr<TGameCursor> CreateGameCursor(bool system);

class TGameCursors {
public:
    TGameCursors() = default;
    TGameCursors(const TGameCursors&) = delete;
    TGameCursors& operator=(const TGameCursors&) = delete;
    virtual ~TGameCursors() = default;

    void Load(const std::string& path);
    // The first cursor of that name among those of the current mode, or null.
    TGameCursor* Find(const std::string& name) const;
    // Makes the named cursor current unless it already is (its animation then runs on).
    void Select(const std::string& name);
    void SelectDefault();
    void SetCustomMode(bool custom);
    bool IsCustomMode() const { return mCustom; }
    void Update(float dt);

    // The pointer is inside the window until it leaves; the next move brings it back.
    void SetInside(bool inside) { mInside = inside; }
    bool IsInside() const { return mInside; }
    void SetMousePosition(int x, int y)
    {
        mMouseX = x;
        mMouseY = y;
    }
    int MouseX() const { return mMouseX; }
    int MouseY() const { return mMouseY; }
    bool IsVisible() const { return mShown; }
    bool HasCurrent() const { return mCurrent != nullptr; }
    TGameCursor* Current() const { return mCurrent; }
    void DrawCurrent();
    const std::vector<std::unique_ptr<TGameCursor>>& Cursors() const { return mCursors; }

private:
    void MakeCurrent(TGameCursor* cursor);
    // Without a drawn cursor on screen the player keeps the system pointer.
    void ApplySystemPointer();

    std::vector<std::unique_ptr<TGameCursor>> mCursors;
    TGameCursor* mCurrent = nullptr;
    int mMouseX = 0;  // design pixels
    int mMouseY = 0;
    bool mInside = true;
    bool mShown = true;
    bool mCustom = true;
};

// Creates the set (empty when the file is missing or holds none) and selects "default".
void LoadCursors(const std::string& path);
// The set, made on first use (empty until cursors are loaded): every widget reaches it here.
TGameCursors* GetGameCursors();
// Whether the set has been made yet; asking makes none.
bool GameCursorsExist();
void DestroyCursors();
