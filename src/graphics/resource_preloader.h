// Images listed in "resources.xml", loaded at start-up and held until shutdown, so every
// later request for them shares the loaded texture.
#pragma once
#include <memory>
#include <string>
#include <vector>

class StaticImage;

class TResourcePreloader {
public:
    TResourcePreloader();
    ~TResourcePreloader();

    // Replaces any previous preloader with one holding the names the file lists.
    static TResourcePreloader* Create(const std::string& path);
    static TResourcePreloader* Instance();
    static void Destroy();

    int LoadAll();
    void Clear();

    const std::vector<std::string>& Names() const { return mNames; }
    const std::vector<std::unique_ptr<StaticImage>>& Images() const { return mImages; }

private:
    void ReadList(const std::string& path);

    std::vector<std::string> mNames;
    std::vector<std::unique_ptr<StaticImage>> mImages;
};
