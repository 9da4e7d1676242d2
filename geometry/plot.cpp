#include "geometry/plot.hpp"

#include <string>

#include "common/errors.hpp"
#include "common/format.hpp"
#include "common/result_file.hpp"
#include "common/text.hpp"
#include "geometry/timestamp.hpp"

namespace orvel::geometry {
namespace {

// A rectangle of the page in PostScript points.
struct page_box {
  int32_t x_min, y_min, x_max, y_max;
};

// Nearest integer, halves away from zero: 0.5 added (or taken away for a
// negative value), then truncated.
int32_t nearest(double v) { return trunc(v >= 0.0 ? v + 0.5 : v - 0.5); }

// The five corners of a closed path around the box, each as
// "  XXX  YYY   moveto" or "   lineto".
void box_path(result_file& out, const page_box& b) {
  const int32_t corner[5][2] = {
      {b.x_min, b.y_min}, {b.x_max, b.y_min}, {b.x_max, b.y_max}, {b.x_min, b.y_max}, {b.x_min, b.y_min}};
  for (int k = 0; k < 5; ++k) {
    out.line("  " + fmt_i(corner[k][0], 3) + "  " + fmt_i(corner[k][1], 3) + "  " + (k == 0 ? " moveto" : " lineto"));
  }
}

// Widens a window of zero extent to `other` (1 when that is 0 too),
// centred on the points.
void widen_empty(double& lo, double& hi, double& range, double other) {
  if (range != 0.0) return;
  range = other != 0.0 ? other : 1.0;
  const double centre = lo;
  lo = centre - 0.5 * range;
  hi = centre + 0.5 * range;
}

}  // namespace

void points_plot(std::string_view file_name, int32_t node_num, const double* node_xy, bool node_label) {
  const mat_ref NODE_XY(node_xy, 2, node_num);

  // Data window.
  double x_max = -r8_largest(), x_min = r8_largest();
  double y_max = -r8_largest(), y_min = r8_largest();
  for (int32_t j = 1; j <= node_num; ++j) {
    if (NODE_XY(1, j) > x_max) x_max = NODE_XY(1, j);
    if (NODE_XY(1, j) < x_min) x_min = NODE_XY(1, j);
    if (NODE_XY(2, j) > y_max) y_max = NODE_XY(2, j);
    if (NODE_XY(2, j) < y_min) y_min = NODE_XY(2, j);
  }
  const double margin = 0.05;
  double m = margin * (x_max - x_min);
  x_max = x_max + m;
  x_min = x_min - m;
  double x_range = x_max - x_min;
  m = margin * (y_max - y_min);
  y_max = y_max + m;
  y_min = y_min - m;
  double y_range = y_max - y_min;
  const double x_range0 = x_range;
  widen_empty(x_min, x_max, x_range, y_range);
  widen_empty(y_min, y_max, y_range, x_range0);

  // The fixed frame, narrowed in one direction to keep the data's aspect.
  page_box plot{36, 126, 576, 666};
  page_box clip{18, 108, 594, 684};
  if (y_range > x_range) {
    const int32_t d = nearest((y_range - x_range) * static_cast<double>(plot.x_max - plot.x_min) / (2.0 * y_range));
    plot.x_max -= d;
    clip.x_max -= d;
    plot.x_min += d;
    clip.x_min += d;
  } else if (x_range > y_range) {
    const int32_t d = nearest((x_range - y_range) * static_cast<double>(plot.y_max - plot.y_min) / (2.0 * x_range));
    plot.y_max -= d;
    clip.y_max -= d;
    plot.y_min += d;
    clip.y_min += d;
  }
  const auto page_x = [&](double x) { return trunc(((x_max - x) * plot.x_min + (x - x_min) * plot.x_max) / x_range); };
  const auto page_y = [&](double y) { return trunc(((y_max - y) * plot.y_min + (y - y_min) * plot.y_max) / y_range); };

  int32_t unit = 0;
  get_unit(unit);
  if (unit == 0) fatal("POINTS_PLOT", {"  Can not open output file."});
  const unit_connection connected(unit);
  const std::string name(trimmed(file_name));
  try {
    result_file out(name);
    const auto comment = [&](std::string_view text) {
      out.line("%");
      out.line(text);
      out.line("%");
    };
    out.line("%!PS-Adobe-3.0 EPSF-3.0");
    out.line("%%Creator: points_plot");
    out.line("%%Title: " + name);
    out.line("%%Pages: 1");
    out.line("%%BoundingBox: " + fmt_i(plot.x_min, 3) + "  " + fmt_i(plot.y_min, 3) + "  " + fmt_i(plot.x_max, 3) +
             "  " + fmt_i(plot.y_max, 3));
    out.line("%%Document-Fonts: Times-Roman");
    out.line("%%LanguageLevel: 1");
    out.line("%%EndComments");
    out.line("%%BeginProlog");
    out.line("/inch {72 mul} def");
    out.line("%%EndProlog");
    out.line("%%Page: 1 1");
    out.line("save");
    comment("%  Set the RGB line color to very light gray.");
    out.line("0.900  0.900  0.900 setrgbcolor");
    comment("%  Draw a gray border around the page.");
    out.line("newpath");
    box_path(out, plot);
    out.line("stroke");
    comment("%  Set the RGB line color to black.");
    out.line("0.000  0.000  0.000 setrgbcolor");
    comment("%  Set the font and its size.");
    out.line("/Times-Roman findfont");
    out.line("0.50 inch scalefont");
    out.line("setfont");
    comment("%  Print a title.");
    out.line("%  210  702  moveto");
    out.line("%  (Pointset)  show");
    comment("%  Define a clipping polygon.");
    out.line("newpath");
    box_path(out, clip);
    out.line("clip newpath");
    comment("%  Draw filled dots at each node.");
    out.line("%  Set the RGB color to blue.");
    out.line("%");
    out.line("0.000  0.150  0.750 setrgbcolor");
    out.line("%");
    const int32_t radius = 5;
    for (int32_t j = 1; j <= node_num; ++j) {
      out.line("newpath " + fmt_i(page_x(NODE_XY(1, j)), 4) + "  " + fmt_i(page_y(NODE_XY(2, j)), 4) + "  " +
               fmt_i(radius, 4) + "  0 360 arc closepath fill");
    }
    if (node_label) {
      comment("%  Label the nodes:");
      out.line("%  Set the RGB color to darker blue.");
      out.line("%");
      out.line("0.000  0.250  0.850 setrgbcolor");
      out.line("/Times-Roman findfont");
      out.line("0.20 inch scalefont");
      out.line("setfont");
      const int32_t offset = 5;
      for (int32_t j = 1; j <= node_num; ++j) {
        const std::string number = fmt_i(j, 4);
        out.line(fmt_i(page_x(NODE_XY(1, j)), 4) + "  " + fmt_i(wrap_add(page_y(NODE_XY(2, j)), offset), 4) +
                 " moveto (" + number.substr(number.find_first_not_of(' ')) + ") show");
      }
    }
    out.line("%");
    out.line("restore  showpage");
    comment("%  End of page.");
    out.line("%%Trailer");
    out.line("%%EOF");
    out.commit();
  } catch (const input_error&) {
    fatal("POINTS_PLOT", {"  Can not open output file."});
  }
}

}  // namespace orvel::geometry
