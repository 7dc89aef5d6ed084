#include "matching/UnitVariableCatalogue.h"

#include <gtest/gtest.h>

TEST(VariableCatalogueTest, TableOrderAndIndexes) {
  EXPECT_EQ(FindSimpleVariable(u"?cf?"), 0);
  EXPECT_EQ(FindSimpleVariable(u"?zn?"), 21);
  EXPECT_EQ(FindSimpleVariable(u"?n13?"), 22);
  EXPECT_EQ(FindSimpleVariable(u"?n01?"), 34);
  EXPECT_EQ(FindSimpleVariable(u"?n00?"), 35);
  EXPECT_EQ(FindSimpleVariable(u"?temp?"), 41);
  EXPECT_EQ(FindSimpleVariable(u"?text1?"), 42);
  EXPECT_EQ(FindSimpleVariable(u"?text99?"), 140);
  EXPECT_EQ(SimpleVariables().size(), 41u + 1u);
  for (int i = 0; i <= 140; ++i) EXPECT_EQ(FindSimpleVariable(SimpleVariableName(i)), i) << i;
}

TEST(VariableCatalogueTest, LookupIsByLowerCaseName) {
  EXPECT_EQ(FindSimpleVariable(u"?CF?"), -1);  // callers lower-case first
  EXPECT_EQ(FindSimpleVariable(u"?cf ?"), -1);
  EXPECT_EQ(FindSimpleVariable(u"?text0?"), -1);
  EXPECT_EQ(FindSimpleVariable(u"?text100?"), -1);
  EXPECT_EQ(FindSimpleVariable(u"?n14?"), -1);
  EXPECT_EQ(FindSimpleVariable(u""), -1);
}
