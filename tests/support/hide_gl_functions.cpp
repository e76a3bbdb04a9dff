// Loaded into the game with LD_PRELOAD: GLEW then finds no pointer for the
// OpenGL functions that TIRAK_HIDDEN_GL_FUNCTIONS names (separated by
// commas), as on a driver that lacks them. Every other name goes on to the
// real glXGetProcAddressARB.
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>

using ProcAddress = void (*)();
using GetProcAddress = ProcAddress (*)(const unsigned char*);

namespace {

bool hidden(const char* name)
{
    const char* list = std::getenv("TIRAK_HIDDEN_GL_FUNCTIONS");
    const size_t length = std::strlen(name);
    for (const char* at = list ? std::strstr(list, name) : nullptr; at; at = std::strstr(at + 1, name))
        if ((at == list || at[-1] == ',') && (at[length] == ',' || at[length] == '\0'))
            return true;
    return false;
}

} // namespace

extern "C" ProcAddress glXGetProcAddressARB(const unsigned char* name)
{
    static const auto real = reinterpret_cast<GetProcAddress>(dlsym(RTLD_NEXT, "glXGetProcAddressARB"));
    if (hidden(reinterpret_cast<const char*>(name)) || real == nullptr)
        return nullptr;
    return real(name);
}
