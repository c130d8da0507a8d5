#include "gedcom/GedRec.h"

#include <gtest/gtest.h>

TEST(GedRec, Placeholder) { GedRec r(nullptr, "@I1@", "INDI", ""); EXPECT_EQ(r.ptr(), "I1"); }
