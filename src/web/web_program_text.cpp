// SPDX-License-Identifier: GPL-3.0-or-later
// Program text for the page's panel: the same library the windows use, through the binding.
#include "web/web_program_text.h"

#include "assembly/listing.h"
#include "assembly/program_text.h"
#include "frontend/reading_windows.h"
#include "frontend/readings.h"
#include "web/web_front_end.h"

namespace volpar::web {

std::string programTextProblems(const std::string& text) {
  return assembly::problemsText(assembly::assemble(text));
}

emscripten::val programTextProblemLines(const std::string& text) {
  emscripten::val lines = emscripten::val::array();
  for (const assembly::Problem& problem : assembly::assemble(text).problems)
    lines.call<void>("push", problem.line);
  return lines;
}

emscripten::val WebFrontEnd::programTextState(const std::string& text) {
  const frontend::ProgramTextLink link = frontend::linkProgramText(app_, assembly::assemble(text));
  emscripten::val said = emscripten::val::object();
  said.set("runningLine", link.runningLine);
  said.set("sendable", link.sendable);
  said.set("listable", link.listable);
  said.set("status", programTextStatus(link.state, link.runningLine));
  return said;
}

bool WebFrontEnd::sendProgramText(const std::string& text) {
  const assembly::Assembly assembled = assembly::assemble(text);
  if (!frontend::linkProgramText(app_, assembled).sendable) return false;
  deliver([this, &assembled] { frontend::sendProgram(app_, assembled, programTextSent_); });
  if (frontend::memoryBytes(app_) == assembled.bytes) programTextSent_ = assembled.bytes;
  return true;
}

std::string WebFrontEnd::memoryListing() {
  const std::optional<storage::ByteTexts> memory = frontend::memoryBytes(app_);
  return memory ? assembly::listing(*memory) : std::string();
}

std::string WebFrontEnd::phaseExplained() {
  const std::optional<frontend::PhaseReading> reading = frontend::readPhase(app_);
  if (!reading) return {};
  return reading->heading + "\n" + reading->transfer + "\n" + reading->sentence;
}

}  // namespace volpar::web
