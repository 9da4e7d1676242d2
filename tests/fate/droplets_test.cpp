// Droplet sizes: the oil distribution against an independent evaluation of
// its formulas, the dealing of classes along the particle index, the
// chemical's particle weights (which must carry the spilled mass), the
// diameter file, the blowout's droplet file and the start-up refusals.
//
// The expected values were evaluated apart from this code, with every
// single-precision step rounded to single precision.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "common/errors.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "fate/droplets.hpp"
#include "tests/support/test_support.hpp"

namespace orvel {
namespace {

using testing::read_file;
using testing::temp_dir;
using testing::write_file;

// Spills of np particles with the given product and water densities and
// viscosities; the diameters allocated.
void spills(int32_t np, const std::vector<float>& density, const std::vector<float>& viscosity, float water = 1025.0f) {
  reset_state();
  const auto ns = static_cast<int32_t>(density.size());
  var_run.particle_number = np;
  var_run.sim__2d_3d = 2;
  var_cfg.spills_number = ns;
  var_cfg.spilledmass.allocate(ns);
  auto& s = var_spill;
  s.density.allocate(ns);
  s.viscosity.allocate(ns);
  s.waterdensity.allocate(ns);
  for (int32_t i = 1; i <= ns; ++i) {
    s.density(i) = density[static_cast<std::size_t>(i - 1)];
    s.viscosity(i) = viscosity[static_cast<std::size_t>(i - 1)];
    s.waterdensity(i) = water;
  }
  var_part.diam_part.allocate(np, ns);
  var_part.w_float.allocate(np, ns);
}

// Class i + 1 repeated counts[i] times along the particle index, cut to np
// (the surplus on the last particle) or filled up with the last class.
std::vector<int32_t> dealt(const std::vector<int64_t>& counts, int32_t np) {
  std::vector<int32_t> r;
  for (std::size_t i = 0; i < counts.size(); ++i) r.insert(r.end(), static_cast<std::size_t>(counts[i]), i + 1);
  const auto n = static_cast<std::size_t>(np);
  if (r.size() > n) {
    r[n - 1] = r.back();
    r.resize(n);
  }
  r.resize(n, static_cast<int32_t>(counts.size()));
  return r;
}

TEST(OilDroplets, ClassesAgainstAnIndependentEvaluation) {
  // 900 kg/m3 oil of 100 cSt in water of 1025 kg/m3.
  const auto c = oil_droplet_sizes(1025.0f, 900.0, 100.0);
  EXPECT_FLOAT_EQ(c.d_o, 0.0005108406767249107f);
  EXPECT_EQ(c.d_c, c.d_o);
  EXPECT_FLOAT_EQ(c.vi, 32977.75f);
  EXPECT_FLOAT_EQ(c.we, 2519946.75f);
  EXPECT_FLOAT_EQ(c.d50, 0.0011979076080024242f);
  EXPECT_FLOAT_EQ(c.delta, 1.7028021829901263e-05f);
  EXPECT_FLOAT_EQ(c.sum, 0.04411909356713295f);
  const double w[30] = {8.9010818969e-22, 7.3202518920e-14, 6.7721534987e-11, 3.4425861848e-09, 4.8186375733e-08,
                        3.3055052276e-07, 1.4524242107e-06, 4.7230375900e-06, 1.2387681762e-05, 2.7687861817e-05,
                        5.4730303652e-05, 9.8203502505e-05, 1.6301027013e-04, 2.5388508029e-04, 3.7505110799e-04,
                        5.2995102183e-04, 7.2106364364e-04, 9.4981128332e-04, 1.2165429368e-03, 1.5205796547e-03,
                        1.8603118739e-03, 2.2333204574e-03, 2.6365231326e-03, 3.0663214878e-03, 3.5187442914e-03,
                        3.9895886346e-03, 4.4745414223e-03, 4.9692847426e-03, 5.4695922827e-03, 5.9714017677e-03};
  for (int i = 0; i < 30; ++i) EXPECT_NEAR(c.weight[i], w[i], 2e-6 * w[i]) << "class " << i + 1;
  EXPECT_FLOAT_EQ(static_cast<float>(c.diameter[0]), 8.514010914950632e-06f);
  EXPECT_FLOAT_EQ(static_cast<float>(c.diameter[29]), 0.0005023266421630979f);

  // Nearly neutral oil: d_o above 0.12 m; the median uses 0.12 m, the
  // class width the uncapped d_o.
  const auto b = oil_droplet_sizes(1025.0f, 1024.999, 100.0);
  EXPECT_FLOAT_EQ(b.d_o, 0.18060944974422455f);
  EXPECT_EQ(b.d_c, 0.12f);
  EXPECT_FLOAT_EQ(b.vi, 2016.1956787109375f);
  EXPECT_FLOAT_EQ(b.we, 674167872.0f);
  EXPECT_FLOAT_EQ(b.d50, 0.00430180411785841f);
  EXPECT_FLOAT_EQ(b.delta, b.d_o / 30.0f);
  EXPECT_FLOAT_EQ(static_cast<float>(b.diameter[0]), 0.003010157495737076f);
  EXPECT_FLOAT_EQ(static_cast<float>(b.diameter[29]), 0.17759928107261658f);
}

TEST(OilDroplets, ClassesDealtAlongTheParticleIndex) {
  struct row {
    const char* what;
    double density, viscosity;
    std::vector<int64_t> counts;  // rounded counts of the independent evaluation
  };
  const std::vector<row> rows = {
      {"counts adding up to 99: the last particle takes the largest class", 900, 100,
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 2, 2, 3, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14}},
      {"counts adding up to 101: the surplus falls on the last particle", 900, 5,
       {0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 5, 6, 6, 6, 6, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3, 3, 2, 2, 2}},
      {"d_o above 0.12 m", 1024.999, 100, {87, 12, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                          0, 0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
  };
  temp_dir dir;
  for (const auto& r : rows) {
    spills(100, {0.0f}, {0.0f});
    // The slick's density and viscosity are the ones used.
    var4.dens.allocate(1);
    var4.visc.allocate(1);
    var4.dens(1) = r.density;
    var4.visc(1) = r.viscosity;
    dropletsizedistributionunified_li2017(1);
    const auto c = oil_droplet_sizes(1025.0f, r.density, r.viscosity);
    const auto expected = dealt(r.counts, 100);
    for (int32_t j = 1; j <= 100; ++j) {
      EXPECT_EQ(var_part.diam_part(j, 1), c.diameter[static_cast<std::size_t>(expected[j - 1] - 1)])
          << r.what << ", particle " << j;
    }
  }
}

TEST(OilDroplets, DiameterFileListsEachSpillInItsOwnBlock) {
  // Three particles per spill: spill 1's classes all round to no particle,
  // so all three take the largest class (0.00050233 m); spill 2, nearly
  // neutral (1024.999 in single precision), deals its three to the smallest
  // class (0.00304607 m).
  temp_dir dir;
  spills(3, {900.0f, 1024.999f}, {100.0f, 100.0f});
  dropletsizedistributionunified_li2017(1);
  // The file appears whole, after the last spill's block.
  EXPECT_EQ(dir.files(), std::vector<std::string>{"diameter_distribution.txt.partial"});
  dropletsizedistributionunified_li2017(2);
  EXPECT_EQ(read_file("diameter_distribution.txt"),
            "particle_id (-), diameter (m)\n"
            "              1,    0.0005023\n"
            "              2,    0.0005023\n"
            "              3,    0.0005023\n"
            "particle_id (-), diameter (m)\n"
            "              1,    0.0030461\n"
            "              2,    0.0030461\n"
            "              3,    0.0030461\n");
  EXPECT_EQ(dir.files(), std::vector<std::string>{"diameter_distribution.txt"});
}

TEST(ChemicalDroplets, DealingAndDropletMass) {
  std::vector<int32_t> cls(100);
  const int64_t counts[] = {10, 40, 35, 12, 3};
  deal_droplet_classes(counts, cls);
  for (int32_t p = 1; p <= 100; ++p) {
    const int32_t expected = p <= 10 ? 1 : p <= 50 ? 2 : p <= 85 ? 3 : p <= 97 ? 4 : 5;
    EXPECT_EQ(cls[static_cast<std::size_t>(p - 1)], expected) << "particle " << p;
  }
  // 1000 kg/m3 * 3.141516 * (25 um)^3, no factor 4/3.
  EXPECT_FLOAT_EQ(droplet_mass(1000.0f, 50e-6), 4.90861875e-11f);
}

TEST(ChemicalDroplets, ParticleWeightsCarryTheSpilledMass) {
  struct row {
    float viscosity;
    std::vector<int32_t> dealt;  // particles per class after the dealing
  };
  // Rounded counts (15, 48, 24, 9, 3) add up to 99: the last particle takes
  // class 5.  (3, 27, 32, 24, 15) add up to 101: class 5's surplus deal
  // falls on particle 100, already of class 5.  (1, 16, 30, 30, 23) add up
  // to 100.
  const std::vector<row> rows = {{1.0f, {15, 48, 24, 9, 4}}, {4.5f, {3, 27, 32, 24, 14}}, {10.0f, {1, 16, 30, 30, 23}}};
  temp_dir dir;
  for (const auto& r : rows) {
    spills(100, {1200.0f}, {r.viscosity});
    var_cfg.spilledmass(1) = 1234.5;
    std::ostringstream out;
    auto* old = std::cout.rdbuf(out.rdbuf());
    dropletsizedistribution(1);
    std::cout.rdbuf(old);
    // A line that names them, the class table before it is filled, then the
    // number of classes.
    EXPECT_EQ(out.str(), "Spill 1: droplet size classes: their diameters (m, zero until sized) and their number\n"
                         " 0.00000000E+00 0.00000000E+00 0.00000000E+00 0.00000000E+00 0.00000000E+00\n"
                         "           5\n");
    const auto& h = var_hns_extra;
    double mass = 0.0;
    int32_t first = 1;
    for (int32_t k = 1; k <= 5; ++k) {
      const int32_t n = r.dealt[static_cast<std::size_t>(k - 1)];
      EXPECT_EQ(h.numpartclass_npart(k, 1), static_cast<float>(n)) << "viscosity " << r.viscosity;
      for (int32_t j = first; j < first + n; ++j) {
        EXPECT_EQ(h.partclass(j, 1), static_cast<float>(k));
        EXPECT_EQ(h.equiv_part(j, 1), h.equiv_part(first, 1));
        EXPECT_EQ(var_part.diam_part(j, 1), hns_droplet_sizes(r.viscosity).diameter[static_cast<std::size_t>(k - 1)]);
        mass += static_cast<double>(h.equiv_part(j, 1)) *
                static_cast<double>(droplet_mass(1200.0f, var_part.diam_part(j, 1)));
      }
      first += n;
    }
    EXPECT_EQ(first, 101);
    EXPECT_NEAR(mass, 1234.5, 1234.5 * 1e-6) << "viscosity " << r.viscosity;
  }
}

TEST(ChemicalDroplets, EachSubSpillFromItsOwnPulseMass) {
  temp_dir dir;
  spills(50, {1100.0f, 1100.0f, 1100.0f}, {10.0f, 10.0f, 10.0f});
  const double pulse[] = {100.0, 300.0, 0.5};
  for (int32_t s = 1; s <= 3; ++s) var_cfg.spilledmass(s) = pulse[s - 1];
  std::ostringstream out;
  auto* old = std::cout.rdbuf(out.rdbuf());
  for (int32_t s = 1; s <= 3; ++s) dropletsizedistribution(s);
  std::cout.rdbuf(old);
  for (int32_t s = 1; s <= 3; ++s) {
    double mass = 0.0;
    for (int32_t j = 1; j <= 50; ++j) {
      mass += static_cast<double>(var_hns_extra.equiv_part(j, s)) *
              static_cast<double>(var_hns_extra.massclass_particle(static_cast<int32_t>(var_hns_extra.partclass(j, s)), s));
    }
    EXPECT_NEAR(mass, pulse[s - 1], pulse[s - 1] * 1e-6) << "sub-spill " << s;
  }
}

TEST(BlowoutDroplets, SpeedsHeldNegativeUpwardSpillBySpill) {
  temp_dir dir;
  spills(2, {900.0f, 900.0f}, {1.0f, 1.0f});
  var_part.diam_part.deallocate();
  var_part.w_float.deallocate();
  write_file("DropletDiametersAndFlotSpeed.txt",
             "diameter (m), speed (m/s)\n1e-4, 0.02\n2e-4 -0.01\n"
             "spill 2\n3e-4,0.5\n\n4e-4 , 0\n");
  read_droplets(1);
  read_droplets(2);
  const auto& p = var_part;
  EXPECT_EQ(p.diam_part(1, 1), 1e-4);
  EXPECT_EQ(p.w_float(1, 1), -0.02);
  EXPECT_EQ(p.diam_part(2, 1), 2e-4);
  EXPECT_EQ(p.w_float(2, 1), 0.01);
  EXPECT_EQ(p.diam_part(1, 2), 3e-4);
  EXPECT_EQ(p.w_float(1, 2), -0.5);
  EXPECT_EQ(p.diam_part(2, 2), 4e-4);
  EXPECT_EQ(p.w_float(2, 2), 0.0);
}

TEST(BlowoutDroplets, FaultsNameTheFileAndLine) {
  struct row {
    const char* what;
    const char* text;  // nullptr: no file
    int64_t line;
    const char* message;
  };
  const std::vector<row> rows = {
      {"missing file", nullptr, 0, ""},
      {"no heading of spill 2", "h\n1e-4 0.1\n2e-4 0.1\n", 4, "heading line of spill 2"},
      {"too few particle lines", "h\n1e-4 0.1\n2e-4 0.1\nh\n3e-4 0.2\n", 6, "particle 2 of spill 2"},
      {"not a number", "h\n1e-4 0.1\n2e-4 fast\n", 3, "fast"},
  };
  for (const auto& r : rows) {
    temp_dir dir;
    spills(2, {900.0f, 900.0f}, {1.0f, 1.0f});
    if (r.text) write_file("DropletDiametersAndFlotSpeed.txt", r.text);
    try {
      read_droplets(1);
      ADD_FAILURE() << r.what << ": no error";
    } catch (const input_error& e) {
      EXPECT_EQ(e.file(), "DropletDiametersAndFlotSpeed.txt") << r.what;
      EXPECT_EQ(e.line(), r.line) << r.what << ": " << e.what();
      EXPECT_NE(e.message().find(r.message), std::string::npos) << r.what << ": " << e.what();
    }
  }
}

TEST(DropletInputs, RefusedBeforeTheFirstStep) {
  struct row {
    const char* what;
    int32_t obj, dims, blowout;
    float density, viscosity;
    const char* message;  // empty: accepted
  };
  const std::vector<row> rows = {
      {"oil lighter than the water", 2, 2, 0, 1024.0f, 100.0f, ""},
      {"oil as dense as the water", 2, 2, 0, 1025.0f, 100.0f,
       "TEST.cfg:0: spill 2: the product density 1025 kg/m3 is not below the water density 1025 kg/m3"},
      {"floating object denser than the water", 1, 2, 0, 1030.0f, 1.0f, "spill 2: the product density 1030"},
      {"dense oil in a blowout", 2, 2, 1, 1030.0f, 100.0f, ""},
      {"dense oil in two dimensions", 2, 1, 0, 1030.0f, 100.0f, ""},
      {"chemical of 16000 cSt", 3, 2, 0, 1030.0f, 16000.0f, ""},
      {"chemical of 17000 cSt", 3, 2, 0, 1000.0f, 17000.0f, "spill 2: the viscosity 17000 cSt"},
  };
  for (const auto& r : rows) {
    spills(2, {900.0f, r.density}, {1.0f, r.viscosity});
    var_cfg.obj__floating_fuel_hns = r.obj;
    var_run.sim__2d_3d = r.dims;
    var_run.blowout__y_n = r.blowout;
    if (*r.message == '\0') {
      EXPECT_NO_THROW(check_droplet_inputs("TEST")) << r.what;
      continue;
    }
    try {
      check_droplet_inputs("TEST");
      ADD_FAILURE() << r.what << ": accepted";
    } catch (const input_error& e) {
      EXPECT_NE(std::string(e.what()).find(r.message), std::string::npos) << r.what << ": " << e.what();
    }
  }
  // The smallest droplet at 16000 and 17000 cSt, on either side of 70 um.
  EXPECT_LT(hns_droplet_sizes(16000.0f).d_min, 7e-5f);
  EXPECT_GT(hns_droplet_sizes(17000.0f).d_min, 7e-5f);
}

}  // namespace
}  // namespace orvel
