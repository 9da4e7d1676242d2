// Forcing lists: list names, the entries read into the name arrays, the
// vertical-current list, and the errors of missing and bad lists.
#include "forcing/lists.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/forcing/forcing_support.hpp"

namespace orvel::forcing_test {
namespace {

class Lists : public forcing_files {};

TEST_F(Lists, ListNames) {
  struct row {
    const char* base;
    int32_t simulation;
    bool raw;
    int32_t simtype;
    int32_t datafolder;
    const char* ruta;
    const char* expected;
  };
  const row rows[] = {
      {"U_lstcurr", 1, true, 1, 1, "d/", "U_lstcurr.pre"},
      {"U_lstcurr", 1, false, 1, 1, "d/", "U_lstcurr.txt"},
      {"Dir_lstwaves", 3, true, 1, 0, "", "Dir_lstwaves.pre"},
      {"lstwaves", 7, false, 2, 1, "", "lstwaves00007.txt"},
      {"lstwinds", 99999, true, 2, 1, "", "lstwinds99999.pre"},
      {"lstwinds", 12345, true, 2, 2, "/data/ ", "/data/lstwinds12345.pre"},
      {"U_lstwinds", 1, true, 1, 2, "d/   ", "d/U_lstwinds.pre"},
      {"V_lstwinds", 1, true, 1, 2, "dd", "ddV_lstwinds.pre"},  // nothing put between folder and name
  };
  for (const row& r : rows) {
    var_run.simtype__operat_probabil = r.simtype;
    var_run.datafolder__same_other = r.datafolder;
    var_cfg.ruta = name256(r.ruta);
    EXPECT_EQ(forcing_list_name(r.base, r.simulation, r.raw), r.expected) << r.base << " " << r.simulation;
  }
}

TEST_F(Lists, WindGridListsUnderTheDataFolder) {
  var_run.datafolder__same_other = 2;
  var_cfg.ruta = name256("d/");
  var_cfg.windgridformat__xyz_grid = 2;
  var_mallas.windgrid_regular__y_n = 1;
  var_cfg.windfilesorlines_number = 2;
  var1.fichviento_u.allocate(2);
  var1.fichviento_v.allocate(2);
  write("d/U_lstwinds.pre", "u1.txt\n  u2 with blanks.txt   \nsurplus line\n");
  write("d/V_lstwinds.pre", "v1.txt\nv2.txt");  // no line end after the last line
  int32_t wflag = 1;
  lee_listafich(3, 1, wflag);
  EXPECT_EQ(var1.fichviento_u(1), name256("u1.txt"));
  EXPECT_EQ(var1.fichviento_u(2), name256("  u2 with blanks.txt"));  // leading blanks stay
  EXPECT_EQ(var1.fichviento_v(2), name256("v2.txt"));
  EXPECT_EQ(var1.fichviento_u(1).size(), 256u);
  EXPECT_EQ(wflag, 1);
}

TEST_F(Lists, ProbabilisticRegriddedWaves) {
  var_run.simtype__operat_probabil = 2;
  var_cfg.wavesgridformat__xyz_grid = 1;
  var_mallas.wavesgrid_regular__y_n = 0;
  var_cfg.wavesfilesorlines_number = 1;
  var1.fichola.allocate(1);
  write("lstwaves00007.txt", "INT_w.txt\n");
  int32_t wflag = 0;
  lee_listafich(2, 7, wflag);
  EXPECT_EQ(var1.fichola(1), name256("INT_w.txt"));
}

TEST_F(Lists, WaveGridLists) {
  var_cfg.wavesgridformat__xyz_grid = 2;
  var_mallas.wavesgrid_regular__y_n = 1;
  var_cfg.wavesfilesorlines_number = 2;
  for (auto* a : {&var1.fichola_hs, &var1.fichola_t, &var1.fichola_dir}) a->allocate(2);
  write("Hs_lstwaves.pre", "h1\nh2\n");
  write("T_lstwaves.pre", "t1\nt2\n");
  write("Dir_lstwaves.pre", "d1\nd2\n");
  int32_t wflag = 0;
  lee_listafich(2, 1, wflag);
  EXPECT_EQ(var1.fichola_hs(2), name256("h2"));
  EXPECT_EQ(var1.fichola_t(1), name256("t1"));
  EXPECT_EQ(var1.fichola_dir(2), name256("d2"));
}

// Separate current files of 3 layers and 4 records: 12 names per list,
// record-major; without a vertical-current file the W list is not needed.
TEST_F(Lists, CurrentsThreeLayersFourRecordsRecordMajor) {
  allocate_currents(1, 1, 1, 3, 4);
  var_mallas.currentgrid_regular__y_n = 1;
  std::string u, v;
  for (int r = 1; r <= 4; ++r) {
    for (int l = 1; l <= 3; ++l) {
      u += "u_r" + std::to_string(r) + "_l" + std::to_string(l) + ".txt\n";
      v += "v_r" + std::to_string(r) + "_l" + std::to_string(l) + ".txt\n";
    }
  }
  write("U_lstcurr.pre", u + "u_r5_l1.txt\n");
  write("V_lstcurr.pre", v);
  int32_t wflag = 1;
  lee_listafich(1, 1, wflag);
  EXPECT_EQ(var1.fichvel_u(1), name256("u_r1_l1.txt"));
  EXPECT_EQ(var1.fichvel_u(4), name256("u_r2_l1.txt"));
  EXPECT_EQ(var1.fichvel_u(6), name256("u_r2_l3.txt"));
  EXPECT_EQ(var1.fichvel_v(12), name256("v_r4_l3.txt"));
  EXPECT_EQ(wflag, 0);
  EXPECT_EQ(var1.fichvel_w(1), "");  // not read
  EXPECT_EQ(dir_.files(), (std::vector<std::string>{"U_lstcurr.pre", "V_lstcurr.pre"}));  // nothing created
}

// Vertical-current files: in a 3-D run with layered current files (separate
// node lists on a regular grid of their own) the W list, when it exists,
// names one file per record and layer as the U and V lists, and the flag
// becomes 1; without it, or in any other run (grid-format files among
// them), no W name is read and the flag becomes 0.
TEST_F(Lists, VerticalCurrentList) {
  struct row {
    const char* what;
    int32_t dims, layered, format;
    bool w_list;
    int32_t flag;
  };
  const std::vector<row> rows = {
      {"3-D layered, W list", 2, 1, 1, true, 1},
      {"3-D layered, no W list", 2, 1, 1, false, 0},
      {"2-D, W list", 1, 1, 1, true, 0},
      {"3-D depth-mean input, W list", 2, 2, 1, true, 0},
      // Grid-format currents carry no vertical current of their own.
      {"3-D layered grid-format files, W list", 2, 1, 2, true, 0},
  };
  for (const auto& r : rows) {
    reset_state();
    for (const auto& f : dir_.files()) std::filesystem::remove(f);
    allocate_currents(1, 1, 1, 2, 2);
    var_mallas.currentgrid_regular__y_n = 1;
    var_run.sim__2d_3d = r.dims;
    var_cfg.current3dinputformat_layers_average = r.layered;
    var_cfg.currentgridformat__xyz_grid = r.format;
    write("U_lstcurr.pre", "u11\nu12\nu21\nu22\n");
    write("V_lstcurr.pre", "v11\nv12\nv21\nv22\n");
    if (r.w_list) write("W_lstcurr.pre", "w11\nw12\nw21\nw22\n");
    int32_t wflag = 1 - r.flag;
    lee_listafich(1, 1, wflag);
    EXPECT_EQ(wflag, r.flag) << r.what;
    EXPECT_EQ(var1.fichvel_w(1), r.flag ? name256("w11") : "") << r.what;
    EXPECT_EQ(var1.fichvel_w(4), r.flag ? name256("w22") : "") << r.what;
  }
  // A W list shorter than the U and V lists is an error naming it.
  var_cfg.current3dinputformat_layers_average = 1;
  var_cfg.currentgridformat__xyz_grid = 1;
  write("W_lstcurr.pre", "w11\nw12\nw21\n");
  int32_t wflag = 0;
  EXPECT_STREQ(input_error_of([&] { lee_listafich(1, 1, wflag); }).what(),
               "W_lstcurr.pre:4: expected a file name, found end of file");
}

TEST_F(Lists, NoCurrentNamesOpensNothing) {
  allocate_currents(1, 1, 1, 1, 0);
  var_mallas.currentgrid_regular__y_n = 1;
  int32_t wflag = 1;
  lee_listafich(1, 1, wflag);  // no list exists: none is needed
  EXPECT_EQ(wflag, 1);
  EXPECT_TRUE(dir_.files().empty());
}

TEST_F(Lists, TimeVaryingGridFormatReadsOneNamePerRecord) {
  allocate_currents(1, 1, 1, 3, 2);
  var_mallas.currentgrid_regular__y_n = 1;
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.currentgridformat__xyz_grid = 2;
  var_cfg.currentfilesjointuvw__y_n = 0;
  write("U_lstcurr.pre", "u1\nu2\n");  // n lines suffice, whatever the layer count
  write("V_lstcurr.pre", "v1\nv2\n");
  write("Mask_lstcurr.pre", "m1\nm2\n");
  int32_t wflag = 1;
  lee_listafich(1, 1, wflag);
  EXPECT_EQ(var1.fichvel_u(2), name256("u2"));
  EXPECT_EQ(var1.fichvel_u(3), "");
  EXPECT_EQ(var1.fichvel_mask(2), name256("m2"));
  EXPECT_EQ(wflag, 1);
}

TEST_F(Lists, JointAndCorrectionLists) {
  allocate_currents(1, 1, 1, 2, 2);
  allocate_corrections(3);
  var_mallas.currentgrid_regular__y_n = 1;
  var_cfg.currentfilesjointuvw__y_n = 1;
  write("lstcurr_UVW.pre", "j11\nj12\nj21\nj22\n");
  write("U_lstcorrectcurr.pre", "uc1\nuc2\nuc3\n");
  write("V_lstcorrectcurr.pre", "vc1\nvc2\nvc3\n");
  int32_t wflag = 0;
  lee_listafich(1, 1, wflag);
  EXPECT_EQ(var1.fichvel_uvw(3), name256("j21"));
  EXPECT_EQ(var1.fichvel_uvw(4), name256("j22"));
  EXPECT_EQ(var1.fichvel_uc(3), name256("uc3"));
  EXPECT_EQ(var1.fichvel_vc(1), name256("vc1"));

  // Regridded currents read the ".txt" lists; correction lists stay ".pre".
  reset_state();
  allocate_currents(1, 1, 1, 1, 1);
  allocate_corrections(1);
  var_mallas.currentgrid_regular__y_n = 0;
  write("U_lstcurr.txt", "INT_u\n");
  write("V_lstcurr.txt", "INT_v\n");
  lee_listafich(1, 1, wflag);
  EXPECT_EQ(var1.fichvel_u(1), name256("INT_u"));
  EXPECT_EQ(var1.fichvel_uc(1), name256("uc1"));
}

TEST_F(Lists, OtherKindsDoNothing) {
  int32_t wflag = 5;
  lee_listafich(0, 1, wflag);
  lee_listafich(4, 1, wflag);
  EXPECT_EQ(wflag, 5);
  EXPECT_TRUE(dir_.files().empty());
}

// A missing list is an error naming it, and is not created; so is a short
// list (at its first missing line) and an entry longer than 256 characters.
TEST_F(Lists, ListErrors) {
  var_cfg.windgridformat__xyz_grid = 1;
  var_mallas.windgrid_regular__y_n = 1;
  var_cfg.windfilesorlines_number = 3;
  var1.fichviento.allocate(3);
  int32_t wflag = 0;

  input_error e = input_error_of([&] { lee_listafich(3, 1, wflag); });
  EXPECT_EQ(e.file(), "lstwinds.pre");
  EXPECT_EQ(e.line(), 0);
  EXPECT_STREQ(e.what(), "lstwinds.pre:0: cannot open the file (missing or unreadable)");
  EXPECT_TRUE(dir_.files().empty());

  write("lstwinds.pre", "a\nb\n");
  e = input_error_of([&] { lee_listafich(3, 1, wflag); });
  EXPECT_STREQ(e.what(), "lstwinds.pre:3: expected a file name, found end of file");

  write("lstwinds.pre", "a\n" + std::string(256, 'x') + "    \n" + std::string(257, 'y') + "\n");
  e = input_error_of([&] { lee_listafich(3, 1, wflag); });
  EXPECT_STREQ(e.what(), "lstwinds.pre:3: file name longer than 256 characters (257)");
  EXPECT_EQ(var1.fichviento(2), std::string(256, 'x'));  // exactly 256 is a whole name
}

// Combinations for which no list is named are refused (the start-up check
// refuses such scenarios before any list is read).
TEST_F(Lists, CombinationsWithoutListNames) {
  int32_t wflag = 0;
  var_cfg.wavesgridformat__xyz_grid = 2;
  var_mallas.wavesgrid_regular__y_n = 0;
  EXPECT_THROW(lee_listafich(2, 1, wflag), std::logic_error);
  var_cfg.windgridformat__xyz_grid = 3;
  var_mallas.windgrid_regular__y_n = 1;
  EXPECT_THROW(lee_listafich(3, 1, wflag), std::logic_error);

  allocate_currents(1, 1, 1, 1, 1);
  var_cfg.currentfilesjointuvw__y_n = 1;
  var_run.simtype__operat_probabil = 2;
  var_mallas.currentgrid_regular__y_n = 1;
  EXPECT_THROW(lee_listafich(1, 1, wflag), std::logic_error);
  var_run.simtype__operat_probabil = 1;
  var_cfg.currentgrid_variable__y_n = 1;
  var_cfg.currentgridformat__xyz_grid = 2;
  EXPECT_THROW(lee_listafich(1, 1, wflag), std::logic_error);
  var_cfg.currentfilesjointuvw__y_n = 0;
  var_mallas.currentgrid_regular__y_n = 0;
  EXPECT_THROW(lee_listafich(1, 1, wflag), std::logic_error);
  EXPECT_TRUE(dir_.files().empty());
}

}  // namespace
}  // namespace orvel::forcing_test
