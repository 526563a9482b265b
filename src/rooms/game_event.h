// Named notices a scene sends to the game around it, and the one queue they go to.
#pragma once
#include <cstdint>
#include <string>

class TObject;
struct TFlagRef;

struct TGameEvent {
    TGameEvent(const std::string& name, int32_t value, const std::string& parameter);
    // An event record of a scene object's flag list.
    static TGameEvent FromRecord(const TFlagRef& record);

    std::string mName;
    int32_t mCode = -1;
    std::string mParams[3];
    int32_t mWords[3] = {0, 0, 0};
    uint32_t mTime = 0;
    int32_t mValue = 0;
    // Never dereferenced: a pending event may outlive the room that posted it.
    TObject* mObject = nullptr;
};

class TGameEventHandler {
public:
    virtual ~TGameEventHandler() = default;
    virtual void OnGameEvent(std::string name, TGameEvent event) = 0;
};

// Unforced posts drop suppressed and pending names; a value of 0 goes to the handler only,
// any other value stays pending for the rest of the run.
void PostGameEvent(TGameEvent event, bool forced);
bool IsGameEventPending(const std::string& name);
bool IsGameEventSuppressed(const std::string& name);
// Leaves the queue empty and usable again.
void ClearGameEvents();

// The game installs no handler and suppresses nothing; tests do both.
void SetGameEventHandler(TGameEventHandler* handler);
void AddSuppressedGameEvent(const std::string& name);
// Copies of the pending events, in posting order; null past the end.
size_t PendingGameEventCount();
const TGameEvent* PendingGameEvent(size_t index);
