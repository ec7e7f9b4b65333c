// The electrical panel's six meters: normal and standby battery ammeters, the two generator
// ammeters, the DC and the AC voltmeters. They have no gauge callback: each needle's callback
// clamps the value it shows to the dial, writes it back and returns it.
#include "module/daynight.h"
#include "electrical/electrical.h"
#include "module/gauge.h"

#include <type_traits>

namespace {

constexpr PIXPOINT PIVOT{67, 70};
constexpr PIXPOINT NEEDLE_PIVOT{4, 4};

template <auto& Value, int Lo, int Hi> FLOAT64 FSAPI clamped_value(ELEMENT_NEEDLE*) {
  using T = std::remove_reference_t<decltype(Value)>;
  Value = static_cast<T>(k7::clamp<i64>(Value, Lo, Hi));
  return static_cast<FLOAT64>(Value);
}

// One meter: a dial and a needle over it. Index is the gauge's place in the catalogue.
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table> struct Meter {
  static ELEMENT_STATIC_IMAGE dial;
  static ELEMENT_NEEDLE needle;
  static MOUSERECT mouse[3];
};
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
ELEMENT_NEEDLE Meter<Gauge, Index, Value, Lo, Hi, Table>::needle =
    k7::needle(&Gauge, k7::bitmap_id(Index, 1), PIVOT, NEEDLE_PIVOT, k7::ART_DAY,
               clamped_value<Value, Lo, Hi>, Table, 0, K7_END);
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
ELEMENT_STATIC_IMAGE Meter<Gauge, Index, Value, Lo, Hi, Table>::dial =
    k7::static_image(&Gauge, k7::bitmap_id(Index, 0), {0, 0}, k7::TRANSPARENT, K7_NEXT(needle));
template <GAUGEHDR& Gauge, int Index, auto& Value, int Lo, int Hi, const auto& Table>
MOUSERECT Meter<Gauge, Index, Value, Lo, Hi, Table>::mouse[3] = {k7::mouse_parent(), K7_MOUSE_END};

constexpr NONLINEARITY batt_norm_table[] = {{{9, 51}, 120, 0},
                                            {{34, 27}, 60, 0},
                                            {{67, 14}, 0, 0},
                                            {{102, 27}, -60, 0},
                                            {{126, 52}, -120, 0}};
constexpr NONLINEARITY batt_stby_table[] = {
    {{8, 51}, 250, 0}, {{67, 16}, 0, 0}, {{126, 51}, -250, 0}};
constexpr NONLINEARITY gen_table[] = {
    {{7, 50}, 0, 0}, {{33, 26}, 15, 0}, {{67, 16}, 30, 0}, {{103, 27}, 45, 0}, {{127, 51}, 60, 0}};
constexpr NONLINEARITY dc_volt_table[] = {
    {{9, 50}, 0, 0}, {{37, 23}, 10, 0}, {{77, 15}, 20, 0}, {{114, 33}, 30, 0}, {{127, 51}, 35, 0}};
constexpr NONLINEARITY ac_volt_table[] = {
    {{8, 50}, 0, 0}, {{43, 17}, 50, 0}, {{98, 20}, 100, 0}, {{126, 42}, 130, 0}};

using batnorm = Meter<gauge_elec_amp_batnorm, GAUGE_INDEX_elec_amp_batnorm, elec_batt_amps_norm,
                      -120, 120, batt_norm_table>;
using batstby = Meter<gauge_elec_amp_batstby, GAUGE_INDEX_elec_amp_batstby, elec_batt_amps_stby,
                      -250, 250, batt_stby_table>;
using gen1 =
    Meter<gauge_elec_amp_gen1, GAUGE_INDEX_elec_amp_gen1, elec_gen1_amps, 0, 60, gen_table>;
using gen2 =
    Meter<gauge_elec_amp_gen2, GAUGE_INDEX_elec_amp_gen2, elec_gen2_amps, 0, 60, gen_table>;
using volt_dc =
    Meter<gauge_elec_volt_dc, GAUGE_INDEX_elec_volt_dc, elec_dc_volts, 0, 35, dc_volt_table>;
using volt_ac =
    Meter<gauge_elec_volt_ac, GAUGE_INDEX_elec_volt_ac, elec_ac_volts, 0, 130, ac_volt_table>;

} // namespace

K7_GAUGE_HEADER(elec_amp_batnorm, batnorm::dial, batnorm::mouse, nullptr);
K7_GAUGE_HEADER(elec_amp_batstby, batstby::dial, batstby::mouse, nullptr);
K7_GAUGE_HEADER(elec_amp_gen1, gen1::dial, gen1::mouse, nullptr);
K7_GAUGE_HEADER(elec_amp_gen2, gen2::dial, gen2::mouse, nullptr);
K7_GAUGE_HEADER(elec_volt_dc, volt_dc::dial, volt_dc::mouse, nullptr);
K7_GAUGE_HEADER(elec_volt_ac, volt_ac::dial, volt_ac::mouse, nullptr);
