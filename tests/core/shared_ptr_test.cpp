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
