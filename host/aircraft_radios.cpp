// The stand-in's aircraft: the radios the cockpit's boxes tune. NAV and COM frequencies in the
// simulator's packed decimal form (four 4-bit digits after an implied leading 1), stepped by the
// tuning key events: whole megahertz wrapping 108..117 (NAV) and 118..136 (COM), the fraction by
// 50 kHz (NAV) or 25 kHz (COM) wrapping within the megahertz. The two ADF frequencies, given for
// their calculator expressions and stepped by 100, 10, 1 and 0.1 kHz within 190..1799.9,
// wrapping. The transponder code, four octal digits each stepped round by its two key events.
// The transceiver, ADF audio and SELCAL flags.
#include "host/model.h"

#include <cmath>

namespace k7host {

namespace {

constexpr std::uint32_t TOKEN_COM1 = 0x17;
constexpr std::uint32_t TOKEN_NAV1 = 0x18;
constexpr std::uint32_t TOKEN_NAV2 = 0x1b;
constexpr std::uint32_t TOKEN_TRANSPONDER = 0x26;
constexpr std::uint32_t TOKEN_COM2 = 0x366;
constexpr std::uint32_t TOKEN_TRANSMIT1 = 0x36a;
constexpr std::uint32_t TOKEN_TRANSMIT2 = 0x36b;
constexpr std::uint32_t TOKEN_BOTH_HEARD = 0x36c;
constexpr std::uint32_t TOKEN_ADF_AUDIO = 0x370;
constexpr std::uint32_t TOKEN_SELCAL = 0x371;

const char* const ADF_FREQUENCY[2] = {"(A:Adf active frequency:1,Kilohertz)",
                                      "(A:Adf active frequency:2,Kilohertz)"};

int wrap(int value, int lowest, int highest) {
  const int span = highest - lowest + 1;
  return lowest + ((value - lowest) % span + span) % span;
}

// The digits of a packed value, each held to 0..top; a value that is not packed reads as 0.
int packed_digit(double value, int index, int top) {
  const std::uint32_t packed =
      (value >= 0.0 && value <= 65535.0) ? static_cast<std::uint32_t>(value) : 0u;
  const int digit = static_cast<int>((packed >> (12 - 4 * index)) & 0xF);
  return digit > top ? top : digit;
}

// ---- NAV and COM

enum class Band { NAV, COM };
enum class Part { WHOLE, FRACTION };

struct Tuning {
  std::uint32_t key;
  std::uint32_t token;
  Band band;
  Part part;
  int step;
};

const Tuning tunings[] = {
    {0x10069, TOKEN_NAV1, Band::NAV, Part::WHOLE, +1},
    {0x10068, TOKEN_NAV1, Band::NAV, Part::WHOLE, -1},
    {0x1006B, TOKEN_NAV1, Band::NAV, Part::FRACTION, +1},
    {0x1006A, TOKEN_NAV1, Band::NAV, Part::FRACTION, -1},
    {0x10065, TOKEN_COM1, Band::COM, Part::WHOLE, +1},
    {0x10064, TOKEN_COM1, Band::COM, Part::WHOLE, -1},
    {0x10067, TOKEN_COM1, Band::COM, Part::FRACTION, +1},
    {0x10066, TOKEN_COM1, Band::COM, Part::FRACTION, -1},
    {0x1006D, TOKEN_NAV2, Band::NAV, Part::WHOLE, +1},
    {0x1006C, TOKEN_NAV2, Band::NAV, Part::WHOLE, -1},
    {0x1006F, TOKEN_NAV2, Band::NAV, Part::FRACTION, +1},
    {0x1006E, TOKEN_NAV2, Band::NAV, Part::FRACTION, -1},
    {0x10385, TOKEN_COM2, Band::COM, Part::WHOLE, +1},
    {0x10384, TOKEN_COM2, Band::COM, Part::WHOLE, -1},
    {0x10388, TOKEN_COM2, Band::COM, Part::FRACTION, +1},
    {0x10386, TOKEN_COM2, Band::COM, Part::FRACTION, -1},
};

double tuned(double packed, const Tuning& t) {
  int mhz = 100 + 10 * packed_digit(packed, 0, 9) + packed_digit(packed, 1, 9);
  int hundredths = 10 * packed_digit(packed, 2, 9) + packed_digit(packed, 3, 9);
  if (t.part == Part::WHOLE) {
    mhz = t.band == Band::NAV ? wrap(mhz + t.step, 108, 117) : wrap(mhz + t.step, 118, 136);
  } else if (t.band == Band::NAV) {
    hundredths = wrap(hundredths / 5 + t.step, 0, 19) * 5;
  } else {
    // 25 kHz channels: hundredths 02 and 07 stand for .025 and .075.
    const int last = hundredths % 10;
    const int khz = hundredths * 10 + ((last == 2 || last == 7) ? 5 : 0);
    hundredths = wrap(khz / 25 + t.step, 0, 39) * 25 / 10;
  }
  const int above_100 = mhz - 100;
  return static_cast<double>((above_100 / 10) << 12 | (above_100 % 10) << 8 |
                             (hundredths / 10) << 4 | hundredths % 10);
}

// ---- ADF: steps in tenths of a kilohertz

struct AdfStep {
  std::uint32_t key;
  int box;
  int tenths;
};

const AdfStep adf_steps[] = {
    {0x10070, 0, +1000}, {0x10082, 0, -1000}, {0x10071, 0, +100}, {0x10083, 0, -100},
    {0x10072, 0, +10},   {0x10084, 0, -10},   {0x1039E, 0, +1},   {0x1039D, 0, -1},
    {0x103F0, 1, +1000}, {0x103F4, 1, -1000}, {0x103F1, 1, +100}, {0x103F5, 1, -100},
    {0x103F2, 1, +10},   {0x103F6, 1, -10},   {0x103FA, 1, +1},   {0x103FB, 1, -1},
};

constexpr int ADF_LOWEST = 1900;   // 190.0 kHz
constexpr int ADF_HIGHEST = 17999; // 1799.9 kHz

void step_adf(Sim& sim, const AdfStep& s) {
  const double khz = sim.calc(ADF_FREQUENCY[s.box]);
  const int now = std::isfinite(khz) && khz >= 190.0 && khz <= 1799.9
                      ? static_cast<int>(std::lround(khz * 10.0))
                      : ADF_LOWEST;
  sim.set_calc(ADF_FREQUENCY[s.box], wrap(now + s.tenths, ADF_LOWEST, ADF_HIGHEST) / 10.0);
}

// ---- transponder: digit 1 (first) to 4, up then down

void step_transponder(Sim& sim, int digit, int step) {
  const double code = sim.token(TOKEN_TRANSPONDER);
  std::uint32_t packed = 0;
  for (int i = 0; i < 4; ++i) {
    int d = packed_digit(code, i, 7);
    if (i == digit) d = wrap(d + step, 0, 7);
    packed |= static_cast<std::uint32_t>(d) << (12 - 4 * i);
  }
  sim.set_token(TOKEN_TRANSPONDER, packed);
}

void toggle(Sim& sim, std::uint32_t token) {
  sim.set_token(token, sim.token(token) == 0.0 ? 1.0 : 0.0);
}

// Selecting a transmitter makes it the only one.
void toggle_transmitter(Sim& sim, std::uint32_t token, std::uint32_t other) {
  toggle(sim, token);
  if (sim.token(token) == 1.0) sim.set_token(other, 0.0);
}

} // namespace

bool radios_key_event(Sim& sim, std::uint32_t id, std::uint32_t value) {
  for (const Tuning& t : tunings)
    if (t.key == id) {
      sim.set_token(t.token, tuned(sim.token(t.token), t));
      return true;
    }
  for (const AdfStep& s : adf_steps)
    if (s.key == id) {
      step_adf(sim, s);
      return true;
    }
  if (id >= 0x10073 && id <= 0x10076) {
    step_transponder(sim, static_cast<int>(id - 0x10073), +1);
    return true;
  }
  if (id >= 0x10397 && id <= 0x1039A) {
    step_transponder(sim, static_cast<int>(id - 0x10397), -1);
    return true;
  }
  switch (id) {
  case 0x103A1: toggle(sim, TOKEN_BOTH_HEARD); return true;
  case 0x1039F: toggle_transmitter(sim, TOKEN_TRANSMIT1, TOKEN_TRANSMIT2); return true;
  case 0x103A0: toggle_transmitter(sim, TOKEN_TRANSMIT2, TOKEN_TRANSMIT1); return true;
  case 0x1012C:
  case 0x10131: toggle(sim, TOKEN_ADF_AUDIO); return true;
  case 0x103AE: sim.set_token(TOKEN_SELCAL, value != 0 ? 1.0 : 0.0); return true;
  default: return false;
  }
}

void radios_reset(Sim& sim) {
  sim.set_token(TOKEN_NAV1, 0x0800); // 108.00
  sim.set_token(TOKEN_COM1, 0x1800); // 118.00
  sim.set_token(TOKEN_NAV2, 0x1390); // 113.90
  sim.set_token(TOKEN_COM2, 0x2150); // 121.50
  sim.set_calc(ADF_FREQUENCY[0], 350.0);
  sim.set_calc(ADF_FREQUENCY[1], 290.0);
  sim.set_token(TOKEN_TRANSPONDER, 0x1200);
  sim.set_token(TOKEN_TRANSMIT1, 1.0);
  sim.set_token(TOKEN_TRANSMIT2, 0.0);
  sim.set_token(TOKEN_BOTH_HEARD, 0.0);
  sim.set_token(TOKEN_ADF_AUDIO, 0.0);
  sim.set_token(TOKEN_SELCAL, 0.0);
}

} // namespace k7host
