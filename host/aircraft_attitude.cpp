// The stand-in's aircraft: the attitude, heading and NAV 1 receiver that the gyro instruments
// read. Heading, bank and pitch are plain tokens that scenarios (or the autopilot's part of the
// model) set; the course key event sets the NAV 1 course. No station is tuned at rest: no signal,
// no glide slope, no DME distance.
#include "host/model.h"

#include <initializer_list>

namespace k7host {

namespace {

enum : std::uint32_t {
  TOKEN_NAV1_DME = 0x01F,
  TOKEN_NAV2_DME = 0x023,
  TOKEN_NAV1_CDI = 0x028,
  TOKEN_NAV1_GSI = 0x029,
  TOKEN_NAV1_TO_FROM = 0x02B,
  TOKEN_NAV1_GS_VALID = 0x02C,
  TOKEN_NAV1_COURSE = 0x02D,
  TOKEN_NAV1_CODES = 0x02E,
  TOKEN_NAV1_SIGNAL = 0x031,
  TOKEN_PITCH = 0x04E,
  TOKEN_BANK = 0x050,
  TOKEN_HEADING = 0x054,
};

constexpr std::uint32_t KEY_VOR1_SET = 0x100B4;

} // namespace

bool attitude_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  if (id != KEY_VOR1_SET) return false;
  sim.set_token(TOKEN_NAV1_COURSE, static_cast<double>(value));
  return true;
}

void attitude_reset(Sim& sim) {
  for (std::uint32_t token :
       {TOKEN_PITCH, TOKEN_BANK, TOKEN_HEADING, TOKEN_NAV1_COURSE, TOKEN_NAV1_CDI, TOKEN_NAV1_GSI,
        TOKEN_NAV1_TO_FROM, TOKEN_NAV1_GS_VALID, TOKEN_NAV1_CODES, TOKEN_NAV1_SIGNAL})
    sim.set_token(token, 0.0);
  sim.set_token(TOKEN_NAV1_DME, -1.0);
  sim.set_token(TOKEN_NAV2_DME, -1.0);
}

} // namespace k7host
