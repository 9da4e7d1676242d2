// Scattered-data bivariate interpolation: values at output points from
// values at irregularly spaced data points.  The data points are
// triangulated, every output point is located in the triangulation (a
// triangle, or the strip beyond a border segment, or the wedge beyond a
// border vertex), first and second partial derivatives are estimated at the
// data points, and the value comes from a quintic over the triangle (or the
// extrapolation polynomial of the strip or wedge).
//
// All coordinates of data points and all arithmetic are single precision
// except where noted; output coordinates are double precision.  Data and
// output points are numbered from 1 in argument order.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "common/farray.hpp"

namespace orvel {

// Region codes.  With NT triangles, NL border segments and NTL = NT + NL:
// 1..NT a triangle; s*NTL + s the strip beyond border segment s;
// s*NTL + s' (s' = s mod NL + 1) the wedge beyond the vertex where segment s
// ends.  Formed in 64 bits: s*NTL passes 2^31 at about 33,000 hull points.
using region_code = int64_t;

// Saved record of the point location: the previous region and the section
// index of the current triangulation (cuts of the data rectangle into three
// columns and three rows, and the number of triangles listed per section).
struct idlc_record {
  region_code itipv = 0;         // previous region code, 0 = none (rebuild the index)
  float xs1 = 0.0f;              // first x cut
  float xs2 = 0.0f;              // second x cut
  float ys1 = 0.0f;              // first y cut
  float ys2 = 0.0f;              // second y cut
  std::array<int32_t, 9> ntsc{}; // triangles listed per section, sections 1 to 9
};

// Saved coefficients of the last region evaluated.
struct idpt_record {
  region_code itpv = 0;      // previous region code, 0 = none
  float x0 = 0.0f;           // origin x
  float y0 = 0.0f;           // origin y
  float ap = 0.0f;           // u from x
  float bp = 0.0f;           // u from y
  float cp = 0.0f;           // v from x
  float dp = 0.0f;           // v from y
  // p00 p10 p20 p30 p40 p50 p01 p11 p21 p31 p41 p02 p12 p22 p32 p03 p13 p23 p04 p14 p05
  std::array<float, 21> p{};
};

// Status with which a fatal error of the interpolator ends the run.
inline constexpr int interpolator_stop_status = 1;

// ---------------------------------------------------------------------------
// Triangulation.

// Triangulates the convex hull of the ndp data points.  ipt receives three
// data-point numbers per triangle (room for 6*ndp - 15), counter-clockwise;
// ipl three numbers per border segment (start, end, triangle; room for
// 6*ndp), a closed counter-clockwise chain.  iwl (edges to re-examine), iwp
// (order of addition, ndp) and wk (squared distances, ndp) are scratch.
// Throws run_stop with the routine's fatal-error lines on fewer than 4
// points, two identical points or all points collinear.
void idtang(int32_t ndp, std::span<const float> xd, std::span<const float> yd, int32_t& nt,
            std::span<int32_t> ipt, int32_t& nl, std::span<int32_t> ipl,
            std::vector<int32_t>& iwl, std::span<int32_t> iwp, std::span<float> wk);

// Max-min angle test for the quadrilateral with current diagonal i3-i4 and
// other corners i1, i2: 1 when the diagonal should become i1-i2, else 0.
int32_t idxchg(std::span<const float> x, std::span<const float> y, int32_t i1, int32_t i2,
               int32_t i3, int32_t i4);

// ---------------------------------------------------------------------------
// Point location.

// Region code of the point (xii, yii).  The section index (idlc, the
// section table iwk of 18*ndp entries and the bounding boxes wk of 4*nt
// entries) is rebuilt when idlc.itipv is 0 and must stay untouched between
// points of one triangulation.  On return idlc.itipv holds the result.
void idlctn(int32_t ndp, std::span<const float> xd, std::span<const float> yd, int32_t nt,
            std::span<const int32_t> ipt, int32_t nl, std::span<const int32_t> ipl, double xii,
            double yii, region_code& iti, std::span<int32_t> iwk, std::span<float> wk,
            idlc_record& idlc);

// ---------------------------------------------------------------------------
// Derivatives and the value at a point.

// Estimates zx, zy, zxx, zxy, zyy at every data point (pd, five per point)
// from the triangles meeting there; wk (ndp) receives the weight sums.  A
// point whose triangles all fail the flatness test gets zero derivatives.
void idpdrv(int32_t ndp, std::span<const float> xd, std::span<const float> yd,
            std::span<const float> zd, int32_t nt, std::span<const int32_t> ipt,
            std::span<float> pd, std::span<float> wk);

// Value zii at (xii, yii) in region iti.  The coefficients of the region are
// kept in idpt and reused while the region code stays the same; set
// idpt.itpv to 0 whenever the triangulation, data values or derivatives change.
void idptip(std::span<const float> xd, std::span<const float> yd, std::span<const float> zd,
            int32_t nt, std::span<const int32_t> ipt, int32_t nl, std::span<const int32_t> ipl,
            std::span<const float> pd, region_code iti, double xii, double yii, float& zii,
            idpt_record& idpt);

// ---------------------------------------------------------------------------
// Regular grids.

// Sorts the points of the nxi by nyi grid by region.  Grid point (i, j) has
// the number (j - 1)*nxi + i.  Regions in order: triangles 1..nt, then per
// border segment its strip and the wedge after its end.  ngp holds two
// counts per region (points strictly inside, points on its boundary; room
// for 2*(nt + 2*nl)); igp (nxi*nyi) lists the inside points from the front
// in region order and the boundary points from the back.  Every grid point
// is listed exactly once.
void idgrid(std::span<const float> xd, std::span<const float> yd, int32_t nt,
            std::span<const int32_t> ipt, int32_t nl, std::span<const int32_t> ipl, int32_t nxi,
            int32_t nyi, std::span<const double> xi, std::span<const double> yi,
            std::span<int32_t> ngp, std::span<int32_t> igp);

// ---------------------------------------------------------------------------
// The interpolator with its state: integer and real work arrays (with the
// triangulation, its counts and the section table), the region code of
// every output point, and the location and coefficient records.  Triangulate
// once (mode 1), then evaluate further value columns over the same points
// (mode 3) or other output points (mode 2).
class scattered_interpolator {
 public:
  scattered_interpolator();

  // md 1: new data points; 2: same data points, new output points; 3: same
  // data and output points, new data values.  xd, yd, zd hold ndp values,
  // xi, yi and zi nip.  Throws run_stop with the fatal-error lines on a bad
  // md, ndp or nip, or when the counts differ from the previous call.
  void idbvip(int32_t md, int32_t ndp, std::span<const float> xd, std::span<const float> yd,
              std::span<const float> zd, int32_t nip, std::span<const double> xi,
              std::span<const double> yi, std::span<float> zi);

  // Fits the surface onto the grid xi (nxi) by yi (nyi): the value of grid
  // point (i, j) goes to zi((j - 1)*nzi + i); zi holds nzi*nyi values and its
  // positions beyond nxi in each row are left untouched.
  void idsfft(int32_t md, int32_t ndp, std::span<const float> xd, std::span<const float> yd,
              std::span<const float> zd, int32_t nxi, int32_t nyi, int32_t nzi,
              std::span<const double> xi, std::span<const double> yi, std::span<float> zi);

  // Gives every output point of the last point call (modes 1 to 3) that
  // lies beyond the data points' convex hull the value at the nearest point
  // of the hull in place of the extrapolated one: in the strip beyond a
  // border segment the value on the segment at the foot of the
  // perpendicular, in the wedge beyond a border vertex that vertex's data
  // value.  xd, yd, zd, xi and yi must be those of that call, zi its
  // output.  Returns the number of points changed; points inside the hull
  // keep their values bit for bit.
  int32_t hold_beyond_hull(std::span<const float> xd, std::span<const float> yd,
                           std::span<const float> zd, std::span<const double> xi,
                           std::span<const double> yi, std::span<float> zi) const;

  // The state after a call.
  int32_t nt() const { return iwk_(5); }  // number of triangles
  int32_t nl() const { return iwk_(6); }  // number of border segments
  // Vertex k (1 to 3) of triangle t.
  int32_t triangle(int32_t t, int32_t k) const { return iwk_(15 + 3 * (t - 1) + k); }
  // Item k (1 start, 2 end, 3 triangle) of border segment s.
  int32_t border(int32_t s, int32_t k) const;
  // Region code of output point k.
  region_code region(int32_t k) const { return ipc_(k); }
  // Derivative k (1 zx, 2 zy, 3 zxx, 4 zxy, 5 zyy) at data point i.
  float derivative(int32_t i, int32_t k) const { return wk_(5 * (i - 1) + k); }
  // Integer work array: 1 NDP, 3 NIP (or NXI), 4 NYI, 5 NT, 6 NL,
  // 16.. triangles, 6*NDP+1.. section table or grid counts, 24*NDP+1.. border.
  const farray<int32_t>& iwk() const { return iwk_; }
  const idlc_record& idlc() const { return idlc_; }
  const idpt_record& idpt() const { return idpt_; }

 private:
  enum class located { none, points, grid };
  void check_common(const char* routine, int32_t md, int32_t ndp);
  void triangulate(int32_t ndp, std::span<const float> xd, std::span<const float> yd);

  farray<int32_t> iwk_{"iwk"};   // counts, triangulation, section table, border
  farray<float> wk_{"wk"};       // derivatives, weight sums, distances, bounding boxes
  farray<region_code> ipc_{"ipc"};  // region code of each output point
  farray<int32_t> igp_{"igp"};   // grid points sorted by region
  std::vector<int32_t> iwl_;     // edges to re-examine while triangulating
  located located_ = located::none;
  idlc_record idlc_;
  idpt_record idpt_;
};

// ---------------------------------------------------------------------------
// Time stamp.

// The line of `timestamp` for the given date and time (month 1 to 12, hour
// 0 to 23), e.g. "January  5 2024   9:05:03.007 AM".
std::string timestamp_line(int year, int month, int day, int hour, int minute, int second,
                           int millisecond);
// Writes the current date and time of the machine as one line.
void timestamp(std::ostream& out);
void timestamp();

}  // namespace orvel
