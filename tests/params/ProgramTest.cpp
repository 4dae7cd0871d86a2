#include <gtest/gtest.h>

#include <cstring>

#include "params/InitProgram.h"
#include "params/ParameterList.h"

using namespace grelmond;

TEST(InitProgram, HoldsTheDefaults) {
  InitProgram init;
  EXPECT_STREQ(init.name(), "Init");
  const float expected[kNumParameters] = {
      0,   0, 0, 0, 0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0,   0,   .5f, .5f, .5f, .5f, .5f, .5f,
      .5f, .5f, .5f, .5f, 0, 0, .5f, .5f, 0, 0, .5f, 1, .5f, .3f, 0, 0, 0, 0, 0, 0, .5f, 1,
      0,   0, .5f, .5f, 0, .5f, .5f, .5f, 0, .5f, .5f, .5f, 0, 0, .5f, 0, .5f, .5f, .5f, .5f};
  for (ParameterId i = 0; i < kNumParameters; ++i) EXPECT_EQ(init.value(i), expected[i]) << i;
}

TEST(Program, NamesAreCutTo23Characters) {
  Program p;
  p.setName("abcdefghijklmnopqrstuvwxyz1234"); // 30 characters
  EXPECT_STREQ(p.name(), "abcdefghijklmnopqrstuvw");
  p.setName(nullptr);
  EXPECT_STREQ(p.name(), "abcdefghijklmnopqrstuvw");
}

TEST(Program, IndicesOutsideTheTableAreIgnored) {
  Program p;
  p.setValue(64, 1.0f);
  p.setValue(-1, 1.0f);
  EXPECT_EQ(p.value(64), 0.0f);
  EXPECT_EQ(p.value(-1), 0.0f);
  for (ParameterId i = 0; i < kNumParameters; ++i) EXPECT_EQ(p.value(i), 0.0f);
}

TEST(ParameterList, ExchangesPositions36And37AndRoundTrips) {
  Program p;
  for (ParameterId i = 0; i < kNumParameters; ++i) p.setValue(i, i / 100.0f);
  p.setName("A long name of thirty chars!!");

  ParameterList list;
  list.fillFrom(p);
  EXPECT_EQ(list.values[36], p.value(37));
  EXPECT_EQ(list.values[37], p.value(36));
  EXPECT_EQ(list.values[49], p.value(49)); // storage order does not leak
  EXPECT_STREQ(list.name, p.name());

  auto back = list.toProgram(list.name);
  ASSERT_TRUE(back);
  EXPECT_TRUE(*back == p);
}

TEST(ParameterList, LongListNamesAreCutInTheProgram) {
  ParameterList list;
  std::memset(list.name, 'x', sizeof list.name - 1);
  auto p = list.toProgram(list.name);
  ASSERT_TRUE(p);
  EXPECT_EQ(std::strlen(p->name()), 23u);
}
