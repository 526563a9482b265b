#include "core/text.h"

#include <cstring>

int SplitString(const char* text, char separator, std::vector<std::string>& out)
{
    out.clear();
    if (!text) return 0;
    const char* start = text;
    for (;;) {
        const char* end = separator ? strchr(start, separator) : nullptr;
        size_t len = end ? static_cast<size_t>(end - start) : strlen(start);
        size_t first = 0;
        while (first < len && start[first] == ' ') ++first;
        while (len > first && start[len - 1] == ' ') --len;
        if (len > first) out.emplace_back(start + first, len - first);
        if (!end) break;
        start = end + 1;
    }
    return static_cast<int>(out.size());
}

char* TrimSpaces(char* text)
{
    if (!text || !*text) return text;
    while (*text == ' ') ++text;
    size_t len = strlen(text);
    while (len > 0 && text[len - 1] == ' ') text[--len] = '\0';
    return text;
}
