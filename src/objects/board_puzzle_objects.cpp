#include "objects/board_puzzle_objects.h"

TTagObject::~TTagObject() = default;

// The win check over the cells comes with the board itself.
void TTagObject::OnTileMoved() {}

TLabyrinthObject::~TLabyrinthObject() = default;
