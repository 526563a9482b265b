#include "core/SharedPtr.h"

#include <SDL_log.h>

#include "core/logger.h"

void SharedPtrCheckFailed(const char* check, const char* file, int line)
{
    // A broken count means an object is about to be freed twice or never: stop here.
    GetLogger()->LogMessage("check failed: %s (%s:%d)", check, file, line);
    fprintf(stderr, "check failed: %s (%s:%d)\n", check, file, line);
    abort();
}
