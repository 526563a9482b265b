// The game board that hosts a picture being painted.
#pragma once

class TBoard {
public:
    virtual ~TBoard() = default;
};
