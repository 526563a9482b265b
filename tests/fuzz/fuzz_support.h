// Shared set-up of the fuzz targets: a throw-away user folder, a quiet log, and whole files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// XDG_DATA_HOME in a fresh temporary folder (removed at exit), the user folders made, and a
// log that formats every line but writes none: a failed load logs twice per input, thousands
// of times a second.
void InitFuzzEnvironment();
// Writes the bytes as the user file of that name; its "user:" path.
std::string WriteUserFile(const std::string& name, const uint8_t* data, size_t size);
// A software renderer on an in-memory surface of that size, made the game's renderer for the
// whole run (and held where the leak check looks at exit).
void InitFuzzRenderer(int width, int height);
