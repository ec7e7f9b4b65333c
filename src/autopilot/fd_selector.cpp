// "kestovil fd_frs_k7": the flight director mode selector. A drum (GO AROUND, ALT HOLD, ILS-VOR,
// APPROACH) with a lateral lever (BLUE LEFT, centre, BLUE RIGHT), the HEADING push-button and two
// pitch-reference knobs. ALT HOLD remembers the lever in `fd_mode_sub`.
#include "autopilot/autopilot.h"
#include "module/runs.h"

namespace {

// The rows of the selector: one per drum image, ALT HOLD once for each lever position.
enum Row : std::size_t {
  GO_AROUND,
  ALT_HOLD,
  ALT_HOLD_RIGHT,
  ALT_HOLD_LEFT,
  ILS_VOR,
  BLUE_LEFT,
  BLUE_RIGHT,
  APPROACH,
  ROWS
};

std::size_t row(u8 position, u8 sub) {
  switch (position) {
  case 1: return GO_AROUND;
  case 2: return sub == 1 ? ALT_HOLD_RIGHT : (sub == 2 ? ALT_HOLD_LEFT : ALT_HOLD);
  case 3: return ILS_VOR;
  case 4: return APPROACH;
  case 5: return BLUE_LEFT;
  case 6: return BLUE_RIGHT;
  default: return ROWS;
  }
}

enum Control : std::size_t { DRUM_UP, DRUM_DOWN, LEVER_LEFT, LEVER_RIGHT, CONTROLS };

constexpr i8 KEEP_SUB = -1;
struct Move {
  u8 position; // 0: the control does nothing from this row
  i8 sub;
  bool clears_push;
};

// Where each control moves the selector from each row: drum up, drum down, lever left, lever right.
// A position of 0 leaves the selector as it is; a sub of KEEP_SUB leaves `fd_mode_sub`.
constexpr Move moves[ROWS][CONTROLS] = {
    /* 1 */ {{1, KEEP_SUB, true}, {2, 0, false}, {}, {}},
    /* 2 sub 0 */ {{1, KEEP_SUB, true}, {3, KEEP_SUB, false}, {2, 2, true}, {2, 1, true}},
    /* 2 sub 1 */ {{1, KEEP_SUB, true}, {6, KEEP_SUB, false}, {2, 0, true}, {2, 1, true}},
    /* 2 sub 2 */ {{1, KEEP_SUB, true}, {5, KEEP_SUB, false}, {2, 2, true}, {2, 0, true}},
    /* 3 */ {{2, 0, false}, {4, KEEP_SUB, true}, {5, KEEP_SUB, true}, {6, KEEP_SUB, true}},
    /* 5 */ {{2, 2, false}, {4, KEEP_SUB, true}, {}, {3, KEEP_SUB, true}},
    /* 6 */ {{2, 1, false}, {4, KEEP_SUB, true}, {3, KEEP_SUB, true}, {}},
    /* 4 */ {{6, KEEP_SUB, false}, {4, KEEP_SUB, true}, {}, {}},
};

void operate(Control control) {
  const std::size_t r = row(fd_mode_sel, fd_mode_sub);
  if (r >= ROWS) return;
  const Move& m = moves[r][control];
  if (m.position == 0) return;
  fd_mode_sel = m.position;
  if (m.sub != KEEP_SUB) fd_mode_sub = static_cast<u8>(m.sub);
  if (m.clears_push) fd_mode_push = 0;
}

constexpr double KNOB_LIMIT = 23.0;

// Chain: 0 background, 1 night background, 2..9 the drum images by row (day), 10..17 the same by
// night, 18..21 the knobs (left and right, first pair then second pair) by day, 22..25 by night.
constexpr FLAGS OTHER = k7::DAY_HIDDEN, NIGHT = k7::NIGHT_HIDDEN;
constexpr k7::ImageEntry drums[] = {
    {18048, {26, 10}, OTHER}, {17952, {26, 0}, OTHER},        {30080, {26, 0}, OTHER},
    {30048, {26, 0}, OTHER},  {18192, {26, 12}, k7::ART_DAY}, {18464, {26, 12}, OTHER},
    {18496, {26, 12}, OTHER}, {17984, {26, 12}, OTHER},       {18176, {26, 10}, NIGHT},
    {17968, {26, 0}, NIGHT},  {30208, {26, 0}, NIGHT},        {30064, {26, 0}, NIGHT},
    {18208, {26, 12}, NIGHT}, {18480, {26, 12}, NIGHT},       {18512, {26, 12}, NIGHT},
    {18000, {26, 12}, NIGHT},
};
constexpr k7::ImageEntry knobs[] = {
    {18224, {8, 12}, k7::ART_DAY}, {18288, {109, 12}, k7::ART_DAY}, {18256, {8, 12}, OTHER},
    {18432, {109, 12}, OTHER},     {18240, {8, 12}, NIGHT},         {18304, {109, 12}, NIGHT},
    {18272, {8, 12}, NIGHT},       {18448, {109, 12}, NIGHT},
};
constexpr std::size_t KNOB_IMAGES = 4;

using Knobs = k7::Run<gauge_fd_frs, knobs>;
using Drums = k7::Run<gauge_fd_frs, drums, Knobs::head>;

ELEMENT_ICON night_background =
    k7::icon(&gauge_fd_frs, 18032, {0, 0}, k7::NIGHT_HIDDEN, Drums::head);
ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_fd_frs, 18016, {0, 0}, k7::TRANSPARENT, K7_NEXT(night_background));

template <int Step> BOOL FSAPI on_knob(PPIXPOINT, FLAGS32) {
  fd_knob_value = k7::clamp(k7::finite_or(fd_knob_value, 0.0) + Step, -KNOB_LIMIT, KNOB_LIMIT);
  fd_knob_anim = fd_knob_anim != 0 ? 0 : 1;
  return FALSE_K7;
}

template <Control C> BOOL FSAPI on_control(PPIXPOINT, FLAGS32) {
  operate(C);
  return FALSE_K7;
}

BOOL FSAPI on_heading(PPIXPOINT, FLAGS32) {
  if ((fd_mode_sel == 2 || fd_mode_sel == 3) && fd_mode_sub == 0)
    fd_mode_push = fd_mode_push != 0 ? 0 : 1;
  return FALSE_K7;
}

constexpr FLAGS32 KNOB = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;
MOUSERECT mouse[] = {
    k7::mouse_parent(),
    k7::mouse_area({3, 0, 26, 47}, CURSOR_DOWNARROW, KNOB, on_knob<-1>),
    k7::mouse_area({3, 47, 26, 47}, CURSOR_UPARROW, KNOB, on_knob<+1>),
    k7::mouse_area({106, 0, 26, 47}, CURSOR_DOWNARROW, KNOB, on_knob<-1>),
    k7::mouse_area({106, 47, 26, 47}, CURSOR_UPARROW, KNOB, on_knob<+1>),
    k7::mouse_area({46, 0, 43, 31}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_control<DRUM_UP>),
    k7::mouse_area({46, 31, 43, 31}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_control<DRUM_DOWN>),
    k7::mouse_area({29, 12, 17, 25}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, on_control<LEVER_LEFT>),
    k7::mouse_area({89, 12, 17, 25}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, on_control<LEVER_RIGHT>),
    k7::mouse_area({53, 54, 29, 29}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_heading),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  k7::show(night_background, k7::panel_night());
  k7::draw_position(&Drums::element[0], &Drums::element[ROWS], ROWS, row(fd_mode_sel, fd_mode_sub));
  const std::size_t pair = fd_knob_anim != 0 ? 2 : 0;
  for (std::size_t i = 0; i < KNOB_IMAGES; ++i)
    k7::draw({&Knobs::element[i].header, &Knobs::element[KNOB_IMAGES + i].header},
             i == pair || i == pair + 1);
}

} // namespace

K7_GAUGE_HEADER(fd_frs, background, mouse, callback);
