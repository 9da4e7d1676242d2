#include "forcing/lists.hpp"

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/errors.hpp"
#include "common/list_input.hpp"
#include "common/text.hpp"
#include "control/data_folder.hpp"
#include "control/state/var1.hpp"
#include "control/state/var_capas.hpp"
#include "control/state/var_cfg.hpp"
#include "control/state/var_mallas.hpp"
#include "control/state/var_run.hpp"
#include "forcing/field_files.hpp"

namespace orvel {
namespace {

// One forcing list, opened when its first line is wanted and read line by
// line from the top.
class forcing_list {
 public:
  explicit forcing_list(std::string path) : path_(std::move(path)) {}

  // The next line into names(k), as a name of 256 characters (leading
  // blanks kept, blank-padded).
  void into(farray<std::string, 1>& names, int64_t k) {
    if (!reader_) reader_.emplace(path_);
    const std::string line = reader_->read_line("a file name");
    if (trimmed(line).size() > forcing_name_length) {
      throw input_error(path_, reader_->record_line(),
                        "file name longer than " + std::to_string(forcing_name_length) + " characters (" +
                            std::to_string(trimmed(line).size()) + ")");
    }
    names(k) = fixlen(line, forcing_name_length);
    note_list_origin(names, path_);
  }

 private:
  std::string path_;
  std::optional<list_reader> reader_;
};

[[noreturn]] void no_list_named(const std::string& options) {
  throw std::logic_error("lee_listafich: no forcing list is named for " + options);
}


void read_current_lists(int32_t simulation, int32_t& wflag) {
  const bool raw = var_mallas.currentgrid_regular__y_n != 0;
  const bool probabilistic = var_run.simtype__operat_probabil == 2;
  const int32_t joint = var_cfg.currentfilesjointuvw__y_n;
  const int64_t n = var_cfg.currentfilesorlines_number;
  const int64_t layers = var_capas.numcapascorr;
  const std::string options = option_text("currentgrid_regular__y_n", var_mallas.currentgrid_regular__y_n) + ", " +
                              option_text("simtype__operat_probabil", var_run.simtype__operat_probabil) + ", " +
                              option_text("currentfilesjointuvw__y_n", joint) + ", " +
                              option_text("currentgrid_variable__y_n", var_cfg.currentgrid_variable__y_n) + ", " +
                              option_text("currentgridformat__xyz_grid", var_cfg.currentgridformat__xyz_grid);

  // Which lists have a name: only the joint list for joint files on a
  // regular grid in an operational run, otherwise U, V and W, and the mask
  // list for a time-varying grid in grid format on a regular grid.
  const bool joint_list = raw && !probabilistic && joint == 1;
  const bool mask_list = raw && !joint_list && var_cfg.currentgrid_variable__y_n == 1 &&
                         var_cfg.currentgridformat__xyz_grid == 2;
  auto name = [&](const char* base) { return forcing_list_name(base, simulation, raw); };

  if (var_cfg.currentgrid_variable__y_n == 1 && var_cfg.currentgridformat__xyz_grid == 2) {
    // One U, V and mask name per record, whatever the layer count.
    if (!mask_list) no_list_named(options);
    forcing_list u(name("U_lstcurr")), v(name("V_lstcurr")), mask(name("Mask_lstcurr"));
    for (int64_t k = 1; k <= n; ++k) {
      u.into(var1.fichvel_u, k);
      v.into(var1.fichvel_v, k);
      mask.into(var1.fichvel_mask, k);
    }
  } else if (joint == 1) {
    if (!joint_list) no_list_named(options);
    forcing_list uvw(name("lstcurr_UVW"));
    for (int64_t k = 1; k <= n * layers; ++k) uvw.into(var1.fichvel_uvw, k);
  } else {
    forcing_list u(name("U_lstcurr")), v(name("V_lstcurr")), w(name("W_lstcurr"));
    const int64_t total = n * layers;
    if (total >= 1) {
      // The vertical current, when the run reads it, comes from the W list,
      // one name per record and layer as the U and V lists.
      const bool vertical = reads_w_files(simulation);
      for (int64_t k = 1; k <= total; ++k) {
        u.into(var1.fichvel_u, k);
        v.into(var1.fichvel_v, k);
        if (vertical) w.into(var1.fichvel_w, k);
      }
      wflag = vertical ? 1 : 0;
    }
  }

  if (var_cfg.currentcorrection__y_n == 1) {
    forcing_list uc(forcing_list_name("U_lstcorrectcurr", simulation, true));
    forcing_list vc(forcing_list_name("V_lstcorrectcurr", simulation, true));
    for (int64_t k = 1; k <= var_cfg.currentcorrectionfiles_number; ++k) {
      uc.into(var1.fichvel_uc, k);
      vc.into(var1.fichvel_vc, k);
    }
  }
}

void read_wave_lists(int32_t simulation) {
  const bool raw = var_mallas.wavesgrid_regular__y_n != 0;
  const int32_t format = var_cfg.wavesgridformat__xyz_grid;
  const int64_t n = var_cfg.wavesfilesorlines_number;
  if (format == 2 && raw) {
    forcing_list hs(forcing_list_name("Hs_lstwaves", simulation, raw));
    forcing_list t(forcing_list_name("T_lstwaves", simulation, raw));
    forcing_list dir(forcing_list_name("Dir_lstwaves", simulation, raw));
    for (int64_t k = 1; k <= n; ++k) {
      hs.into(var1.fichola_hs, k);
      t.into(var1.fichola_t, k);
      dir.into(var1.fichola_dir, k);
    }
  } else if (format == 1) {
    forcing_list waves(forcing_list_name("lstwaves", simulation, raw));
    for (int64_t k = 1; k <= n; ++k) waves.into(var1.fichola, k);
  } else {
    no_list_named(option_text("wavesgridformat__xyz_grid", format) + ", " +
                  option_text("wavesgrid_regular__y_n", var_mallas.wavesgrid_regular__y_n));
  }
}

void read_wind_lists(int32_t simulation) {
  const bool raw = var_mallas.windgrid_regular__y_n != 0;
  const int32_t format = var_cfg.windgridformat__xyz_grid;
  const int64_t n = var_cfg.windfilesorlines_number;
  if (format == 2 && raw) {
    forcing_list u(forcing_list_name("U_lstwinds", simulation, raw));
    forcing_list v(forcing_list_name("V_lstwinds", simulation, raw));
    for (int64_t k = 1; k <= n; ++k) {
      u.into(var1.fichviento_u, k);
      v.into(var1.fichviento_v, k);
    }
  } else if (format == 1) {
    forcing_list wind(forcing_list_name("lstwinds", simulation, raw));
    for (int64_t k = 1; k <= n; ++k) wind.into(var1.fichviento, k);
  } else {
    no_list_named(option_text("windgridformat__xyz_grid", format) + ", " +
                  option_text("windgrid_regular__y_n", var_mallas.windgrid_regular__y_n));
  }
}

}  // namespace

bool w_list_present(int32_t simulation) {
  std::error_code ec;
  return std::filesystem::is_regular_file(forcing_list_name("W_lstcurr", simulation, true), ec);
}

bool reads_w_files(int32_t simulation) {
  const auto& c = var_cfg;
  return var_run.sim__2d_3d == 2 && c.currenttype__file_constant == 1 && c.current3dinputformat_layers_average == 1 &&
         c.currentfilesjointuvw__y_n != 1 && c.currentgridformat__xyz_grid == 1 &&
         var_mallas.currentgrid_regular__y_n == 1 && w_list_present(simulation);
}

std::string forcing_list_name(const std::string& base, int32_t simulation, bool raw) {
  std::string suffix;
  if (var_run.simtype__operat_probabil == 2) {
    if (simulation < 0 || simulation > 99999) {
      throw std::logic_error("simulation number " + std::to_string(simulation) + " is outside 1 to 99999");
    }
    const int32_t s = simulation;
    for (int32_t d : {s / 10000, s % 10000 / 1000, s % 1000 / 100, s % 100 / 10, s % 10})
      suffix += static_cast<char>('0' + d);
  }
  return input_path(base + suffix + (raw ? ".pre" : ".txt"));
}

void lee_listafich(int32_t kind, int32_t simulation, int32_t& wflag) {
  switch (kind) {
    case 1:
      read_current_lists(simulation, wflag);
      break;
    case 2:
      read_wave_lists(simulation);
      break;
    case 3:
      read_wind_lists(simulation);
      break;
    default:
      break;
  }
}

}  // namespace orvel
