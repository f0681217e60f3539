#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace TestSupport {

struct ProgramRun {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string output;
};

// Runs `program` with `arguments` as a user in a script would: English
// texts, no terminal, no input, standard output captured, errors dropped.
inline ProgramRun RunProgram(const std::string& program, const std::string& arguments) {
  const std::string command = "LANG=C LC_ALL= " + program + " " + arguments + " </dev/null 2>/dev/null";
  ProgramRun run;
  std::FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, got);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace TestSupport
