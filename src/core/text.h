// Text helpers shared by the readers: splitting lists and trimming keys.
#pragma once
#include <string>
#include <vector>

// Clears the list, then appends every part of the text between separators, trimmed of
// spaces (the space character only) and dropped when empty; the number of parts.
int SplitString(const char* text, char separator, std::vector<std::string>& out);
// Trims spaces (only ' ') in place: skips the leading ones, overwrites trailing ones with NUL.
char* TrimSpaces(char* text);
