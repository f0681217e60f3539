#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <vector>

// Each command of velmar-restore lives in its own file and registers itself
// with a static `Command` object, so that main.cpp never has to list them:
//
//   static const Command inspect([](CLI::App& app) { ... app.add_subcommand(...) ... });
//
// A command sets `ExitCode()` in its callback; main returns it.
class Command {
 public:
  using Setup = std::function<void(CLI::App& app)>;
  explicit Command(Setup setup) { Registry().push_back(std::move(setup)); }

  static std::vector<Setup>& Registry() {
    static std::vector<Setup> setups;
    return setups;
  }
  // The exit status main returns (cli/ExitStatus.h).
  static int& ExitCode() {
    static int code = 0;
    return code;
  }
};
