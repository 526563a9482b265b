// Program start, the start-up loader, the frame loop and the shutdown sequence.
#pragma once
#include <vector>

struct SDL_Window;

int RunGame();
// The game's window, titled with the "GameName" text.
SDL_Window* CreateGameWindow(int width, int height);
// Everything before the frame loop: false when the game cannot run (already cleaned up).
bool StartGame();
bool InitGame();
void RunFrame();
void UpdateGame(float dt);
void RenderGame();
void UpdateKeepAwake();
void ReleaseGame();
void QuitGame();

template <class T>
void FreePointerVector(std::vector<T*>& items)
{
    for (T* item : items) delete item;
    std::vector<T*>().swap(items);
}
