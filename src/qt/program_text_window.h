// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>

#include "app/application.h"
#include "assembly/program_text.h"
#include "frontend/reading_windows.h"
#include "qt/event_gate.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSyntaxHighlighter;

namespace volpar::qt {

// A text editor with the line numbers in a margin at its left.
class NumberedEditor : public QPlainTextEdit {
 public:
  explicit NumberedEditor(QWidget* parent);
  int marginWidth() const;
  void paintMargin(QPaintEvent* event);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* margin_;
};

// The "VOLPAR Program Text" window: the program in memory as text, with labels and
// comments. Its text is read as the user types; the problems are underlined where they
// are and listed below. Send to Memory writes the whole program into memory, as a program
// typed in. While memory holds what the text says, the text stays as written, and while
// the machine runs, the line of the instruction under way is marked; when memory changes
// otherwise, the window says so and offers the listing of memory as it is.
class ProgramTextWindow : public QWidget {
 public:
  static constexpr int kRefreshMs = frontend::kProgramTextRefreshMs;

  ProgramTextWindow(Application& app, EventGate& gate);

  // Shows the window in front; the first time with the listing of memory.
  void open();
  // Reads memory and the machine now.
  void refresh();
  // An event has finished and may have changed memory: read it soon.
  // The problems and the status read again in the language now in use.
  void languageChanged();
  void eventFinished();

  NumberedEditor* editor() const { return editor_; }
  QListWidget* problems() const { return problems_; }
  QLabel* status() const { return status_; }
  QPushButton* sendButton() const { return send_; }
  QPushButton* listingButton() const { return listing_; }
  // The line marked as the instruction under way, or 0.
  int runningLine() const { return runningLine_; }

  void sendToMemory();
  void showListing();
  // Reads program text, or a program file as its listing, into the editor.
  bool loadFile(const std::string& path);
  bool saveFile(const std::string& path);

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void textEdited();
  void listProblems();
  void markText();
  void openDialog();
  void saveDialog();

  Application& app_;
  EventGate& gate_;
  NumberedEditor* editor_;
  QListWidget* problems_;
  QLabel* status_;
  QPushButton* send_;
  QPushButton* listing_;
  QSyntaxHighlighter* highlighter_ = nullptr;
  assembly::Assembly assembly_;
  std::optional<storage::ByteTexts> sent_;  // what Send to Memory wrote last
  int runningLine_ = 0;
  bool filled_ = false;
  QTimer frame_;
};

}  // namespace volpar::qt
