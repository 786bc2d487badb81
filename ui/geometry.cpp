// Integer pixel geometry shared by the window model and its hosts.
#include "ui/geometry.h"

#include <algorithm>
#include <cstdlib>

namespace ui {

int MulDiv(int a, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const long long product = static_cast<long long>(a) * numerator;
  const long long half = std::llabs(static_cast<long long>(denominator)) / 2;
  const bool negative = (product < 0) != (denominator < 0);
  const long long q = (std::llabs(product) + half) / std::llabs(static_cast<long long>(denominator));
  return static_cast<int>(negative ? -q : q);
}

}  // namespace ui
