// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/similarity.h"

#include <array>
#include <cstdint>
#include <map>

namespace volpar::exercise {
namespace {

using Image = std::array<int, storage::kProgramBytes>;

// The bytes as the machine reads them: "x" and a missing bit are 0, any other mark 1.
Image imageOf(const storage::ByteTexts& bytes) {
  Image image{};
  for (std::size_t a = 0; a < image.size(); ++a) {
    for (int bit = 1; bit <= storage::kBitsPerByte; ++bit) {
      image[a] = image[a] * 2 + (storage::bitColor(bytes[a], bit) == ui::kYellow);
    }
  }
  return image;
}

// The addresses an instruction was fetched from in any test.
std::uint32_t codeOf(const ProgramResult& result) {
  std::uint32_t code = 0;
  for (const TestResult& t : result.tests) code |= t.got.fetchedFrom;
  return code;
}

template <class Key>
using Groups = std::map<Key, std::vector<std::size_t>>;

void addGroups(const auto& groups, bool identical, const std::vector<ProgramResult>& results,
               std::vector<SimilarGroup>& out, std::map<std::size_t, std::size_t>* sizeOf) {
  for (const auto& [key, members] : groups) {
    if (members.size() < 2) continue;
    if (sizeOf && (*sizeOf)[members.front()] == members.size()) continue;  // listed already
    SimilarGroup group{identical, {}};
    for (std::size_t i : members) group.programs.push_back(results[i].program);
    out.push_back(std::move(group));
  }
}

}  // namespace

std::vector<SimilarGroup> similarPrograms(const std::vector<ProgramResult>& results) {
  Groups<Image> same;
  Groups<std::pair<std::uint32_t, Image>> sameCode;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (!results[i].program->bytes) continue;
    const Image image = imageOf(*results[i].program->bytes);
    same[image].push_back(i);
    const std::uint32_t code = codeOf(results[i]);
    if (code == 0) continue;
    Image codeBytes{};
    for (std::size_t a = 0; a < image.size(); ++a) codeBytes[a] = (code >> a) & 1 ? image[a] : 0;
    sameCode[{code, codeBytes}].push_back(i);
  }
  std::vector<SimilarGroup> groups;
  addGroups(same, true, results, groups, nullptr);
  std::map<std::size_t, std::size_t> identicalSize;
  for (const auto& [image, members] : same) {
    for (std::size_t i : members) identicalSize[i] = members.size();
  }
  addGroups(sameCode, false, results, groups, &identicalSize);
  return groups;
}

}  // namespace volpar::exercise
