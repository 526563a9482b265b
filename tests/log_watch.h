// Reads what the game logged since the watch was made (the log file of this test run).
#pragma once
#include <string>
#include <vector>

#include "core/logger.h"
#include "core/system.h"
#include "test_support.h"

class TLogWatch {
public:
    TLogWatch() : mPath(GetSystem()->UserFolder() + "/log.txt")
    {
        GetLogger();  // the file exists from here on
        mStart = ReadWholeFile(mPath).size();
    }
    std::string Text() const
    {
        std::string all = ReadWholeFile(mPath);
        return all.size() > mStart ? all.substr(mStart) : std::string();
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::string text = Text();
        for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }
    // Whole lines only: "x" does not match a line "ax" or "xa".
    bool Has(const std::string& line) const { return Count(line) > 0; }
    size_t Count(const std::string& line) const
    {
        size_t n = 0;
        for (const std::string& l : Lines()) n += l == line ? 1 : 0;
        return n;
    }
    size_t CountStartingWith(const std::string& prefix) const
    {
        size_t n = 0;
        for (const std::string& l : Lines()) n += l.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        return n;
    }

private:
    std::string mPath;
    size_t mStart = 0;
};
