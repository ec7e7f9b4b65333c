// "kestovil radio_adf1_k7" and "kestovil radio_adf2_k7": the two ADF control boxes. The knobs
// tune the simulator's ADF receivers by key events and five drums show the active frequency read
// back through a calculator expression. The mode selector is read by the ADF indicators; the
// loop knob, the CW/VOICE and SHARP/BROAD switches are drawn, and box 1's CW/VOICE switch also
// sets the simulator's ADF audio. Written once; the boxes differ by their table.
#include "electrical/electrical.h"
#include "module/kit.h"
#include "module/needle_run.h"
#include "module/services.h"
#include "radios/radio_digits.h"
#include "radios/radio_drums.h"
#include "radios/radios.h"

namespace {

constexpr u8 drum_positions[RADIO_ADF_DRUMS] = {2, 10, 10, 10, 10};

// Knob events in the order 100 KC up / down, 10 KC up / down, 1 KC up / down, then the 1 KC
// knob's fine-tuning events up / down.
enum Knob : int { KC100_UP, KC100_DOWN, KC10_UP, KC10_DOWN, KC1_UP, KC1_DOWN, FINE_UP, FINE_DOWN };

struct Box {
  const char* frequency; // calculator expression, kilohertz
  u8& mode;
  u8& fine;
  i8& loop;
  u8& cw;
  u8& sharp;
  u8 (&target)[RADIO_ADF_DRUMS];
  f64 (&shown)[RADIO_ADF_DRUMS];
  u32 knob_event[8];
};

constexpr Box box1{"(A:Adf active frequency:1,Kilohertz)",
                   radio_adf_mode1,
                   radio_adf_fine1,
                   radio_adf_loop1,
                   radio_adf_cw1,
                   radio_adf_sharp1,
                   radio_adf_target1,
                   radio_adf_shown1,
                   {0x10070, 0x10082, 0x10071, 0x10083, 0x10072, 0x10084, 0x1039E, 0x1039D}};
constexpr Box box2{"(A:Adf active frequency:2,Kilohertz)",
                   radio_adf_mode2,
                   radio_adf_fine2,
                   radio_adf_loop2,
                   radio_adf_cw2,
                   radio_adf_sharp2,
                   radio_adf_target2,
                   radio_adf_shown2,
                   {0x103F0, 0x103F4, 0x103F1, 0x103F5, 0x103F2, 0x103F6, 0x103FA, 0x103FB}};

void update_drums(const Box& b) {
  k7::adf_digits(sim::calc(b.frequency), b.target);
  k7::roll_drums(b.shown, b.target, drum_positions);
}

// Box 1's audio: the simulator's ADF audio flag toggles with either key event. CW keeps it off;
// VOICE wants it on while radio bus 1 is powered and off without it.
MODULE_VAR adf_audio = sim::token(0x370);
constexpr u32 KEY_AUDIO_CW = 0x1012C;
constexpr u32 KEY_AUDIO_VOICE = 0x10131;

void update_audio() {
  const double audio = sim::read(adf_audio);
  if (radio_adf_cw1 != 0) {
    if (audio == 1.0) sim::key_event(KEY_AUDIO_CW);
  } else if (elec_bus_radio1 != 0) {
    if (audio == 0.0) sim::key_event(KEY_AUDIO_VOICE);
  } else {
    if (audio == 1.0) sim::key_event(KEY_AUDIO_CW);
  }
}

// ---- clicks
// -------------------------------------------------------------------------------------------

// The 1 KC knob sends the fine-tuning events while fine tuning is on.
template <const Box& B, Knob K> BOOL FSAPI on_knob(PPIXPOINT, FLAGS32) {
  Knob k = K;
  if (B.fine != 0 && K == KC1_UP) k = FINE_UP;
  if (B.fine != 0 && K == KC1_DOWN) k = FINE_DOWN;
  sim::key_event(B.knob_event[k], 0);
  return FALSE_K7;
}
template <const Box& B> BOOL FSAPI on_fine(PPIXPOINT, FLAGS32) {
  B.fine = B.fine != 0 ? 0 : 1;
  return FALSE_K7;
}
template <const Box& B, int Step> BOOL FSAPI on_loop(PPIXPOINT, FLAGS32) {
  B.loop = static_cast<i8>(k7::clamp(B.loop + Step, -30, 30));
  return FALSE_K7;
}
template <const Box& B, int Step> BOOL FSAPI on_mode(PPIXPOINT, FLAGS32) {
  k7::switch_to(B.mode, k7::clamp(B.mode + Step, 0, 4));
  return FALSE_K7;
}
template <const Box& B, int Position> BOOL FSAPI on_cw(PPIXPOINT, FLAGS32) {
  k7::switch_to(B.cw, Position);
  return FALSE_K7;
}
template <const Box& B, int Position> BOOL FSAPI on_sharp(PPIXPOINT, FLAGS32) {
  k7::switch_to(B.sharp, Position);
  return FALSE_K7;
}

constexpr FLAGS32 TURNED = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT; // knobs, loop
constexpr FLAGS32 PRESSED = MOUSE_LEFTSINGLE;

template <const Box& B>
MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({60, 68, 29, 47}, CURSOR_UPARROW, TURNED, on_knob<B, KC100_UP>),
    k7::mouse_area({31, 68, 29, 47}, CURSOR_DOWNARROW, TURNED, on_knob<B, KC100_DOWN>),
    k7::mouse_area({120, 112, 29, 47}, CURSOR_UPARROW, TURNED, on_knob<B, KC10_UP>),
    k7::mouse_area({91, 112, 29, 47}, CURSOR_DOWNARROW, TURNED, on_knob<B, KC10_DOWN>),
    k7::mouse_area({181, 68, 29, 47}, CURSOR_UPARROW, TURNED, on_knob<B, KC1_UP>),
    k7::mouse_area({152, 68, 29, 47}, CURSOR_DOWNARROW, TURNED, on_knob<B, KC1_DOWN>),
    k7::mouse_area({122, 11, 42, 37}, CURSOR_HAND, PRESSED, on_fine<B>),
    k7::mouse_area({20, 129, 29, 47}, CURSOR_DOWNARROW, TURNED, on_loop<B, -1>),
    k7::mouse_area({49, 129, 29, 47}, CURSOR_UPARROW, TURNED, on_loop<B, +1>),
    k7::mouse_area({160, 129, 29, 47}, CURSOR_DOWNARROW, PRESSED, on_mode<B, -1>),
    k7::mouse_area({189, 129, 29, 47}, CURSOR_UPARROW, PRESSED, on_mode<B, +1>),
    k7::mouse_area({6, 0, 45, 22}, CURSOR_HAND, PRESSED, on_cw<B, 1>),
    k7::mouse_area({6, 22, 45, 22}, CURSOR_HAND, PRESSED, on_cw<B, 0>),
    k7::mouse_area({187, 0, 45, 22}, CURSOR_HAND, PRESSED, on_sharp<B, 1>),
    k7::mouse_area({187, 22, 45, 22}, CURSOR_HAND, PRESSED, on_sharp<B, 0>),
    K7_MOUSE_END,
};

// ---- drawing
// ------------------------------------------------------------------------------------------

template <const Box& B> FLOAT64 FSAPI loop_value(ELEMENT_NEEDLE*) {
  return B.loop;
}
template <const Box& B> FLOAT64 FSAPI mode_value(ELEMENT_NEEDLE*) {
  return B.mode;
}

constexpr NONLINEARITY loop_scale[] = {{{27, 139}, -30, 0}, {{49, 125}, 0, 0}, {{70, 139}, 30, 0}};
constexpr NONLINEARITY mode_scale[] = {{{170, 145}, 0, 0},
                                       {{175, 135}, 1, 0},
                                       {{188, 126}, 2, 0},
                                       {{203, 135}, 3, 0},
                                       {{208, 143}, 4, 0}};
constexpr PIXPOINT POINTER_PIVOT = {4, 4};

// Elements 1 and 2: CW and VOICE; 3 and 4: SHARP and BROAD (the one of each pair that stands is
// drawn).
enum Image : std::size_t { CW = 0, VOICE = 1, SHARP = 2, BROAD = 3 };
constexpr k7::ImageEntry switch_images[] = {
    {22384, {22, 4}, k7::ART_DAY},
    {22336, {22, 20}, k7::DAY_HIDDEN},
    {22384, {204, 4}, k7::ART_DAY},
    {22336, {204, 20}, k7::DAY_HIDDEN},
};

// Elements 5 and 6: the loop needle and the mode pointer.
template <const Box& B>
constexpr k7::NeedleEntry needles[] = {
    k7::needle_entry(21824, {49, 148}, POINTER_PIVOT, k7::NEEDLE_DAY, loop_value<B>, loop_scale),
    k7::needle_entry(21840, {188, 148}, POINTER_PIVOT, k7::NEEDLE_DAY, mode_value<B>, mode_scale),
};

// Elements 7 to 11: thousands, hundreds, tens, units, tenths.
template <auto& Shown>
constexpr k7::SlideEntry drums[] = {
    k7::drum_entry<Shown, 0>(21856, {76, 17}, 2),   k7::drum_entry<Shown, 1>(22048, {92, 17}, 10),
    k7::drum_entry<Shown, 2>(22048, {108, 17}, 10), k7::drum_entry<Shown, 3>(22048, {124, 17}, 10),
    k7::drum_entry<Shown, 4>(22048, {144, 17}, 10),
};

using Drums1 = k7::Run<gauge_radio_adf1, drums<radio_adf_shown1>>;
using Drums2 = k7::Run<gauge_radio_adf2, drums<radio_adf_shown2>>;
using Needles1 = k7::Run<gauge_radio_adf1, needles<box1>, Drums1::head>;
using Needles2 = k7::Run<gauge_radio_adf2, needles<box2>, Drums2::head>;
using Switches1 = k7::Run<gauge_radio_adf1, switch_images, Needles1::head>;
using Switches2 = k7::Run<gauge_radio_adf2, switch_images, Needles2::head>;

ELEMENT_STATIC_IMAGE background1 =
    k7::static_image(&gauge_radio_adf1, 21808, {0, 0}, k7::TRANSPARENT, Switches1::head);
ELEMENT_STATIC_IMAGE background2 =
    k7::static_image(&gauge_radio_adf2, 21808, {0, 0}, k7::TRANSPARENT, Switches2::head);

void draw_switches(const Box& b, ELEMENT_ICON* images) {
  k7::show_position(images + CW, 2, b.cw != 0 ? 0 : 1);
  k7::show_position(images + SHARP, 2, b.sharp != 0 ? 0 : 1);
}

void FSAPI callback1(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_drums(box1);
  update_audio();
  draw_switches(box1, Switches1::element);
}

void FSAPI callback2(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  update_drums(box2);
  draw_switches(box2, Switches2::element);
}

} // namespace

K7_GAUGE_HEADER(radio_adf1, background1, mouse<box1>, callback1);
K7_GAUGE_HEADER(radio_adf2, background2, mouse<box2>, callback2);
