// The pieces of the start-up regridding: reading a scattered field file,
// interpolating its value columns onto the model grid with triangulations
// reused while the node coordinates stay the same, and writing the INT_ file.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forcing/idbvip.hpp"

namespace orvel::regrid_detail {

// What a scattered field file holds per node after longitude and latitude.
enum class forcing_kind {
  current,  // one value: u (U files) or v (V files)
  wind,     // u, v
  waves,    // wave height, direction (degrees), period
};
int value_columns(forcing_kind kind);

// "INT_" followed by the first 100 characters of the listed name, trailing
// blanks not counted.
std::string int_name(std::string_view listed);

// Nodes of one scattered field file: longitude + 360 and latitude, single
// precision, and one array per value column.
struct scattered_nodes {
  std::vector<float> x;
  std::vector<float> y;
  std::vector<std::vector<float>> values;
};
// Reads `nodes` node records of `columns` values after longitude and
// latitude; 360 is added to each longitude in single precision.
scattered_nodes read_scattered(const std::string& path, int32_t nodes, forcing_kind kind);

// Interpolates value columns onto one set of output points.  Each slot
// keeps an interpolator with its triangulation and located output points;
// the data coordinates of a call are compared byte for byte with those of
// every slot, and on a match all columns are evaluated over the kept
// triangulation (mode 3).  Otherwise the call's own slot triangulates afresh
// with the first column (mode 1) and evaluates the others in mode 3.  The
// results are those of one fresh mode-1 call per column; with reuse off
// every column is such a call.  The output points must stay the same for
// the object's lifetime.
// Output points beyond the data points' convex hull are not extrapolated:
// each takes the value at the nearest point of the hull, limited to the
// range of its column's data, so that a grid reaching beyond the data never
// receives values that the data do not hold.  Points inside the hull keep
// the interpolated values.
class column_interpolator {
 public:
  column_interpolator(int slots, bool reuse);
  void interpolate(int slot, std::span<const float> xd, std::span<const float> yd,
                   std::span<const std::vector<float>> columns, std::span<const double> xi,
                   std::span<const double> yi, std::vector<std::vector<float>>& out);
  // Triangulations made so far.
  int32_t triangulations() const { return triangulations_; }
  // Output points of the last call beyond the data points' hull.
  int32_t beyond_hull() const { return beyond_hull_; }
  // The interpolator of the last call, with its triangulation and the
  // region of every output point.
  const scattered_interpolator& last() const { return *last_; }

 private:
  struct slot_state {
    std::unique_ptr<scattered_interpolator> interp;
    std::vector<float> x, y;  // data coordinates of its triangulation
    bool valid = false;
  };
  // Values beyond the hull held as described above; returns their count.
  static int32_t hold_beyond_hull(const scattered_interpolator& interp, std::span<const float> xd,
                                  std::span<const float> yd, std::span<const float> zd,
                                  std::span<const double> xi, std::span<const double> yi,
                                  std::span<float> zi);
  std::vector<slot_state> slots_;
  bool reuse_;
  int32_t triangulations_ = 0;
  int32_t beyond_hull_ = 0;
  const scattered_interpolator* last_ = nullptr;
};

// Regrids listed files of one forcing kind onto the model grid held in
// var_mallas (xbat, ybat): reads the file, interpolates every value column
// and writes the INT_ file (names with the data-folder prefix when the
// run asks for one).  Wave directions are interpolated through their sine
// and cosine and written back as degrees in [0, 360).  A value that is not
// finite or does not fit its output field is an input_error naming the
// file and the model node, and so is a value far outside its data's range
// (thin triangles of nearly collinear nodes).  The first file that leaves
// model nodes beyond its nodes' hull is named in one warning on standard
// error.
class file_regridder {
 public:
  file_regridder(forcing_kind kind, int slots, bool reuse);
  // Reads and interpolates the listed file `listed` of `nodes` nodes with
  // the triangulation slot `slot`; the result waits in `slot` for write().
  void read_and_interpolate(int slot, const std::string& listed, int32_t nodes);
  // Writes the INT_ file of the last file interpolated in `slot`.
  void write(int slot);
  const column_interpolator& interpolator() const { return interp_; }
  // Values of the last file interpolated in `slot`, per output column.
  const std::vector<std::vector<float>>& result(int slot) const { return pending_[slot].out; }

 private:
  struct pending_file {
    std::string listed;
    std::string source;  // the path read
    std::vector<std::vector<float>> out;
    // Per output column, the range of the data it was interpolated from
    // (none for the wave direction, which wraps).
    struct data_range {
      bool checked = false;
      float low = 0.0f, high = 0.0f;
    };
    std::vector<data_range> ranges;
  };
  // Refuses nodes whose hull is no wider than a few rounding units of their
  // coordinates: collinear to the precision of their positions.
  void check_spread(const pending_file& p, const scattered_interpolator& g,
                    const scattered_nodes& s) const;
  // Refuses a value far outside its column's data range (inside the hull).
  void check_ranges(const pending_file& p, const std::vector<std::vector<float>>& out,
                    const scattered_nodes& s) const;
  forcing_kind kind_;
  int32_t m_;
  std::span<const double> xi_, yi_;
  std::string coords_;  // F10.4 longitude and latitude of every model node
  column_interpolator interp_;
  std::vector<pending_file> pending_;
  std::vector<std::vector<float>> columns_;  // scratch: columns to interpolate
  bool warned_beyond_hull_ = false;
};

}  // namespace orvel::regrid_detail
