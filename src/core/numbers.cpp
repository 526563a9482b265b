#include "core/numbers.h"

#include <cmath>
#include <limits>

int ClampToInt(long long v)
{
    if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

int TruncToInt(double v)
{
    if (std::isnan(v)) return 0;
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return static_cast<int>(v);
}

bool ToIntChecked(double v, int* out)
{
    if (!(v > -2147483648.0 && v < 2147483648.0)) return false;
    *out = static_cast<int>(v);
    return true;
}

bool IsUsableSeconds(double seconds) { return std::isfinite(seconds) && std::fabs(seconds) <= kMaxSeconds; }
