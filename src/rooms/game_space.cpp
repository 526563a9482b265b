#include "rooms/game_space.h"

// The base space applies none of these itself: its owner does, and without one they are
// dropped.

bool TGameSpace::RunCommands(const TToolRecordList* records, TObject* object, float delay)
{
    if (mOwnerListener) mOwnerListener->RunCommands(records, object, delay);
    return false;
}

void TGameSpace::UnlockObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->UnlockObjects(group);
}

void TGameSpace::LockObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->LockObjects(group);
}

void TGameSpace::ActivateObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->ActivateObjects(group);
}

void TGameSpace::DeactivateObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->DeactivateObjects(group);
}

void TGameSpace::ShowObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->ShowObjects(group);
}

void TGameSpace::HideObjects(const TObjectRefGroup* group)
{
    if (mOwnerListener) mOwnerListener->HideObjects(group);
}

void TGameSpace::ApplyEffList(const TObjectRefGroup* group, TObject* object)
{
    if (mOwnerListener) mOwnerListener->ApplyEffList(group, object);
}

void TGameSpace::ApplyEffsList(const TObjectRefGroup* group, TObject* object)
{
    if (mOwnerListener) mOwnerListener->ApplyEffsList(group, object);
}

// The owner's task and name-list operations take the list only.
void TGameSpace::AddTasks(const TNameGroup* tasks, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->AddTasks(tasks);
}

void TGameSpace::RemoveTasks(const TNameGroup* tasks, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->RemoveTasks(tasks);
}

void TGameSpace::ApplyAobj(const TNameGroup* names, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->ApplyAobj(names);
}

void TGameSpace::ApplyRobj(const TNameGroup* names, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->ApplyRobj(names);
}

void TGameSpace::ApplyCobj(const TNameGroup* names, TObject* /*object*/)
{
    if (mOwnerListener) mOwnerListener->ApplyCobj(names);
}
