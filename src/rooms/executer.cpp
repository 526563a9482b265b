#include "rooms/executer.h"

#include "core/logger.h"

std::map<std::string, std::unique_ptr<TExecuter>>& ExecuterRegistry()
{
    // Built on first use, so no static object can ask before it exists.
    static std::map<std::string, std::unique_ptr<TExecuter>> registry = [] {
        std::map<std::string, std::unique_ptr<TExecuter>> made;
        for (const char* name : {"xo", "xomiss", "xodouble", "tool", "toolaftertool", "tooltool", "hint", "iteraction"})
            made[name] = std::make_unique<TExecuter>();
        return made;
    }();
    return registry;
}

TExecuter* GetExecuter(const std::string& name)
{
    auto& registry = ExecuterRegistry();
    auto it = registry.find(name);
    if (it == registry.end()) {
        GetLogger()->LogDebug("Wrong executer %s", name.c_str());
        return nullptr;
    }
    return it->second.get();
}
