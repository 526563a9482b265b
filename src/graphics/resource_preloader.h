// Images listed in "resources.xml", loaded at start-up and held until shutdown.
#pragma once
#include <string>

class TResourcePreloader {
public:
    static TResourcePreloader* Create(const std::string& path);
    static TResourcePreloader* Instance();
    static void Destroy();
    void LoadAll() {}
    void Clear() {}
};
