#pragma once

// The exit statuses of velmar-restore, the same for every command: scripts
// rely on them (and the manual, the README and --help list them).
namespace ExitStatus {

constexpr int kDone = 0;       // nothing to repair, repaired, undone; a file that reads as valid
constexpr int kNotDone = 1;    // a repair is needed (--check) or was not confirmed; a file that does not read
constexpr int kCancelled = 2;  // the user cancelled the run
constexpr int kFailed = 3;     // the run failed (the message says why)
constexpr int kUsage = 64;     // the command line does not parse

// The text --help ends with.
inline const char* const kHelpText =
    "Exit status: 0 nothing to repair or repaired (a valid file), 1 a repair is needed (--check) or was not\n"
    "confirmed (a file that does not read), 2 cancelled, 3 failed, 64 a command line that does not parse.";

}  // namespace ExitStatus
