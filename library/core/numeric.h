// Number and byte helpers shared by every part of the library: truncating
// float-to-int conversions that never invoke undefined behaviour, and the
// plain byte utilities.
#pragma once
#include <cstddef>
#include <cstdint>

// The integer part of value, rounded toward zero; NaN or a value outside the
// 32-bit range gives INT32_MIN (0x80000000), as the processor's conversion does.
int32_t FloatToIntTrunc(float value);
int32_t DoubleToIntTrunc(double value);
void SinCosFloat(float angle, float* sine, float* cosine);

void FillBytes(void* destination, int value, size_t count);
void CopyBytes(void* destination, const void* source, size_t count);
int BytesDiffer(const void* a, const void* b, size_t count);  // 0 equal, 1 different
int StringsDiffer(const char* a, const char* b);             // 0 equal, 1 different
int32_t AbsInt(int32_t value);
