// The smaller of two values; the first one on a tie.
#pragma once

template <typename T>
constexpr T minimo(T x, T y) {
  return x > y ? y : x;
}
