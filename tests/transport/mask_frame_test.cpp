// The current grid that the placements' mask tests locate from the U nodes.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/transport/particles_fixture.hpp"
#include "transport/placement.hpp"

namespace orvel {
namespace {

// Two columns of three U nodes (latitude fastest) at 356.01 and 356.11 E,
// 43.01, 43.135, 43.26 N.
void two_columns() {
  testing::small_world(1, 1);
  var_cfg.xyzcurrentnodes_number[0] = 6;
  var2.xcorr_u.allocate(6);
  var2.ycorr_u.allocate(6);
  const double lat[] = {43.01, 43.135, 43.26};
  for (int32_t k = 1; k <= 6; ++k) {
    var2.xcorr_u(k) = k <= 3 ? 356.01 : 356.11;
    var2.ycorr_u(k) = lat[(k - 1) % 3];
  }
}

TEST(MaskFrame, NodesInDoubleOrSinglePrecision) {
  // In single precision (spacing 2^-15 between 256 and 512) 356.01 is
  // 11665736 / 2^15 = 356.010009765625 and 356.11 is 11669012 / 2^15 =
  // 356.1099853515625, 3276 / 2^15 = 0.0999755859375 apart; 43.01 and 43.135
  // (spacing 2^-18) are 11274813 / 2^18 and 11307581 / 2^18, 32768 / 2^18 =
  // 0.125 apart.
  two_columns();
  const mask_frame d = locate_mask_frame(node_precision::double_nodes);
  EXPECT_TRUE(d.located);
  EXPECT_EQ(d.x0, 356.01);
  EXPECT_EQ(d.dx, 356.11 - 356.01);
  EXPECT_EQ(d.y0, 43.01);
  EXPECT_EQ(d.dy, 43.135 - 43.01);
  const mask_frame s = locate_mask_frame(node_precision::single_spacings);
  EXPECT_EQ(s.x0, 356.01);
  EXPECT_EQ(s.y0, 43.01);
  EXPECT_EQ(s.dx, 0.0999755859375);
  EXPECT_EQ(s.dy, 0.125);
  const mask_frame a = locate_mask_frame(node_precision::single_nodes);
  EXPECT_EQ(a.x0, 356.010009765625);
  EXPECT_EQ(a.y0, 11274813.0 / 262144.0);
  EXPECT_EQ(a.dx, 0.0999755859375);
  EXPECT_EQ(a.dy, 0.125);
}

TEST(MaskFrame, NoLongitudeStepUpToTheLastNodeLocatesNothing) {
  two_columns();
  for (int32_t k = 4; k <= 6; ++k) var2.xcorr_u(k) = 356.01;
  for (auto p : {node_precision::double_nodes, node_precision::single_spacings, node_precision::single_nodes}) {
    EXPECT_FALSE(locate_mask_frame(p).located);
  }
  // Nor does a single node; the search never reads past the node count.
  two_columns();
  var_cfg.xyzcurrentnodes_number[0] = 3;
  EXPECT_FALSE(locate_mask_frame(node_precision::single_spacings).located);
  var_cfg.xyzcurrentnodes_number[0] = 1;
  EXPECT_FALSE(locate_mask_frame(node_precision::double_nodes).located);
}

}  // namespace
}  // namespace orvel
