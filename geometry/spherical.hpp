// Geometry on the surface of a sphere centred at the origin: great-circle
// distances from latitude and longitude or from Cartesian points, the
// sides, angles, area, centroid, midpoints and orientation of spherical
// triangles, a side test of a point, and the area of a spherical polygon.
// The sphere_ routines take a radius R; their sphere01_ twins work on the
// unit sphere.  Angles, latitudes and longitudes are radians.
//
// Sides a, b, c lie opposite the vertices V1, V2, V3 and the angles A, B, C
// at them.  The sphere_ routines clamp every arccosine argument; the
// sphere01_ triangle routines, sphere_distance1, sphere_distance2 and
// sphere01_polygon_area do not, so rounding past +-1 gives NaN there, and
// degenerate triangles give non-finite angles.
#pragma once

#include <cstdint>

#include "geometry/support.hpp"

namespace orvel::geometry {

// Law of cosines, haversine formula and Vincenty's formula for the sphere.
void sphere_distance1(double lat1, double lon1, double lat2, double lon2, double r, double& dist);
void sphere_distance2(double lat1, double lon1, double lat2, double lon2, double r, double& dist);
void sphere_distance3(double lat1, double lon1, double lat2, double lon2, double r, double& dist);
// From the latitude arc_sine(P(3) / |P|) and longitude atan4(P(2), P(1)) of
// each point; sphere_distance_xyz scales the angle by |P1|.
void sphere_distance_xyz(const double* p1, const double* p2, double& dist);
void sphere01_distance_xyz(const double* p1, const double* p2, double& dist);

void sphere_triangle_vertices_to_sides(double r, const double* v1, const double* v2, const double* v3, double& as,
                                       double& bs, double& cs);
void sphere01_triangle_vertices_to_sides(const double* v1, const double* v2, const double* v3, double& as,
                                         double& bs, double& cs);
// Half-angle formulas; the sphere_ version divides the sides by R first.
void sphere_triangle_sides_to_angles(double r, double as, double bs, double cs, double& a, double& b, double& c);
void sphere01_triangle_sides_to_angles(double as, double bs, double cs, double& a, double& b, double& c);
void sphere_triangle_vertices_to_angles(double r, const double* v1, const double* v2, const double* v3, double& a,
                                        double& b, double& c);
void sphere01_triangle_vertices_to_angles(const double* v1, const double* v2, const double* v3, double& a, double& b,
                                          double& c);
// The spherical excess, times R^2.
void sphere_triangle_angles_to_area(double r, double a, double b, double c, double& area);
void sphere01_triangle_angles_to_area(double a, double b, double c, double& area);
void sphere_triangle_vertices_to_area(double r, const double* v1, const double* v2, const double* v3, double& area);
void sphere01_triangle_vertices_to_area(const double* v1, const double* v2, const double* v3, double& area);
// The mean of the vertices pushed out onto the sphere.
void sphere_triangle_vertices_to_centroid(double r, const double* v1, const double* v2, const double* v3, double* g);
void sphere01_triangle_vertices_to_centroid(const double* v1, const double* v2, const double* v3, double* g);
void sphere01_triangle_vertices_to_midpoints(const double* v1, const double* v2, const double* v3, double* m1,
                                             double* m2, double* m3);
// +1 counterclockwise seen from outside (and for a zero test product), -1
// clockwise.
void sphere_triangle_vertices_to_orientation(const double* v1, const double* v2, const double* v3, int32_t& orient);
// The cosine of the angle between P and the unit normal of the vertices'
// plane; collinear vertices or P = 0 give -largest double.
void sphere_triangle_contains_point(const double* v1, const double* v2, const double* v3, const double* p,
                                    double& dist);
// Area of the polygon of N vertices (LAT(k), LON(k)) on the unit sphere,
// from the signed excesses of the triangles of each edge and the north pole.
double sphere01_polygon_area(int32_t n, const double* lat, const double* lon);

}  // namespace orvel::geometry
