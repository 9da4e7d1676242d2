// Opening and reading the forcing field files named in the forcing lists.
//
// A field file is named by an entry of one of the name arrays of var1; its
// full name is the entry without trailing blanks, behind the data folder when
// the run has one.  A missing file is an error that names the file and the
// line of the list that named it, so each name array remembers the list it
// was filled from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/farray.hpp"
#include "common/list_input.hpp"
#include "common/values_left.hpp"

namespace orvel {

// Records that `names` was filled from the list file `list` (entry k from
// line k).
void note_list_origin(const farray<std::string, 1>& names, const std::string& list);

// The list file `names` was filled from, or empty when not known.
std::string list_origin(const farray<std::string, 1>& names);

// Full name of entry k of `names`.
std::string listed_path(const farray<std::string, 1>& names, int32_t k);

// Opens entry k of `names` for reading numbers that must be finite.  A
// record index outside the list, a blank entry and a missing file are input
// errors naming the list.
list_reader open_listed_file(const farray<std::string, 1>& names, int32_t k);

// A node-list file must hold one line per node: `nodes` (the count named
// `count_name` in the scenario file) against the lines of values of `r`.
// Too few or too many lines is an input error naming the file, the line and
// both numbers.
void check_node_lines(const list_reader& r, int64_t nodes, const char* count_name);

// The first field file of each forcing given as node lists on a regular grid
// (read as listed, not regridded): its node lines against the node count
// and its numbers finite, and each uniform series (its records there, its
// values finite and in range), so that such faults are refused before
// anything is written.
void check_first_node_files();

// Every forcing list that the engine reads as it stands (not regridded):
// the list exists, holds a file name for each record (and layer) its count
// needs, and every file it names exists.
void check_forcing_lists();

// Reads ny grid rows of nx values, the northernmost row (iy = ny) first,
// into g(1 .. nx, iy).  Each row is one record: it starts on a new line and
// may run on over several lines.
void read_rows(list_reader& r, farray<double, 2>& g, int32_t nx, int32_t ny);

// The same for a mask of integers; every value must be 0 or 1.
void read_mask_rows(list_reader& r, farray<int32_t, 2>& g, int32_t nx, int32_t ny);

// Checks a mask value just read from `r` (its line is the reader's current
// line): anything but 0 and 1 is an input error naming the file and line.
void check_mask_value(const list_reader& r, int32_t v);

// Node coordinates of a regular grid of nx by ny nodes, latitude fastest:
// node (ix, iy) = (ix - 1) * ny + iy lies at x0 + (ix - 1) * dx,
// y0 + (iy - 1) * dy.
void grid_nodes(farray<double, 1>& x, farray<double, 1>& y, double x0, double y0, double dx, double dy, int32_t nx,
                int32_t ny);

// A grid file read row by row: no values may be left on the last line of
// a row, nor lines of values after the last row.
void check_row_end(const list_reader& r, const list_reader::record& rec, int32_t row_values);
void check_no_more_rows(list_reader& r, int32_t rows);

// A node list on a regular grid, placed by the coordinates of its nodes
// whatever the order of its lines.  `x`, `y` hold the n nodes as read (file
// order) and `lines` the file line of each; on return x and y hold the
// nodes in the grid's own order (columns from west to east, each from south
// to north: node (i, j) at (i - 1) * ny + j) and the result gives, for each
// grid node in that order, the index (0 based) of the line that gave it, so
// that the values read with the nodes follow them (put_in_grid_order).  The
// coordinates of one column (one row) are all set to its westernmost
// (southernmost) value, so rounding in the last digits of a file does not
// split a column.  Refused, naming `file` and the line: a node that does
// not fall on the grid the other nodes describe, a node given twice, and a
// grid node that no line gives.  `grid_switch` names the record value that
// makes the grid regular ("currentgrid_regular__y_n").
std::vector<int32_t> place_nodes_on_grid(const std::string& file, double* x, double* y,
                                         const std::vector<int64_t>& lines, int32_t n, const char* grid_switch);

// A forcing field on a regular grid (origin at + 360, spacings and node
// counts) against the model grid, when the model grid is read: a field
// that covers no water node of the model grid is refused (naming `file`,
// both extents, and the likely slip: longitudes of 0 to 360, longitude and
// latitude swapped); one that leaves some water nodes outside is warned
// about on standard error with the share left out, where the field is 0.
// `kind` names the forcing ("current", "wind", "wave"); `source` says
// where the grid comes from when it is not the file's own nodes.
void check_field_cover(const std::string& file, const char* kind, double x0, double y0, double dx, double dy,
                       int32_t nx, int32_t ny, const std::string& source = "");

// Extents of two boxes in words, and the likely slip when they do not
// overlap: "the field's longitudes run 0 to 360 ..." or "longitude and
// latitude swapped".  Boxes are west, east, south, north with longitudes
// + 360.
std::string extent_text(double west, double east, double south, double north);
std::string missed_grid_hint(double west, double east, double south, double north, double gwest, double geast,
                             double gsouth, double gnorth);

// Values read in file order put in the grid order found by
// place_nodes_on_grid.
template <typename T>
void put_in_grid_order(T* v, const std::vector<int32_t>& order) {
  std::vector<T> file_order(v, v + order.size());
  for (std::size_t c = 0; c < order.size(); ++c) v[c] = file_order[static_cast<std::size_t>(order[c])];
}

// Forgets the list origins and closes the depth-mean current series, so
// that the next read starts again from its first line.
void reset_forcing_readers();

}  // namespace orvel
