#include "SharedLibrary.h"

#include <dlfcn.h>

namespace fareboard {

SharedLibrary::SharedLibrary(const char* soname)
    // Bound now, so that a library missing a function it needs itself fails here, where the
    // caller has a way out, and not at some later call.
    : handle_(soname ? dlopen(soname, RTLD_NOW | RTLD_LOCAL) : nullptr)
{
}

void* SharedLibrary::symbol(const char* name) const
{
    return handle_ ? dlsym(handle_, name) : nullptr;
}

}  // namespace fareboard
