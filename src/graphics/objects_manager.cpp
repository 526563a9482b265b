#include "graphics/objects_manager.h"

#include "graphics/draw_object.h"

ObjectsManager::~ObjectsManager()
{
    if (mOwnsObjects) DeleteAll();
}

void ObjectsManager::Add(float startDelay, DrawObject* object)
{
    TEntry entry;
    entry.mStartDelay = startDelay;
    entry.mObject = object;
    entry.mStarted = !(startDelay > 0.0f);
    entry.mSerial = mNextSerial++;
    mEntries.push_back(entry);
    if (mListener) {
        if (entry.mStarted) mListener->OnObjectStarted(object);
        mListener->OnObjectAdded(object);
    }
}

void ObjectsManager::EraseAt(size_t index)
{
    mEntries.erase(mEntries.begin() + static_cast<std::ptrdiff_t>(index));
    if (static_cast<int64_t>(index) <= mCursor) --mCursor;
}

bool ObjectsManager::Remove(DrawObject* object)
{
    for (size_t i = 0; i < mEntries.size(); ++i) {
        if (mEntries[i].mObject != object) continue;
        EraseAt(i);
        bool becameEmpty = mEntries.empty();
        if (mListener) mListener->OnObjectRemoved(object);
        if (becameEmpty && mListener) mListener->OnObjectsEmpty(this);
        return true;
    }
    return false;
}

void ObjectsManager::Update(float dt)
{
    // An object whose update steps its own manager again would restart this walk: each entry
    // is stepped once per outer update, so the nested call does nothing.
    if (mUpdating) return;
    mUpdating = true;
    const uint64_t visitBefore = mNextSerial;
    for (mCursor = 0; mCursor >= 0 && static_cast<size_t>(mCursor) < mEntries.size(); ++mCursor) {
        TEntry& entry = mEntries[static_cast<size_t>(mCursor)];
        if (entry.mSerial >= visitBefore) break;  // added during this walk
        if (entry.mStartDelay > 0.0f && entry.mStartDelay > entry.mElapsedDelay) {
            entry.mElapsedDelay += dt;
            if (entry.mElapsedDelay >= entry.mStartDelay) {
                entry.mStarted = true;
                if (mListener) mListener->OnObjectStarted(entry.mObject);
            }
            continue;
        }
        DrawObject* object = entry.mObject;
        const uint64_t serial = entry.mSerial;
        object->Update(dt);
        // The object's own update may have taken it out (or emptied the list).
        if (mCursor < 0 || static_cast<size_t>(mCursor) >= mEntries.size() ||
            mEntries[static_cast<size_t>(mCursor)].mSerial != serial)
            continue;
        if (!mOwnsObjects || !object->IsDone()) continue;
        // Out of the list before anyone hears of it, so a listener that deletes everything
        // cannot delete this object a second time.
        EraseAt(static_cast<size_t>(mCursor));
        bool becameEmpty = mEntries.empty();
        if (mListener) mListener->OnObjectRemoved(object);
        delete object;
        if (becameEmpty && mListener) mListener->OnObjectsEmpty(this);
    }
    mCursor = -1;
    mUpdating = false;
}

void ObjectsManager::Draw()
{
    for (size_t i = 0; i < mEntries.size(); ++i) {
        if (mEntries[i].mStarted) mEntries[i].mObject->Draw(1.0f);
    }
}

void ObjectsManager::DeleteAll()
{
    std::vector<TEntry> doomed;
    doomed.swap(mEntries);
    mCursor = -1;
    for (TEntry& entry : doomed) delete entry.mObject;
}

DrawObject* ObjectsManager::FindReservedName() const
{
    for (const TEntry& entry : mEntries) {
        if (entry.mObject->GetName() == "909090") return entry.mObject;
    }
    return nullptr;
}
