// The clock in its pop-up window, driven through the stand-in: the hands through the whole last
// hour of the dial, the chronograph's run, stop, reset and counter, a simulator clock that goes
// back, and the time-setting areas.
#include "k7test.h"

#include "host/render.h"

#include <cmath>

namespace {

using namespace k7test;

const char* const CLOCK_GAUGE = "kestovil montre_k7";
constexpr std::uint32_t HOURS = 0x3, MINUTES = 0x4, SECONDS = 0x25C;
constexpr int COUNTER = 6, HOUR_HAND = 7, MINUTE_HAND = 8, SECONDS_HAND = 9;
constexpr double PI = 3.14159265358979;

struct Clock : Bed {
  Clock() : Bed({CLOCK}) {}
  void time(double h, double m) {
    sim->set_token(HOURS, h);
    sim->set_token(MINUTES, m);
    frames();
  }
  // Direction of a hand as drawn, degrees clockwise from 12 o'clock (0..360).
  double hand(int element) const {
    const ELEMENT_HEADER* e = *sim->header(CLOCK_GAUGE)->elements_list;
    for (int i = 0; i < element; ++i)
      e = e->next_element[0];
    const double a = k7host::needle_angle(*reinterpret_cast<const ELEMENT_NEEDLE*>(e),
                                          value(CLOCK_GAUGE, element));
    return std::fmod(a * 180 / PI + 90 + 720, 360);
  }
  void start_stop() { sim->click(CLOCK_GAUGE, 128, 250); }
};

TEST(Clock, HandsTurnThroughTheLastTwelfthOfTheDial) {
  Clock c;
  c.time(14, 30);
  EXPECT_NEAR(c.state("clock_hour_hand"), 2.5, 1e-4);
  // The hour hand from 23:00 to 23:59, and the minute hand from 55 to 59, keep turning toward 12.
  c.time(23, 0);
  const double at_eleven = c.hand(HOUR_HAND);
  c.time(23, 30);
  EXPECT_NEAR(c.hand(HOUR_HAND), at_eleven + 15, 1.0);
  c.time(23, 59);
  EXPECT_GT(c.hand(HOUR_HAND), 355);
  EXPECT_GT(c.hand(MINUTE_HAND), 350);
  c.time(0, 0);
  EXPECT_TRUE(c.hand(HOUR_HAND) < 1 || c.hand(HOUR_HAND) > 359);
}

TEST(Clock, ChronographRunsStopsContinuesAndResets) {
  Clock c;
  c.start_stop();
  c->seconds(75);
  c.start_stop();
  c.frames();
  EXPECT_EQ(c.state("chrono_seconds"), 15);
  EXPECT_EQ(c.state("chrono_minutes"), 1);
  EXPECT_EQ(c.value(CLOCK_GAUGE, SECONDS_HAND), 15);
  EXPECT_EQ(c.value(CLOCK_GAUGE, COUNTER), 1);
  c->seconds(30);
  EXPECT_EQ(c.state("chrono_seconds"), 15) << "stopped";
  // Stopped, the window closed for five minutes; started again before its first update.
  c->close_window(CLOCK);
  c->seconds(300);
  c->open_window(CLOCK);
  c.start_stop();
  c->seconds(10);
  EXPECT_NEAR(c.state("chrono_seconds"), 25, 1);
  EXPECT_EQ(c.state("chrono_minutes"), 1) << "the closed minutes are not counted";
  // Near the end of the minute the seconds hand turns on to 12 rather than jumping back.
  c->seconds(34.5);
  EXPECT_GT(c.hand(SECONDS_HAND), 350);

  c->click(CLOCK_GAUGE, 40, 230); // reset while running
  c.frames();
  EXPECT_EQ(c.state("chrono_minutes"), 0);
  c->seconds(3);
  EXPECT_NEAR(c.state("chrono_seconds"), 3, 1) << "restarted from zero";
}

TEST(Clock, MinuteCounterPassesFromFifteenToZero) {
  Clock c;
  c.set("chrono_minutes", 14);
  c.start_stop();
  c->seconds(61);
  EXPECT_EQ(c.state("chrono_minutes"), 15);
  EXPECT_LT(c.hand(COUNTER), 1.0) << "15 stands where 0 does";
  c->seconds(61);
  EXPECT_EQ(c.state("chrono_minutes"), 0);
}

TEST(Clock, ChronographSurvivesAClockThatGoesBack) {
  Clock c;
  c.start_stop();
  c->seconds(100);
  EXPECT_NEAR(c.state("chrono_seconds"), 40, 1);
  const double shown = c.state("chrono_seconds");
  // A flight reset: the simulator's seconds start again from 2.
  for (double t : {2.0, 3.0, 4.0}) {
    c->set_token(SECONDS, t);
    c->send_message(CLOCK_GAUGE, PANEL_SERVICE_PRE_UPDATE);
  }
  EXPECT_EQ(c.state("chrono_minutes"), 1) << "no burst of minutes";
  EXPECT_NEAR(c.state("chrono_seconds"), shown + 2, 1) << "counting on from the seconds shown";

  // Stopped with more seconds than the clock has run: it counts again when started.
  Clock d;
  d.set("chrono_seconds", 50);
  d.frames();
  d.start_stop();
  d->seconds(5);
  EXPECT_NEAR(d.state("chrono_seconds"), 55, 1);
}

TEST(Clock, TimeSettingAreasActOnlyInSetMode) {
  Clock c;
  const std::uint64_t mark = c->frame_count();
  const std::pair<int, int> areas[] = {{88, 240}, {168, 240}, {88, 280}, {168, 280}};
  for (auto [x, y] : areas)
    c->click(CLOCK_GAUGE, x, y);
  for (std::uint32_t key = 0x10079; key <= 0x1007C; ++key)
    EXPECT_EQ(c.keys(key, mark), 0u);
  c->click(CLOCK_GAUGE, 216, 240); // set mode
  c.frames();
  shows(c, CLOCK_GAUGE, {4}, {3});
  const double hours = c->token(HOURS);
  for (auto [x, y] : areas)
    c->click(CLOCK_GAUGE, x, y);
  for (std::uint32_t key = 0x10079; key <= 0x1007C; ++key)
    EXPECT_EQ(c.keys(key, mark), 1u);
  c->click(CLOCK_GAUGE, 168, 240);
  c.frames();
  EXPECT_EQ(c->token(HOURS), std::fmod(hours + 1, 24)) << "the stand-in's clock stepped";
}

} // namespace
