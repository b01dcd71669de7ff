// SPDX-License-Identifier: GPL-3.0-or-later
#include "assembly/program_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <map>

#include "assembly/text_lines.h"
#include "i18n/text.h"
#include "ui/quoted.h"

namespace volpar::assembly {
namespace {

using i18n::fill;
using i18n::tr;

constexpr int kBytes = storage::kProgramBytes;
constexpr int kOpInput = 3;
constexpr int kOpOutput = 4;

// A word of a line and the column it starts at.
struct Word {
  std::string_view text;
  int column = 0;
};

// One line taken apart: labels, then a statement and its operand, then anything left over.
struct Statement {
  std::vector<Word> labels;
  std::vector<Word> words;  // the statement, its operand and whatever follows
  int commentColumn = 0;    // 0: no comment
};

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool identStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool identChar(char c) { return identStart(c) || std::isdigit(static_cast<unsigned char>(c)); }
bool isIdentifier(std::string_view text) {
  return !text.empty() && identStart(text.front()) &&
         std::all_of(text.begin(), text.end(), identChar);
}

// A word ends at a blank or a ";", or just after a ":" so that "loop:LOAD" is two words.
Statement split(std::string_view line) {
  Statement s;
  std::size_t i = 0;
  while (i < line.size()) {
    if (isBlank(line[i])) {
      ++i;
      continue;
    }
    if (line[i] == ';') {
      s.commentColumn = static_cast<int>(i) + 1;
      break;
    }
    std::size_t end = i;
    while (end < line.size() && !isBlank(line[end]) && line[end] != ';' && line[end] != ':') ++end;
    if (end < line.size() && line[end] == ':') ++end;
    const Word word{line.substr(i, end - i), static_cast<int>(i) + 1};
    const bool label = word.text.ends_with(':') && s.words.empty();
    (label ? s.labels : s.words).push_back(word);
    i = end;
  }
  return s;
}

// Letters to change, add, drop or swap to turn one word into another, case ignored.
int distance(std::string_view a, std::string_view b) {
  const std::string x = upper(a), y = upper(b);
  std::vector<std::vector<int>> d(x.size() + 1, std::vector<int>(y.size() + 1));
  for (std::size_t i = 0; i <= x.size(); ++i) d[i][0] = static_cast<int>(i);
  for (std::size_t j = 0; j <= y.size(); ++j) d[0][j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= x.size(); ++i) {
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const int cost = x[i - 1] == y[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && x[i - 1] == y[j - 2] && x[i - 2] == y[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[x.size()][y.size()];
}

// The nearest of the names within two letters (one for short words), if any.
std::optional<std::string> nearest(std::string_view word, const std::vector<std::string>& names) {
  if (word.size() > 40) return std::nullopt;
  std::optional<std::string> best;
  int bestDistance = word.size() <= 3 ? 2 : 3;
  for (const std::string& name : names) {
    const std::size_t apart =
        name.size() > word.size() ? name.size() - word.size() : word.size() - name.size();
    if (apart >= static_cast<std::size_t>(bestDistance)) continue;
    const int d = distance(word, name);
    if (d < bestDistance) {
      bestDistance = d;
      best = name;
    }
  }
  return best;
}

// A word as a message quotes it, cut short if it is long.
std::string quote(std::string_view text) {
  constexpr std::size_t kLongest = 40;
  return text.size() <= kLongest ? ui::quoted(text) : ui::quoted(text.substr(0, kLongest)) + "...";
}

std::vector<std::string> statementNames() {
  std::vector<std::string> names(kMnemonics.begin(), kMnemonics.end());
  names.insert(names.end(), {"DATA", "ORG"});
  return names;
}

bool isReserved(std::string_view word) {
  const std::string u = upper(word);
  const std::vector<std::string> names = statementNames();
  return u == "BR" || std::find(names.begin(), names.end(), u) != names.end();
}

std::optional<int> opCodeOf(const std::string& name) {
  for (std::size_t k = 0; k < kMnemonics.size(); ++k) {
    if (kMnemonics[k] == name) return static_cast<int>(k);
  }
  return std::nullopt;
}

// A decimal number of digits only; anything too large to matter reads as the largest.
std::optional<std::uint64_t> decimal(std::string_view text) {
  if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
      }))
    return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() ? value : UINT64_MAX;
}

std::string bitsOf(int value) {
  std::string bits;
  for (int i = 7; i >= 0; --i) bits += ((value >> i) & 1) != 0 ? '1' : '0';
  return bits;
}

struct Label {
  int address;
  int line;
};

// A label an instruction uses, resolved once every line has been read.
struct Use {
  int address;
  int opCode;
  Word label;
  int line;
};

class Assembler {
 public:
  Assembly run(std::string_view text) {
    if (auto problem = storage::textProblem(text)) {
      add(0, 0, *problem);
      return finish();
    }
    std::fill(result_.lineOf.begin(), result_.lineOf.end(), 0);
    std::fill(bytes_.begin(), bytes_.end(), std::string(8, '0'));
    const std::vector<std::string_view> lines = splitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      line_ = static_cast<int>(i) + 1;
      readLine(split(lines[i]));
    }
    for (const Use& use : uses_) resolve(use);
    return finish();
  }

 private:
  // Problems beyond those that may be listed are kept only so far, then only counted: the
  // memory a text of many problems takes stays small.
  void add(int line, int column, std::string message) {
    if (problems_.size() >= kProblemsKept) {
      ++problemsDropped_;
      return;
    }
    problems_.push_back({line, column, std::move(message)});
  }
  bool suggesting() const { return problems_.size() < kMaxProblemsListed; }
  void add(const Word& at, std::string message) { add(line_, at.column, std::move(message)); }

  Assembly finish() {
    std::stable_sort(problems_.begin(), problems_.end(), [](const Problem& a, const Problem& b) {
      return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
    result_.problemsNotListed = problemsDropped_;
    if (problems_.size() > kMaxProblemsListed) {
      result_.problemsNotListed += problems_.size() - kMaxProblemsListed;
      problems_.resize(kMaxProblemsListed);
    }
    result_.problems = std::move(problems_);
    if (result_.problems.empty()) result_.bytes = bytes_;
    return std::move(result_);
  }

  // The labels name the next byte placed: on an ORG line, the address ORG sets.
  void readLine(const Statement& s) {
    const bool org = !s.words.empty() && upper(s.words[0].text) == "ORG";
    if (!org) {
      for (const Word& label : s.labels) define(label);
    }
    if (!s.words.empty()) readStatement(s);
    if (org) {
      for (const Word& label : s.labels) define(label);
    }
  }

  void readStatement(const Statement& s) {
    std::size_t at = 0;
    const Word name = s.words[at++];
    std::string op = upper(name.text);
    if (op == "BR" && at < s.words.size()) {
      const std::string condition = upper(s.words[at].text);
      if (condition == "NEG" || condition == "NNEG") {
        op += condition;
        ++at;
      }
    }
    const std::optional<Word> operand =
        at < s.words.size() ? std::optional<Word>(s.words[at++]) : std::nullopt;
    if (!statement(op, name, operand, s)) return;
    if (at < s.words.size()) {
      add(s.words[at], fill(tr("unexpected %1 after the operand; a comment starts with \";\""),
                            {quote(s.words[at].text)}));
    }
  }

  // False when the statement is not one: what follows it is then not looked at.
  bool statement(const std::string& op, const Word& name, const std::optional<Word>& operand,
                 const Statement& s) {
    if (op == "ORG") return org(name, operand), true;
    if (op == "DATA") return data(name, operand), true;
    if (auto opCode = opCodeOf(op)) return instruction(*opCode, name, operand), true;
    unknown(name, s);
    return false;
  }

  void unknown(const Word& name, const Statement& s) {
    std::string message = fill(tr("%1 is not an instruction"), {quote(name.text)}) + "; ";
    if (upper(name.text) == "BR") {
      message += tr("write BR Neg or BR NNeg, or BRANCH to branch always");
    } else if (isIdentifier(name.text) && s.words.size() > 1 && s.labels.empty() &&
               isReserved(s.words[1].text)) {
      // TRANSLATORS: %1 is the word written, shown as a label: "loop:".
      message += fill(tr("a label ends with \":\" (%1:)"), {name.text.substr(0, 40)});
    } else if (auto guess = nearest(name.text, statementNames())) {
      message += fill(tr("did you mean %1?"), {*guess});
    } else {
      message += tr("the instructions are ADD, LOAD, STORE, INPUT, OUTPUT, BRANCH, BRNEG, BRNNEG");
    }
    add(name, message);
  }

  void define(const Word& word) {
    const std::string_view name = word.text.substr(0, word.text.size() - 1);
    if (!isIdentifier(name)) {
      add(word, fill(tr("%1 is not a label: a label starts with a letter or \"_\" and holds "
                        "only letters, digits and \"_\""),
                     {quote(name)}));
    } else if (isReserved(name)) {
      add(word, fill(tr("%1 is an instruction's name and cannot be a label"), {quote(name)}));
    } else if (auto [it, added] = labels_.try_emplace(std::string(name), Label{next_, line_});
               !added) {
      add(word, fill(tr("the label %1 is already defined on line %2"),
                     {quote(name), std::to_string(it->second.line)}));
    }
  }

  std::optional<int> address(const Word& word, std::string_view what) {
    const auto value = decimal(word.text);
    if (!value) {
      add(word, fill(tr(what), {quote(word.text)}));
      return std::nullopt;
    }
    if (*value >= static_cast<std::uint64_t>(kBytes)) {
      add(word,
          fill(tr("address %1 does not exist: addresses are 0 to 31"), {word.text.substr(0, 40)}));
      return std::nullopt;
    }
    return static_cast<int>(*value);
  }

  void org(const Word& name, const std::optional<Word>& operand) {
    if (!operand) return add(name, std::string(tr("ORG needs an address: 0 to 31")));
    if (auto at =
            address(*operand, i18n::mark("%1 is not an address: ORG needs a number from 0 to 31")))
      next_ = *at;
  }

  void data(const Word& name, const std::optional<Word>& operand) {
    if (!operand)
      return add(
          name, std::string(
                    tr("DATA needs a value: 0 to 255, -128 to -1, or 0b and eight of 0, 1 and x")));
    if (auto bits = dataBits(*operand)) place(name, *bits);
  }

  std::optional<std::string> dataBits(const Word& word) {
    const std::string_view v = word.text;
    if (v.size() > 2 && (v.starts_with("0b") || v.starts_with("0B"))) {
      const std::string_view bits = v.substr(2);
      if (bits.size() == 8 && bits.find_first_not_of("01x") == std::string_view::npos)
        return std::string(bits);
      add(word, fill(tr("%1 is not a byte: after 0b come eight of 0, 1 and x"), {quote(v)}));
      return std::nullopt;
    }
    const bool negative = v.starts_with('-');
    const auto value = decimal(negative ? v.substr(1) : v);
    if (value && (negative ? *value >= 1 && *value <= 128 : *value <= 255))
      return bitsOf(negative ? 256 - static_cast<int>(*value) : static_cast<int>(*value));
    const bool number = v.find_first_not_of("-0123456789") == std::string_view::npos;
    // TRANSLATORS: %1 is what was written: "DATA 300", or a quoted word.
    add(word,
        fill(tr("%1 is not a byte: write 0 to 255, -128 to -1, or 0b and eight of 0, 1 and x"),
             {number ? "DATA " + std::string(v.substr(0, 40)) : quote(v)}));
    return std::nullopt;
  }

  void instruction(int opCode, const Word& name, const std::optional<Word>& operand) {
    const std::string mnemonic(kMnemonics[static_cast<std::size_t>(opCode)]);
    int target = 0;
    if (!operand) {
      if (opCode != kOpInput && opCode != kOpOutput)
        return add(name, fill(tr("%1 needs an address: 0 to 31 or a label"), {mnemonic}));
    } else if (isIdentifier(operand->text) && !isReserved(operand->text)) {
      uses_.push_back({next_, opCode, *operand, line_});
    } else if (auto at = address(*operand,
                                 i18n::mark("%1 is not an address: write 0 to 31 or a label"))) {
      target = *at;
    } else {
      return;
    }
    place(name, bitsOf(opCode * 32 + target));
  }

  void place(const Word& at, const std::string& bits) {
    if (next_ >= kBytes) {
      return add(at, fill(tr("more than 32 bytes: this one would go to address %1"),
                          {std::to_string(next_)}));
    }
    const auto i = static_cast<std::size_t>(next_);
    if (result_.lineOf[i] != 0) {
      return add(at, fill(tr("address %1 is placed twice: line %2 placed it already"),
                          {std::to_string(next_), std::to_string(result_.lineOf[i])}));
    }
    result_.lineOf[i] = line_;
    bytes_[i] = bits;
    ++next_;
  }

  void resolve(const Use& use) {
    const auto found = labels_.find(std::string(use.label.text));
    if (found == labels_.end()) {
      std::string message = fill(tr("unknown label %1"), {quote(use.label.text)});
      if (suggesting()) {
        if (labelNames_.empty()) {
          for (const auto& [name, label] : labels_) labelNames_.push_back(name);
        }
        if (auto guess = nearest(use.label.text, labelNames_))
          message += "; " + fill(tr("did you mean %1?"), {*guess});
      }
      return add(use.line, use.label.column, message);
    }
    if (found->second.address >= kBytes) {
      return add(use.line, use.label.column,
                 fill(tr("the label %1 stands after address 31 and names no byte"),
                      {quote(use.label.text)}));
    }
    if (use.address < kBytes && result_.lineOf[static_cast<std::size_t>(use.address)] == use.line)
      bytes_[static_cast<std::size_t>(use.address)] =
          bitsOf(use.opCode * 32 + found->second.address);
  }

  static constexpr std::size_t kProblemsKept = 10 * kMaxProblemsListed;

  Assembly result_;
  std::vector<Problem> problems_;
  std::size_t problemsDropped_ = 0;
  storage::ByteTexts bytes_;
  std::map<std::string, Label> labels_;
  std::vector<std::string> labelNames_;  // for suggestions, once all are defined
  std::vector<Use> uses_;
  int next_ = 0;
  int line_ = 0;
};

}  // namespace

std::string problemText(const Problem& problem) {
  if (problem.line == 0) return problem.message;
  return fill(tr("line %1, column %2: %3"),
              {std::to_string(problem.line), std::to_string(problem.column), problem.message});
}

Assembly assemble(std::string_view text) { return Assembler().run(text); }

std::string problemsText(const Assembly& assembly) {
  std::string text;
  for (const Problem& p : assembly.problems) text += problemText(p) + "\n";
  if (assembly.problemsNotListed > 0)
    text += fill(i18n::trn("and %1 more problem", "and %1 more problems",
                           static_cast<long>(assembly.problemsNotListed)),
                 {std::to_string(assembly.problemsNotListed)}) +
            "\n";
  return text;
}

std::vector<Token> lineTokens(std::string_view line) {
  const Statement s = split(line);
  std::vector<Token> tokens;
  const auto push = [&](TokenKind kind, const Word& w) {
    tokens.push_back({kind, w.column, static_cast<int>(w.text.size())});
  };
  for (const Word& w : s.labels) push(TokenKind::Label, w);
  for (std::size_t i = 0; i < s.words.size(); ++i) {
    const bool mnemonic = i == 0 || (i == 1 && upper(s.words[0].text) == "BR");
    push(mnemonic ? TokenKind::Mnemonic : TokenKind::Operand, s.words[i]);
  }
  if (s.commentColumn > 0) {
    tokens.push_back(
        {TokenKind::Comment, s.commentColumn, static_cast<int>(line.size()) - s.commentColumn + 1});
  }
  return tokens;
}

}  // namespace volpar::assembly
