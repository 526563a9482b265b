#include "core/app.h"

int main()
{
    return RunGame();
}
