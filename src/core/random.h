// The one random generator of the game: a 15-bit generator with the classic rand() contract,
// so tests can seed it and compute what the game will draw.
#pragma once

void SeedRandom(unsigned seed);
int GameRand();  // 0..32767
