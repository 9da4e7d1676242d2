// Shared set-up of the forcing reader tests: a fresh state and folder per
// test, fixture copies and the run-wide arrays that the start-up allocates.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "common/errors.hpp"
#include "common/text.hpp"
#include "control/state/all.hpp"
#include "control/state/reset_state.hpp"
#include "forcing/field_files.hpp"
#include "tests/support/test_support.hpp"

namespace orvel::forcing_test {

// Each test starts from the starting state in its own working folder.
class forcing_files : public ::testing::Test {
 protected:
  forcing_files() {
    reset_state();
    reset_forcing_readers();
  }
  ~forcing_files() override {
    reset_forcing_readers();
    reset_state();
  }
  void write(const std::string& name, const std::string& text) {
    const std::filesystem::path p = dir_.path() / name;
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
    testing::write_file(p, text);
  }
  std::string read(const std::string& name) { return testing::read_file(dir_.path() / name); }
  // A fixture of tests/fixtures/forcing copied into the working folder.
  void fixture(const std::string& name, const std::string& as = {}) {
    std::filesystem::copy_file(std::filesystem::path(ORVEL_FIXTURES) / "forcing" / name,
                               dir_.path() / (as.empty() ? name : as));
  }
  testing::temp_dir dir_;
};

// A name of the name arrays: the text blank-padded to 256 characters.
inline std::string name256(const std::string& s) { return fixlen(s, 256); }

// Runs f, which must throw an input_error, and returns it.
template <typename F>
input_error input_error_of(F&& f) {
  try {
    f();
  } catch (const input_error& e) {
    return e;
  }
  ADD_FAILURE() << "no input_error thrown";
  return input_error("", 0, "");
}

// The current arrays of the start-up for nu, nv, nw nodes, `layers` layers
// and `records` records (names per list: records x layers); node lists.
inline void allocate_currents(int32_t nu, int32_t nv, int32_t nw, int32_t layers, int32_t records) {
  var_cfg.currenttype__file_constant = 1;
  var_cfg.currentgridformat__xyz_grid = 1;
  var_cfg.xyzcurrentnodes_number = {nu, nv, nw};
  var_capas.numcapascorr = layers;
  var_cfg.currentfilesorlines_number = records;
  for (auto* a : {&var1.fichvel_u, &var1.fichvel_v, &var1.fichvel_w, &var1.fichvel_uvw})
    a->allocate(layers * records);
  var1.fichvel_mask.allocate(records);
  var2.u_curr_read.allocate(nu, layers);
  var2.v_curr_read.allocate(nv, layers);
  var2.w_curr_read.allocate(nw, layers);
  var2.u0.allocate(nu, layers);
  var2.v0.allocate(nv, layers);
  var2.w0.allocate(nw, layers);
  var2.xcorr_u.allocate(nu);
  var2.ycorr_u.allocate(nu);
  var2.xcorr_v.allocate(nv);
  var2.ycorr_v.allocate(nv);
  var2.xcorr_w.allocate(nw);
  var2.ycorr_w.allocate(nw);
  var2.indland.allocate(nu);
  var2.indland0.allocate(nu);
  var2.u_curr_read_colprom.allocate(layers);
  var2.v_curr_read_colprom.allocate(layers);
}

// Regular U and V current grids (grid format), with their node counts.
inline void current_grids(int32_t ux, int32_t uy, int32_t vx, int32_t vy) {
  auto& g = var_mallasforz;
  g.gridformatcurru_0x = 370.0;
  g.gridformatcurru_0y = 40.0;
  g.gridformatcurru_deltax = 0.5;
  g.gridformatcurru_deltay = 0.25;
  g.gridformatcurru_xcells = ux;
  g.gridformatcurru_ycells = uy;
  g.gridformatcurrv_0x = 371.0;
  g.gridformatcurrv_0y = 41.0;
  g.gridformatcurrv_deltax = 0.125;
  g.gridformatcurrv_deltay = 0.5;
  g.gridformatcurrv_xcells = vx;
  g.gridformatcurrv_ycells = vy;
  var2.ug.allocate(ux, uy);
  var2.ug0.allocate(ux, uy);
  var2.vg.allocate(vx, vy);
  var2.vg0.allocate(vx, vy);
}

inline void allocate_corrections(int32_t files) {
  var_cfg.currentcorrection__y_n = 1;
  var_cfg.currentcorrectionfiles_number = files;
  var1.fichvel_uc.allocate(files);
  var1.fichvel_vc.allocate(files);
  var2.ucp.allocate(var_cfg.xyzcurrentnodes_number[0]);
  var2.vcp.allocate(var_cfg.xyzcurrentnodes_number[1]);
}

}  // namespace orvel::forcing_test
