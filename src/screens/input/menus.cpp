// SPDX-License-Identifier: GPL-3.0-or-later
#include <array>
#include <filesystem>
#include <optional>
#include <string>

#include "assembly/program_text.h"
#include "assembly/text_lines.h"
#include "i18n/text.h"
#include "machine/REXEC_Manual.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "storage/file_io.h"
#include "storage/program_file_text.h"
#include "ui/platform.h"
#include "ui/quoted.h"

namespace volpar {
namespace {

// TRANSLATORS: the file dialogs' filter: a name, then "|" and the pattern, which stays as it is.
constexpr const char* kProgramFileFilter = i18n::mark("Text file (*.txt)|*.txt");

// Where the dialogs start: where the last program file was loaded or saved; before that
// in the executable's folder when the user may write there (not in a system folder), else
// in the user's documents.
std::string startFolder(ui::Platform& platform, const std::string& lastFolder) {
  if (!lastFolder.empty()) return lastFolder;
  const std::string folder = platform.executableDirectory();
  return storage::mayWriteFolder(folder) ? folder : platform.documentsDirectory();
}

// The dialog keeps the file name last chosen; everything else is set for each use.
void setUpDialog(ui::CommonDialog& dialog, Screens& screens, bool save) {
  dialog.Filter = i18n::tr(kProgramFileFilter);
  dialog.DefaultExt = ".txt";
  dialog.PathMustExist = true;
  dialog.OverwritePrompt = save;
  dialog.InitDir = startFolder(screens.platform(), screens.manual().lastProgramFolder);
}

std::string folderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

void reportFailure(ui::Platform& platform, const std::optional<std::string>& failure) {
  if (failure) platform.MsgBox(*failure, std::string(i18n::tr(storage::kProgramFileTitle)));
}

// The content of a file that holds program text rather than a program file; nothing for a
// program file or a file that cannot be read, which the program-file load reports.
std::optional<std::string> programTextAt(const std::string& path) {
  storage::FileContents file = storage::readWholeFile(path, storage::kMaxProgramFileBytes);
  if (file.status != storage::FileContents::Status::Read || !assembly::isProgramText(file.bytes))
    return std::nullopt;
  return std::move(file.bytes);
}

std::string textFailureMessage(const std::string& path, const assembly::Assembly& assembled) {
  return i18n::fill(i18n::tr("The program text %1 could not be loaded.\n"), {ui::quoted(path)}) +
         assembly::problemsText(assembled) + std::string(i18n::tr("The memory was not changed."));
}

}  // namespace

// An unsaved program is not replaced without the question; a cancelled dialog loads nothing.
void DERAZO_Input::Open_menu_Click() {
  if (!mayDiscardProgram(Discarding::ByOpening)) return;
  ui::Platform& platform = screens_.platform();
  setUpDialog(CommonDialog1, screens_, false);
  if (!platform.ShowOpen(CommonDialog1)) return;
  openProgramFile(CommonDialog1.FileName);
}

// The next Open or Save offers this file, as after a choice in the dialog. Program text is
// a program typed in: Save, which writes program files, asks for a name of its own.
void DERAZO_Input::openProgramFile(const std::string& path) {
  CommonDialog1.FileName = path;
  if (const std::optional<std::string> text = programTextAt(path)) {
    const assembly::Assembly assembled = assembly::assemble(*text);
    if (!assembled.bytes)
      return reportFailure(screens_.platform(), textFailureMessage(path, assembled));
    placeProgram(*assembled.bytes);
    screens_.manual().lastProgramFolder = folderOf(path);
    return;
  }
  const std::optional<std::string> failure = screens_.manual().Load_Program_File(path);
  reportFailure(screens_.platform(), failure);
  if (failure) return;
  noteMemoryKept();
  screens_.manual().lastProgramFolder = folderOf(path);
}

// The user's own program now, unsaved: leaving it asks first, as after Send to Memory.
void DERAZO_Input::openProgram(const storage::ByteTexts& bytes) {
  if (mayDiscardProgram(Discarding::ByOpening)) placeProgram(bytes);
}

void DERAZO_Input::placeProgram(const storage::ByteTexts& bytes) {
  for (std::int16_t address = 0; address < storage::kProgramBytes; ++address) {
    screens_.manual().Text_To_Memory_Byte(address, bytes[static_cast<std::size_t>(address)]);
  }
  CommonDialog1.FileName.clear();
  userMemory_ = memoryColors();
}

void DERAZO_Input::save_menu_Click() { saveProgram(); }

// A cancelled dialog saves nothing.
bool DERAZO_Input::saveProgram() {
  ui::Platform& platform = screens_.platform();
  setUpDialog(CommonDialog1, screens_, true);
  if (!platform.ShowSave(CommonDialog1)) return false;
  const std::optional<std::string> failure =
      screens_.manual().Save_Program_File(CommonDialog1.FileName);
  reportFailure(platform, failure);
  if (failure) return false;
  noteMemoryKept();
  screens_.manual().lastProgramFolder = folderOf(CommonDialog1.FileName);
  return true;
}

// Memory a running program stored into is said to be so: saving it over the program file
// would keep the run's data in place of the program as typed.
// Each question is one whole sentence, for each way of leaving the program behind.
bool DERAZO_Input::mayDiscardProgram(Discarding why) {
  const std::vector<ui::Color> memory = memoryColors();
  if (memory == savedMemory_) return true;
  static constexpr std::array<std::array<const char*, 2>, 3> kQuestions{{
      {i18n::mark("Save the program in memory before opening another program?"),
       i18n::mark("Memory was changed by the running program. Save memory as it is now, with the "
                  "values the program stored, before opening another program?")},
      {i18n::mark("Save the program in memory before quitting?"),
       i18n::mark("Memory was changed by the running program. Save memory as it is now, with the "
                  "values the program stored, before quitting?")},
      {i18n::mark("Save the program in memory before restarting?"),
       i18n::mark("Memory was changed by the running program. Save memory as it is now, with the "
                  "values the program stored, before restarting?")},
  }};
  const auto& questions = kQuestions[static_cast<std::size_t>(why)];
  const std::string question(i18n::tr(questions[memory == userMemory_ ? 0 : 1]));
  using Answer = ui::Platform::SaveAnswer;
  switch (
      screens_.platform().askToSave(question, std::string(i18n::tr(storage::kProgramFileTitle)))) {
    case Answer::DontSave: return true;
    case Answer::Save: return saveProgram();
    case Answer::Cancel: break;
  }
  return false;
}

void DERAZO_Input::endProgramAfterAsking() {
  if (mayDiscardProgram(Discarding::ByQuitting)) screens_.platform().endProgram();
}

void DERAZO_Input::exit_menu_Click() { endProgramAfterAsking(); }

void DERAZO_Input::file_menu_Click() {}

void DERAZO_Input::cont_menu_Click() {
  screens_.platform().showHelp(kHelpFile, cont_menu.HelpContextID());
}

void DERAZO_Input::history_menu_Click() { screens_.platform().showHistory(); }

void DERAZO_Input::exercise_menu_Click() { screens_.platform().openExercise(); }

void DERAZO_Input::Command_Code_Info_Click() {
  Code_frame.setVisible(true);
  Command_Code_Close.setVisible(true);
  Command_Code_Close.SetFocus();
  for (ui::Label* label :
       {&Label_Description_ADD, &Label_Description_LOAD, &Label_Description_STORE,
        &Label_Description_INPUT, &Label_Description_OUTPUT, &Label_Description_BRANCH,
        &Label_Description_BR_NN, &Label_Description_BR_NEG}) {
    label->setVisible(true);
  }
}

void DERAZO_Input::Command_Code_Close_Click() {
  Code_frame.setVisible(false);
  Command_Execute_Program.SetFocus();
}

}  // namespace volpar
