// SPDX-License-Identifier: GPL-3.0-or-later
// The program-file procedures of the code module: the memory grid to and from a file.
#include <cstddef>

#include "i18n/text.h"
#include "machine/REXEC_Manual.h"
#include "screens/input/DERAZO_Input.h"
#include "screens/screens.h"
#include "storage/file_io.h"
#include "storage/program_file_text.h"
#include "ui/quoted.h"

namespace volpar {
namespace {

std::string saveFailure(const std::string& path, const storage::WriteProblem& problem) {
  return i18n::fill(problem.fileChanged
                        ? i18n::tr("The program could not be saved to %1.\nReason: %2.\nThe file "
                                   "may be damaged: check it before you use it.")
                        : i18n::tr("The program could not be saved to %1.\nReason: %2.\nNothing "
                                   "on disk was changed."),
                    {ui::quoted(path), problem.reason});
}

// Why the program cannot be saved to path, or nothing once it is saved. An existing file
// is edited, not overwritten: its other sections, keys and comments stay.
std::optional<storage::WriteProblem> saveProblem(const std::string& path,
                                                 const storage::ByteTexts& bytes) {
  using storage::WriteProblem;
  storage::FileContents existing = storage::readWholeFile(path, storage::kMaxProgramFileBytes);
  if (existing.status == storage::FileContents::Status::Failed)
    return WriteProblem{existing.problem};
  if (existing.status == storage::FileContents::Status::Read) {
    if (auto problem = storage::textProblem(existing.bytes)) return WriteProblem{*problem};
  }
  const std::string saved = storage::writeProgram(std::move(existing.bytes), bytes);
  if (auto problem = storage::sizeProblem(
          saved.size(),
          i18n::mark("Saved, it would be larger than %1 MiB, far too large for a program file")))
    return WriteProblem{*problem};
  return storage::replaceFile(path, saved);
}

}  // namespace

std::optional<std::string> REXEC_Manual::Save_Program_File(const std::string& path) {
  Program_File_Name = path;
  if (auto problem = saveProblem(Program_File_Name, memoryBytes()))
    return saveFailure(Program_File_Name, *problem);
  return std::nullopt;
}

std::optional<std::string> REXEC_Manual::Load_Program_File(const std::string& path) {
  Program_File_Name = path;
  const storage::FileContents file =
      storage::readWholeFile(Program_File_Name, storage::kMaxProgramFileBytes);
  if (file.status != storage::FileContents::Status::Read)
    return storage::loadFailureMessage(Program_File_Name, file.problem);
  const storage::ParsedProgram program = storage::parseProgram(file.bytes);
  if (!program.bytes) return storage::loadFailureMessage(Program_File_Name, program.problem);
  // The whole file is read before the first cell changes: a load happens entirely or not at all.
  for (std::int16_t address = 0; address < storage::kProgramBytes; ++address) {
    Text_To_Memory_Byte(address, (*program.bytes)[static_cast<std::size_t>(address)]);
  }
  return std::nullopt;
}

std::string REXEC_Manual::Memory_Byte_To_Text(std::int16_t address) {
  DERAZO_Input& input = screens_.derazoInput();
  std::string text;
  for (int bit = 1; bit <= storage::kBitsPerByte; ++bit) {
    text += storage::bitText(input.Shape1(storage::kBitsPerByte * address + bit).FillColor());
  }
  return text;
}

storage::ByteTexts REXEC_Manual::memoryBytes() {
  storage::ByteTexts bytes;
  for (std::int16_t address = 0; address < storage::kProgramBytes; ++address) {
    bytes[static_cast<std::size_t>(address)] = Memory_Byte_To_Text(address);
  }
  return bytes;
}

void REXEC_Manual::Text_To_Memory_Byte(std::int16_t address, const std::string& text) {
  DERAZO_Input& input = screens_.derazoInput();
  for (int bit = 1; bit <= storage::kBitsPerByte; ++bit) {
    input.Shape1(storage::kBitsPerByte * address + bit).setFillColor(storage::bitColor(text, bit));
  }
}

}  // namespace volpar
