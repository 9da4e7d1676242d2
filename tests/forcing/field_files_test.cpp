// The start-up checks of the forcing files the engine reads as listed: the
// first node-list file of each forcing against its ranges, and every list
// against the names its count needs.
#include "forcing/field_files.hpp"

#include <gtest/gtest.h>

#include <string>

#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

class FieldFiles : public forcing_files {
 protected:
  // Separate U and V node lists of two nodes on a regular grid, one record
  // of one layer, the second U node dry (999 m/s) where the grid varies.
  void two_node_currents(int32_t variable) {
    var_run.sim__2d_3d = 1;
    var_cfg.currenttype__file_constant = 1;
    var_mallas.currentgrid_regular__y_n = 1;
    var_cfg.currentgridformat__xyz_grid = 1;
    var_cfg.currentgrid_variable__y_n = variable;
    var_cfg.xyzcurrentnodes_number = {2, 2, 0};
    var_cfg.currentfilesorlines_number = 1;
    write("U_lstcurr.pre", "u.txt\n");
    write("V_lstcurr.pre", "v.txt\n");
    write("u.txt", "-9 42 0.1 1\n-9 43 999.0 0\n");
    write("v.txt", "-9 42 0.5\n-9 43 0.5\n");
  }
};

// On a time-varying grid a dry node of the first U file may hold any
// number; on a fixed grid every node is water and keeps the range of u.
TEST_F(FieldFiles, DryNodesOfTheFirstUFileOnlyOnATimeVaryingGrid) {
  two_node_currents(1);
  EXPECT_NO_THROW(check_first_node_files());
  two_node_currents(0);
  EXPECT_STREQ(input_error_of([] { check_first_node_files(); }).what(),
               "u.txt:2: u = 999: must be from -15 to 15 m/s");
}

// A list of joint current files names one file per layer of each record:
// two records of three layers need six names, whether the files are joint
// or apart.
TEST_F(FieldFiles, CurrentListsNameAFileForEachLayerOfEachRecord) {
  for (const int32_t joint : {1, 0}) {
    reset_state();
    var_run.sim__2d_3d = 2;
    var_capas.numcapascorr = 3;
    var_cfg.currenttype__file_constant = 1;
    var_mallas.currentgrid_regular__y_n = 1;
    var_cfg.currentgridformat__xyz_grid = 1;
    var_cfg.currentfilesjointuvw__y_n = joint;
    var_cfg.currentfilesorlines_number = 2;
    write("f.txt", "-9 42 0.1 0.1\n");
    const std::string two = "f.txt\nf.txt\n", six = two + two + two;
    for (const char* list : {"lstcurr_UVW.pre", "U_lstcurr.pre", "V_lstcurr.pre"}) write(list, two);
    const std::string list = joint == 1 ? "lstcurr_UVW.pre" : "U_lstcurr.pre";
    EXPECT_STREQ(input_error_of([] { check_forcing_lists(); }).what(),
                 (list + ":2: the list holds 2 file names, but currentfilesorlines_number needs 6").c_str());
    for (const char* l : {"lstcurr_UVW.pre", "U_lstcurr.pre", "V_lstcurr.pre"}) write(l, six);
    EXPECT_NO_THROW(check_forcing_lists()) << joint;
  }
}

}  // namespace
}  // namespace orvel::forcing_test
