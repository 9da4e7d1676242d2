#include "fate/droplets.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <memory>
#include <span>
#include <vector>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/list_input.hpp"
#include "common/result_file.hpp"
#include "control/input_places.hpp"
#include "control/state/all.hpp"

namespace orvel {
namespace {

constexpr float sigma = 2e-5f;  // oil-water interfacial tension, N/m

template <typename T, int R, typename... E>
void fresh(farray<T, R>& a, E... extents) {
  if (a.allocated()) a.deallocate();
  a.allocate(extents...);
}

// Log-normal weight of the class of centre d (m) and width delta around the
// median d50.
double class_weight(double d, float delta, float d50) {
  const double lnd = std::log(d) - static_cast<double>(std::log(d50));
  return std::exp(static_cast<double>(-2.0f) * (lnd * lnd)) * static_cast<double>(delta) /
         (static_cast<double>(1.2533f) * d);
}

// Particles per class: the weight's share of the particles, to the nearest
// whole number.
template <std::size_t N>
std::array<int64_t, N> rounded_counts(const std::array<double, N>& weight, float sum, int32_t np) {
  std::array<int64_t, N> n{};
  for (std::size_t i = 0; i < N; ++i) {
    const double q = weight[i] / static_cast<double>(sum) * static_cast<double>(np);
    // More than np particles to one class deals the same as np (the surplus
    // falls on the last particle); a share that is not a number deals none.
    n[i] = q >= 0.0 ? std::min<int64_t>(std::llround(std::min(q, static_cast<double>(np))), np) : 0;
  }
  return n;
}

// "diameter_distribution.txt": a block per spill, started by the call for
// spill 1 and completed by the call for the last spill of the set-up.
std::unique_ptr<result_file>& diameter_file() {
  static std::unique_ptr<result_file> f;
  return f;
}

void write_diameters(int32_t spill) {
  auto& f = diameter_file();
  if (spill == 1 || !f) {
    f.reset();  // an unfinished file of an earlier set-up is dropped first
    f = std::make_unique<result_file>("diameter_distribution.txt");
  }
  f->line(fmt_a("particle_id (-),", 16) + fmt_a("diameter (m)", 13));
  const int32_t np = var_run.particle_number;
  const double* d = var_part.diam_part.ptr(1, spill);
  for (int32_t j = 1; j <= np; ++j) f->line(fit_i(j, 15) + ", " + fit_f(d[j - 1], 12, 7));
  if (spill >= var_cfg.spills_number) {
    f->commit();
    f.reset();
  }
}

// The droplet file, read by the call for spill 1: diameter and upward speed
// of particle p of spill s at (s - 1) * particle_number + p - 1.
struct droplet_table {
  std::vector<double> diameter;
  std::vector<double> speed;
};
droplet_table& droplet_cache() {
  static droplet_table t;
  return t;
}

void read_droplet_file() {
  const std::string name = "DropletDiametersAndFlotSpeed.txt";
  const int32_t np = var_run.particle_number;
  const int32_t ns = var_cfg.spills_number;
  auto& t = droplet_cache();
  t.diameter.assign(static_cast<std::size_t>(std::max(np, 0)) * static_cast<std::size_t>(std::max(ns, 0)), 0.0);
  t.speed.assign(t.diameter.size(), 0.0);
  list_reader r(name);
  std::size_t k = 0;
  for (int32_t s = 1; s <= ns; ++s) {
    r.skip_line("the heading line of spill " + std::to_string(s));
    for (int32_t p = 1; p <= np; ++p, ++k) {
      if (r.at_end()) {
        throw input_error(name, r.line_number(),
                          "end of file: expected the diameter and rise speed of particle " + std::to_string(p) +
                              " of spill " + std::to_string(s) + " (" + std::to_string(np) +
                              " particles per spill, " + std::to_string(ns) + " spills)");
      }
      if (!r.read({"diameter", "rise speed"}, t.diameter[k], t.speed[k])) {
        throw input_error(name, r.record_line(),
                          "expected the diameter and rise speed of particle " + std::to_string(p) + " of spill " +
                              std::to_string(s) + ", found \"/\"");
      }
    }
  }
}

}  // namespace

void deal_droplet_classes(std::span<const int64_t> counts, std::span<int32_t> class_of) {
  const auto np = static_cast<int64_t>(class_of.size());
  const auto nc = static_cast<int32_t>(counts.size());
  int64_t a = 0;
  for (int32_t i = 1; i <= nc; ++i) {
    // Past the last particle every further deal only rewrites it.
    const int64_t n = std::min(counts[static_cast<std::size_t>(i - 1)], np);
    for (int64_t m = 0; m < n; ++m) {
      a = std::min(a + 1, np);
      class_of[static_cast<std::size_t>(a - 1)] = i;
    }
  }
  for (int64_t p = a; p < np; ++p) class_of[static_cast<std::size_t>(p)] = nc;
}

float droplet_mass(float rho, double d) {
  const double r = d / 2.0;
  return static_cast<float>(((static_cast<double>(rho) * static_cast<double>(3.141516f)) * r) * r * r);
}

oil_droplet_classes oil_droplet_sizes(float rho_w, double rho, double visc) {
  oil_droplet_classes c;
  const double s = sigma;
  c.d_o = static_cast<float>(static_cast<double>(4.0f) *
                             std::sqrt(s / ((static_cast<double>(rho_w) - rho) * static_cast<double>(9.81f))));
  c.d_c = std::min(c.d_o, 0.12f);
  c.vi = static_cast<float>(visc / std::sqrt(s * static_cast<double>(c.d_c) * rho));
  c.we = static_cast<float>(static_cast<double>(109.6209f) * static_cast<double>(c.d_c) * rho / s);
  c.d50 = 14.05f * std::pow(1.0f + 10.0f * c.vi, 0.46f) * std::pow(c.we, -0.518f) * c.d_c;
  // The classes span the uncapped maximum size.
  c.delta = c.d_o / 30.0f;
  double sum = 0.0;
  for (int i = 1; i <= 30; ++i) {
    const float d = static_cast<float>(i - 1) * c.delta + c.delta / 2.0f;
    c.diameter[i - 1] = d;
    c.weight[i - 1] = class_weight(d, c.delta, c.d50);
    sum += c.weight[i - 1];
  }
  c.sum = static_cast<float>(sum);
  return c;
}

hns_droplet_classes hns_droplet_sizes(float visc) {
  hns_droplet_classes c;
  const int32_t nclases = 5;
  c.d50 = 2.5710402e-5f * std::pow(visc, 0.34f);
  c.d_min = 0.1f * c.d50;
  c.delta = (7e-5f - c.d_min) / static_cast<float>(nclases);
  double sum = 0.0;
  for (int k = 1; k <= nclases; ++k) {
    const float d = c.d_min + (static_cast<float>(k - 1) + 0.5f) * c.delta;
    c.diameter[k - 1] = d;
    c.weight[k - 1] = class_weight(d, c.delta, c.d50);
    sum += c.weight[k - 1];
  }
  c.sum = static_cast<float>(sum);
  return c;
}

void dropletsizedistributionunified_li2017(int32_t spill) {
  const int32_t np = var_run.particle_number;
  // The slick's properties once they are set, else the product's own.
  const bool slick = var4.dens.allocated() && var4.visc.allocated();
  const auto c = oil_droplet_sizes(var_spill.waterdensity(spill),
                                   slick ? var4.dens(spill) : static_cast<double>(var_spill.density(spill)),
                                   slick ? var4.visc(spill) : static_cast<double>(var_spill.viscosity(spill)));
  std::vector<int32_t> class_of(static_cast<std::size_t>(std::max(np, 0)));
  deal_droplet_classes(rounded_counts(c.weight, c.sum, np), std::span<int32_t>(class_of));
  double* d = var_part.diam_part.ptr(1, spill);
  for (int32_t j = 0; j < np; ++j) d[j] = c.diameter[static_cast<std::size_t>(class_of[j] - 1)];
  write_diameters(spill);
}

void dropletsizedistribution(int32_t spill) {
  const int32_t np = var_run.particle_number;
  const int32_t ns = var_cfg.spills_number;
  auto& h = var_hns_extra;
  const int32_t nc = static_cast<int32_t>(hns_droplet_classes{}.diameter.size());  // nclases, 5
  if (spill == 1) {
    for (auto* a : {&h.massclass_particle, &h.massclass_npart, &h.massclass_real, &h.numpartclass_npart,
                    &h.numpartclass_real}) {
      fresh(*a, nc, ns);
    }
    fresh(h.masstotal_npart, ns);
    fresh(h.partclass, np, ns);
    fresh(h.equiv_part, np, ns);
  }
  // The class diameters before they are computed: zeros, after a line
  // that says what the two lines below it are.
  const std::vector<float> before(static_cast<std::size_t>(std::max(nc, 0)), 0.0f);
  std::cout << "Spill " << spill << ": droplet size classes: their diameters (m, zero until sized) and their number"
            << '\n'
            << free_line(std::span<const float>(before)) << '\n'
            << free_line(nc) << '\n';

  const auto c = hns_droplet_sizes(var_spill.viscosity(spill));
  std::vector<int32_t> class_of(static_cast<std::size_t>(std::max(np, 0)));
  deal_droplet_classes(rounded_counts(c.weight, c.sum, np), std::span<int32_t>(class_of));

  // Particles actually dealt to each class: the weights of the particles are
  // shared out by these counts, so that together they carry the spilled mass.
  std::array<int32_t, 5> dealt{};
  double* d = var_part.diam_part.ptr(1, spill);
  for (int32_t j = 1; j <= np; ++j) {
    const int32_t k = class_of[static_cast<std::size_t>(j - 1)];
    ++dealt[static_cast<std::size_t>(k - 1)];
    d[j - 1] = c.diameter[static_cast<std::size_t>(k - 1)];
    h.partclass(j, spill) = static_cast<float>(k);
  }
  float total = 0.0f;
  for (int32_t k = 1; k <= nc; ++k) {
    h.massclass_particle(k, spill) = droplet_mass(var_spill.density(spill), c.diameter[static_cast<std::size_t>(k - 1)]);
    h.numpartclass_npart(k, spill) = static_cast<float>(dealt[static_cast<std::size_t>(k - 1)]);
    h.massclass_npart(k, spill) = h.massclass_particle(k, spill) * h.numpartclass_npart(k, spill);
    total += h.massclass_npart(k, spill);
  }
  h.masstotal_npart(spill) = total;
  for (int32_t k = 1; k <= nc; ++k) {
    const float share = h.massclass_npart(k, spill) / total;
    h.massclass_real(k, spill) = static_cast<float>(static_cast<double>(share) * var_cfg.spilledmass(spill));
    h.numpartclass_real(k, spill) = h.massclass_real(k, spill) / h.massclass_particle(k, spill);
  }
  for (int32_t j = 1; j <= np; ++j) {
    const auto k = static_cast<int32_t>(h.partclass(j, spill));
    h.equiv_part(j, spill) = h.numpartclass_real(k, spill) / h.numpartclass_npart(k, spill);
  }
  write_diameters(spill);
}

void read_droplets(int32_t spill) {
  const int32_t np = var_run.particle_number;
  const int32_t ns = var_cfg.spills_number;
  auto& p = var_part;
  if (spill == 1 || droplet_cache().diameter.empty()) {
    fresh(p.w_float, np, ns);
    fresh(p.diam_part, np, ns);
    read_droplet_file();
  }
  const auto& t = droplet_cache();
  const std::size_t k0 = static_cast<std::size_t>(spill - 1) * static_cast<std::size_t>(np);
  for (int32_t j = 1; j <= np; ++j) {
    p.diam_part(j, spill) = t.diameter[k0 + static_cast<std::size_t>(j - 1)];
    // Held negative upward, as depth is positive down.
    p.w_float(j, spill) = -t.speed[k0 + static_cast<std::size_t>(j - 1)];
  }
}

void check_droplet_inputs(const std::string& clave) {
  if (var_run.sim__2d_3d != 2 || var_run.blowout__y_n == 1) return;
  const auto& c = var_cfg;
  const auto& s = var_spill;
  const std::string cfg = clave + ".cfg";
  for (int32_t i = 1; i <= c.spills_number; ++i) {
    const std::string which = "spill " + std::to_string(i) + ": ";
    if (c.obj__floating_fuel_hns == 1 || c.obj__floating_fuel_hns == 2) {
      if (!(s.density(i) < s.waterdensity(i))) {
        throw refusal_at("density", cfg,
                         which + "the product density " + value_text(s.density(i)) +
                             " kg/m3 is not below the water density " + value_text(s.waterdensity(i)) +
                             " kg/m3: a 3-D run without blowout gives droplet sizes only to a product lighter "
                             "than the water",
                         i);
      }
    } else if (c.obj__floating_fuel_hns == 3) {
      const auto h = hns_droplet_sizes(s.viscosity(i));
      if (!(h.d_min < 7e-5f)) {
        throw refusal_at("viscosity", cfg,
                         which + "the viscosity " + value_text(s.viscosity(i)) +
                             " cSt gives a smallest droplet (a tenth of the median size) of " + value_text(h.d_min) +
                             " m, not below the largest of 7e-05 m: the droplet size classes would have no "
                             "width",
                         i);
      }
    }
  }
}

}  // namespace orvel
