// A list of drawables with start delays that a screen or effect updates and draws each
// frame; an owning list deletes what has finished.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

class DrawObject;
class ObjectsManager;

class ObjectsManagerListener {
public:
    virtual ~ObjectsManagerListener() = default;
    virtual void OnObjectAdded(DrawObject* /*object*/) {}
    virtual void OnObjectRemoved(DrawObject* /*object*/) {}
    virtual void OnObjectsEmpty(ObjectsManager* /*manager*/) {}
    virtual void OnObjectStarted(DrawObject* /*object*/) {}
};

class ObjectsManager {
public:
    explicit ObjectsManager(bool ownsObjects = true) : mOwnsObjects(ownsObjects) {}
    ObjectsManager(const ObjectsManager&) = delete;
    ObjectsManager& operator=(const ObjectsManager&) = delete;
    ~ObjectsManager();

    void Add(float startDelay, DrawObject* object);
    bool Remove(DrawObject* object);
    // Steps every started entry once; a call from inside a step does nothing.
    void Update(float dt);
    void Draw();
    void DeleteAll();
    DrawObject* FindReservedName() const;

    size_t Count() const { return mEntries.size(); }
    DrawObject* At(size_t i) const { return mEntries[i].mObject; }
    bool IsStarted(size_t i) const { return mEntries[i].mStarted; }
    void SetListener(ObjectsManagerListener* listener) { mListener = listener; }
    bool OwnsObjects() const { return mOwnsObjects; }
    void SetOwnsObjects(bool owns) { mOwnsObjects = owns; }

private:
    struct TEntry {
        float mElapsedDelay = 0.0f;
        float mStartDelay = 0.0f;
        DrawObject* mObject = nullptr;
        bool mStarted = false;
        uint64_t mSerial = 0;  // order of adding: an Update visits only what was there before it
    };

    void EraseAt(size_t index);

    std::vector<TEntry> mEntries;
    bool mOwnsObjects;
    ObjectsManagerListener* mListener = nullptr;
    uint64_t mNextSerial = 0;
    // Index of the entry an Update is visiting: listeners and objects may add, remove or
    // delete entries under the walk, and the walk follows them.
    int64_t mCursor = -1;
    bool mUpdating = false;
};
