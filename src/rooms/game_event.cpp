#include "rooms/game_event.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

#include "objects/object_refs.h"

namespace {
struct TGameEventQueue {
    TGameEventHandler* mHandler = nullptr;
    std::vector<std::string> mSuppressed;
    std::vector<TGameEvent> mPending;
};

TGameEventQueue& GameEventQueue()
{
    static TGameEventQueue queue;
    return queue;
}
}  // namespace

TGameEvent::TGameEvent(const std::string& name, int32_t value, const std::string& parameter)
    : mName(name), mTime(SDL_GetTicks()), mValue(value)
{
    mParams[0] = parameter;
}

TGameEvent TGameEvent::FromRecord(const TFlagRef& record)
{
    return TGameEvent(record.mName, record.mValue, record.mText);
}

bool IsGameEventPending(const std::string& name)
{
    const auto& pending = GameEventQueue().mPending;
    return std::any_of(pending.begin(), pending.end(), [&](const TGameEvent& e) { return e.mName == name; });
}

bool IsGameEventSuppressed(const std::string& name)
{
    const auto& names = GameEventQueue().mSuppressed;
    return std::find(names.begin(), names.end(), name) != names.end();
}

void PostGameEvent(TGameEvent event, bool forced)
{
    if (!forced && (IsGameEventSuppressed(event.mName) || IsGameEventPending(event.mName)))
        return;
    TGameEventQueue& queue = GameEventQueue();
    if (event.mValue != 0) {
        queue.mPending.push_back(std::move(event));
        return;
    }
    if (queue.mHandler != nullptr) {
        std::string name = event.mName;
        queue.mHandler->OnGameEvent(std::move(name), std::move(event));
    }
}

void ClearGameEvents()
{
    TGameEventQueue& queue = GameEventQueue();
    std::vector<TGameEvent>().swap(queue.mPending);
    std::vector<std::string>().swap(queue.mSuppressed);
}

void SetGameEventHandler(TGameEventHandler* handler)
{
    GameEventQueue().mHandler = handler;
}

void AddSuppressedGameEvent(const std::string& name)
{
    GameEventQueue().mSuppressed.push_back(name);
}

size_t PendingGameEventCount()
{
    return GameEventQueue().mPending.size();
}

const TGameEvent* PendingGameEvent(size_t index)
{
    const auto& pending = GameEventQueue().mPending;
    return index < pending.size() ? &pending[index] : nullptr;
}
