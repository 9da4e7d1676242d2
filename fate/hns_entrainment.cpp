// Wave entrainment of a chemical slick: the mass breaking waves drive under
// the surface in a step and, in three dimensions, the surface particles that
// carry it into the water column.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "control/state/all.hpp"
#include "fate/hns_slick.hpp"
#include "fate/hns_water.hpp"
#include "fate/wave_entrainment.hpp"
#include "transport/random.hpp"
#include "transport/states.hpp"

namespace orvel {
namespace {

// The particles of a spill still at the surface, in index order, as a
// binary indexed tree of 0/1 flags: the k-th of them is found and taken
// out in log(n) steps, so a draw among the particles left costs no more than
// a few lookups however many have gone before.  The storage is kept from call
// to call and grows at most to the particle count.
class surface_set {
 public:
  // Fills the set with the particles j (0-based) whose state is 1.
  void assign(const int32_t* indp, int32_t n) {
    n_ = n;
    tree_.assign(static_cast<std::size_t>(n) + 1, 0);
    count_ = 0;
    for (int32_t i = 1; i <= n; ++i) {
      if (indp[i - 1] == indp_surf) {
        tree_[static_cast<std::size_t>(i)] += 1;
        ++count_;
      }
      const int32_t up = i + (i & -i);
      if (up <= n) tree_[static_cast<std::size_t>(up)] += tree_[static_cast<std::size_t>(i)];
    }
    top_ = 1;
    while (top_ * 2 <= n) top_ *= 2;
  }

  int32_t size() const { return count_; }

  // Takes the k-th particle of the set (1 <= k <= size()) out of it and
  // returns its index (0-based).
  int32_t take(int32_t k) {
    int32_t pos = 0;
    for (int32_t step = top_; step > 0; step /= 2) {
      const int32_t next = pos + step;
      if (next <= n_ && tree_[static_cast<std::size_t>(next)] < k) {
        pos = next;
        k -= tree_[static_cast<std::size_t>(next)];
      }
    }
    for (int32_t i = pos + 1; i <= n_; i += i & -i) tree_[static_cast<std::size_t>(i)] -= 1;
    --count_;
    return pos;
  }

 private:
  std::vector<int32_t> tree_;
  int32_t n_ = 0;
  int32_t top_ = 0;
  int32_t count_ = 0;
};

surface_set& surface_particles() {
  static surface_set set;
  return set;
}

// Whole number nearest to x, halves away from zero, in single precision.
float nint(float x) { return std::round(x); }

// Sends the spill's share of the step's entrained mass `entrained` (of the
// floating mass `floating`) into the water column, class by class, and
// returns the weight of the particles moved.
double send_down(int32_t spill, double entrained, double floating, double hb) {
  const auto& vd = varverticaldispersion;
  const float total =
      nint(static_cast<float>(entrained / floating) * static_cast<float>(var_part.par_surf(spill)));
  const float depth_scale = static_cast<float>(1.5 * hb);
  const double area = var4.areaparticlesurftotal(spill) * slick_share(spill);
  const double dt = static_cast<double>(var_run.deltat);
  const double factor = var_mallas.factor;

  const int32_t np = var_run.particle_number;
  int32_t* state = var_part.indp.ptr(1, spill);
  double* z = var_part.z_part.ptr(1, spill);
  const double* mass = var4.massparticle.ptr(1, spill);
  const float* equiv = var_hns_extra.equiv_part.ptr(1, spill);
  auto& left = surface_particles();
  bool gathered = false;
  double moved = 0.0;

  for (std::size_t k = 0; k < vd.qd.size(); ++k) {
    const float proportion = static_cast<float>(dt * static_cast<double>(vd.qd[k]) * area / entrained);
    const float count = nint(proportion * total);
    // No draw for a count of 0 or less, or one that is not a number.
    if (!(count >= 1.0f)) continue;
    if (!gathered) {
      left.assign(state, np);
      gathered = true;
    }
    // A class may ask for more particles than are left at the surface: the
    // drawing stops when none is left.
    const auto draws = static_cast<int64_t>(std::min(static_cast<double>(count), static_cast<double>(left.size())));
    for (int64_t m = 0; m < draws; ++m) {
      const double ns = static_cast<double>(left.size());
      const auto pick = static_cast<int32_t>(std::floor(static_cast<double>(rand(0)) * ns));
      const int32_t p = left.take(pick + 1);
      state[p] = indp_column;
      z[p] = static_cast<double>(rand(0) * depth_scale) / factor;
      moved += static_cast<double>(equiv[p]) * mass[p];
    }
    if (left.size() == 0) break;
  }
  return moved;
}

}  // namespace

void verticaldispersion_hns(int32_t spill, farray<double, 1>& slick_area) {
  entrainment_rates(spill, largest_droplet::seventy_micrometres);
  const bool three_d = var_run.sim__2d_3d == 2;
  // In 3-D the waves work on the slick of the surface particles (a pulse of
  // a continuous release on its share of the one slick).
  const float a = static_cast<float>(three_d && var_part.numpartsurfevap > 0
                                         ? var4.areaparticlesurftotal(spill) * slick_share(spill)
                                         : slick_area(spill));
  const float m = std::max(0.0f, var_run.deltat * varverticaldispersion.qtot * a);
  auto& mb = var4;
  if (static_cast<double>(m) <= mb.mass_surf(spill)) {
    mb.massdisp(spill) = static_cast<double>(m);
    mb.mass_surf(spill) -= static_cast<double>(m);
  } else {
    mb.massdisp(spill) = mb.mass_surf(spill);
    mb.mass_surf(spill) = 0.0;
  }
  // In 3-D the entrained mass stays with the particles that carry it into
  // the column (booked by the redistribution), not in the dispersed total:
  // counted in both it would be counted twice.
  if (!three_d) mb.mass_disp_cumul(spill) += mb.massdisp(spill);
}

void entrainedparticlesredistribution_hns3d(int32_t spill, farray<double, 1>& /*slick_area*/) {
  const double hb = static_cast<double>(0.70710677f) * wave_height_in_use();
  var_currwindwave.hbreak = hb;
  auto& mb = var4;
  const double entrained = mb.massdisp(spill);
  const double floating = mb.mass_surf(spill);
  const double moved = entrained != 0.0 && floating != 0.0 ? send_down(spill, entrained, floating, hb) : 0.0;
  // verticaldispersion_hns took the entrained mass from the surface; what
  // the moved particles do not carry floats on.
  mb.mass_surf(spill) += entrained - moved;
  mb.mass_column(spill) += moved;
}

}  // namespace orvel
