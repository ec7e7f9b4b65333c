// Pictures of the panel, checked at known pixels: needles turn to their labels, hidden lamps
// show the face beneath, moving images slide, drums show their digits, and night looks different
// from day.
#include "host/render.h"
#include "k7test.h"

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <unistd.h>

namespace {

using k7test::Bed;

// Colours of the stand-in artwork.
constexpr std::uint32_t FACE = 0x3A3E42, LAMP_LIT = 0xFFBE28;

// A window drawn to a PNG and read back.
struct Picture {
  cairo_surface_t* image = nullptr;
  explicit Picture(Bed& bed, std::uint32_t window, bool night = false) {
    const std::string path = testing::TempDir() + "k7render-" + std::to_string(getpid()) + "-" +
                             testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
    std::string error;
    EXPECT_TRUE(k7host::render_window(*bed.sim, window, path, night, error)) << error;
    image = cairo_image_surface_create_from_png(path.c_str());
    std::remove(path.c_str());
  }
  ~Picture() { cairo_surface_destroy(image); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int width() const { return cairo_image_surface_get_width(image); }
  int height() const { return cairo_image_surface_get_height(image); }
  std::uint32_t at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width() || y >= height()) return 0xFF000000u; // off the picture
    const unsigned char* row =
        cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    return reinterpret_cast<const std::uint32_t*>(row)[x] & 0xFFFFFF;
  }
};

// Where a gauge pixel lands in its window (the gauge's placement and scale in panel.cfg).
struct Placement {
  double x = 0, y = 0, scale = 1;
};
Placement placement(const k7host::Sim& sim, const std::string& gauge) {
  for (const auto& w : sim.panel().windows)
    for (const auto& g : w.gauges)
      if (g.name == gauge) {
        const double size = sim.gauge(gauge)->size_mm;
        return {static_cast<double>(g.x), static_cast<double>(g.y), g.w > 0 ? g.w / size : 1.0};
      }
  ADD_FAILURE() << gauge << " is not placed";
  return {};
}

bool bright(std::uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) > 180 && ((rgb >> 8) & 0xFF) > 180 && (rgb & 0xFF) > 180;
}

// ---- needles

struct DialPoint {
  double value;
  int x, y; // the calibration point in gauge pixels
};

TEST(Render, NeedlePointsAtTheLabelOfItsValue) {
  // Generator 1's ammeter: pivot (67, 70), calibration points 0 .. 60 A.
  const std::string gauge = "kestovil elec_amp_gen1_k7";
  const DialPoint dial[] = {{0, 7, 50}, {15, 33, 26}, {30, 67, 16}, {60, 127, 51}};
  const DialPoint between{22.5, 50, 21}; // half way from the 15 to the 30 mark
  Bed bed({k7test::ELECTRICAL});
  const Placement at = placement(*bed.sim, gauge);
  auto along = [&](const DialPoint& p, double distance) { // from the pivot toward a mark
    const double dx = p.x - 67, dy = p.y - 70, len = std::hypot(dx, dy);
    return std::make_pair(static_cast<int>(std::lround(at.x + (67 + dx / len * distance))),
                          static_cast<int>(std::lround(at.y + (70 + dy / len * distance))));
  };
  for (const DialPoint& shown : {dial[0], dial[1], dial[2], dial[3], between}) {
    bed.set("elec_gen1_amps", shown.value);
    Picture picture(bed, k7test::ELECTRICAL);
    for (const DialPoint& mark : dial) {
      const auto [x, y] = along(mark, 22);
      EXPECT_EQ(bright(picture.at(x, y)), mark.value == shown.value)
          << "needle at " << shown.value << " A, looking toward the " << mark.value << " mark";
    }
    if (shown.value == between.value) {
      const auto [x, y] = along(between, 22);
      EXPECT_TRUE(bright(picture.at(x, y))) << "between the 15 and 30 marks";
    }
  }
}

// A pointer without a calibration table turns its image, as drawn, by its value in degrees: the
// RMI's pointer 1 is drawn toward east and shows the ADF bearing less ninety.
TEST(Render, RmiPointerPointsAtItsBearing) {
  const std::string gauge = "kestovil adf_k7"; // pivot (100, 100)
  Bed bed;
  k7test::instruments_powered(bed);
  bed.sim->set_token(0x27, 135); // ADF 1 south-east of the nose, heading north
  bed.frames(2);
  ASSERT_EQ(bed.value(gauge, 4), 45);
  const Placement at = placement(*bed.sim, gauge);
  Picture picture(bed, 0);
  auto toward = [&](double degrees) { // 45 gauge pixels from the pivot, clockwise from north
    const double a = degrees * 3.14159265358979 / 180, r = 45 * at.scale;
    return picture.at(static_cast<int>(std::lround(at.x + 100 * at.scale + r * std::sin(a))),
                      static_cast<int>(std::lround(at.y + 100 * at.scale - r * std::cos(a))));
  };
  EXPECT_TRUE(bright(toward(135))) << "the pointer toward the bearing";
  EXPECT_FALSE(bright(toward(45))) << "not a quarter turn off";
}

// A compass card turns about the dial's pivot, the heading at the top: the HSI's card (a sprite
// whose texture middle sits on the background point ofs) and its course pointer (a needle about
// the same pivot) share one centre, at 0 the north edge of the texture is straight above it and
// at 90 the east edge.
TEST(Render, CompassCardTurnsAboutTheDialPivotWithTheHeadingOnTop) {
  const std::string gauge = "kestovil hsi_k7";
  Bed bed;
  k7test::instruments_powered(bed);
  auto where = [](const k7host::Affine& a, double x, double y) {
    return std::make_pair(a.xx * x + a.xy * y + a.x0, a.yx * x + a.yy * y + a.y0);
  };
  for (const double heading : {0.0, 90.0}) {
    bed.sim->set_token(0x54, heading);
    bed.frames(2);
    ASSERT_DOUBLE_EQ(bed.state("hsi_card_heading"), heading);
    const k7host::WindowDrawing drawing = k7host::window_draw_list(*bed.sim, 0);
    const k7host::DrawItem *card = nullptr, *pointer = nullptr;
    for (const k7host::DrawItem& item : drawing.items) {
      if (item.gauge == gauge && item.element == 1) card = &item;
      if (item.gauge == gauge && item.element == 2) pointer = &item;
    }
    ASSERT_TRUE(card != nullptr && pointer != nullptr);
    const auto [cx, cy] = where(card->transform, 128, 128);
    const auto [px, py] = where(pointer->transform, 73, 101); // the pointer's bitmap pivot
    EXPECT_NEAR(cx, px, 0.5) << "heading " << heading;
    EXPECT_NEAR(cy, py, 0.5) << "heading " << heading;
    const auto [tx, ty] = heading == 0 ? where(card->transform, 128, 0)    // north edge
                                       : where(card->transform, 256, 128); // east edge
    EXPECT_NEAR(tx, cx, 0.5) << "heading " << heading << ": that edge straight above";
    EXPECT_LT(ty, cy - 20) << "heading " << heading << ": that edge straight above";
  }
}

// ---- lamps and moving images

TEST(Render, HiddenLampShowsTheFaceAndALitOneItsColour) {
  // The ground-power lamp: element 1 at (36, 0), its button 48 x 48.
  const std::string gauge = "kestovil elec_ext_pwr_k7";
  Bed bed({k7test::ELECTRICAL});
  bed.frames(1);
  const Placement at = placement(*bed.sim, gauge);
  const int x = static_cast<int>(at.x + 40), y = static_cast<int>(at.y + 4);
  {
    Picture off(bed, k7test::ELECTRICAL);
    EXPECT_EQ(off.at(x, y), FACE);
  }
  ASSERT_TRUE(bed.sim->click(gauge, 50, 20));
  bed.frames(1);
  ASSERT_TRUE(bed.visible(gauge, 1));
  Picture on(bed, k7test::ELECTRICAL);
  EXPECT_EQ(on.at(x, y), LAMP_LIT);
}

TEST(Render, MovingImageSlidesWithinItsWindowByItsValue) {
  // The left throttle lever: its pieces slide 110 pixels between full throttle and cut-off.
  const std::string gauge = "kestovil thr_hpbp_left_k7";
  Bed bed({k7test::THROTTLES});
  const Placement at = placement(*bed.sim, gauge);
  auto pixel = [&](double lever, int gx, int gy) {
    bed.set("thr_lever_lh_pos", lever);
    Picture picture(bed, k7test::THROTTLES);
    return picture.at(static_cast<int>(at.x + gx * at.scale),
                      static_cast<int>(at.y + gy * at.scale));
  };
  EXPECT_EQ(pixel(0, 90, 137), FACE) << "nothing of the lever there at full throttle";
  EXPECT_NE(pixel(110, 90, 137), FACE) << "the lever there at cut-off";
  EXPECT_NE(pixel(0, 90, 250), FACE) << "the lever there at full throttle";
}

TEST(Render, DrumShowsTheDigitOfItsValue) {
  // NAV 1 at 108.50: the box's drums after the leading 1 roll to 0, 8, 5 and the 0/5 drum to 0.
  // A drum's strip holds its digits in rows from 0 down; the row of its value sits in its window.
  const std::string gauge = "kestovil radio_navcom1_k7";
  Bed bed({k7test::THROTTLES});
  bed.sim->set_token(0x18, 0x0850);
  bed.frames(60);
  const k7host::WindowDrawing drawing = k7host::window_draw_list(*bed.sim, k7test::THROTTLES);
  auto rows_up = [&](int element) { // how far the strip has slid up behind its window
    for (const k7host::DrawItem& item : drawing.items)
      if (item.gauge == gauge && item.element == element && item.mask != 0)
        return (item.mask_transform.y0 - item.transform.y0) / item.transform.yy;
    ADD_FAILURE() << "no drum at element " << element;
    return -1.0;
  };
  const double zero = rows_up(8), eight = rows_up(9), five = rows_up(10);
  EXPECT_DOUBLE_EQ(zero, 0.0);
  ASSERT_GT(five, 0.0);
  EXPECT_DOUBLE_EQ(eight / five, 8.0 / 5.0) << "the 8 and the 5 rows of the same strip";
}

// ---- day and night

TEST(Render, NightArtworkAndNightLightingDifferFromDay) {
  Bed bed({k7test::ELECTRICAL});
  bed.frames(1);
  auto differing = [](const Picture& a, const Picture& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x)
        n += a.at(x, y) != b.at(x, y);
    return n;
  };
  Picture day(bed, k7test::ELECTRICAL);
  Picture dimmed(bed, k7test::ELECTRICAL, true);
  EXPECT_GT(differing(day, dimmed), day.width() * day.height() / 4)
      << "at night the unlit panel is dark";
  // The panel lighting on: the gauges swap to their night artwork.
  ASSERT_TRUE(bed.sim->click("kestovil elec_panlight_k7", 60, 40));
  bed.frames(1);
  ASSERT_EQ(bed.state("elec_panel_night"), 1);
  Picture night_art(bed, k7test::ELECTRICAL);
  EXPECT_GT(differing(day, night_art), 100) << "the night copies are drawn";
}

// ---- what the picture is drawn from

TEST(Render, EveryPlacedGaugeHasItsBitmapsAndUnknownWindowsAreRefused) {
  Bed bed;
  for (const auto& w : bed.sim->panel().windows) {
    if (w.gauges.empty()) continue; // the simulator's own GPS
    const auto drawing = k7host::window_draw_list(*bed.sim, w.main_panel ? 0 : w.ident);
    EXPECT_TRUE(drawing.problems.empty()) << w.section << ": " << drawing.problems.front();
    EXPECT_FALSE(drawing.items.empty()) << w.section;
  }
  std::string error;
  EXPECT_FALSE(k7host::render_window(*bed.sim, 4242, "/nonexistent/x.png", false, error));
  EXPECT_NE(error.find("4242"), std::string::npos) << error;
}

} // namespace
