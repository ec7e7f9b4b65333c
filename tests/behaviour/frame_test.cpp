// The module as the simulator sees it: exported records, gauge table, shared element routines.
#include "k7test.h"

#include <cmath>
#include <map>
#include <set>

namespace {

TEST(Frame, ExportedRecordsCarryTheirFixedWords) {
  auto sim = k7test::fresh();
  const GAUGESIMPORT* import = sim->import_table();
  EXPECT_EQ(import->PANELSentry.fnID, 0x0F);
  EXPECT_NE(K7_COPY(import->PANELSentry.fnptr), nullptr) << "the host's PANELS pointer was written";
  EXPECT_EQ(import->nullentry.fnID, 0);
  EXPECT_EQ(K7_COPY(import->nullentry.fnptr), nullptr);

  const GAUGESLINKAGE* linkage = sim->linkage();
  EXPECT_EQ(linkage->ModuleID, 0x13);
  EXPECT_NE(K7_COPY(linkage->ModuleInit), nullptr);
  EXPECT_NE(K7_COPY(linkage->ModuleDeinit), nullptr);
  EXPECT_EQ(linkage->ModuleFlags, 0u);
  EXPECT_EQ(linkage->ModulePriority, 0u);
  EXPECT_EQ(linkage->ModuleVersion, 0x900u);
  linkage->ModuleInit();
  linkage->ModuleDeinit();
}

// The names and sizes themselves are checked against the default panel, which places every gauge
// by name at its design size (DefaultPanelPlacesEveryGaugeOnceInAKnownWindowAtItsDesignSize).
TEST(Frame, GaugeTableHoldsTheWholeCatalogueEachWithItsBackgroundAndClickAreas) {
  auto sim = k7test::fresh();
  const GAUGESLINKAGE* linkage = sim->linkage();
  constexpr std::size_t n = 224;
  int without_callback = 0;
  std::set<std::string> names;
  for (std::size_t i = 0; i < n; ++i) {
    const GAUGEHDR* h = linkage->gauge_header_ptr[i];
    ASSERT_NE(h, nullptr) << "gauge " << i;
    const std::string name = h->gauge_name;
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
    EXPECT_TRUE(i == 0 ? name == "testgauge2k" : name.rfind("kestovil ", 0) == 0) << name;
    EXPECT_EQ(h->gauge_header_version, 800u) << name;
    EXPECT_GT(h->size_x_mm, 0u) << name;
    EXPECT_EQ(h->size_y_mm, 0u) << name;
    EXPECT_EQ(h->x_adjust, 0.0f);
    EXPECT_EQ(h->user_data, 0u);
    without_callback += h->gauge_callback == nullptr;
    ASSERT_NE(K7_COPY(h->elements_list), nullptr) << name;
    const ELEMENT_HEADER* root = *h->elements_list;
    ASSERT_NE(root, nullptr) << name;
    EXPECT_EQ(root->element_type, ELEMENT_TYPE_STATIC_IMAGE) << name << ": background first";
    EXPECT_NE(root->resource_id, 0) << name << ": background bitmap";
    ASSERT_NE(K7_COPY(h->mouse_rect), nullptr) << name;
    EXPECT_EQ(K7_COPY(h->mouse_rect)[0].rect_type, MOUSE_RECT_PARENT) << name;
  }
  EXPECT_EQ(K7_COPY(linkage->gauge_header_ptr[n]), nullptr) << "the table ends with a null pointer";
  EXPECT_EQ(without_callback, 22) << "only the element-driven dials go without a callback";
}

TEST(Frame, EveryHeaderSharesTheSameSevenElementRoutines) {
  auto sim = k7test::fresh();
  const GAUGESLINKAGE* linkage = sim->linkage();
  const GAUGEHDR* first = linkage->gauge_header_ptr[0];
  for (int i = 0; linkage->gauge_header_ptr[i] != nullptr; ++i) {
    const GAUGEHDR* h = linkage->gauge_header_ptr[i];
    EXPECT_EQ(K7_COPY(h->query_routine), K7_COPY(first->query_routine));
    EXPECT_EQ(K7_COPY(h->install_routine), K7_COPY(first->install_routine));
    EXPECT_EQ(K7_COPY(h->initialize_routine), K7_COPY(first->initialize_routine));
    EXPECT_EQ(K7_COPY(h->update_routine), K7_COPY(first->update_routine));
    EXPECT_EQ(K7_COPY(h->generate_routine), K7_COPY(first->generate_routine));
    EXPECT_EQ(K7_COPY(h->draw_routine), K7_COPY(first->draw_routine));
    EXPECT_EQ(K7_COPY(h->kill_routine), K7_COPY(first->kill_routine));
    EXPECT_NE(K7_COPY(h->update_routine), nullptr);
  }
}

TEST(Frame, ElementRoutinesActOnGaugeZerosListWhateverGaugeIsServed) {
  auto sim = k7test::fresh();
  const GAUGESLINKAGE* linkage = sim->linkage();
  const ELEMENT_HEADER* gauge0_root = *linkage->gauge_header_ptr[0]->elements_list;
  GAUGEHDR* served = sim->header("kestovil elec_bus_bat_k7");
  ASSERT_NE(served, nullptr);
  ASSERT_NE(*served->elements_list, gauge0_root);

  sim->call_element_routines("kestovil elec_bus_bat_k7", nullptr, 3);

  const auto& calls = sim->element_service_calls();
  ASSERT_EQ(calls.size(), 7u);
  const int offsets[] = {0x60, 0x64, 0x68, 0x6C, 0x70, 0x74, 0x7C};
  for (std::size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].service_offset, offsets[i]);
    EXPECT_EQ(calls[i].element, gauge0_root) << "service at 0x" << std::hex << offsets[i];
  }
}

TEST(Frame, TwoInstancesInOneProcessDoNotShareState) {
  auto a = k7test::fresh();
  auto b = k7test::fresh();
  EXPECT_NE(a->linkage(), b->linkage());
  ASSERT_TRUE(a->set_state("radio_delest_sel", 0));
  EXPECT_EQ(k7test::state(*a, "radio_delest_sel"), 0.0);
  EXPECT_EQ(k7test::state(*b, "radio_delest_sel"), 1.0);
  a->frames(5);
  EXPECT_EQ(a->frame_count(), 5u);
  EXPECT_EQ(b->frame_count(), 0u);
}

TEST(Frame, StateRegistryReadsWritesAndResetsByName) {
  auto sim = k7test::fresh();
  EXPECT_FALSE(sim->state("no_such_variable").has_value());
  EXPECT_FALSE(sim->set_state("no_such_variable", 1));
  EXPECT_EQ(k7test::state(*sim, "hydrau_press_red"), 2500.0);
  ASSERT_TRUE(sim->set_state("hydrau_press_red", 70000)); // beyond u16: held at its largest value
  EXPECT_EQ(k7test::state(*sim, "hydrau_press_red"), 65535.0);
  ASSERT_TRUE(sim->set_state("eng1_hp_cock_open", 0));
  sim->reset_state();
  EXPECT_EQ(k7test::state(*sim, "hydrau_press_red"), 2500.0);
  EXPECT_EQ(k7test::state(*sim, "eng1_hp_cock_open"), 1.0);
  std::set<std::string> names;
  for (const StateEntry* e : sim->state_entries())
    EXPECT_TRUE(names.insert(e->name).second) << e->name << " is declared twice";
}

TEST(Frame, DefaultPanelPlacesEveryGaugeOnceInAKnownWindowAtItsDesignSize) {
  auto sim = k7test::fresh();
  EXPECT_TRUE(sim->panel().problems.empty()) << sim->panel().problems.front();
  std::multiset<std::string> placed;
  std::map<std::string, int> width;
  for (const auto& w : sim->panel().windows)
    for (const auto& g : w.gauges) {
      placed.insert(g.name);
      width[g.name] = g.w;
    }
  for (const auto& g : sim->gauges()) {
    EXPECT_EQ(placed.count(g.name), 1u) << g.name;
    EXPECT_NE(g.window, ~0u) << g.name;
    EXPECT_EQ(width[g.name], static_cast<int>(g.size_mm)) << g.name << ": drawn at its own scale";
  }
  for (std::uint32_t id : {10040u, 10050u, 10060u, 10070u, 10080u, 10090u, 10100u, 10110u, 10120u,
                           10130u, 10140u, 10150u, 10160u, 10170u, 10180u, 10510u, 10520u})
    EXPECT_TRUE(sim->window_known(id)) << "window " << id;
}

} // namespace
