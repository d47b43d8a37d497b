#include "platform/ShiftJis.h"

#include <gtest/gtest.h>

using namespace fareboard;

TEST(ShiftJis, placeholder) { EXPECT_EQ(shiftJisLength(QStringLiteral("内容")), 4); }
