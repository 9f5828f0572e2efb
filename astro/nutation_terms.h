#pragma once
// The periodic terms of the IAU 1980 nutation series after its leading term.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tramox::astro {

// One term: the argument is l*L + lp*L' + f*F + d*D + om*Omega; longitude coefficient
// a + b*T (a in 0.0001", b in 0.00001" per Julian century), obliquity coefficient
// c + dRate*T in the same units.
struct NutationTerm {
  std::int16_t l, lp, f, d, om;
  std::int16_t a, b, c, dRate;
};

inline constexpr std::size_t kNutationTermCount = 105;

extern const std::array<NutationTerm, kNutationTermCount> kNutationTerms;

}  // namespace tramox::astro
