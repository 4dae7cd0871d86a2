#include <gtest/gtest.h>

#include <cmath>

#include "params/VolumeCurve.h"

using grelmond::BipolarCurve;
using grelmond::VolumeCurve;

TEST(VolumeCurve, CheckpointsAndShape) {
  EXPECT_EQ(VolumeCurve::at(0), 0.0f);
  EXPECT_EQ(VolumeCurve::at(1), 0.0f);
  EXPECT_FLOAT_EQ(VolumeCurve::at(2), 0.000001f);
  EXPECT_FLOAT_EQ(VolumeCurve::at(1024), 0.001709f);
  EXPECT_FLOAT_EQ(VolumeCurve::at(2047), 0.015349f);
  EXPECT_FLOAT_EQ(VolumeCurve::at(2048), 0.015381f);
  EXPECT_FLOAT_EQ(VolumeCurve::at(4095), 0.997727f);
  for (int i = 1; i < VolumeCurve::kSize; ++i)
    ASSERT_GE(VolumeCurve::at(i), VolumeCurve::at(i - 1)) << i;
}

TEST(VolumeCurve, OutOfRangeInputsStayInTheTable) {
  EXPECT_EQ(VolumeCurve::at(-5), VolumeCurve::at(0));
  EXPECT_EQ(VolumeCurve::at(99999), VolumeCurve::at(4095));
  EXPECT_EQ(VolumeCurve::ofValue(2.0f), VolumeCurve::at(4095));
  EXPECT_EQ(VolumeCurve::ofValue(-1.0f), 0.0f);
  EXPECT_EQ(VolumeCurve::ofValue(std::nanf("")), 0.0f);
  EXPECT_EQ(VolumeCurve::ofValue(0.5f), VolumeCurve::at(2047));
}

TEST(BipolarCurve, SymmetricAroundTheMiddle) {
  EXPECT_FLOAT_EQ(BipolarCurve::ofValue(0.5f), 0.5f);
  EXPECT_FLOAT_EQ(BipolarCurve::ofValue(1.0f), 0.5f + 0.5f * 0.997727f);
  EXPECT_FLOAT_EQ(BipolarCurve::ofValue(0.0f), 0.5f - 0.5f * 0.997727f);
  EXPECT_NEAR(BipolarCurve::ofValue(0.75f) - 0.5f, 0.5f - BipolarCurve::ofValue(0.25f), 1e-7f);
  EXPECT_NEAR(BipolarCurve::ofValue(0.55f), 0.5f, 0.001f); // flat near the middle
}
