#include "FontWarmup.h"

#include <fontconfig/fontconfig.h>

namespace fareboard {

std::thread warmUpFontConfig()
{
    // FcInit installs the configuration it builds atomically; a racing caller's copy is dropped.
    return std::thread([] { FcInit(); });
}

}  // namespace fareboard
