// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "machine/REXEC_Manual.h"
#include "screens/screens.h"
#include "ui/form.h"
#include "ui/platform.h"

namespace volpar {

// Told when a screen comes into existence and when it is destroyed, so that a renderer
// can open and close its window.
class ScreensObserver {
 public:
  virtual ~ScreensObserver() = default;
  virtual void formCreated(ui::Form& form) = 0;
  virtual void formDestroyed(ui::Form& form) = 0;
};

// The running program: owns the three screens and the code module.
class Application : public Screens {
 public:
  explicit Application(ui::Platform& platform);
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Program start: creates the welcome screen, whose load step prepares the others, and
  // shows it in front.
  void start();

  REXEC& rexec() override;
  DERAZO_Input& derazoInput() override;
  Initial_Screen& initialScreen() override;
  void unloadRexec() override;
  void unloadDerazoInput() override;
  void unloadInitialScreen() override;
  REXEC_Manual& manual() override { return manual_; }
  // The system, as the screens see it: ending the program is also noted here.
  ui::Platform& platform() override { return platform_; }

  // True once Quit, File > Exit or closing a window has ended the program: the windows
  // deliver no further event after it.
  bool programEnded() const { return platform_.ended; }

  // The screens that exist now, without creating any.
  REXEC* existingRexec() const { return rexec_.get(); }
  DERAZO_Input* existingDerazoInput() const { return input_.get(); }
  Initial_Screen* existingInitialScreen() const { return initial_.get(); }

  // The execution and input screens as forms, where they exist: for a front end that
  // places its own windows beside them.
  ui::Form* executionForm() const;
  ui::Form* inputForm() const;
  // The machine's whole state in plain text (Read machine state, F3), or what there is to
  // know while the execution screen has not been opened.
  std::string machineSummary() const;

  // Speaks another language from now on: the open screens recompose their own texts; the
  // front end then redraws every window. False, and no change, for a language VOLPAR does
  // not have.
  bool setLanguage(std::string_view code);

  // Opens a program file as File > Open would, once the input screen exists; nothing
  // before.
  void openProgramFile(const std::string& path);
  // Puts a program's 32 bytes into memory as Open would (asking first about an unsaved
  // one), unsaved and unnamed, once the input screen exists; nothing before.
  void openProgram(const std::array<std::string, 32>& bytes);

  // Destroys the screens discarded during the event that just finished. The event loop
  // (or a test) calls it between events, never from inside a handler.
  void collectRetired() {
    if (!retired_.empty()) destroyRetired();
  }

  // A renderer and the execution history both listen.
  void addObserver(ScreensObserver* observer) { observers_.push_back(observer); }
  void removeObserver(ScreensObserver* observer) { std::erase(observers_, observer); }

 private:
  template <class F>
  F& created(std::unique_ptr<F>& form, void (F::*load)() = nullptr);
  template <class F>
  [[gnu::cold, gnu::noinline]] void create(std::unique_ptr<F>& form, void (F::*load)());
  template <class F>
  void retire(std::unique_ptr<F>& form);
  void destroyRetired();

  // Passes every request on to the real platform, noting the end of the program.
  class EndNotingPlatform : public ui::Platform {
   public:
    explicit EndNotingPlatform(ui::Platform& system) : system_(system) {}
    void MsgBox(const std::string& text, const std::string& title) override {
      system_.MsgBox(text, title);
    }
    bool ShowOpen(ui::CommonDialog& dialog) override { return system_.ShowOpen(dialog); }
    bool ShowSave(ui::CommonDialog& dialog) override { return system_.ShowSave(dialog); }
    std::string executableDirectory() override { return system_.executableDirectory(); }
    std::string documentsDirectory() override { return system_.documentsDirectory(); }
    void showHelp(const std::string& file, int context) override {
      system_.showHelp(file, context);
    }
    ui::Version version() override { return system_.version(); }
    SaveAnswer askToSave(const std::string& text, const std::string& title) override {
      return system_.askToSave(text, title);
    }
    bool offersHistory() override { return system_.offersHistory(); }
    void showHistory() override { system_.showHistory(); }
    void stepBack() override { system_.stepBack(); }
    bool offersExercise() override { return system_.offersExercise(); }
    void openExercise() override { system_.openExercise(); }
    void endProgram() override {
      ended = true;
      system_.endProgram();
    }
    bool ended = false;

   private:
    ui::Platform& system_;
  };

  EndNotingPlatform platform_;
  REXEC_Manual manual_{*this};
  std::unique_ptr<Initial_Screen> initial_;
  std::unique_ptr<DERAZO_Input> input_;
  std::unique_ptr<REXEC> rexec_;
  std::vector<std::unique_ptr<ui::Form>> retired_;

  std::vector<ScreensObserver*> observers_;
};

}  // namespace volpar
