// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <emscripten/val.h>

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/application.h"
#include "frontend/event_gate.h"
#include "history/execution_history.h"
#include "storage/program_file_text.h"
#include "ui/form.h"
#include "web/web_exercise.h"
#include "web/web_platform.h"

namespace volpar::web {

// The running program as the page sees it. Forms and elements are known to the page by
// number. The page reads what changed and draws just that: at once after a user's
// action, once per animation frame for the clock's ticks. Every user action and clock
// tick comes back as one event, after which discarded screens are destroyed. After the
// program has ended no event is delivered. The execution history listens to the screens
// as on the desktop; the page reads its lines and goes back through this front end.
class WebFrontEnd : public ScreensObserver, public ui::FormObserver {
 public:
  explicit WebFrontEnd(emscripten::val page);
  ~WebFrontEnd() override;
  WebFrontEnd(const WebFrontEnd&) = delete;
  WebFrontEnd& operator=(const WebFrontEnd&) = delete;

  void start();
  // The language the program speaks from now on (Application::setLanguage); false for a
  // code no catalog has.
  bool setLanguage(const std::string& code);

  // ---- what the page reads
  // {created: [form], destroyed: [form], forms: [[form, event]], elements: [element]},
  // everything since the last call.
  emscripten::val takeChanges();
  // A form's fixed description: name, size, colours, handlers, element numbers, the keys
  // it offers (by name, run by their index) and whether it has tooltips.
  emscripten::val form(int id) const;
  // What changes of a form: caption, visibility, focus, default button.
  emscripten::val formState(int id) const;
  // An element's properties as they are now; undefined when it no longer exists.
  emscripten::val element(int id) const;
  // The tooltip over a point of the form (twips): {text, left, top, width, height}, the box
  // it speaks of in twips; undefined where there is none.
  emscripten::val tooltipAt(int form, int x, int y) const;
  // What a screen reader finds of a form beyond its controls (Form::accessibleParts), as
  // named when the form was made: {names: [{id, name}], readings: [name], table: {name,
  // description, rows: [name]} or null, bitCells: [{id, one}]}; undefined for none.
  emscripten::val accessibleParts(int id) const;
  // What those parts say now: {descriptions: [text, one per name], readings: [text],
  // rows: [text], current: row or -1}.
  emscripten::val accessibleTexts(int id) const;
  // What the table's change since `before` (its rows' texts then) says, as the windows say it.
  std::string tableNews(int id, const emscripten::val& before) const;
  // The machine's whole state in plain text ("Read machine state"), empty before the
  // execution screen exists.
  std::string machineSummary() const;
  bool ended() { return app_.programEnded(); }
  std::string takeSaved() { return platform_.takeSaved(); }
  void answerFile(std::string name) { platform_.answerFile(std::move(name)); }
  // A chosen file that the browser could not read, reported as a load that failed.
  void openFailed(const std::string& name, const std::string& reason);
  // A fragment of the page's address (without "#"): one that carries a program opens it
  // on the input screen as Open would, a damaged one is reported: true for both; any other
  // is not the program's (false).
  bool openLink(const std::string& fragment);
  // The fragment that carries the program in memory now; empty without an input screen.
  std::string programLink();
  // true: Save, false: Don't Save (a cancelled question is never delivered again).
  void answerQuestion(bool save) {
    platform_.answerQuestion(save ? ui::Platform::SaveAnswer::Save
                                  : ui::Platform::SaveAnswer::DontSave);
  }

  // ---- the exercise panel (see WebExercise); none of it is an event of the program
  emscripten::val openExercise(const std::string& path) { return exercise_.open(path); }
  void exerciseFailed(const std::string& name, const std::string& reason) {
    exercise_.failed(name, reason);
  }
  emscripten::val check() { return exercise_.check(); }

  // ---- what the user and the clock do: each one event
  void click(int id);
  void type(int id, const std::string& text, int caret);
  void select(int id, int start, int length);
  void focus(int id);
  void scroll(int id, int value);
  void keyPress(int form, int ascii);
  void mouseDown(int form);
  void help(int form);  // F1 on a form without a menu that offers it
  void formClick(int form);
  void close(int form);
  // The button Enter presses on the form with the element focused (0 for none): the
  // element number of the button, 0 when Enter presses none.
  int enterButton(int form, int focused) const;
  // One clock tick; says whether the timer still runs at the interval it had.
  bool tick(int id);
  // The form's key command at `index` of its description's keyCommands.
  void keyCommand(int form, int index);

  // ---- the execution history, read by the page's panel; counting its lines first lets a
  // new start clear it
  std::size_t historyLineCount() { return history_.lineCount(); }
  std::string historyLine(std::size_t index) { return history_.line(index); }
  bool historyIsEndLine(std::size_t index) { return history_.isEndLine(index); }
  // A number the page can hold exactly: it changes far more slowly than 2^53.
  double historyRevision() const { return static_cast<double>(history_.revision()); }
  bool historyCanStepBack() { return history_.canStepBack(); }
  void historyStepBack();
  void historyGoBackTo(std::size_t line);

  // ---- program text, for the page's panel (web_program_text.cpp)
  // How the text stands to memory, as the panel shows it: { runningLine (0 for none),
  // sendable, listable (Send to Memory and Show Listing may be pressed), status (the
  // panel's sentence) }.
  emscripten::val programTextState(const std::string& text);
  // Writes the text's program into memory as the windows' Send to Memory does, while the
  // input screen is shown; false when it cannot.
  bool sendProgramText(const std::string& text);
  std::string memoryListing();
  // The phase last performed, for the page's Phase panel: "T4 of LOAD", the transfer with
  // the value that moved, and the sentence, a line each; empty before the first phase.
  std::string phaseExplained();

  // ScreensObserver and FormObserver
  void formCreated(ui::Form& form) override;
  void formDestroyed(ui::Form& form) override;
  void elementChanged(ui::Element& element) override;
  void formChanged(ui::Form& form, FormEvent event) override;

 private:
  void deliver(const std::function<void()>& handler) { gate_.deliver(handler); }
  ui::Element* elementAt(int id) const;
  ui::Form* formAt(int id) const;
  template <class Sink>
  void describe(const Sink& set, int id, const ui::Element& e) const;
  bool drawnDifferently(int id);

  emscripten::val page_;
  WebPlatform platform_;
  Application app_{platform_};
  history::ExecutionHistory history_{app_};
  std::optional<storage::ByteTexts> programTextSent_;  // what sendProgramText wrote last
  frontend::EventGate gate_;
  WebExercise exercise_{platform_, app_.manual()};
  int nextId_ = 1;
  std::unordered_map<int, ui::Form*> forms_;
  std::unordered_map<const ui::Form*, int> formIds_;
  std::unordered_map<int, ui::Element*> elements_;
  std::unordered_map<const ui::Element*, int> elementIds_;
  std::unordered_map<int, ui::AccessibleParts> parts_;  // form number → its parts
  std::vector<int> created_, destroyed_, changed_;
  std::vector<std::pair<int, int>> formEvents_;
  std::unordered_set<int> pending_;             // element numbers already in changed_
  std::unordered_map<int, std::size_t> drawn_;  // element number → digest as last reported
};

}  // namespace volpar::web
