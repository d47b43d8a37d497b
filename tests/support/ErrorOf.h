#pragma once

#include "platform/AppError.h"

#include <functional>

namespace fareboard::test {

// The number of the AppError `f` throws, 0 when it throws none.
inline int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const AppError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace fareboard::test
