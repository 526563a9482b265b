// Conversions to int that are defined for every input: a value from a file, a zoom, an angle
// or a sum gone wrong must not turn into undefined behaviour.
#pragma once

// Angles: the files give degrees, drawing takes radians.
constexpr float kPi = 3.14159265358979f;
constexpr float kDegToRad = 0.017453292f;

// A wide integer brought into the int range (the nearer end when outside it).
int ClampToInt(long long v);
// Truncation toward zero that clamps instead of overflowing (NaN gives 0).
int TruncToInt(double v);
// Truncation toward zero when v is finite and inside the int range; false otherwise.
bool ToIntChecked(double v, int* out);

// Nothing in the game lasts an hour: a duration from a file or a saved record that is not
// finite or lies beyond an hour either way is damage, and would hold whatever waits for its
// end for good.
constexpr float kMaxSeconds = 3600.0f;
bool IsUsableSeconds(double seconds);
