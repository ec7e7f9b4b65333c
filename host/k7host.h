// The simulator stand-in: loads a fresh instance of the gauge module exactly as the simulator
// does (through ImportTable and Linkage), places its gauges from a panel configuration, drives it
// frame by frame, passes clicks to its click areas, and shows what it did.
#pragma once

#include "module/panel_abi.h"
#include "module/state.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace k7host {

constexpr double kFramesPerSecond = 18.0;

// Well-known tokens of the simulator.
enum Token : std::uint32_t {
  TOKEN_TICK18 = 0x001,
  TOKEN_AIRCRAFT_ON_GROUND = 0x03C,
  TOKEN_AIRSPEED = 0x03D,
  TOKEN_PP_ELECT = 0x117,
  TOKEN_ELAPSED_SECONDS = 0x25C,
  TOKEN_RADIO_HEIGHT = 0x266,
};

struct KeyEvent {
  std::uint32_t id;
  std::uint32_t value;
  std::uint64_t frame;
};

struct PanelGauge {
  std::string module; // file name of the gauge module, without .gau
  std::string name;   // gauge name
  int x = 0, y = 0, w = 0, h = 0;
};

struct PanelWindow {
  std::string section; // e.g. "Window03"
  std::string title;
  std::uint32_t ident = 0; // 0 for the main panel
  bool main_panel = false;
  bool visible = false;
  int size_x = 0, size_y = 0;         // size_mm: the window's extent in panel pixels
  std::uint32_t background_color = 0; // 0x00RRGGBB
  std::vector<PanelGauge> gauges;
};

struct PanelConfig {
  std::vector<PanelWindow> windows;
  std::vector<std::string> problems; // lines that could not be read
};

PanelConfig parse_panel_cfg(const std::string& text);
// The panel configuration shipped with the module (panel/panel.cfg), built in.
const std::string& default_panel_cfg();

// What the simulator last saw of one element of a placed gauge.
struct ElementView {
  int index = 0; // place in the chain, 0 = background
  ENUM type = 0;
  ID bitmap = 0;
  PIXPOINT position{};
  bool hidden = false;
  bool asked = false;   // its callbacks were asked for values in the last frame
  double value = 0.0;   // icon image, needle value, moving-image / sprite / slider x, ...
  double value_y = 0.0; // moving image, sprite, slider: y
  double value_r = 0.0; // sprite: rotation
  std::string text;     // string elements
};

struct GaugeInfo {
  int table_index = -1;
  std::string name;
  std::uint32_t size_mm = 0;
  bool has_callback = false;
  std::uint32_t window = 0; // ident of the window that places it (0 main panel); ~0u not placed
};

struct ElementServiceCall {
  int service_offset; // PANELS offset of the element-list service
  const ELEMENT_HEADER* element;
};

struct Options {
  std::string module_path; // libk7gauges.so; empty: the one found beside the program or K7_MODULE
  std::string panel_cfg;   // panel configuration text; empty: the built-in default
  bool install = true;     // install every placed gauge at load
  // Run the cockpit's start-up sequence after loading, as in the simulator: every window opens
  // for a few frames, then the cockpit is set cold and dark (or running). Off, the stand-in marks
  // the sequence done at load, so that windows and switches stay as a test or scenario sets them
  // (a scenario's `startup` step runs it all the same).
  bool start_up = false;
};

class Sim {
public:
  explicit Sim(const Options& options = {});
  ~Sim();
  Sim(const Sim&) = delete;
  Sim& operator=(const Sim&) = delete;

  // ---- the module's exported records
  GAUGESIMPORT* import_table() const;
  GAUGESLINKAGE* linkage() const;
  const std::vector<GaugeInfo>& gauges() const;
  const GaugeInfo* gauge(const std::string& name) const;
  GAUGEHDR* header(const std::string& name) const;

  // ---- simulator state
  void set_token(std::uint32_t id, double value);
  double token(std::uint32_t id) const;
  void set_named(const std::string& name, double value);
  double named(const std::string& name) const;
  bool named_written(const std::string& name) const;
  void set_calc(const std::string& expression, double value);
  double calc(const std::string& expression) const; // 0 when never set

  // ---- running
  void install_all();
  void kill_all();
  void frame();
  void frames(int count);
  void seconds(double s);
  std::uint64_t frame_count() const;
  // Sends one service message to one gauge's callback (as the simulator would).
  void send_message(const std::string& gauge, SINT32 message, GAUGE_EXTRA extra = 0);
  // Asks the elements of the gauges of one window (0: the main panel) for the values to draw,
  // as the simulator does when it draws the window, whether or not it is open.
  void ask_window_elements(std::uint32_t ident);
  // Calls the seven element routines of one gauge's header in order (query, install, initialize,
  // update, generate, draw, kill), as a simulator that uses them would.
  void call_element_routines(const std::string& gauge, PVOID resource_handle = nullptr,
                             UINT32 phase = 0);

  // ---- windows
  bool window_known(std::uint32_t ident) const;
  bool window_open(std::uint32_t ident) const;
  void open_window(std::uint32_t ident);
  void close_window(std::uint32_t ident);
  void toggle_window(std::uint32_t ident);
  std::vector<std::uint32_t> open_windows() const;
  // The panel as if its configuration did not define this window: closed, unknown to the window
  // events, its gauges never served (a panel without a load panel, say).
  void drop_window(std::uint32_t ident);
  const PanelConfig& panel() const;

  // ---- clicks: the click area of the gauge that holds the point and accepts the flags gets it.
  // Returns false when nothing took the click (closed window, no area, flags not accepted).
  bool click(const std::string& gauge, int x, int y, FLAGS32 mouse_flags = MOUSE_LEFTSINGLE);
  // The tooltip text of a gauge, or empty.
  std::string tooltip(const std::string& gauge) const;

  // ---- inspection
  std::optional<ElementView> element(const std::string& gauge, int index) const;
  std::vector<ElementView> elements(const std::string& gauge) const;
  const std::vector<KeyEvent>& key_events() const;
  std::size_t key_count(std::uint32_t id, std::uint64_t since_frame = 0) const;
  const std::vector<ElementServiceCall>& element_service_calls() const;

  // ---- module state by name (name or name[i] for tables)
  std::optional<double> state(const std::string& name) const;
  bool set_state(const std::string& name, double value);
  std::vector<const StateEntry*> state_entries() const;
  // Puts every registered variable back to its value at load.
  void reset_state();

  // ---- the module's stand-in sound device (native development build), or null
  const void* sound_device() const;
  void* module_symbol(const char* name) const;

  // ---- for a host that probes the module (the randomized host)
  // Token ids the module has looked up, named variables it asked for, calculator expressions it
  // evaluated: what a probing host can feed odd values.
  std::vector<std::uint32_t> tokens_asked() const;
  std::vector<std::string> named_asked() const;
  std::vector<std::string> calc_asked() const;
  // Moves the simulator's tick count and clock by `seconds` (back when negative) from now on.
  void shift_clock(double seconds);
  // Called every frame after the aircraft model and before the gauges: a host that wants its own
  // token values to reach the module sets them here.
  void set_frame_hook(void (*hook)(Sim& sim, void* data), void* data);
  // A key event taken exactly as if the module had sent it (tests of the host's own checks).
  void take_key_event(std::uint32_t id, std::uint32_t value);

  struct Impl;

private:
  std::unique_ptr<Impl> impl_;
};

// Runs a scenario script (see README, "Scenario files") against a simulator. Prints narration
// and failures to `out`; returns the number of failed expectations, or -1 when the script could
// not be read (the message names the file and line).
struct ScenarioResult {
  int failures = 0;
  int expectations = 0;
  bool error = false;
};
ScenarioResult run_scenario(Sim& sim, const std::string& text, const std::string& file_name,
                            std::FILE* out, bool echo_narration = true);

// The directory of the running program, for finding the module beside it.
std::string program_dir();
std::string default_module_path();

// Set while module code runs (its callbacks, handlers and element callbacks), cleared while the
// module calls back into the simulator's services; used to count the module's own allocations.
extern "C" int k7host_in_module;

} // namespace k7host
