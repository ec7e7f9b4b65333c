// "kestovil radio_navcom1_k7" and "kestovil radio_navcom2_k7": the two NAV/COM control boxes.
// Each tunes one navigation receiver and one transceiver of the simulator by key events and shows
// what the simulator reports back on rolling drums; each carries a VOR DME mode selector (read by
// the HSI and the VOR indicators) and a COMM selector. The second box's update also decides which
// transceiver transmits and whether both are heard. Written once; the boxes differ by their table.
#include "electrical/electrical.h"
#include "module/kit.h"
#include "module/needle_run.h"
#include "module/services.h"
#include "radios/radio_digits.h"
#include "radios/radio_drums.h"
#include "radios/radios.h"

namespace {

// Drum order: NAV leading 1, d1, d2, d3, d4; COM leading 1, d1, d2, d3, d4.
enum Drum : std::size_t { NAV_LEAD = 0, NAV_LAST = 4, COM_LEAD = 5, COM_LAST = 9 };
constexpr u8 drum_positions[RADIO_NAVCOM_DRUMS] = {10, 10, 10, 10, 2, 10, 10, 10, 10, 4};

// Tuning areas, in the order of the box table's key events: NAV whole up / down, NAV fraction
// up / down, COM whole up / down, COM fraction up / down. Knob k turns with areas 2k and 2k + 1.
constexpr int TUNING_AREAS = 8;

struct Box {
  MODULE_VAR& nav;
  MODULE_VAR& com;
  u8& vordme;
  u8& comm;
  const u8& other_comm;
  u16 (&knob)[4];
  u8 (&target)[RADIO_NAVCOM_DRUMS];
  f64 (&shown)[RADIO_NAVCOM_DRUMS];
  u32 tuning_event[TUNING_AREAS];
};

MODULE_VAR nav1 = sim::token(0x18);
MODULE_VAR com1 = sim::token(0x17);
MODULE_VAR nav2 = sim::token(0x1b);
MODULE_VAR com2 = sim::token(0x366);

constexpr Box box1{nav1,
                   com1,
                   radio_vordme_sel1,
                   radio_comm_sel1,
                   radio_comm_sel2,
                   radio_knob_angle1,
                   radio_navcom_target1,
                   radio_navcom_shown1,
                   {0x10069, 0x10068, 0x1006B, 0x1006A, 0x10065, 0x10064, 0x10067, 0x10066}};
constexpr Box box2{nav2,
                   com2,
                   radio_vordme_sel2,
                   radio_comm_sel2,
                   radio_comm_sel1,
                   radio_knob_angle2,
                   radio_navcom_target2,
                   radio_navcom_shown2,
                   {0x1006D, 0x1006C, 0x1006F, 0x1006E, 0x10385, 0x10384, 0x10388, 0x10386}};

// ---- the simulator's frequencies on the drums
// ----------------------------------------------------------

// The last drum of each display: NAV shows 0 or 5, COM the 25 kHz endings 0, 2, 5, 7.
u8 nav_last_position(u8 digit) {
  return digit == 5 ? 1 : 0;
}
u8 com_last_position(u8 digit) {
  switch (digit) {
  case 2: return 1;
  case 5: return 2;
  case 7: return 3;
  default: return 0;
  }
}

void update_drums(const Box& b) {
  u8 nav[4], com[4];
  k7::packed_digits(sim::read(b.nav), nav, 9);
  k7::packed_digits(sim::read(b.com), com, 9);
  b.target[NAV_LEAD] = 1;
  b.target[COM_LEAD] = 1;
  for (std::size_t i = 0; i < 3; ++i) {
    b.target[NAV_LEAD + 1 + i] = nav[i];
    b.target[COM_LEAD + 1 + i] = com[i];
  }
  b.target[NAV_LAST] = nav_last_position(nav[3]);
  b.target[COM_LAST] = com_last_position(com[3]);
  k7::roll_drums(b.shown, b.target, drum_positions);
}

// ---- transmit and receive (box 2's update)
// -------------------------------------------------------------

MODULE_VAR both_heard = sim::token(0x36c);
MODULE_VAR transmit1 = sim::token(0x36a);
MODULE_VAR transmit2 = sim::token(0x36b);
constexpr u32 KEY_BOTH_HEARD_TOGGLE = 0x103A1;
constexpr u32 KEY_TRANSMIT1 = 0x1039F;
constexpr u32 KEY_TRANSMIT2 = 0x103A0;

// The simulator's flags are toggled by their key events, so each goes only while its flag reads
// the opposite of what the selectors call for.
void select_transceivers() {
  const bool comm1_on = radio_comm_sel1 != 0;
  const bool comm2_on = radio_comm_sel2 != 0;
  const double both = sim::read(both_heard);
  if (comm1_on && comm2_on) {
    if (both == 0.0) sim::key_event(KEY_BOTH_HEARD_TOGGLE);
    return;
  }
  if (both == 1.0) sim::key_event(KEY_BOTH_HEARD_TOGGLE);
  if (!comm1_on && comm2_on && elec_bus_radio2 != 0) {
    if (sim::read(transmit2) == 0.0) sim::key_event(KEY_TRANSMIT2);
  } else {
    if (sim::read(transmit1) == 0.0) sim::key_event(KEY_TRANSMIT1);
  }
}

// ---- clicks
// -------------------------------------------------------------------------------------------

// A tuning area sends its key event (the simulator steps the frequency) and turns its knob: up
// goes round from 350 to 0, down stops at 0.
template <const Box& B, int Area> BOOL FSAPI on_tune(PPIXPOINT, FLAGS32) {
  sim::key_event(B.tuning_event[Area], 0);
  u16& angle = B.knob[Area / 2];
  if (Area % 2 == 0)
    angle = angle >= 350 ? 0 : static_cast<u16>(angle + 10);
  else
    angle = angle < 11 ? 0 : static_cast<u16>(angle - 10);
  return FALSE_K7;
}

template <const Box& B> BOOL FSAPI on_vordme_down(PPIXPOINT, FLAGS32) {
  if (B.vordme > 0) k7::switch_to(B.vordme, B.vordme - 1);
  return FALSE_K7;
}
template <const Box& B> BOOL FSAPI on_vordme_up(PPIXPOINT, FLAGS32) {
  if (B.vordme < 3) k7::switch_to(B.vordme, B.vordme + 1);
  return FALSE_K7;
}
// At least one COMM selector stays on: NORM goes to OFF only while the other box's is on.
template <const Box& B> BOOL FSAPI on_comm_down(PPIXPOINT, FLAGS32) {
  if (B.comm >= 2 || (B.comm == 1 && B.other_comm != 0)) k7::switch_to(B.comm, B.comm - 1);
  return FALSE_K7;
}
template <const Box& B> BOOL FSAPI on_comm_up(PPIXPOINT, FLAGS32) {
  if (B.comm < 2) k7::switch_to(B.comm, B.comm + 1);
  return FALSE_K7;
}

constexpr FLAGS32 TUNING = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
constexpr FLAGS32 SELECTOR = MOUSE_LEFTSINGLE;

template <const Box& B>
MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({36, 51, 29, 47}, CURSOR_UPARROW, TUNING, on_tune<B, 0>),
    k7::mouse_area({7, 51, 29, 47}, CURSOR_DOWNARROW, TUNING, on_tune<B, 1>),
    k7::mouse_area({96, 51, 29, 47}, CURSOR_UPARROW, TUNING, on_tune<B, 2>),
    k7::mouse_area({67, 51, 29, 47}, CURSOR_DOWNARROW, TUNING, on_tune<B, 3>),
    k7::mouse_area({151, 51, 29, 47}, CURSOR_UPARROW, TUNING, on_tune<B, 4>),
    k7::mouse_area({124, 51, 29, 47}, CURSOR_DOWNARROW, TUNING, on_tune<B, 5>),
    k7::mouse_area({211, 51, 29, 47}, CURSOR_UPARROW, TUNING, on_tune<B, 6>),
    k7::mouse_area({182, 51, 29, 47}, CURSOR_DOWNARROW, TUNING, on_tune<B, 7>),
    k7::mouse_area({39, 101, 29, 31}, CURSOR_DOWNARROW, SELECTOR, on_vordme_down<B>),
    k7::mouse_area({68, 101, 29, 31}, CURSOR_UPARROW, SELECTOR, on_vordme_up<B>),
    k7::mouse_area({153, 101, 29, 31}, CURSOR_DOWNARROW, SELECTOR, on_comm_down<B>),
    k7::mouse_area({182, 101, 29, 31}, CURSOR_UPARROW, SELECTOR, on_comm_up<B>),
    K7_MOUSE_END,
};

// ---- drawing
// ------------------------------------------------------------------------------------------

template <const Box& B, int K> FLOAT64 FSAPI knob_angle(ELEMENT_NEEDLE*) {
  return B.knob[K];
}
template <const Box& B> FLOAT64 FSAPI vordme_position(ELEMENT_NEEDLE*) {
  return B.vordme;
}
template <const Box& B> FLOAT64 FSAPI comm_position(ELEMENT_NEEDLE*) {
  return B.comm;
}

constexpr NONLINEARITY vordme_scale[] = {
    {{39, 103}, 0, 0}, {{56, 92}, 1, 0}, {{79, 92}, 2, 0}, {{94, 103}, 3, 0}};
constexpr NONLINEARITY comm_scale[] = {{{155, 104}, 0, 0}, {{182, 87}, 1, 0}, {{205, 105}, 2, 0}};

constexpr PIXPOINT KNOB_PIVOT = {12, 12};  // the knob image turns about its centre
constexpr PIXPOINT POINTER_PIVOT = {4, 4}; // the selector pointers turn about their root

// Elements 1 to 4 the knobs, 5 and 6 the VOR DME and COMM pointers.
template <const Box& B>
constexpr k7::NeedleEntry needles[] = {
    k7::needle_entry(22016, {36, 75}, KNOB_PIVOT, k7::NEEDLE_DAY, knob_angle<B, 0>),
    k7::needle_entry(22016, {96, 75}, KNOB_PIVOT, k7::NEEDLE_DAY, knob_angle<B, 1>),
    k7::needle_entry(22016, {151, 75}, KNOB_PIVOT, k7::NEEDLE_DAY, knob_angle<B, 2>),
    k7::needle_entry(22016, {211, 75}, KNOB_PIVOT, k7::NEEDLE_DAY, knob_angle<B, 3>),
    k7::needle_entry(22032, {68, 115}, POINTER_PIVOT, k7::NEEDLE_DAY, vordme_position<B>,
                     vordme_scale),
    k7::needle_entry(22032, {182, 115}, POINTER_PIVOT, k7::NEEDLE_DAY, comm_position<B>,
                     comm_scale),
};

// Elements 7 to 16: the NAV drums, then the COM drums.
template <auto& Shown>
constexpr k7::SlideEntry drums[] = {
    k7::drum_entry<Shown, 0>(22048, {28, 23}, 10),  k7::drum_entry<Shown, 1>(22048, {43, 23}, 10),
    k7::drum_entry<Shown, 2>(22048, {58, 23}, 10),  k7::drum_entry<Shown, 3>(22048, {77, 23}, 10),
    k7::drum_entry<Shown, 4>(22400, {92, 23}, 2),   k7::drum_entry<Shown, 5>(22048, {139, 23}, 10),
    k7::drum_entry<Shown, 6>(22048, {154, 23}, 10), k7::drum_entry<Shown, 7>(22048, {169, 23}, 10),
    k7::drum_entry<Shown, 8>(22048, {188, 23}, 10), k7::drum_entry<Shown, 9>(22064, {203, 23}, 4),
};

using Drums1 = k7::Run<gauge_radio_navcom1, drums<radio_navcom_shown1>>;
using Drums2 = k7::Run<gauge_radio_navcom2, drums<radio_navcom_shown2>>;
using Needles1 = k7::Run<gauge_radio_navcom1, needles<box1>, Drums1::head>;
using Needles2 = k7::Run<gauge_radio_navcom2, needles<box2>, Drums2::head>;

ELEMENT_STATIC_IMAGE background1 =
    k7::static_image(&gauge_radio_navcom1, 21888, {0, 0}, k7::TRANSPARENT, Needles1::head);
ELEMENT_STATIC_IMAGE background2 =
    k7::static_image(&gauge_radio_navcom2, 21888, {0, 0}, k7::TRANSPARENT, Needles2::head);

void FSAPI callback1(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_drums(box1);
}

void FSAPI callback2(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_drums(box2);
  select_transceivers();
}

} // namespace

K7_GAUGE_HEADER(radio_navcom1, background1, mouse<box1>, callback1);
K7_GAUGE_HEADER(radio_navcom2, background2, mouse<box2>, callback2);
