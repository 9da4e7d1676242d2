// Timing of the coast searches, linear scans against the bucket indexes, on a
// 50,000-point coastline and its coast polygons.
//
//   orvel_bench_coast [FOLDER]
//
// FOLDER holds "coast_points.txt" (longitude latitude per line) and
// "polygons/poly_0001.txt", ... (one closed polygon per file, longitude
// latitude per line, first point not repeated).  The coastline is brought
// to 50,000 points by adding midpoints between consecutive points.  Without
// FOLDER a synthetic fractal coast of 50,000 points is used.  The model grid
// spacing is 0.02 degree.

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "common/list_input.hpp"
#include "control/state/all.hpp"
#include "transport/coast.hpp"
#include "transport/coast_index.hpp"

using namespace orvel;

namespace {

struct line {
  std::vector<double> x, y;
};

line read_points(const std::string& path) {
  line l;
  list_reader r(path);
  while (!r.at_end()) {
    double x = 0, y = 0;
    r.read(x, y);
    l.x.push_back(x + 360.0);
    l.y.push_back(y);
  }
  return l;
}

// A random coastline: midpoint displacement of a square ring.
line synthetic_coast(size_t n) {
  std::mt19937_64 g(3);
  std::normal_distribution<double> nd(0.0, 1.0);
  std::vector<double> x{270.0, 272.0, 272.0, 270.0}, y{29.0, 29.0, 30.0, 30.0};
  while (x.size() < n) {
    std::vector<double> nx, ny;
    for (size_t k = 0; k < x.size(); ++k) {
      const size_t j = (k + 1) % x.size();
      const double len = std::hypot(x[j] - x[k], y[j] - y[k]);
      nx.push_back(x[k]);
      ny.push_back(y[k]);
      nx.push_back(0.5 * (x[k] + x[j]) + 0.15 * len * nd(g));
      ny.push_back(0.5 * (y[k] + y[j]) + 0.15 * len * nd(g));
    }
    x.swap(nx);
    y.swap(ny);
  }
  x.resize(n);
  y.resize(n);
  return {x, y};
}

// Midpoints added after the first points until there are n.
void densify(line& l, size_t n) {
  line d;
  const size_t extra = n > l.x.size() ? n - l.x.size() : 0;
  for (size_t k = 0; k < l.x.size(); ++k) {
    d.x.push_back(l.x[k]);
    d.y.push_back(l.y[k]);
    if (k < extra && k + 1 < l.x.size()) {
      d.x.push_back(0.5 * (l.x[k] + l.x[k + 1]));
      d.y.push_back(0.5 * (l.y[k] + l.y[k + 1]));
    }
  }
  l = d;
}

template <typename F>
double microseconds_per_call(int calls, F&& f) {
  const auto t0 = std::chrono::steady_clock::now();
  for (int q = 0; q < calls; ++q) f(q);
  const auto t1 = std::chrono::steady_clock::now();
  return std::chrono::duration<double, std::micro>(t1 - t0).count() / calls;
}

}  // namespace

int main(int argc, char** argv) {
  line coast;
  std::vector<line> polys;
  std::string source = "synthetic fractal coast";
  if (argc > 1) {
    const std::filesystem::path dir(argv[1]);
    coast = read_points((dir / "coast_points.txt").string());
    for (int k = 1;; ++k) {
      char name[32];
      std::snprintf(name, sizeof name, "poly_%04d.txt", k);
      const auto p = dir / "polygons" / name;
      if (!std::filesystem::exists(p)) break;
      polys.push_back(read_points(p.string()));
      polys.back().x.push_back(polys.back().x.front());  // close the ring
      polys.back().y.push_back(polys.back().y.front());
    }
    source = argv[1];
    std::printf("coast points read: %zu, polygons: %zu\n", coast.x.size(), polys.size());
    densify(coast, 50000);
  } else {
    coast = synthetic_coast(50000);
    polys.push_back(coast);
    polys.back().x.push_back(coast.x.front());
    polys.back().y.push_back(coast.y.front());
  }

  // Model grid and coastline in the shared state.
  double xlo = 1e9, xhi = -1e9, ylo = 1e9, yhi = -1e9;
  for (size_t k = 0; k < coast.x.size(); ++k) {
    xlo = std::min(xlo, coast.x[k]);
    xhi = std::max(xhi, coast.x[k]);
    ylo = std::min(ylo, coast.y[k]);
    yhi = std::max(yhi, coast.y[k]);
  }
  var_mallas.deltax = 0.02;
  var_mallas.deltay = 0.02;
  var_mallas.latmean = 0.5 * (ylo + yhi);
  const int32_t n = static_cast<int32_t>(coast.x.size());
  var_costa.ptos_lc = n;
  var_costa.xlc.allocate(n);
  var_costa.ylc.allocate(n);
  var_costa.ind_coast.allocate(n);
  for (int32_t k = 1; k <= n; ++k) {
    var_costa.xlc(k) = coast.x[k - 1];
    var_costa.ylc(k) = coast.y[k - 1];
  }
  farray<coast_polygon, 1> coord_str{"coord_str"};
  coord_str.allocate(static_cast<int32_t>(polys.size()));
  int64_t edges = 0;
  for (size_t j = 0; j < polys.size(); ++j) {
    coast_polygon& p = coord_str(static_cast<int32_t>(j) + 1);
    p.n = static_cast<int32_t>(polys[j].x.size());
    p.x.allocate(p.n);
    p.y.allocate(p.n);
    for (int32_t i = 1; i <= p.n; ++i) {
      p.x(i) = polys[j].x[i - 1];
      p.y(i) = polys[j].y[i - 1];
    }
    edges += p.n - 1;
  }

  std::printf("source: %s\n", source.c_str());
  std::printf("coastline points: %d, polygon edges: %lld, grid spacing 0.02 degree\n", n,
              static_cast<long long>(edges));
  const double build_us = microseconds_per_call(1, [&](int) { coast_index::build(&coord_str); });
  std::printf("index build: %.0f ms\n", build_us / 1000.0);

  // Queries: positions within three cells of a coastline point (particles
  // stranded or near the coast), and anywhere in the coast's box.
  std::mt19937_64 g(1);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  const int nq = 200000;
  std::vector<double> qx(nq), qy(nq), px(nq), py(nq);
  for (int q = 0; q < nq; ++q) {
    if (q % 2 == 0) {
      const size_t k = static_cast<size_t>(u(g) * n) % n;
      qx[q] = coast.x[k] + (u(g) - 0.5) * 0.12;
      qy[q] = coast.y[k] + (u(g) - 0.5) * 0.12;
    } else {
      qx[q] = xlo + u(g) * (xhi - xlo);
      qy[q] = ylo + u(g) * (yhi - ylo);
    }
    // A path of one model step (about 0.005 degree) from the query point.
    const double len = 0.002 + 0.006 * u(g), dir = 6.283185307179586 * u(g);
    px[q] = qx[q] + len * std::cos(dir);
    py[q] = qy[q] + len * std::sin(dir);
  }

  int64_t mismatches = 0;
  double sink = 0;
  const int nl = 5000;  // linear scans are slow: fewer calls
  const double near_lin = microseconds_per_call(nl, [&](int q) {
    double xo = 0, yo = 0, d = 100000.0;
    int32_t k = 0;
    buscacosta_linear(qx[q], qy[q], xo, yo, k, d);
    sink += xo;
  });
  const double near_idx = microseconds_per_call(nq, [&](int q) {
    double xo = 0, yo = 0, d = 100000.0;
    int32_t k = 0;
    buscacosta(qx[q], qy[q], xo, yo, k, d);
    sink += xo;
  });
  const double radar_lin = microseconds_per_call(nl, [&](int q) {
    double xo = 0, yo = 0, d = 0;
    buscacosta_radar_linear(qx[q], qy[q], xo, yo, d);
    sink += xo;
  });
  const double radar_idx = microseconds_per_call(nq, [&](int q) {
    double xo = 0, yo = 0, d = 0;
    buscacosta_radar(qx[q], qy[q], xo, yo, d);
    sink += xo;
  });
  const double cross_lin = microseconds_per_call(nl, [&](int q) {
    double xo = 0, yo = 0;
    int32_t st = 1, num = 0;
    busca_costa_interseccion_linear(qx[q], qy[q], px[q], py[q], coord_str, xo, yo, st, num);
    sink += num;
  });
  const double cross_idx = microseconds_per_call(nq, [&](int q) {
    double xo = 0, yo = 0;
    int32_t st = 1, num = 0;
    busca_costa_interseccion_str(qx[q], qy[q], px[q], py[q], coord_str, xo, yo, st, num);
    sink += num;
  });
  int64_t hits = 0;
  for (int q = 0; q < nl; ++q) {
    double xa = 0, ya = 0, da = 100000.0, xb = 0, yb = 0, db = 100000.0;
    int32_t ka = 0, kb = 0;
    buscacosta_linear(qx[q], qy[q], xa, ya, ka, da);
    buscacosta(qx[q], qy[q], xb, yb, kb, db);
    mismatches += ka != kb || da != db;
    int32_t sa = 1, sb = 1, na = 0, nb = 0;
    busca_costa_interseccion_linear(qx[q], qy[q], px[q], py[q], coord_str, xa, ya, sa, na);
    busca_costa_interseccion_str(qx[q], qy[q], px[q], py[q], coord_str, xb, yb, sb, nb);
    mismatches += na != nb || xa != xb || ya != yb;
    hits += na > 0;
  }

  std::printf("\n%-34s %12s %12s %9s\n", "microseconds per search", "linear", "indexed", "speed-up");
  std::printf("%-34s %12.3f %12.3f %9.0f\n", "nearest coast point (5 cells)", near_lin, near_idx, near_lin / near_idx);
  std::printf("%-34s %12.3f %12.3f %9.0f\n", "radar search (3 cells)", radar_lin, radar_idx, radar_lin / radar_idx);
  std::printf("%-34s %12.3f %12.3f %9.0f\n", "path against the coast polygons", cross_lin, cross_idx,
              cross_lin / cross_idx);
  std::printf("\nchecked %d queries both ways: %lld differences (%lld paths crossing the coast)\n", nl,
              static_cast<long long>(mismatches), static_cast<long long>(hits));
  return sink == 12345.678 ? 1 : (mismatches ? 1 : 0);
}
