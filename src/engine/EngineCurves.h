#pragma once

// Temporary home of the exponential volume table until the parameter side's lands.
namespace EngineCurves {
constexpr int volumeCurveSize = 4096;
}

float engineVolumeCurve(int index);
