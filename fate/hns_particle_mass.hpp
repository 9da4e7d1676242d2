// The mass of a 3-D chemical particle: a number of droplets (single
// precision) times the mass of one droplet (double precision).
#pragma once

namespace orvel {

// Gives a particle of `equiv` droplets of `droplet` kg each the mass `mass`
// (kg, 0 or more): the number of droplets falls in proportion, and the
// droplet mass takes up what single precision cannot hold of the number, so
// that the particle's mass is `mass` to double precision.  A step's small
// loss (a fraction of 1e-7 or less at 1 s steps) would otherwise round away
// in the number, and millions of such steps would lose or gain mass.  A
// particle left with no droplet keeps its droplet mass.
inline void set_particle_mass(float& equiv, double& droplet, double mass) {
  const float e = droplet > 0.0 ? static_cast<float>(mass / droplet) : 0.0f;
  equiv = e > 0.0f ? e : 0.0f;
  if (e > 0.0f) droplet = mass / static_cast<double>(e);
}

}  // namespace orvel
