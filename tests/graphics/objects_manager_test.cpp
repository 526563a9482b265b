#include "graphics/objects_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/draw_object.h"

namespace {

std::vector<std::string>* gLog = nullptr;

// Records its updates and draws; done after a set number of updates.
class TProbe : public DrawObject {
public:
    explicit TProbe(const std::string& name, int life = 1000) : mLife(life) { SetName(name); }
    ~TProbe() override
    {
        if (gLog) gLog->push_back("delete " + GetName());
    }
    bool Update(float) override
    {
        ++updates;
        if (--mLife <= 0) mDone = true;
        return mDone;
    }
    void Draw(float) override { ++draws; }
    int updates = 0;
    int draws = 0;

private:
    int mLife;
};

class TRecorder : public ObjectsManagerListener {
public:
    void OnObjectAdded(DrawObject* o) override { log.push_back("added " + o->GetName()); }
    void OnObjectRemoved(DrawObject* o) override { log.push_back("removed " + o->GetName()); }
    void OnObjectsEmpty(ObjectsManager*) override { log.push_back("empty"); }
    void OnObjectStarted(DrawObject* o) override { log.push_back("started " + o->GetName()); }
    std::vector<std::string> log;
};

class ObjectsManagerTest : public ::testing::Test {
protected:
    void SetUp() override { gLog = &recorder.log; }
    void TearDown() override { gLog = nullptr; }
    TRecorder recorder;
};

TEST_F(ObjectsManagerTest, DelayedEntryIsNeitherUpdatedNorDrawnBeforeItsDelay)
{
    ObjectsManager m(false);
    TProbe probe("p");
    m.SetListener(&recorder);
    m.Add(0.5f, &probe);
    m.Update(0.25f);
    m.Draw();
    m.Update(0.25f);  // the delay ends here, without an update of the object
    EXPECT_EQ(0, probe.updates);
    EXPECT_EQ(0, probe.draws);
    m.Draw();
    EXPECT_EQ(1, probe.draws);
    m.Update(0.25f);
    EXPECT_EQ(1, probe.updates);
    EXPECT_EQ((std::vector<std::string>{"added p", "started p"}), recorder.log);
}

TEST_F(ObjectsManagerTest, OwningManagerRemovesThenReportsEmptyWithinOneUpdate)
{
    ObjectsManager m(true);
    m.SetListener(&recorder);
    m.Add(0, new TProbe("a", 1));
    recorder.log.clear();
    m.Update(0.1f);
    EXPECT_EQ((std::vector<std::string>{"removed a", "delete a", "empty"}), recorder.log);
    EXPECT_EQ(0u, m.Count());
}

TEST_F(ObjectsManagerTest, ManagerThatDoesNotOwnKeepsDoneObjects)
{
    TProbe probe("p", 1);
    {
        ObjectsManager m(false);
        m.Add(0, &probe);
        m.Update(0.1f);
        EXPECT_EQ(1u, m.Count());
        EXPECT_TRUE(m.Remove(&probe));
        EXPECT_FALSE(m.Remove(&probe));
    }
    EXPECT_EQ(1, probe.updates);  // still alive: the manager never deleted it
}

TEST_F(ObjectsManagerTest, FindReservedName)
{
    ObjectsManager m(true);
    m.Add(0, new TProbe("x"));
    EXPECT_EQ(nullptr, m.FindReservedName());
    TProbe* reserved = new TProbe("909090");
    m.Add(0.3f, reserved);
    EXPECT_EQ(reserved, m.FindReservedName());
}

// The next effect starts from OnObjectsEmpty: the vector grows under the walk.
class TChainListener : public ObjectsManagerListener {
public:
    explicit TChainListener(ObjectsManager* m) : mManager(m) {}
    void OnObjectsEmpty(ObjectsManager*) override
    {
        if (mChained++ == 0) {
            next = new TProbe("next");
            for (int i = 0; i < 20; ++i) mManager->Add(0, new TProbe("filler", 1000));
            mManager->Add(0, next);
        }
    }
    ObjectsManager* mManager;
    TProbe* next = nullptr;
    int mChained = 0;
};

TEST_F(ObjectsManagerTest, ListenerAddingWhenEmptyIsSafeAndTheNewObjectRunsLater)
{
    ObjectsManager m(true);
    TChainListener chain(&m);
    m.SetListener(&chain);
    m.Add(0, new TProbe("first", 1));
    m.Update(0.1f);
    ASSERT_NE(nullptr, chain.next);
    EXPECT_EQ(0, chain.next->updates);
    m.Update(0.1f);
    m.Draw();
    EXPECT_EQ(1, chain.next->updates);
    EXPECT_EQ(1, chain.next->draws);
}

class TDeleteAllListener : public ObjectsManagerListener {
public:
    explicit TDeleteAllListener(ObjectsManager* m) : mManager(m) {}
    void OnObjectRemoved(DrawObject*) override { mManager->DeleteAll(); }
    ObjectsManager* mManager;
};

TEST_F(ObjectsManagerTest, ListenerDeletingEverythingWhileAnObjectIsRemoved)
{
    ObjectsManager m(true);
    TDeleteAllListener wipe(&m);
    m.SetListener(&wipe);
    m.Add(0, new TProbe("a", 1000));
    m.Add(0, new TProbe("b", 1));
    m.Add(0, new TProbe("c", 1));
    m.Update(0.1f);
    EXPECT_EQ(0u, m.Count());
    EXPECT_EQ((std::vector<std::string>{"delete a", "delete c", "delete b"}), recorder.log);
}

}  // namespace

namespace {
// Steps its own manager from inside its update, once.
class TReentrantProbe : public TProbe {
public:
    TReentrantProbe(ObjectsManager* manager) : TProbe("reentrant"), mManager(manager) {}
    bool Update(float dt) override
    {
        TProbe::Update(dt);
        if (!mReentered) {
            mReentered = true;
            mManager->Update(dt);
        }
        return false;
    }
    ObjectsManager* mManager;
    bool mReentered = false;
};
}  // namespace

TEST_F(ObjectsManagerTest, UpdateFromInsideAnUpdateStepsEachEntryOnce)
{
    ObjectsManager manager;
    TProbe* first = new TProbe("first");
    TReentrantProbe* middle = new TReentrantProbe(&manager);
    TProbe* last = new TProbe("last");
    manager.Add(0.0f, first);
    manager.Add(0.0f, middle);
    manager.Add(0.0f, last);
    manager.Update(0.1f);
    EXPECT_EQ(first->updates, 1);
    EXPECT_EQ(middle->updates, 1);
    EXPECT_EQ(last->updates, 1);
    manager.Update(0.1f);
    EXPECT_EQ(first->updates, 2);
    EXPECT_EQ(last->updates, 2);
}
