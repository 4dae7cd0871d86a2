#include <gtest/gtest.h>

#include <cstring>

#include "params/InitProgram.h"
#include "params/ParameterList.h"
#include "params/ProgramBank.h"

using namespace grelmond;

TEST(InitProgram, HoldsTheDefaults) {
  InitProgram init;
  EXPECT_STREQ(init.name().c_str(), "Init");
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

TEST(ProgramBank, DefaultNamesAndTheInitRule) {
  ProgramBank bank;
  bank.createDefaults(InitProgram());
  char text[ProgramBank::kProgramNameSize];
  bank.displayName(9, text);
  EXPECT_STREQ(text, "Grelmond 10");
  EXPECT_TRUE(bank.storedName(63, text));
  EXPECT_STREQ(text, "Grelmond 64");
  EXPECT_EQ(bank.program(5)->value(param::kFilterCutoff), 0.5f);

  bank.program(4)->setName("Init");
  bank.displayName(4, text);
  EXPECT_STREQ(text, "Init 5");
  EXPECT_TRUE(bank.storedName(4, text));
  EXPECT_STREQ(text, "Init");

  std::strcpy(text, "keep");
  EXPECT_FALSE(bank.storedName(64, text));
  EXPECT_FALSE(bank.storedName(-1, text));
  EXPECT_STREQ(text, "keep");
}

TEST(ProgramBank, EmptySlotsReadAsEmptyNames) {
  ProgramBank bank;
  char text[ProgramBank::kProgramNameSize] = "x";
  EXPECT_EQ(bank.program(0), nullptr);
  bank.displayName(0, text);
  EXPECT_STREQ(text, "");
  bank.replace(64, std::make_unique<Program>()); // dropped, no crash

  bank.createDefaults(InitProgram());
  Program* current = bank.program(3);
  auto loaded = std::make_unique<Program>();
  loaded->setName("Loaded");
  loaded->setValue(param::kMainVolume, 0.25f);
  bank.replace(3, std::move(loaded));
  EXPECT_EQ(bank.program(3), current); // still valid for a concurrent setParameter
  EXPECT_STREQ(current->name().c_str(), "Loaded");
  EXPECT_EQ(current->value(param::kMainVolume), 0.25f);
  bank.replace(3, nullptr);
  EXPECT_EQ(bank.program(3), current);
}

TEST(ProgramBank, ProgramChangeGoesThroughTheFraction) {
  ProgramBank bank;
  EXPECT_EQ(bank.programChange(5), 5);
  EXPECT_EQ(bank.currentFraction(), 5 / 64.0f);
  EXPECT_EQ(bank.programChange(127), 63);
  EXPECT_EQ(bank.programChange(64), 0);
  EXPECT_EQ(bank.programChange(128), -1);
  EXPECT_EQ(bank.programChange(-1), -1);
  for (int i = 0; i < 64; ++i) {
    bank.setCurrentIndex(i);
    ASSERT_EQ(bank.currentIndexFromFraction(), i);
  }
}
