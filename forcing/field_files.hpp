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

#include "common/farray.hpp"
#include "common/list_input.hpp"

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

// Forgets the list origins and closes the depth-mean current series, so
// that the next read starts again from its first line.
void reset_forcing_readers();

}  // namespace orvel
