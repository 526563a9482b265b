// Reads what the game logged since the watch was made (the log file of this test run).
#pragma once
#include <string>

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
    bool Has(const std::string& line) const { return Text().find(line + "\n") != std::string::npos; }
    size_t Count(const std::string& line) const
    {
        std::string text = Text();
        size_t n = 0;
        for (size_t pos = text.find(line + "\n"); pos != std::string::npos; pos = text.find(line + "\n", pos + 1)) ++n;
        return n;
    }

private:
    std::string mPath;
    size_t mStart = 0;
};
