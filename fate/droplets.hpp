// Droplet sizes of a three-dimensional run: every particle is a droplet with
// a diameter, given at set-up from a log-normal spread of size classes around
// a median size (oil, or a chemical whose particles stand for many real
// droplets), or read with its rise speed from the blowout's droplet file.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace orvel {

// The size classes of the oil distribution of a spill with water density
// rho_w and oil density rho (kg/m3) and viscosity visc (cSt).
struct oil_droplet_classes {
  float d_o = 0.0f;    // maximum droplet size, m
  float d_c = 0.0f;    // d_o capped at 0.12 m
  float vi = 0.0f;     // viscosity number
  float we = 0.0f;     // Weber number
  float d50 = 0.0f;    // median diameter, m
  float delta = 0.0f;  // class width d_o / 30, m
  std::array<double, 30> diameter{};  // class centres, m
  std::array<double, 30> weight{};    // log-normal weights
  float sum = 0.0f;                   // sum of the weights
};
oil_droplet_classes oil_droplet_sizes(float rho_w, double rho, double visc);

// The five size classes of a chemical of viscosity visc (cSt): from a tenth
// of the median diameter to 70 micrometres.
struct hns_droplet_classes {
  float d50 = 0.0f;    // median diameter, m
  float d_min = 0.0f;  // smallest diameter, m
  float delta = 0.0f;  // class width, m
  std::array<double, 5> diameter{};  // class centres, m
  std::array<double, 5> weight{};    // log-normal weights
  float sum = 0.0f;                  // sum of the weights
};
hns_droplet_classes hns_droplet_sizes(float visc);

// Deals counts[i] particles to class i + 1 in turn along the particle index
// (class_of[p] is the class of particle p + 1): a surplus falls on the last
// particle, which keeps the class dealt to it last, and the particles left
// over take the last class.
void deal_droplet_classes(std::span<const int64_t> counts, std::span<int32_t> class_of);

// Mass (kg) of one droplet of a chemical of density rho (kg/m3) and diameter
// d (m): rho * 3.141516 * (d / 2)^3, the weight the chemical's processes give
// a droplet.
float droplet_mass(float rho, double d);

// Diameters of the particles of `spill` from the oil distribution (the slick
// density and viscosity dens, visc, or the product's density and viscosity
// when the slick properties have not been set): the classes are dealt out in
// increasing order along the particle index, the particles left over take
// the largest class.  Writes the spill's block of "diameter_distribution.txt".
void dropletsizedistributionunified_li2017(int32_t spill);

// The same for a chemical, with the class tables of var_hns_extra, the class
// of each particle (partclass) and the real droplets it stands for
// (equiv_part), so that the particles of the spill carry its spilled mass.
// Prints the class-diameter table and the number of classes on standard
// output.  The call for spill 1 makes the tables.
void dropletsizedistribution(int32_t spill);

// Diameters and rise speeds (positive upward in the file, held negative
// upward) of the particles of `spill` from "DropletDiametersAndFlotSpeed.txt":
// a heading line, then one line per particle, for each spill in turn.  The
// call for spill 1 reads the whole file and makes diam_part and w_float; a
// missing file, too few lines or a value that is not a number is an
// input_error naming the file and the line.
void read_droplets(int32_t spill);

// Start-up checks (input_error naming clave + ".cfg") of a 3-D run without
// blowout: an oil or floating-object spill must be lighter than the water
// (else its largest droplet has no size), and a chemical's smallest droplet,
// a tenth of its median size, must lie below 70 micrometres (else its size
// classes have no width).
void check_droplet_inputs(const std::string& clave);

}  // namespace orvel
