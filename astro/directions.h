#pragma once
// Which way a reversible correction of the pipeline is applied.

namespace tramox::astro {

// Nutation and diurnal aberration: Apply adds the effect, Remove takes it away.
enum class Direction { Apply, Remove };

// Precession: ToJ2000 refers a mean place of date to J2000.0; FromJ2000 does the reverse.
enum class PrecessionDirection { ToJ2000, FromJ2000 };

}  // namespace tramox::astro
