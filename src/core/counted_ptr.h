// Pointers with a separately allocated count: CountedPtr shares an object between copies;
// CountedHandle keeps its holder count in a cell that a cache can watch without keeping
// the target alive.
#pragma once

template <class T>
class CountedPtr {
public:
    CountedPtr() = default;
    explicit CountedPtr(T* p) { Reset(p); }
    CountedPtr(const CountedPtr& other) { Assign(other); }
    CountedPtr& operator=(const CountedPtr& other) { Assign(other); return *this; }
    ~CountedPtr() { Release(); }

    // Always leaves this holder empty; the object dies with the last holder.
    void Release()
    {
        if (mObject) {
            if (mCount && --*mCount > 0) {
                mObject = nullptr;
                mCount = nullptr;
                return;
            }
            delete mCount;
            delete mObject;
        }
        mObject = nullptr;
        mCount = nullptr;
    }

    void Reset(T* p)
    {
        if (p == mObject) return;
        Release();
        if (p) {
            mObject = p;
            mCount = new int(1);
        }
    }

    // Counts the new holder before releasing the old object: `other` may be owned by it.
    void Assign(const CountedPtr& other)
    {
        if (other.mObject == mObject) return;
        T* object = other.mObject;
        int* count = other.mCount;
        if (count) ++*count;
        Release();
        mObject = object;
        mCount = count;
    }

    T* Get() const { return mObject; }
    T* operator->() const { return mObject; }
    T& operator*() const { return *mObject; }
    int UseCount() const { return mCount ? *mCount : 0; }

private:
    T* mObject = nullptr;
    int* mCount = nullptr;
};

template <class T>
class CountedHandle {
public:
    CountedHandle() = default;
    explicit CountedHandle(T* p) : mTarget(p)
    {
        if (p) mHolders.Reset(new int(1));
    }
    // A new holder of a target whose cell a watcher (a cache entry) kept; empty once the
    // count has reached 0, because the target is gone by then.
    CountedHandle(T* p, const CountedPtr<int>& holders)
    {
        if (p && holders.Get() && *holders > 0) {
            mTarget = p;
            mHolders.Assign(holders);
            ++*mHolders;
        }
    }
    CountedHandle(const CountedHandle& other) { Assign(other); }
    CountedHandle& operator=(const CountedHandle& other) { Assign(other); return *this; }
    ~CountedHandle() { Release(); }

    // Holds the new target before releasing the old one: `other` may live inside the old
    // target (`h = h->child`) and die with it.
    void Assign(const CountedHandle& other)
    {
        if (other.mTarget == mTarget) return;
        T* target = other.mTarget;
        CountedPtr<int> holders(other.mHolders);
        if (target) ++*holders;
        Release();
        mTarget = target;
        mHolders.Assign(holders);
    }

    // Drops this handle's hold: the target dies only when the holder count reaches 0,
    // but the handle is empty afterwards either way, so its destructor never counts again.
    void Release()
    {
        if (mTarget && mHolders.Get()) {
            if (--*mHolders == 0) delete mTarget;
        }
        mTarget = nullptr;
        mHolders.Release();
    }

    void Reset(T* p = nullptr)
    {
        CountedHandle fresh(p);
        Assign(fresh);
    }

    T* Get() const { return mTarget; }
    T* operator->() const { return mTarget; }
    T& operator*() const { return *mTarget; }
    explicit operator bool() const { return mTarget != nullptr; }
    // The shared cell itself, for a watcher that must not keep the target alive.
    const CountedPtr<int>& Holders() const { return mHolders; }
    int HolderCount() const { return mHolders.Get() ? *mHolders : 0; }

private:
    T* mTarget = nullptr;
    CountedPtr<int> mHolders;
};
