#include "core/messages.h"

#include <algorithm>
#include <memory>

#include "core/buffer.h"
#include "core/logger.h"
#include "core/numbers.h"

namespace {
std::unique_ptr<TMyMessageManager> gMessageManager;
bool gMessageManagerShutDown = false;
}

TMyMessageManager* GetMessageManager()
{
    if (!gMessageManager && !gMessageManagerShutDown) gMessageManager.reset(new TMyMessageManager());
    return gMessageManager.get();
}

TMyMessageManager* FindMessageManager() { return gMessageManager.get(); }

void DestroyMessageManager() { gMessageManager.reset(); }

void SetMessageManagerShutDown(bool down) { gMessageManagerShutDown = down; }

bool TMyMessage::CountDown(float dt)
{
    if (mDelay > 0.0f) {
        mDelay -= dt;
        if (mDelay < 0.0f) mDelay = 0.0f;
    }
    return mDelay == 0.0f;
}

TMyMessageListener::~TMyMessageListener()
{
    if (TMyMessageManager* manager = FindMessageManager()) manager->ForgetListener(this);
}

TMyMessageManager::~TMyMessageManager() = default;

bool TMyMessageManager::IsPending(const std::string& name) const
{
    for (const SharedPtr<TMyMessage>& m : mPending)
        if (m->GetName() == name) return true;
    return false;
}

bool TMyMessageManager::Post(const std::string& name, float delay)
{
    if (name.empty() || IsPending(name)) return false;
    mPending.push_back(SharedPtr<TMyMessage>(new TMyMessage(name, delay)));
    return true;
}

bool TMyMessageManager::Subscribe(TMyMessageListener* listener, const std::string& name)
{
    if (name.empty()) return false;
    for (SharedPtr<TMessageSubscription>& s : mSubscriptions) {
        if (s->mName != name) continue;
        if (std::find(s->mListeners.begin(), s->mListeners.end(), listener) == s->mListeners.end())
            s->mListeners.push_back(listener);
        return true;
    }
    SharedPtr<TMessageSubscription> s(new TMessageSubscription(name));
    s->mListeners.push_back(listener);
    mSubscriptions.push_back(s);
    return true;
}

void TMyMessageManager::Unsubscribe(TMyMessageListener* listener)
{
    for (size_t i = 0; i < mSubscriptions.size();) {
        std::vector<TMyMessageListener*>& list = mSubscriptions[i]->mListeners;
        list.erase(std::remove(list.begin(), list.end(), listener), list.end());
        if (list.empty())
            mSubscriptions.erase(mSubscriptions.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

void TMyMessageManager::ForgetListener(TMyMessageListener* listener)
{
    Unsubscribe(listener);
    for (std::vector<TMyMessageListener*>* delivery : mDeliveries)
        std::replace(delivery->begin(), delivery->end(), listener, static_cast<TMyMessageListener*>(nullptr));
}

void TMyMessageManager::Update(float dt)
{
    // A listener that steps the dispatcher from inside a delivery would pull messages from
    // under the walk below.
    if (mUpdating) return;
    mUpdating = true;
    for (size_t i = 0; i < mPending.size();) {
        SharedPtr<TMyMessage> message = mPending[i];
        if (!message->CountDown(dt)) {
            ++i;
            continue;
        }
        GetLogger()->LogDebug("SENDING MESSAGE: %s", message->GetName().c_str());
        std::vector<TMyMessageListener*> listeners;
        for (const SharedPtr<TMessageSubscription>& s : mSubscriptions) {
            if (s->mName == message->GetName()) {
                listeners = s->mListeners;
                break;
            }
        }
        // The copy keeps a listener unsubscribed meanwhile; one destroyed meanwhile is nulled.
        mDeliveries.push_back(&listeners);
        for (TMyMessageListener* listener : listeners) {
            if (!listener) continue;
            std::string name;
            listener->ListenerName(name);
            listener->OnMessage(message);
        }
        mDeliveries.pop_back();
        // Only appends happen during a delivery: the message is still at index i.
        mPending.erase(mPending.begin() + static_cast<std::ptrdiff_t>(i));
    }
    mUpdating = false;
}

void TTimer::Start(float duration)
{
    mElapsed = 0.0f;
    mDuration = duration;
    mActive = true;
    if (mListener) mListener->OnTimerStart();
}

TTimer::~TTimer()
{
    if (mAlive) *mAlive = false;
}

bool TTimer::Update(float dt)
{
    if (!mActive) return true;
    mElapsed += dt;
    if (mElapsed < mDuration) return false;
    mActive = false;
    // The owner may delete the timer from OnTimer, or start it again: the answer is the
    // state after the callbacks, read only while the timer still exists.
    bool alive = true;
    bool* outer = mAlive;
    mAlive = &alive;
    TTimerListener* listener = mListener;
    if (listener) {
        listener->OnTimer();
        // A timer deleted from OnTimer usually went with its owner, the listener itself:
        // its end is not told to freed memory.
        if (alive) listener->OnTimerDone();
    }
    if (!alive) {
        if (outer) *outer = false;
        return true;
    }
    mAlive = outer;
    return !mActive;
}

bool TTimer::LoadState(TBaseBuffer& buffer)
{
    const float duration = buffer.ReadMilli();
    const bool active = buffer.ReadByte() != 0;
    if (!IsUsableSeconds(duration)) {
        GetLogger()->LogMessage("saved timer refused: its duration of %.3f s is beyond an hour",
                                static_cast<double>(duration));
        return mActive;
    }
    mDuration = duration;
    mActive = active;
    return mActive;
}

void TTimer::SaveState(TBaseBuffer& buffer) const
{
    buffer.WriteMilli(mDuration);
    buffer.WriteByte(mActive ? 1 : 0);
}
