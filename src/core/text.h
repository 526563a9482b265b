// Text helpers shared by the whole program: printf into a string, splitting and trimming,
// ASCII case changes, UTF-8 and wide-text conversions, numbers in wide text, and paths.
// Wide text holds Unicode code points; narrow text is bytes (UTF-8 where it is text).
#pragma once
#include <string>
#include <vector>
#include <cstdarg>

std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatStringV(const char* format, va_list args);

// Parts trimmed of spaces (the space character only) and kept when not empty; the count.
int SplitString(const std::string& text, char separator, std::vector<std::string>& out);
// "a,b;c,d": groups at the first separator, each group's items at the second, both split
// as SplitString splits (a group of spaces only is no group).
std::vector<std::vector<std::string>> SplitGroups(const std::string& text, char groupSeparator, char itemSeparator);
// Skips leading spaces and overwrites trailing ones with NUL bytes; null stays null.
char* TrimSpaces(char* text);
bool StringsEqual(const char* a, const char* b);

// ASCII maps: only A-Z (a-z) change, every other byte or character stays.
std::string ToLowerString(const std::string& text);
std::wstring ToUpperW(const std::wstring& text);

// Malformed UTF-8 and lone surrogates become U+FFFD. ToUtf8 keeps at most 15999 bytes and
// ToWide at most 9999 characters, cut on a character boundary.
std::string ToUtf8(const std::wstring& text);
std::wstring ToWide(const std::string& text);
// Byte by byte: each byte is one character of the same value (0-255).
std::wstring WidenAscii(const std::string& text);
// A player's name as stored: valid UTF-8 is decoded; anything else is an older byte-wide
// name and is widened byte by byte, so no stored letter turns into U+FFFD.
std::wstring WidenStoredName(const std::string& bytes);
// Latin-1 narrowing: the empty text when any character is above 255.
std::string WideToMultiByte(const std::wstring& text);

// The whole text must be the number; false and 0 otherwise.
bool ParseIntW(const std::wstring& text, int* value);
bool ParseFloatW(const std::wstring& text, float* value);

// Separators are '/' and '\\' alike.
std::string PathDirectory(const std::string& path, bool keepSeparator);
std::string FileNameWithoutExt(const std::string& path);
// Joins a relative path to a base folder, folding only its leading "." and "..".
std::string ResolveRelativePath(const std::string& relative, const std::string& base);
