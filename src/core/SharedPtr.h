// Reference-counted pointer whose counts live in one registry per pointee type, keyed by
// address: two SharedPtrs made independently from the same raw pointer share one count.
#pragma once
#include <map>
#include <utility>

void SharedPtrCheckFailed(const char* check, const char* file, int line);

#define SHARED_PTR_CHECK(cond) \
    do { if (!(cond)) SharedPtrCheckFailed(#cond, "SharedPtr", __LINE__); } while (0)

template <class T>
class SharedPtr {
public:
    SharedPtr() = default;
    SharedPtr(T* p) : mPtr(p) { AddRef(); }  // implicit, as the engine passes raw pointers around
    SharedPtr(const SharedPtr& other) : mPtr(other.mPtr) { AddRef(); }
    ~SharedPtr() { Release(); }

    // The new reference is taken before the old one is dropped: `other` may live inside the
    // old target (`head = head->next`) and die with it.
    SharedPtr& operator=(const SharedPtr& other)
    {
        SharedPtr keep(other);
        std::swap(mPtr, keep.mPtr);
        return *this;
    }
    SharedPtr& operator=(T* p) { return *this = SharedPtr(p); }

    T* Get() const { return mPtr; }
    T* operator->() const { return mPtr; }
    T& operator*() const { return *mPtr; }
    explicit operator bool() const { return mPtr != nullptr; }
    bool operator==(const SharedPtr& o) const { return mPtr == o.mPtr; }
    bool operator!=(const SharedPtr& o) const { return mPtr != o.mPtr; }
    bool operator<(const SharedPtr& o) const { return mPtr < o.mPtr; }

    void AddRef()
    {
        if (!mPtr) return;
        auto& all = AllPtrs();
        auto it = all.find(mPtr);
        if (it == all.end())
            all.emplace(mPtr, 1);
        else
            ++it->second;
    }

    void Release()
    {
        if (!mPtr) return;
        auto& all = AllPtrs();
        auto it = all.find(mPtr);
        SHARED_PTR_CHECK(it != all.end());
        SHARED_PTR_CHECK(it->second > 0);
        T* p = mPtr;
        mPtr = nullptr;
        if (--it->second == 0) {
            all.erase(it);
            delete p;
        }
    }

    // Count held for a pointer; 0 when it is not shared.
    static int CountOf(const T* p)
    {
        auto& all = AllPtrs();
        auto it = all.find(const_cast<T*>(p));
        return it == all.end() ? 0 : it->second;
    }

private:
    // Allocated on first use and never destroyed, so a SharedPtr with static storage can
    // still release safely while the program exits.
    static std::map<T*, int>& AllPtrs()
    {
        static std::map<T*, int>* all = new std::map<T*, int>();
        return *all;
    }

    T* mPtr = nullptr;
};
