// Number and byte helpers.
#include "core/numeric.h"

#include <cmath>
#include <cstring>

int32_t DoubleToIntTrunc(double value) {
  // Anything whose truncation does not fit (and NaN, which fails both tests)
  // gives the "integer indefinite" value.
  if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

int32_t FloatToIntTrunc(float value) { return DoubleToIntTrunc(static_cast<double>(value)); }

void SinCosFloat(float angle, float* sine, float* cosine) {
  if (sine) *sine = std::sin(angle);
  if (cosine) *cosine = std::cos(angle);
}

void FillBytes(void* destination, int value, size_t count) {
  if (count) std::memset(destination, value, count);
}

void CopyBytes(void* destination, const void* source, size_t count) {
  if (count) std::memcpy(destination, source, count);
}

int BytesDiffer(const void* a, const void* b, size_t count) {
  return count && std::memcmp(a, b, count) != 0 ? 1 : 0;
}

int StringsDiffer(const char* a, const char* b) { return std::strcmp(a, b) != 0 ? 1 : 0; }

int32_t AbsInt(int32_t value) {
  return value < 0 ? static_cast<int32_t>(0u - static_cast<uint32_t>(value)) : value;
}
