// The manual pages and the shell completions name every command and option
// that the programs' own --help lists, so that none is added without them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/ProgramRun.h"

namespace {

std::string SourceFile(const std::string& relative) {
  std::ifstream stream(std::string(VELMAR_SOURCE_DIR) + "/" + relative);
  std::ostringstream text;
  text << stream.rdbuf();
  return text.str();
}

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::istringstream stream(text);
  for (std::string part; std::getline(stream, part, separator);)
    if (!part.empty()) parts.push_back(part);
  return parts;
}

// What a usage lists: the first word of every line that starts with an
// option ("-h,--help" is two), and the commands under "Subcommands:".
struct Usage {
  std::vector<std::string> options;
  std::vector<std::string> commands;
};

Usage UsageOf(const std::string& help) {
  Usage usage;
  bool commands = false;
  for (const auto& line : Split(help, '\n')) {
    if (line.back() == ':') commands = line == "Subcommands:";
    if (line.rfind("  ", 0) != 0) continue;
    const std::string word = line.substr(2, line.find(' ', 2) - 2);
    if (word.starts_with("-")) {
      for (const auto& option : Split(word, ',')) usage.options.push_back(option);
    } else if (commands) {
      usage.commands.push_back(word);
    }
  }
  return usage;
}

// A name as troff spells it in a manual page (\-\-backup\-dir), followed by
// no more of a longer name.
bool ManualNames(const std::string& manual, const std::string& name) {
  std::string troff;
  for (char c : name) troff += c == '-' ? std::string("\\\\-") : std::string(1, c);
  return std::regex_search(manual, std::regex("(^|[^A-Za-z0-9-])" + troff + "($|[^A-Za-z0-9\\\\])"));
}

// The options bash offers after `command` (the "" case: before any).
std::vector<std::string> BashOptions(const std::string& completion, const std::string& command) {
  const std::string quoted = command.empty() ? "\"\"" : command;
  for (const auto& line : Split(completion, '\n')) {
    const auto close = line.find(") options=\"");
    if (close == std::string::npos) continue;
    std::vector<std::string> cases;
    for (const auto& name : Split(line.substr(0, close), '|'))
      cases.push_back(std::regex_replace(name, std::regex(" "), ""));
    if (std::find(cases.begin(), cases.end(), quoted) == cases.end()) continue;
    const auto start = close + 11;
    return Split(line.substr(start, line.find('"', start) - start), ' ');
  }
  return {};
}

struct Program {
  const char* name;
  const char* path;
  const char* command;  // "" for the program's own usage
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.name << " " << program.command; }

const char* const kCommands[] = {"card", "folder", "build", "sample", "undo", "backups", "inspect", "scan"};

std::vector<Program> Programs() {
  std::vector<Program> programs{{"velmar-restore", VELMAR_RESTORE, ""}};
  for (const char* command : kCommands) programs.push_back({"velmar-restore", VELMAR_RESTORE, command});
#ifdef VELMAR_RESTORER
  programs.push_back({"velmar-restorer", VELMAR_RESTORER, ""});
#endif
  return programs;
}

class Manual : public testing::TestWithParam<Program> {};

TEST_P(Manual, NamesEveryOptionOfTheUsageAndTheCompletionOffersIt) {
  const Program& program = GetParam();
  const auto run = TestSupport::RunProgram(program.path, std::string(program.command) + " --help");
  ASSERT_EQ(run.status, 0);
  const Usage usage = UsageOf(run.output);
  ASSERT_FALSE(usage.options.empty()) << run.output;
  const std::string manual = SourceFile(std::string("docs/man/") + program.name + ".1");
  for (const auto& option : usage.options) EXPECT_TRUE(ManualNames(manual, option)) << option;
  for (const auto& command : usage.commands)
    EXPECT_TRUE(std::regex_search(manual, std::regex("\\.TP\n\\.B[IR]? " + command + "\\b"))) << command;
  if (std::string(program.name) != "velmar-restore") return;

  // Every command has its case here, and each completion offers each option.
  if (!usage.commands.empty()) {
    for (const auto& command : usage.commands)
      EXPECT_NE(std::find(std::begin(kCommands), std::end(kCommands), command), std::end(kCommands)) << command;
    EXPECT_EQ(usage.commands.size(), std::size(kCommands));
  }
  const std::string bash = SourceFile("cli/completion/velmar-restore.bash");
  const std::string zsh = SourceFile("cli/completion/_velmar-restore");
  const auto offered = BashOptions(bash, program.command);
  std::smatch listed;
  ASSERT_TRUE(std::regex_search(bash, listed, std::regex("local commands=\"([^\"]*)\"")));
  const auto commands = Split(listed[1], ' ');
  for (const auto& command : usage.commands) {
    EXPECT_NE(std::find(commands.begin(), commands.end(), command), commands.end()) << "bash: " << command;
    EXPECT_NE(zsh.find("      " + command + "\\:\""), std::string::npos) << "zsh: " << command;
  }
  for (const auto& option : usage.options) {
    if (option == "-h" || option == "--help") continue;
    EXPECT_NE(std::find(offered.begin(), offered.end(), option), offered.end()) << "bash: " << option;
    EXPECT_NE(zsh.find(option + "["), std::string::npos) << "zsh: " << option;
  }
}

INSTANTIATE_TEST_SUITE_P(Usages, Manual, testing::ValuesIn(Programs()), [](const auto& info) {
  std::string name = std::string(info.param.name) + (*info.param.command ? "_" : "") + info.param.command;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

}  // namespace
