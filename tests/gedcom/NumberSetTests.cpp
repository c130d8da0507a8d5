#include "gedcom/NumberSet.h"

#include <gtest/gtest.h>

TEST(NumberSet, KeepsNumbersOfEveryRange)
{
    // Small numbers, one past a grown vector, negatives and numbers beyond the vector's reach.
    const int numbers[] = {1, 2, 0, 1000, 64, 65, -1, -7, (1 << 26) - 1, 1 << 26, 2147483647, -2147483647 - 1};
    NumberSet set;
    for (int n : numbers) {
        EXPECT_FALSE(set.contains(n)) << n;
        set.insert(n);
        EXPECT_TRUE(set.contains(n)) << n;
    }
    for (int n : numbers)
        EXPECT_TRUE(set.contains(n)) << n;
    for (int n : {3, 999, 1001, 63, 66, -2, (1 << 26) - 2, (1 << 26) + 1, 2147483646})
        EXPECT_FALSE(set.contains(n)) << n;
}
