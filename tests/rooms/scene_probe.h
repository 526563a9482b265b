// A scene object with scripted answers that writes every call it gets into a shared trace,
// and the recorders for what a space hands out: game events and profile pairs. Scene tests
// fill spaces with probes in code, in file order.
#pragma once
#include <SDL.h>

#include <string>
#include <vector>

#include "core/app_state.h"
#include "game/user_info.h"
#include "objects/object.h"
#include "rooms/game_event.h"
#include "rooms/scene_mouse_event.h"

using TTrace = std::vector<std::string>;

class TProbe : public TObject {
public:
    // The probe is hit inside [x, x + w) x [y, y + h); its size is also its extent.
    TProbe(const std::string& name, TTrace* trace, int x = 0, int y = 0, int w = 0, int h = 0)
        : mTrace(trace), mBoxX(x), mBoxY(y), mBoxW(w), mBoxH(h)
    {
        SetName(name);
        mWidth = static_cast<float>(w);
        mHeight = static_cast<float>(h);
    }

    bool HitTest(int x, int y, bool respectLock) override
    {
        mHitDescendant = nullptr;
        mHitFlags.push_back(respectLock);
        if (x < mBoxX || x >= mBoxX + mBoxW || y < mBoxY || y >= mBoxY + mBoxH) return false;
        mHitDescendant = mHitChild;
        return true;
    }
    bool OnMouseDown(const TSceneMouseEvent& /*event*/) override { return Answer("down", mDownAnswer); }
    bool OnMouseMove(const TSceneMouseEvent& /*event*/, bool& hoverTaken) override
    {
        Record(std::string("move ") + (hoverTaken ? "1" : "0"));
        if (mMoveAnswer) hoverTaken = true;
        return mMoveAnswer;
    }
    bool OnMouseUp(const TSceneMouseEvent& /*event*/) override { return Answer("up", mUpAnswer); }
    bool HasToolUse() const override
    {
        Record("HasToolUse");
        return mHasToolUseAnswer;
    }
    bool AcceptsTool(TTool* /*tool*/) override { return Answer("AcceptsTool", mAcceptsAnswer); }
    TObject* FindChildAcceptingTool(TTool* /*tool*/) override
    {
        Record("FindChildAcceptingTool");
        return mChildAccepting;
    }
    TObject* FindObjectNeedingTool(const std::string& toolName) override
    {
        return toolName == mNeededToolName ? this : nullptr;
    }
    void Draw(float /*alphaFactor*/) override
    {
        SDL_Renderer* renderer = GetRenderer();
        if (renderer && SDL_RenderIsClipEnabled(renderer)) {
            SDL_Rect clip;
            SDL_RenderGetClipRect(renderer, &clip);
            Record("draw clip " + std::to_string(clip.x) + "," + std::to_string(clip.y) + "," +
                   std::to_string(clip.w) + "," + std::to_string(clip.h));
        } else {
            Record("draw");
        }
    }
    bool Update(float /*dt*/) override
    {
        ++mUpdates;
        return false;
    }
    void LoadResources() override { Record("load"); }
    void OnSpaceFirstShown() override { Record("firstshown"); }
    void OnSpaceShown() override { Record("shown"); }
    void OnSpaceHidden() override { Record("hidden"); }

    TTrace* mTrace;
    int mBoxX, mBoxY, mBoxW, mBoxH;
    bool mDownAnswer = false;
    bool mMoveAnswer = false;
    bool mUpAnswer = false;
    bool mHasToolUseAnswer = false;
    bool mAcceptsAnswer = false;
    TObject* mChildAccepting = nullptr;
    TObject* mHitChild = nullptr;  // becomes the hit descendant of a hit
    std::string mNeededToolName;
    std::vector<bool> mHitFlags;
    int mUpdates = 0;

private:
    void Record(const std::string& call) const
    {
        if (mTrace) mTrace->push_back(GetName() + " " + call);
    }
    bool Answer(const std::string& call, bool answer)
    {
        Record(call);
        return answer;
    }
};

// Value-0 events as the handler gets them, profile pairs as the profile gets them.
class TTraceRecorders : public TGameEventHandler, public TBaseUserInfoListener {
public:
    explicit TTraceRecorders(TTrace* trace) : mTrace(trace)
    {
        SetGameEventHandler(this);
        GetUserInfo()->SetListener(this);
    }
    ~TTraceRecorders() override
    {
        SetGameEventHandler(nullptr);
        GetUserInfo()->SetListener(nullptr);
    }
    void OnGameEvent(std::string name, TGameEvent event) override
    {
        mTrace->push_back("event " + name + " " + std::to_string(event.mValue) + " " + event.mParams[0]);
    }
    void OnPairAdded(const std::string& key, const std::string& value) override
    {
        mTrace->push_back("pair " + key + "=" + value);
    }

private:
    TTrace* mTrace;
};
