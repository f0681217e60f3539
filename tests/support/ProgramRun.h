#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace TestSupport {

// `path` in single quotes, one word of a shell command. Built by appending:
// "'" + path + "'" makes GCC 12 at -O3 warn of an overlapping copy that
// cannot happen (-Wrestrict).
inline std::string Quoted(const std::filesystem::path& path) {
  std::string word(1, '\'');
  word += path.string();
  word += '\'';
  return word;
}

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

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace TestSupport {

// The program run as a user at a console answers it: its questions are read
// as they come (standard output and error together), answers are typed in
// when the test has done what the question asks for.
class ProgramConversation {
 public:
  // With `terminal` the program runs on a terminal of its own, as at a
  // console (it then asks what it asks people only).
  ProgramConversation(const std::string& program, const std::vector<std::string>& arguments, bool terminal = false) {
    int input[2] = {-1, -1};
    int output[2] = {-1, -1};
    if (terminal) {
      const int master = posix_openpt(O_RDWR | O_NOCTTY);
      if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
      input[1] = master;
      output[0] = dup(master);
    } else if (pipe(input) != 0 || pipe(output) != 0) {
      return;
    }
    const std::string terminalName = terminal ? ptsname(input[1]) : "";
    pid_ = fork();
    if (pid_ == 0) {
      if (terminal) {
        setsid();
        input[0] = output[1] = open(terminalName.c_str(), O_RDWR);
      }
      dup2(input[0], STDIN_FILENO);
      dup2(output[1], STDOUT_FILENO);
      dup2(output[1], STDERR_FILENO);
      for (int fd : {input[0], input[1], output[0], output[1]}) {
        if (fd > STDERR_FILENO) close(fd);
      }
      setenv("LANG", "C", 1);
      unsetenv("LC_ALL");
      std::vector<char*> argv{const_cast<char*>(program.c_str())};
      for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    if (!terminal) {
      close(input[0]);
      close(output[1]);
    }
    terminal_ = terminal;
    input_ = input[1];
    output_ = output[0];
  }
  ~ProgramConversation() {
    if (pid_ > 0 && status_ == -2) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    for (int fd : {input_, output_}) {
      if (fd >= 0) close(fd);
    }
  }
  ProgramConversation(const ProgramConversation&) = delete;
  ProgramConversation& operator=(const ProgramConversation&) = delete;

  // Reads until the output after the text found last holds `text`; false
  // when the program ends without it (or stays silent for a minute).
  bool WaitFor(const std::string& text) {
    while (true) {
      const auto found = output.find(text, searchFrom_);
      if (found != std::string::npos) {
        searchFrom_ = found + text.size();
        return true;
      }
      if (!ReadSome()) return false;
    }
  }
  // Types `line` and Enter.
  void Send(const std::string& line) {
    const std::string typed = line + "\n";
    if (write(input_, typed.data(), typed.size()) != static_cast<ssize_t>(typed.size())) return;
  }
  // Ends the input, reads the rest and returns the exit status (-1 when the
  // program did not exit normally).
  int Finish() {
    if (!terminal_) {  // a terminal stays open: closing it would hang up
      close(input_);
      input_ = -1;
    }
    while (ReadSome()) {
    }
    int status = 0;
    waitpid(pid_, &status, 0);
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return status_;
  }

  std::string output;

 private:
  bool ReadSome() {
    pollfd wait{output_, POLLIN, 0};
    if (output_ < 0 || poll(&wait, 1, 60000) <= 0) return false;
    char buffer[4096];
    const ssize_t got = read(output_, buffer, sizeof buffer);
    if (got <= 0) return false;
    output.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  pid_t pid_ = -1;
  bool terminal_ = false;
  int input_ = -1;
  int output_ = -1;
  int status_ = -2;  // still running
  std::size_t searchFrom_ = 0;
};

}  // namespace TestSupport
