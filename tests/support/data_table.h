// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace volpar::testing {

// Cases kept as text under tests/data: one case a line, its fields parted by " ; ", with
// blank lines and lines that start with '#' left out.
using Row = std::vector<std::string>;

inline std::vector<Row> readTable(const std::string& name) {
  std::ifstream in(std::string(VOLPAR_TEST_DATA) + "/" + name);
  EXPECT_TRUE(in) << name;
  std::vector<Row> rows;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    Row& row = rows.emplace_back();
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 3) {
      end = line.find(" ; ", at);
      row.push_back(line.substr(at, end - at));
    }
  }
  return rows;
}

// A field with C escapes (\n \r \t \0 \\ \xHH) as the bytes it stands for.
inline std::string unescape(const std::string& field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c != '\\' || i + 1 == field.size()) {
      out += c;
      continue;
    }
    const char e = field[++i];
    if (e == 'x') {
      out += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e == '0' ? '\0' : e;
    }
  }
  return out;
}

// `seen` against the golden file `name` under tests/data; with VOLPAR_UPDATE_GOLDEN=1 the
// file is written from `seen` instead, to be read over before it is committed.
inline void expectGolden(const std::string& name, const std::string& seen) {
  const std::string path = std::string(VOLPAR_TEST_DATA) + "/" + name;
  if (std::getenv("VOLPAR_UPDATE_GOLDEN")) {
    std::ofstream(path, std::ios::binary) << seen;
    return;
  }
  std::ostringstream golden;
  golden << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(seen, golden.str()) << "golden file " << path;
}

}  // namespace volpar::testing
