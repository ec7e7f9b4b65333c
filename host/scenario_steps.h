// A scenario run a line at a time, for a host that shows its progress: each line's outcome
// (ran, passed, failed, error) and what it printed, a "frames"/"seconds" line spread over as many
// calls as the host likes.
#pragma once

#include "host/k7host.h"

#include <memory>
#include <string>
#include <vector>

namespace k7host {

struct ScenarioLine {
  int number = 0; // 1-based line in the file
  std::string text;
  enum Status { WAITING, RUNNING, RAN, PASSED, FAILED, ERROR } status = WAITING;
  std::string output; // narration and failures it printed
};

const char* status_name(ScenarioLine::Status s);

// Lines of a script that cannot be read ("line 3: cannot read this step: ..."), found without
// running anything (expectations are read against `sim`, which they do not change): unknown
// commands, malformed numbers, unknown gauges, windows and variables. Without `allow_files`,
// steps that write files (render) are refused too.
std::vector<std::string> scenario_problems(const Sim& sim, const std::string& text,
                                           bool allow_files);

class ScenarioSteps {
public:
  // Only lines with a step are kept (blank lines and comments are not).
  ScenarioSteps(Sim& sim, const std::string& text, const std::string& file_name);
  ~ScenarioSteps();
  ScenarioSteps(const ScenarioSteps&) = delete;
  ScenarioSteps& operator=(const ScenarioSteps&) = delete;

  const std::vector<ScenarioLine>& lines() const;
  // Index in lines() of the line running or next to run; lines().size() when finished.
  std::size_t current() const;
  bool finished() const;
  // Frames the running line still has to run.
  long pending_frames() const;
  // Runs at most `frame_budget` frames of the running line, or, when it has none left, the next
  // line (a "frames" or "seconds" line then starts and runs up to the budget).
  void advance(long frame_budget);
  // Runs the rest of the current line.
  void finish_line();
  const ScenarioResult& result() const;

  struct Impl;

private:
  std::unique_ptr<Impl> impl_;
};

} // namespace k7host
