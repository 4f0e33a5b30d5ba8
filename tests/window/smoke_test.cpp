#include <gtest/gtest.h>
#include "toolkit/window/window_table.h"
TEST(Smoke, Builds) { EXPECT_EQ(FindWindowSlot(0), -1); }
