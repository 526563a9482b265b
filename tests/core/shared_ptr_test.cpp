#include <gtest/gtest.h>

#include <cstring>

#include "core/SharedPtr.h"
#include "core/counted_ptr.h"

namespace {
struct TTracked {
    explicit TTracked(int* deaths) : mDeaths(deaths) {}
    virtual ~TTracked() { ++*mDeaths; }
    int* mDeaths;
};
}

TEST(SharedPtr, TwoPointersFromOneRawPointerDeleteOnceAfterBoth)
{
    int deaths = 0;
    TTracked* raw = new TTracked(&deaths);
    {
        SharedPtr<TTracked> a(raw);
        {
            SharedPtr<TTracked> b(raw);
            EXPECT_EQ(SharedPtr<TTracked>::CountOf(raw), 2);
        }
        EXPECT_EQ(deaths, 0);
        SharedPtr<TTracked> c = a;
        c = c;  // self-assignment keeps the count
        EXPECT_EQ(SharedPtr<TTracked>::CountOf(raw), 2);
    }
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(SharedPtr<TTracked>::CountOf(raw), 0);
}

TEST(SharedPtr, ReassignReleasesTheOldTarget)
{
    int deaths = 0;
    SharedPtr<TTracked> p(new TTracked(&deaths));
    p = new TTracked(&deaths);
    EXPECT_EQ(deaths, 1);
    p = SharedPtr<TTracked>();
    EXPECT_EQ(deaths, 2);
}

TEST(SharedPtrDeathTest, ReleaseOfAnUnregisteredPointerStops)
{
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(
        {
            int deaths = 0;
            TTracked* raw = new TTracked(&deaths);
            SharedPtr<TTracked> a(raw);
            SharedPtr<TTracked> b(raw);
            a.Release();
            b.Release();  // count hit 0: the entry is gone
            // A third holder made by copying raw memory would release an unknown pointer.
            alignas(SharedPtr<TTracked>) unsigned char bytes[sizeof(SharedPtr<TTracked>)];
            TTracked* dangling = reinterpret_cast<TTracked*>(0x1000);
            memcpy(bytes, &dangling, sizeof(dangling));
            reinterpret_cast<SharedPtr<TTracked>*>(bytes)->Release();
        },
        "it != all.end\\(\\)");
}

TEST(CountedPtr, ResetToTheSamePointerKeepsTheCount)
{
    int* value = new int(7);
    CountedPtr<int> a(value);
    CountedPtr<int> b = a;
    a.Reset(value);
    EXPECT_EQ(a.UseCount(), 2);
    a.Release();
    EXPECT_EQ(a.Get(), nullptr);
    EXPECT_EQ(b.UseCount(), 1);
    EXPECT_EQ(*b, 7);
}

TEST(CountedHandle, LastReleaseDeletesTargetWhileWatcherReadsZero)
{
    int deaths = 0;
    CountedPtr<int> watcher;
    {
        CountedHandle<TTracked> h(new TTracked(&deaths));
        watcher.Assign(h.Holders());
        CountedHandle<TTracked> copy = h;
        copy = h;  // same target: no count change
        EXPECT_EQ(*watcher, 2);
    }
    EXPECT_EQ(deaths, 1);
    ASSERT_NE(watcher.Get(), nullptr);
    EXPECT_EQ(*watcher, 0);
}

TEST(CountedHandle, ReleaseEmptiesTheHandleSoItsDestructorDoesNotCountAgain)
{
    int deaths = 0;
    CountedHandle<TTracked> keep(new TTracked(&deaths));
    {
        CountedHandle<TTracked> other = keep;
        other.Release();
        EXPECT_FALSE(other);
        EXPECT_EQ(keep.HolderCount(), 1);
    }
    EXPECT_EQ(keep.HolderCount(), 1);
    EXPECT_EQ(deaths, 0);
}

namespace {
struct TNode {
    SharedPtr<TNode> mNext;
    int mValue = 0;
};
struct THandleNode {
    CountedHandle<THandleNode> mChild;
    int mValue = 0;
};
struct TPtrNode {
    CountedPtr<TPtrNode> mNext;
    int mValue = 0;
};
}

// The assigned value lives inside the target being let go: it must be held first.
TEST(SharedPointers, AssignFromWhatTheOldTargetOwnsKeepsTheNewValue)
{
    SharedPtr<TNode> head(new TNode);
    head->mNext = new TNode;
    head->mNext->mValue = 2;
    head = head->mNext;
    ASSERT_TRUE(head);
    EXPECT_EQ(head->mValue, 2);
    EXPECT_EQ(SharedPtr<TNode>::CountOf(head.Get()), 1);
    head = head;
    EXPECT_EQ(SharedPtr<TNode>::CountOf(head.Get()), 1);

    CountedHandle<THandleNode> h(new THandleNode);
    h->mChild = CountedHandle<THandleNode>(new THandleNode);
    h->mChild->mValue = 3;
    h = h->mChild;
    ASSERT_TRUE(h);
    EXPECT_EQ(h->mValue, 3);
    EXPECT_EQ(h.HolderCount(), 1);
    h = h;
    EXPECT_EQ(h.HolderCount(), 1);

    CountedPtr<TPtrNode> p(new TPtrNode);
    p->mNext = CountedPtr<TPtrNode>(new TPtrNode);
    p->mNext->mValue = 4;
    p = p->mNext;
    ASSERT_NE(p.Get(), nullptr);
    EXPECT_EQ(p->mValue, 4);
    EXPECT_EQ(p.UseCount(), 1);
    p = p;
    EXPECT_EQ(p.UseCount(), 1);
}
