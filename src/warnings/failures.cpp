// The failures and easy-start panel ("kestovil failures_k7", pop-up window 10170). Each item is
// armed with its left button and switched off with its right one; validate makes every armed item
// active. A timed item acts once its delay has run from validation and, for the engine items,
// once the indicated airspeed has reached its minimum. Everything here runs in the panel's
// update, so only while its window is open.
#include "electrical/electrical.h"
#include "hydraulics/hydraulics.h"
#include "module/gauge.h"
#include "module/services.h"
#include "module/types.h"
#include "warnings/failure_presets.h"
#include "warnings/warnings.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <iterator>

namespace {

constexpr u8 ITEM_OFF = 0;
constexpr u8 ITEM_ACTIVE = 1;
constexpr u8 ITEM_ARMED = 2;

constexpr u32 KEY_ENGINE1_FAILURE = 0x10309;
constexpr u32 KEY_ENGINE2_FAILURE = 0x1030A;
constexpr u32 FAILURES_WINDOW = 10170;

constexpr double TAKEOFF_SPEED_KT = 130.0;
constexpr double TAKEOFF_FLAP_TOKEN = 15.0;
constexpr u32 RANDOM_INTERVAL_S = 56;
constexpr u8 RANDOM_CHOICES = 9;

MODULE_VAR clock_var = sim::token(0x25C);
MODULE_VAR airspeed_var = sim::token(0x3D);
MODULE_VAR engine1_failed_var = sim::token(0x234);
MODULE_VAR engine2_failed_var = sim::token(0x23E);
MODULE_VAR flaps_var = sim::token(0x38B);

// The simulation clock in whole seconds (0 for a clock the simulator does not give).
u32 clock_seconds() {
  const double s = sim::read_finite(clock_var);
  return s <= 0.0 ? 0u : s >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<u32>(s);
}

u32 later(u32 now, u32 seconds) {
  return now > 0xFFFFFFFFu - seconds ? 0xFFFFFFFFu : now + seconds;
}

// ---- items
// --------------------------------------------------------------------------------------------

// Every item, presets included, in the order of their lamps in the element chain.
u8* const items[] = {&fail_eng1,   &fail_eng1_fire, &fail_eng2,         &fail_gen1,
                     &fail_gen2,   &fail_hyd_level, &fail_hyd_leak,     &fail_takeoff,
                     &fail_random, &fail_reset,     &preset_easy_start, &preset_cold_dark,
                     &preset_3,    &preset_4,       &preset_5};
constexpr std::size_t ITEM_COUNT = std::size(items);

// An item that acts once its delay has run, and for some once the airspeed has reached a minimum.
struct Timed {
  u8& item;
  u8& delay;
  u32& validated;
  u8* min_speed; // null: no minimum
};

Timed timed[] = {
    {fail_eng1, fail_eng1_delay, fail_eng1_valid, &fail_eng1_speed},
    {fail_eng1_fire, fail_eng1_fire_delay, fail_eng1_fire_valid, &fail_eng1_fire_speed},
    {fail_eng2, fail_eng2_delay, fail_eng2_valid, &fail_eng2_speed},
    {fail_gen1, fail_gen1_delay, fail_gen1_valid, nullptr},
    {fail_gen2, fail_gen2_delay, fail_gen2_valid, nullptr},
    {fail_hyd_level, fail_hyd_level_delay, fail_hyd_level_valid, nullptr},
};
Timed& engine1_item = timed[0];
Timed& fire_item = timed[1];
Timed& engine2_item = timed[2];
Timed& generator1_item = timed[3];
Timed& generator2_item = timed[4];
Timed& level_item = timed[5];

// Seconds since validation; negative when the clock has been set back before it.
i64 seconds_since(const Timed& t, u32 now) {
  return static_cast<i64>(now) - static_cast<i64>(t.validated);
}

bool due(const Timed& t, u32 now, double airspeed) {
  if (t.item != ITEM_ACTIVE) return false;
  if (seconds_since(t, now) < 60 * static_cast<i64>(t.delay)) return false;
  return t.min_speed == nullptr || airspeed >= static_cast<double>(*t.min_speed);
}

// Makes an item active from now, as a validation would; an item already active keeps its time.
void activate(Timed& t, u32 now) {
  if (t.item == ITEM_ACTIVE) return;
  t.item = ITEM_ACTIVE;
  t.validated = now;
}

// The pending flag rises whenever more items are on than at the last count.
void count_items() {
  u8 on = 0;
  for (u8* item : items)
    if (*item != ITEM_OFF) ++on;
  if (on > fail_items_set) fail_pending = 1;
  fail_items_set = on;
}

// ---- effects
// ------------------------------------------------------------------------------------------

void fail_engine(MODULE_VAR& failed_var, u32 key) {
  if (sim::read(failed_var) == 0.0) sim::key_event(key, 1);
}
void give_engine_back(MODULE_VAR& failed_var, u32 key) {
  if (sim::read(failed_var) == 1.0) sim::key_event(key, 1);
}

// A generator fault follows its item alone: raised once due, and held at 0 while the item is not
// active, so that switching the generator off acknowledges it for good.
void generator_rule(const Timed& t, u8& fault, u32 now) {
  if (t.item != ITEM_ACTIVE)
    fault = 0;
  else if (due(t, now, 0.0) && fault == 0)
    fault = 1;
}

void reset_everything() {
  for (u8* item : items)
    *item = ITEM_OFF;
  eng1_fire = 0;
  elec_gen1_fault = elec_gen2_fault = 0;
  hydrau_fail_level_green = 0;
  hydrau_leak_green = 0;
  hydrau_fail_g1 = hydrau_fail_g2 = 0;
  fail_takeoff_fired = 0;
  give_engine_back(engine1_failed_var, KEY_ENGINE1_FAILURE);
  give_engine_back(engine2_failed_var, KEY_ENGINE2_FAILURE);
}

void take_off_failure(u32 now) {
  if (fail_takeoff != ITEM_ACTIVE) return;
  if (fail_takeoff_fired == 0 && sim::read_finite(airspeed_var) > TAKEOFF_SPEED_KT) {
    activate(fire_item, now);
    fail_takeoff_fired = 1;
  }
  if (sim::read_finite(flaps_var) > TAKEOFF_FLAP_TOKEN) activate(generator2_item, now);
}

void random_pick(u8 choice, u32 now) {
  switch (choice) {
  case 1: fail_engine(engine1_failed_var, KEY_ENGINE1_FAILURE); break;
  case 2:
  case 4: activate(fire_item, now); break;
  case 3: fail_engine(engine2_failed_var, KEY_ENGINE2_FAILURE); break;
  case 5: activate(generator1_item, now); break;
  case 6: activate(generator2_item, now); break;
  default:
    hydrau_fail_g1 = 1;
    hydrau_fail_g2 = 1;
    break;
  }
}

// A counter turns 1..9 every update; each time the schedule comes due the value it stands at is
// the failure. The schedule starts 56 s after the item became active and moves on 56 s per pick.
void random_failure(u32 now) {
  if (fail_random != ITEM_ACTIVE) {
    fail_random_count = 0;
    fail_random_due = 0;
    return;
  }
  if (fail_random_due == 0) fail_random_due = later(now, RANDOM_INTERVAL_S);
  fail_random_count = static_cast<u8>(fail_random_count % RANDOM_CHOICES + 1);
  if (now < fail_random_due) return;
  random_pick(fail_random_count, now);
  fail_random_due = later(fail_random_due, RANDOM_INTERVAL_S);
  // After the panel was closed for a while, the next pick is a full interval away.
  if (fail_random_due <= now) fail_random_due = later(now, RANDOM_INTERVAL_S);
}

void failures_update() {
  const u32 now = clock_seconds();
  failure_presets_update();
  if (fail_reset == ITEM_ACTIVE) reset_everything();
  take_off_failure(now);
  random_failure(now);

  const double airspeed = sim::read_finite(airspeed_var);
  if (due(engine1_item, now, airspeed)) fail_engine(engine1_failed_var, KEY_ENGINE1_FAILURE);
  if (due(engine2_item, now, airspeed)) fail_engine(engine2_failed_var, KEY_ENGINE2_FAILURE);
  if (due(fire_item, now, airspeed) && eng1_fire == 0) eng1_fire = 1;
  generator_rule(generator1_item, elec_gen1_fault, now);
  generator_rule(generator2_item, elec_gen2_fault, now);
  if (level_item.item == ITEM_ACTIVE) hydrau_fail_level_green = due(level_item, now, 0.0) ? 1 : 0;
  count_items();
}

// ---- buttons
// ------------------------------------------------------------------------------------------

void validate() {
  if (fail_pending == 0) return;
  const u32 now = clock_seconds();
  for (Timed& t : timed)
    if (t.item == ITEM_ARMED) activate(t, now);
  if (fail_hyd_leak == ITEM_ARMED) hydrau_leak_green = 1; // the leak starts at once
  if (fail_takeoff == ITEM_ARMED) fail_takeoff_fired = 0; // each arming may fire once
  for (u8* item : items)
    if (*item == ITEM_ARMED) *item = ITEM_ACTIVE;
  fail_pending = 0;
}

template <u8& Item> BOOL FSAPI on_arm(PPIXPOINT, FLAGS32) {
  if (Item == ITEM_OFF) Item = ITEM_ARMED;
  count_items();
  return FALSE_K7;
}
template <u8& Item> BOOL FSAPI on_off(PPIXPOINT, FLAGS32) {
  Item = ITEM_OFF;
  count_items();
  return FALSE_K7;
}
template <u8& Value, int Step> BOOL FSAPI on_step(PPIXPOINT, FLAGS32) {
  Value = static_cast<u8>(std::clamp(Value + Step, 0, 255));
  return FALSE_K7;
}
BOOL FSAPI on_validate(PPIXPOINT, FLAGS32) {
  validate();
  return FALSE_K7;
}
BOOL FSAPI on_close(PPIXPOINT, FLAGS32) {
  sim::window_toggle(FAILURES_WINDOW);
  return FALSE_K7;
}

// ---- readouts
// -----------------------------------------------------------------------------------------

// Minutes an item shows: its delay, or while active the whole minutes still to run, never below 0.
int minutes_shown(const Timed& t, u32 now) {
  if (t.item != ITEM_ACTIVE) return t.delay;
  const i64 left = static_cast<i64>(t.delay) - seconds_since(t, now) / 60;
  return static_cast<int>(std::clamp<i64>(left, 0, t.delay));
}

constexpr std::size_t READOUTS = 9;
constexpr UINT16 READOUT_CHARS = 3;
char readout_text[READOUTS][READOUT_CHARS + 1] = {};

FLOAT64 write_readout(ELEMENT_STRING* e, int value) {
  if (e != nullptr && e->string != nullptr)
    std::snprintf(e->string, READOUT_CHARS + 1, "%3d", std::clamp(value, 0, 255));
  return value;
}
template <std::size_t N> FLOAT64 FSAPI delay_readout(ELEMENT_STRING* e) {
  return write_readout(e, minutes_shown(timed[N], clock_seconds()));
}
template <std::size_t N> FLOAT64 FSAPI speed_readout(ELEMENT_STRING* e) {
  return write_readout(e, *timed[N].min_speed);
}

// ---- elements
// -----------------------------------------------------------------------------------------
//
// Chain: 0 background; 1..15 the item lamps (image 0 off, 1 active, 2 armed) over each item's arm
// button, in the order of `items`; 16 the pending lamp over the validate button; 17..22 the delays
// of the six timed items; 23..25 the minimum speeds of the three engine items.

constexpr ID BACKGROUND_BITMAP = 29440;
constexpr ID LAMP_BITMAP = k7::bitmap_id(GAUGE_INDEX_failures, 1); // and the two after it
constexpr ID PENDING_BITMAP = k7::bitmap_id(GAUGE_INDEX_failures, 4);
constexpr COLORREF_K7 READOUT_INK = 0x0028BEFF; // amber
constexpr COLORREF_K7 READOUT_PAPER = 0x00101010;
constexpr PIXPOINT READOUT_SIZE = {40, 20};

constexpr PIXPOINT ARM[] = {{763, 202}, {763, 230}, {763, 284}, {763, 458}, {763, 486},
                            {763, 561}, {610, 678}, {610, 706}, {610, 734}, {610, 783},
                            {923, 93},  {923, 143}, {923, 277}, {923, 490}, {923, 605}};
static_assert(std::size(ARM) == ITEM_COUNT);
constexpr int BUTTON_W = 67;
constexpr int BUTTON_H = 28;
// Left edges of the down buttons of the delays (per timed item) and of the speeds; the up button
// sits right of its down button.
constexpr int DELAY_DOWN_X[] = {322, 322, 322, 358, 358, 442};
constexpr int SPEED_DOWN_X = 525;

// The readout straddles its down and up buttons.
constexpr PIXPOINT readout_at(int down_x, int y) {
  return {down_x + BUTTON_W - READOUT_SIZE.x / 2, y + (BUTTON_H - READOUT_SIZE.y) / 2};
}

constexpr ELEMENT_STRING readout(std::size_t n, PIXPOINT at, PSTRING_UPDATE_CB callback,
                                 PELEMENT_HEADER* next) {
  ELEMENT_STRING e = k7::string(&gauge_failures, at, READOUT_SIZE, readout_text[n], READOUT_CHARS,
                                callback, READOUT_INK, READOUT_PAPER, 0, next);
  constexpr char font[] = "Courier New";
  for (std::size_t i = 0; i < sizeof font; ++i)
    e.font_name[i] = font[i];
  e.font_weight = 700;
  return e;
}

template <std::size_t N> FLOAT64 FSAPI item_image(ELEMENT_ICON*) {
  return *items[N];
}

// The lamp of item N, over its arm button.
template <std::size_t N> constexpr ELEMENT_ICON lamp(PELEMENT_HEADER* next) {
  return k7::icon(&gauge_failures, LAMP_BITMAP, ARM[N], IMAGE_USE_TRANSPARENCY, next, item_image<N>,
                  3);
}

extern ELEMENT_ICON lamp_eng1, lamp_eng1_fire, lamp_eng2, lamp_gen1, lamp_gen2, lamp_hyd_level,
    lamp_hyd_leak, lamp_takeoff, lamp_random, lamp_reset, lamp_easy_start, lamp_cold_dark,
    lamp_preset_3, lamp_preset_4, lamp_preset_5;
extern ELEMENT_STATIC_IMAGE pending_lamp;
extern ELEMENT_STRING delay_eng1, delay_eng1_fire, delay_eng2, delay_gen1, delay_gen2,
    delay_hyd_level, speed_eng1, speed_eng1_fire, speed_eng2;

ELEMENT_STATIC_IMAGE background =
    k7::static_image(&gauge_failures, BACKGROUND_BITMAP, {0, 0}, 0, K7_NEXT(lamp_eng1));
ELEMENT_ICON lamp_eng1 = lamp<0>(K7_NEXT(lamp_eng1_fire));
ELEMENT_ICON lamp_eng1_fire = lamp<1>(K7_NEXT(lamp_eng2));
ELEMENT_ICON lamp_eng2 = lamp<2>(K7_NEXT(lamp_gen1));
ELEMENT_ICON lamp_gen1 = lamp<3>(K7_NEXT(lamp_gen2));
ELEMENT_ICON lamp_gen2 = lamp<4>(K7_NEXT(lamp_hyd_level));
ELEMENT_ICON lamp_hyd_level = lamp<5>(K7_NEXT(lamp_hyd_leak));
ELEMENT_ICON lamp_hyd_leak = lamp<6>(K7_NEXT(lamp_takeoff));
ELEMENT_ICON lamp_takeoff = lamp<7>(K7_NEXT(lamp_random));
ELEMENT_ICON lamp_random = lamp<8>(K7_NEXT(lamp_reset));
ELEMENT_ICON lamp_reset = lamp<9>(K7_NEXT(lamp_easy_start));
ELEMENT_ICON lamp_easy_start = lamp<10>(K7_NEXT(lamp_cold_dark));
ELEMENT_ICON lamp_cold_dark = lamp<11>(K7_NEXT(lamp_preset_3));
ELEMENT_ICON lamp_preset_3 = lamp<12>(K7_NEXT(lamp_preset_4));
ELEMENT_ICON lamp_preset_4 = lamp<13>(K7_NEXT(lamp_preset_5));
ELEMENT_ICON lamp_preset_5 = lamp<14>(K7_NEXT(pending_lamp));
ELEMENT_STATIC_IMAGE pending_lamp =
    k7::static_image(&gauge_failures, PENDING_BITMAP, {908, 691},
                     IMAGE_USE_TRANSPARENCY | IMAGE_HIDDEN, K7_NEXT(delay_eng1));
ELEMENT_STRING delay_eng1 =
    readout(0, readout_at(322, 202), delay_readout<0>, K7_NEXT(delay_eng1_fire));
ELEMENT_STRING delay_eng1_fire =
    readout(1, readout_at(322, 230), delay_readout<1>, K7_NEXT(delay_eng2));
ELEMENT_STRING delay_eng2 = readout(2, readout_at(322, 284), delay_readout<2>, K7_NEXT(delay_gen1));
ELEMENT_STRING delay_gen1 = readout(3, readout_at(358, 458), delay_readout<3>, K7_NEXT(delay_gen2));
ELEMENT_STRING delay_gen2 =
    readout(4, readout_at(358, 486), delay_readout<4>, K7_NEXT(delay_hyd_level));
ELEMENT_STRING delay_hyd_level =
    readout(5, readout_at(442, 561), delay_readout<5>, K7_NEXT(speed_eng1));
ELEMENT_STRING speed_eng1 =
    readout(6, readout_at(525, 202), speed_readout<0>, K7_NEXT(speed_eng1_fire));
ELEMENT_STRING speed_eng1_fire =
    readout(7, readout_at(525, 230), speed_readout<1>, K7_NEXT(speed_eng2));
ELEMENT_STRING speed_eng2 = readout(8, readout_at(525, 284), speed_readout<2>, K7_END);

// ---- click areas
// --------------------------------------------------------------------------------------

constexpr FLAGS32 HELD = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

constexpr PIXBOX button(PIXPOINT at) {
  return {at.x, at.y, BUTTON_W, BUTTON_H};
}
constexpr PIXBOX right_of(PIXPOINT at) {
  return {at.x + BUTTON_W, at.y, BUTTON_W, BUTTON_H};
}

constexpr MOUSERECT arm_area(std::size_t n, PMOUSE_FUNCTION handler) {
  return k7::mouse_area(button(ARM[n]), CURSOR_HAND, MOUSE_LEFTSINGLE, handler);
}
constexpr MOUSERECT off_area(std::size_t n, PMOUSE_FUNCTION handler) {
  return k7::mouse_area(right_of(ARM[n]), CURSOR_HAND, MOUSE_LEFTSINGLE, handler);
}
constexpr MOUSERECT down_area(int x, int y, PMOUSE_FUNCTION handler) {
  return k7::mouse_area(button({x, y}), CURSOR_DOWNARROW, HELD, handler);
}
constexpr MOUSERECT up_area(int x, int y, PMOUSE_FUNCTION handler) {
  return k7::mouse_area(right_of({x, y}), CURSOR_UPARROW, HELD, handler);
}

MOUSERECT mouse[] = {
    k7::mouse_parent(),
    arm_area(0, on_arm<fail_eng1>),
    off_area(0, on_off<fail_eng1>),
    arm_area(1, on_arm<fail_eng1_fire>),
    off_area(1, on_off<fail_eng1_fire>),
    arm_area(2, on_arm<fail_eng2>),
    off_area(2, on_off<fail_eng2>),
    arm_area(3, on_arm<fail_gen1>),
    off_area(3, on_off<fail_gen1>),
    arm_area(4, on_arm<fail_gen2>),
    off_area(4, on_off<fail_gen2>),
    arm_area(5, on_arm<fail_hyd_level>),
    off_area(5, on_off<fail_hyd_level>),
    arm_area(6, on_arm<fail_hyd_leak>),
    off_area(6, on_off<fail_hyd_leak>),
    arm_area(7, on_arm<fail_takeoff>),
    off_area(7, on_off<fail_takeoff>),
    arm_area(8, on_arm<fail_random>),
    off_area(8, on_off<fail_random>),
    arm_area(9, on_arm<fail_reset>),
    off_area(9, on_off<fail_reset>),
    arm_area(10, on_arm<preset_easy_start>),
    off_area(10, on_off<preset_easy_start>),
    arm_area(11, on_arm<preset_cold_dark>),
    off_area(11, on_off<preset_cold_dark>),
    arm_area(12, on_arm<preset_3>),
    off_area(12, on_off<preset_3>),
    arm_area(13, on_arm<preset_4>),
    off_area(13, on_off<preset_4>),
    arm_area(14, on_arm<preset_5>),
    off_area(14, on_off<preset_5>),
    down_area(DELAY_DOWN_X[0], 202, on_step<fail_eng1_delay, -1>),
    up_area(DELAY_DOWN_X[0], 202, on_step<fail_eng1_delay, 1>),
    down_area(DELAY_DOWN_X[1], 230, on_step<fail_eng1_fire_delay, -1>),
    up_area(DELAY_DOWN_X[1], 230, on_step<fail_eng1_fire_delay, 1>),
    down_area(DELAY_DOWN_X[2], 284, on_step<fail_eng2_delay, -1>),
    up_area(DELAY_DOWN_X[2], 284, on_step<fail_eng2_delay, 1>),
    down_area(DELAY_DOWN_X[3], 458, on_step<fail_gen1_delay, -1>),
    up_area(DELAY_DOWN_X[3], 458, on_step<fail_gen1_delay, 1>),
    down_area(DELAY_DOWN_X[4], 486, on_step<fail_gen2_delay, -1>),
    up_area(DELAY_DOWN_X[4], 486, on_step<fail_gen2_delay, 1>),
    down_area(DELAY_DOWN_X[5], 561, on_step<fail_hyd_level_delay, -1>),
    up_area(DELAY_DOWN_X[5], 561, on_step<fail_hyd_level_delay, 1>),
    down_area(SPEED_DOWN_X, 202, on_step<fail_eng1_speed, -1>),
    up_area(SPEED_DOWN_X, 202, on_step<fail_eng1_speed, 1>),
    down_area(SPEED_DOWN_X, 230, on_step<fail_eng1_fire_speed, -1>),
    up_area(SPEED_DOWN_X, 230, on_step<fail_eng1_fire_speed, 1>),
    down_area(SPEED_DOWN_X, 284, on_step<fail_eng2_speed, -1>),
    up_area(SPEED_DOWN_X, 284, on_step<fail_eng2_speed, 1>),
    k7::mouse_area({908, 691, 179, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_validate),
    k7::mouse_area({908, 757, 179, 45}, CURSOR_HAND, MOUSE_LEFTSINGLE, on_close),
    K7_MOUSE_END,
};

void FSAPI callback(PGAUGEHDR, SINT32 service, GAUGE_EXTRA) {
  if (service != PANEL_SERVICE_PRE_UPDATE) return;
  failures_update();
  k7::show(pending_lamp, fail_pending != 0);
}

} // namespace

K7_GAUGE_HEADER(failures, background, mouse, callback);
