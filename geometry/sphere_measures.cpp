#include "geometry/sphere_measures.hpp"

#include <algorithm>
#include <cmath>

#include "geometry/angles.hpp"
#include "geometry/integers.hpp"

namespace orvel::geometry {
namespace {

constexpr double pi = 3.141592653589793;
constexpr double two_pi = 6.283185307179586;
constexpr double four_pi = 12.566370614359172;
constexpr double pi_third = 1.0471975511965976;
constexpr double four_pi_third = 4.1887902047863905;

struct table_row {
  int32_t dim_num;
  double value;
};

// Reference values for the unit sphere, as stored (15 significant digits).
constexpr table_row area_table[] = {
    {2, 6.28318530717959}, {3, 12.5663706143592}, {4, 19.7392088021787},
    {5, 26.3189450695716}, {6, 31.0062766802998}, {7, 33.0733617923198},
    {8, 32.4696970113341}, {9, 29.6865801246484}, {10, 25.5016403987734},
};
constexpr table_row volume_table[] = {
    {1, 2.0},
    {2, 3.14159265358979},
    {3, 4.18879020478639},
    {4, 4.93480220054468},
    {5, 5.26378901391432},
    {6, 5.16771278004997},
    {7, 4.7247659703314},
    {8, 4.05871212641677},
    {9, 3.29850890273871},
    {10, 2.55016403987735},
};

template <std::size_t N>
void next_row(const table_row (&table)[N], int32_t& k, int32_t& dim_num, double& value) {
  if (k < 0) k = 0;
  k = k + 1;
  if (k > static_cast<int32_t>(N)) {
    k = 0;
    dim_num = 0;
    value = 0.0;
    return;
  }
  dim_num = table[k - 1].dim_num;
  value = table[k - 1].value;
}

// Half-angle of the cap of height h (0 < h < 2r); for h > r that of the
// complementary cap.
double cap_half_angle(double r, double h) { return arc_sine(std::sqrt((2.0 * r - h) * h) / r); }

// The caps that need no half-angle: H <= 0 is empty (0), H >= 2R the whole
// sphere or ball (WHOLE), and below one dimension there is no cap (-1).
// Returns false when none of these holds.
bool cap_without_angle(int32_t dim_num, double r, double h, double& value,
                       void (*whole)(int32_t, double, double&)) {
  if (h <= 0.0) {
    value = 0.0;
  } else if (2.0 * r <= h) {
    whole(dim_num, r, value);
  } else if (dim_num < 1) {
    value = -1.0;
  } else {
    return false;
  }
  return true;
}

}  // namespace

double sphere_unit_area_nd(int32_t dim_num) {
  double value;
  if (dim_num % 2 != 0) {
    const int32_t m = (dim_num - 1) / 2;
    value = std::pow(2.0, dim_num) * std::pow(pi, m);
    for (int32_t i = m + 1; i <= 2 * m; ++i) value = value / static_cast<double>(i);
  } else {
    const int32_t m = dim_num / 2;
    value = 2.0 * std::pow(pi, m);
    for (int32_t i = 1; i <= m - 1; ++i) value = value / static_cast<double>(i);
  }
  return value;
}

double sphere_unit_volume_nd(int32_t dim_num) {
  double value;
  if (dim_num % 2 != 0) {
    const int32_t m = (dim_num - 1) / 2;
    value = std::pow(2.0, dim_num) * std::pow(pi, m);
    for (int32_t i = m + 1; i <= 2 * m + 1; ++i) value = value / static_cast<double>(i);
  } else {
    const int32_t m = dim_num / 2;
    value = std::pow(pi, m);
    for (int32_t i = 1; i <= m; ++i) value = value / static_cast<double>(i);
  }
  return value;
}

double sphere_k(int32_t dim_num) {
  double value;
  if (dim_num % 2 == 0)
    value = std::pow(two_pi, dim_num / 2);
  else
    value = 2.0 * std::pow(two_pi, (dim_num - 1) / 2);
  return value / static_cast<double>(i4_factorial2(wrap_sub(dim_num, 2)));
}

void sphere_imp_area_3d(double r, double& area) { area = four_pi * r * r; }

void sphere_imp_volume_3d(double r, double& volume) { volume = four_pi_third * r * r * r; }

void sphere_imp_area_nd(int32_t dim_num, double r, double& area) {
  area = std::pow(r, wrap_sub(dim_num, 1)) * sphere_unit_area_nd(dim_num);
}

void sphere_imp_volume_nd(int32_t dim_num, double r, double& volume) {
  volume = std::pow(r, dim_num) * sphere_unit_volume_nd(dim_num);
}

void sphere_cap_area_2d(double r, double h, double& area) {
  if (h <= 0.0) {
    area = 0.0;
  } else if (2.0 * r <= h) {
    area = two_pi * r;
  } else {
    const double theta = arc_sine(std::sqrt(r * r - (r - h) * (r - h)) / r);
    area = 2.0 * r * theta;
    if (r <= h) area = two_pi * r - area;
  }
}

void sphere_cap_area_3d(double r, double h, double& area) {
  if (h <= 0.0)
    area = 0.0;
  else if (2.0 * r <= h)
    sphere_imp_area_3d(r, area);
  else
    area = two_pi * r * h;
}

void sphere_cap_area_nd(int32_t dim_num, double r, double h, double& area) {
  if (cap_without_angle(dim_num, r, h, area, sphere_imp_area_nd)) return;
  const double theta = cap_half_angle(r, h);
  if (dim_num == 1)
    area = 0.0;
  else if (dim_num == 2)
    area = 2.0 * r * theta;
  else
    area = sphere_k(dim_num - 1) * std::pow(r, dim_num - 1) * sin_power_int(0.0, theta, dim_num - 2);
  if (r < h) area = std::pow(r, dim_num - 1) * sphere_unit_area_nd(dim_num) - area;
}

void sphere_cap_volume_2d(double r, double h, double& volume) {
  if (h <= 0.0) {
    volume = 0.0;
  } else if (2.0 * r <= h) {
    volume = pi * r * r;
  } else {
    const double t = 2.0 * arc_sine(std::sqrt(r * r - (r - h) * (r - h)) / r);
    volume = r * r * (t - std::sin(t)) / 2.0;
    if (r < h) volume = pi * r * r - volume;
  }
}

void sphere_cap_volume_3d(double r, double h, double& volume) {
  if (h <= 0.0)
    volume = 0.0;
  else if (2.0 * r <= h)
    sphere_imp_volume_3d(r, volume);
  else
    volume = pi_third * h * h * (3.0 * r - h);
}

void sphere_cap_volume_nd(int32_t dim_num, double r, double h, double& volume) {
  if (cap_without_angle(dim_num, r, h, volume, sphere_imp_volume_nd)) return;
  // On a line the cap is the segment of length H itself.
  if (dim_num == 1) {
    volume = h;
    return;
  }
  const double theta = cap_half_angle(r, h);
  volume = sphere_unit_volume_nd(dim_num - 1) * std::pow(r, dim_num) * sin_power_int(0.0, theta, dim_num);
  if (r < h) volume = std::pow(r, dim_num) * sphere_unit_volume_nd(dim_num) - volume;
}

// The area of a zone depends only on its height, unclipped: that of a cap of
// the same height.
void sphere_imp_zone_area_3d(double r, double h1, double h2, double& area) {
  sphere_cap_area_3d(r, std::fabs(h1 - h2), area);
}

void sphere_imp_zone_volume_3d(double r, double h1, double h2, double& volume) {
  const double lo = std::max(std::min(h1, h2), 0.0);
  const double hi = std::min(std::max(h1, h2), 2.0 * r);
  if (2.0 * r <= lo || hi <= 0.0)
    volume = 0.0;
  else
    volume = pi_third * (hi * hi * (3.0 * r - hi) - lo * lo * (3.0 * r - lo));
}

void sphere_unit_area_values(int32_t& k, int32_t& dim_num, double& area) { next_row(area_table, k, dim_num, area); }

void sphere_unit_volume_values(int32_t& k, int32_t& dim_num, double& volume) {
  next_row(volume_table, k, dim_num, volume);
}

}  // namespace orvel::geometry
