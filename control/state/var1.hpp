// Forcing file-name lists, forcing record indices and output counters.
// Names are texts of 256 characters.
#pragma once

#include <cstdint>
#include <string>

#include "common/farray.hpp"

namespace orvel {

struct var1_block {
  farray<std::string, 1> fichvel_u{"fichvel_u"};      // (current line * layer) U current files; entry (i - 1) * numcapascorr + l
  farray<std::string, 1> fichvel_v{"fichvel_v"};      // (current line * layer) V current files, same order
  farray<std::string, 1> fichvel_w{"fichvel_w"};      // (current line * layer) W current files, same order
  farray<std::string, 1> fichvel_uvw{"fichvel_uvw"};  // (current line * layer) joint current files, same order
  farray<std::string, 1> fichvel_mask{"fichvel_mask"};  // (current line) wet/dry or radar mask grid files, one per record
  farray<std::string, 1> fichvel_uc{"fichvel_uc"};    // (correction file) U correction files; entry i goes with record i
  farray<std::string, 1> fichvel_vc{"fichvel_vc"};    // (correction file) V correction files; entry i goes with record i
  farray<std::string, 1> fichviento{"fichviento"};    // (wind line) wind node files
  farray<std::string, 1> fichviento_u{"fichviento_u"};  // (wind line) U wind grid files
  farray<std::string, 1> fichviento_v{"fichviento_v"};  // (wind line) V wind grid files
  farray<std::string, 1> fichola{"fichola"};          // (wave line) wave node files
  farray<std::string, 1> fichola_hs{"fichola_hs"};    // (wave line) Hs grid files
  farray<std::string, 1> fichola_t{"fichola_t"};      // (wave line) wave period grid files
  farray<std::string, 1> fichola_dir{"fichola_dir"};  // (wave line) wave direction grid files
  int32_t i_vel = 0;          // index of the current record in use; 1 at the start of each simulation
  int32_t i_viento = 0;       // index of the wind record in use; 1 at the start of each simulation
  int32_t i_ola = 0;          // index of the wave record in use; 1 at the start of each simulation
  int32_t i_viento_flag = 0;  // wind end-of-list counter: 0 while records remain, then intervals past the last
  int32_t i_ola_flag = 0;     // wave end-of-list counter: 0 while records remain, then intervals past the last
  int32_t i_lista = 0;        // the engines' loop counter over current records
  int32_t n_lista = 0;        // number of current records of the run, int(simulationtimehorizon / deltat_currents)
  int32_t c_esc = 0;          // output counter of the particle files; 1 at the start of each simulation
  int32_t c_escc = 0;         // output counter of the concentration grids; 1 at the start of each simulation
  int32_t c_escd = 0;         // output counter of the presence grids; 1 at the start of each simulation
  farray<int32_t, 1> dispersioninit_flag{"dispersioninit_flag"};  // (spill) 1 after a natural-dispersion call; never read
};
// The one instance, defined in control/state/instances.cpp.
extern var1_block var1;

}  // namespace orvel
