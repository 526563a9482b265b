// Named messages posted with a delay and delivered to the listeners subscribed to the name,
// and the one-shot countdown timer. Main thread only.
#pragma once
#include <string>
#include <vector>

#include "core/SharedPtr.h"

class TBaseBuffer;

class TMyMessage {
public:
    TMyMessage(const std::string& name, float delay) : mName(name), mDelay(delay) {}
    virtual ~TMyMessage() = default;
    // Runs the delay down to 0; due when it is exactly 0 (a negative delay never is).
    virtual bool CountDown(float dt);
    const std::string& GetName() const { return mName; }
    float GetDelay() const { return mDelay; }

    void* mData = nullptr;  // always null for posted messages

private:
    std::string mName;
    float mDelay;
};

class TMyMessageListener {
public:
    // Unsubscribes from every name, when the dispatcher exists.
    virtual ~TMyMessageListener();
    virtual void OnMessage(SharedPtr<TMyMessage> /*message*/) {}
    virtual void ListenerName(std::string& out) { out = "unknown"; }
};

struct TMessageSubscription {
    explicit TMessageSubscription(const std::string& name) : mName(name) {}
    std::string mName;
    std::vector<TMyMessageListener*> mListeners;  // each at most once, not owned
};

class TMyMessageManager {
public:
    TMyMessageManager() = default;
    ~TMyMessageManager();
    TMyMessageManager(const TMyMessageManager&) = delete;
    TMyMessageManager& operator=(const TMyMessageManager&) = delete;

    // False for an empty name or one still pending (which keeps its delay).
    bool Post(const std::string& name, float delay);
    bool Subscribe(TMyMessageListener* listener, const std::string& name);
    void Unsubscribe(TMyMessageListener* listener);
    // Counts the pending messages down and delivers the due ones.
    void Update(float dt);

    bool IsPending(const std::string& name) const;
    size_t PendingCount() const { return mPending.size(); }
    size_t SubscriptionCount() const { return mSubscriptions.size(); }

private:
    friend class TMyMessageListener;
    // A listener being destroyed: unsubscribed, and never called again by a delivery in progress.
    void ForgetListener(TMyMessageListener* listener);

    std::vector<SharedPtr<TMessageSubscription>> mSubscriptions;
    // Walked by index: deliveries may append to it.
    std::vector<SharedPtr<TMyMessage>> mPending;
    // The listener lists of the deliveries under way.
    std::vector<std::vector<TMyMessageListener*>*> mDeliveries;
    bool mUpdating = false;
};

// The dispatcher, created when absent; null once the shutdown has passed it.
TMyMessageManager* GetMessageManager();
// The dispatcher when it exists; never creates it.
TMyMessageManager* FindMessageManager();
void DestroyMessageManager();
void SetMessageManagerShutDown(bool down);

class TTimerListener {
public:
    virtual ~TTimerListener() = default;
    virtual void OnTimerStart() {}
    virtual void OnTimer() {}
    virtual void OnTimerDone() {}
};

// One-shot countdown in seconds, stepped by its owner with the frame time.
class TTimer {
public:
    TTimer() = default;
    // A copy takes the state, never the running Update's watch of the original.
    TTimer(const TTimer& other)
        : mDuration(other.mDuration), mElapsed(other.mElapsed), mActive(other.mActive), mListener(other.mListener)
    {
    }
    TTimer& operator=(const TTimer& other)
    {
        mDuration = other.mDuration;
        mElapsed = other.mElapsed;
        mActive = other.mActive;
        mListener = other.mListener;
        return *this;
    }
    virtual ~TTimer();

    // Elapsed 0, the duration, active; the listener hears the start.
    void Start(float duration);
    // True when inactive, or once the duration is reached (firing then, once), unless a
    // listener started the timer again. A timer deleted from OnTimer tells no OnTimerDone.
    bool Update(float dt);
    // The duration as thousandths and the active byte; the elapsed time is left as it was.
    // A duration beyond an hour is refused with a line and the timer left as it was. Answers
    // the active flag.
    bool LoadState(TBaseBuffer& buffer);
    void SaveState(TBaseBuffer& buffer) const;

    void SetListener(TTimerListener* listener) { mListener = listener; }
    void Stop() { mActive = false; }
    bool IsActive() const { return mActive; }
    float GetDuration() const { return mDuration; }
    float GetElapsed() const { return mElapsed; }

private:
    float mDuration = 0.0f;
    float mElapsed = 0.0f;
    bool mActive = false;
    TTimerListener* mListener = nullptr;
    bool* mAlive = nullptr;  // set while the listeners run; the destructor clears it
};
