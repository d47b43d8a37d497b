#include "FontWarmup.h"

#include <QFontDatabase>
#include <QStringList>

namespace fareboard {

std::thread warmUpFontDatabase()
{
    return std::thread([] { (void)QFontDatabase::families(); });
}

}  // namespace fareboard
