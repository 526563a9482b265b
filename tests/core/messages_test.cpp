#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "core/buffer.h"
#include "core/messages.h"
#include "log_watch.h"

namespace {

// Writes "<id>:<message>" for every delivery and runs an optional reaction.
class TRecorder : public TMyMessageListener {
public:
    TRecorder(const std::string& id, std::vector<std::string>* log) : mId(id), mLog(log) {}
    void OnMessage(SharedPtr<TMyMessage> message) override
    {
        mLog->push_back(mId + ":" + message->GetName());
        if (mReaction) mReaction(message->GetName());
    }
    std::function<void(const std::string&)> mReaction;

private:
    std::string mId;
    std::vector<std::string>* mLog;
};

class Messages : public ::testing::Test {
protected:
    void SetUp() override
    {
        DestroyMessageManager();
        SetMessageManagerShutDown(false);
        mManager = GetMessageManager();
    }
    void TearDown() override { DestroyMessageManager(); }
    using Log = std::vector<std::string>;

    TMyMessageManager* mManager = nullptr;
    Log mLog;
};

}  // namespace

TEST_F(Messages, OneNameIsPendingOnceAndAListenerIsListedOnce)
{
    TRecorder a("A", &mLog);
    EXPECT_TRUE(mManager->Subscribe(&a, "go"));
    EXPECT_TRUE(mManager->Subscribe(&a, "go"));
    EXPECT_TRUE(mManager->Post("go", 0.5f));
    EXPECT_FALSE(mManager->Post("go", 0.0f));  // the pending one keeps its delay
    mManager->Update(0.0f);
    EXPECT_TRUE(mLog.empty());
    mManager->Update(0.5f);
    EXPECT_EQ(mLog, (Log{"A:go"}));
    EXPECT_FALSE(mManager->Post("", 0.0f));
    EXPECT_FALSE(mManager->Subscribe(&a, ""));
    EXPECT_EQ(mManager->SubscriptionCount(), 1u);
}

TEST_F(Messages, DelaysDecideWhenAMessageIsDue)
{
    TRecorder a("A", &mLog);
    for (const char* name : {"now", "later", "never"}) mManager->Subscribe(&a, name);
    mManager->Post("now", 0.0f);
    mManager->Post("later", 1.0f);
    mManager->Post("never", -1.0f);
    mManager->Update(0.0f);
    EXPECT_EQ(mLog, (Log{"A:now"}));
    mManager->Update(0.5f);
    EXPECT_EQ(mLog, (Log{"A:now"}));
    mManager->Update(0.5f);
    EXPECT_EQ(mLog, (Log{"A:now", "A:later"}));
    mManager->Update(100.0f);
    EXPECT_EQ(mLog.size(), 2u);
    EXPECT_FALSE(mManager->Post("never", 0.0f));

    mManager->Post("nobody", 0.0f);
    mManager->Update(0.0f);
    EXPECT_FALSE(mManager->IsPending("nobody"));
    EXPECT_TRUE(mManager->Post("nobody", 0.0f));
}

TEST_F(Messages, ListenersChangingThingsDuringADelivery)
{
    TRecorder a("A", &mLog);
    TRecorder b("B", &mLog);
    mManager->Subscribe(&a, "m");
    mManager->Subscribe(&b, "m");
    mManager->Subscribe(&b, "other");
    bool repost = true;
    a.mReaction = [&](const std::string& name) {
        if (name != "m") return;
        mManager->Unsubscribe(&b);
        repost = mManager->Post("m", 0.0f);
        mManager->Post("other", 0.0f);
    };
    mManager->Update(0.0f);  // nothing pending yet
    mManager->Post("m", 0.0f);
    mManager->Update(0.0f);
    EXPECT_FALSE(repost);
    EXPECT_EQ(mLog, (Log{"A:m", "B:m"}));  // B was unsubscribed: "other" reaches nobody
    EXPECT_EQ(mManager->PendingCount(), 0u);
    mManager->Post("m", 0.0f);
    mManager->Update(0.0f);
    EXPECT_EQ(mLog, (Log{"A:m", "B:m", "A:m"}));
}

TEST_F(Messages, AListenerDeletedDuringADeliveryIsNotCalled)
{
    TRecorder a("A", &mLog);
    TRecorder* b = new TRecorder("B", &mLog);
    TRecorder c("C", &mLog);
    for (TRecorder* r : {&a, b, &c}) mManager->Subscribe(r, "m");
    mManager->Subscribe(&c, "next");
    a.mReaction = [&](const std::string& name) {
        if (name != "m") return;
        delete b;
        b = nullptr;
        mManager->Post("next", 0.0f);
    };
    mManager->Post("m", 0.0f);
    mManager->Update(0.0f);
    EXPECT_EQ(mLog, (Log{"A:m", "C:m", "C:next"}));
}

TEST_F(Messages, AListenerOutlivingTheDispatcherCreatesNoNewOne)
{
    {
        TRecorder a("A", &mLog);
        mManager->Subscribe(&a, "m");
        DestroyMessageManager();
    }
    EXPECT_EQ(FindMessageManager(), nullptr);
}

TEST(MessagesInGame, UpdateGameDeliversAndReleaseGameLeavesNoDispatcher)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            std::vector<std::string> log;
            TRecorder* a = new TRecorder("A", &log);
            GetMessageManager()->Subscribe(a, "m");
            GetMessageManager()->Post("m", 0.0f);
            UpdateGame(0.016f);
            if (log != std::vector<std::string>{"A:m"}) exit(2);
            ReleaseGame();
            delete a;  // outlives the dispatcher
            if (FindMessageManager() || GetMessageManager()) exit(3);
            exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

namespace {
class TTimerRecorder : public TTimerListener {
public:
    void OnTimerStart() override { mCalls += "start "; }
    void OnTimer() override { mCalls += "timer "; }
    void OnTimerDone() override { mCalls += "done "; }
    std::string mCalls;
};
}  // namespace

TEST(Timer, FiresOnceWhenTheDurationIsReached)
{
    TTimerRecorder listener;
    TTimer timer;
    timer.SetListener(&listener);
    EXPECT_TRUE(timer.Update(1.0f));  // inactive
    EXPECT_EQ(listener.mCalls, "");
    timer.Start(0.0f);
    EXPECT_TRUE(timer.Update(0.0f));
    EXPECT_EQ(listener.mCalls, "start timer done ");
    EXPECT_FALSE(timer.IsActive());

    listener.mCalls.clear();
    timer.Start(1.0f);
    EXPECT_FALSE(timer.Update(0.6f));
    EXPECT_TRUE(timer.Update(0.6f));
    EXPECT_TRUE(timer.Update(0.6f));
    EXPECT_EQ(listener.mCalls, "start timer done ");
}

TEST(Timer, StateIsTheDurationAndTheActiveByte)
{
    TBufferBin buffer;
    for (int b : {0xE8, 0x03, 0x00, 0x00, 0x01}) buffer.WriteByte(b);
    TTimer timer;
    timer.Start(5.0f);
    timer.Update(0.25f);
    EXPECT_TRUE(timer.LoadState(buffer));
    EXPECT_FLOAT_EQ(timer.GetDuration(), 1.0f);
    EXPECT_TRUE(timer.IsActive());
    EXPECT_FLOAT_EQ(timer.GetElapsed(), 0.25f);
    TBufferBin saved;
    timer.SaveState(saved);
    EXPECT_EQ(saved.Bytes(), buffer.Bytes());
}

// A pause saved past an hour would hold what waits for the timer for good.
TEST(Timer, ASavedDurationPastAnHourIsRefused)
{
    for (int32_t milli : {3600000, 3600001, -3600001, 2000000000}) {
        SCOPED_TRACE(milli);
        TBufferBin buffer;
        buffer.WriteInt32(milli);
        buffer.WriteByte(1);
        TTimer timer;
        timer.Start(5.0f);
        timer.Stop();
        const bool taken = milli == 3600000;
        TLogWatch log;
        EXPECT_EQ(timer.LoadState(buffer), taken);
        EXPECT_TRUE(buffer.ReadAtEnd());
        EXPECT_FLOAT_EQ(timer.GetDuration(), taken ? 3600.0f : 5.0f);
        EXPECT_EQ(timer.IsActive(), taken);
        EXPECT_EQ(log.CountStartingWith("saved timer refused: its duration of "), taken ? 0u : 1u) << log.Text();
    }
}

// A listener may start the timer again or delete it while it fires.
TEST(Timer, ListenerRestartingOrDeletingTheTimer)
{
    struct TRestarter : TTimerListener {
        TTimer* mTimer = nullptr;
        bool mDelete = false;
        void OnTimer() override
        {
            if (mDelete)
                delete mTimer;
            else
                mTimer->Start(1.0f);
        }
    };
    TRestarter restarter;
    TTimer timer;
    restarter.mTimer = &timer;
    timer.SetListener(&restarter);
    timer.Start(0.5f);
    EXPECT_FALSE(timer.Update(0.6f));
    EXPECT_TRUE(timer.IsActive());
    EXPECT_FALSE(timer.Update(0.6f));

    // A copy made and dropped while the timer fires is not the timer itself.
    struct TCopier : TTimerListener {
        TTimer* mTimer = nullptr;
        void OnTimer() override
        {
            delete new TTimer(*mTimer);
            mTimer->Start(1.0f);
        }
    };
    TCopier copier;
    copier.mTimer = &timer;
    timer.SetListener(&copier);
    timer.Start(0.5f);
    EXPECT_FALSE(timer.Update(0.6f));
    EXPECT_TRUE(timer.IsActive());

    restarter.mDelete = true;
    restarter.mTimer = new TTimer();
    restarter.mTimer->SetListener(&restarter);
    restarter.mTimer->Start(0.5f);
    EXPECT_TRUE(restarter.mTimer->Update(0.6f));

    // An owner that listens to its own timer and deletes itself when it fires.
    struct TSelfDeleting : TTimerListener {
        TTimer mTimer;
        int* mDone = nullptr;
        TSelfDeleting() { mTimer.SetListener(this); }
        void OnTimer() override { delete this; }
        void OnTimerDone() override { ++*mDone; }
    };
    int done = 0;
    TSelfDeleting* owner = new TSelfDeleting();
    owner->mDone = &done;
    owner->mTimer.Start(0.5f);
    EXPECT_TRUE(owner->mTimer.Update(0.6f));
    EXPECT_EQ(done, 0);
}
