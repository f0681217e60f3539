// velmar-restore inspect FILE [-l N] [--rewrite OUT]: reads one management
// file with every rule, shows the diagnostic log and a verdict, and can write
// the model back, which shows whether a file survives a rewrite unchanged.
#include <cstdio>
#include <string>

#include "aaalib/AAA_BitWriter.h"
#include "aaalib/AAA_Exceptions.h"
#include "aaalib/AAA_FileStream.h"
#include "aaalib/AAA_Log.h"
#include "avchdlib/AVCHD_FileKinds.h"
#include "cli/Command.h"
#include "cli/ExitStatus.h"

namespace {

constexpr int kValid = ExitStatus::kDone;
constexpr int kInvalid = ExitStatus::kNotDone;
constexpr int kError = ExitStatus::kFailed;

// The string table's messages span several lines; the verdict is one.
std::string OneLine(std::string text) {
  std::string line;
  for (char c : text) {
    if (c != '\n') {
      line += c;
    } else if (!line.empty() && line.back() != ' ') {
      line += ' ';
    }
  }
  return line;
}

int Verdict(const std::string& subject, const std::string& text, int code) {
  std::printf("%s: %s\n", subject.c_str(), OneLine(text).c_str());
  return code;
}

int Inspect(const std::string& path, const std::string& rewritePath) {
  std::unique_ptr<AAA::FileBlock> model;
  std::string kindName = path;
  try {
    AAA::FileStream input(path, AAA::FileStream::OpenExisting, AAA::FileStream::ReadOnly);
    AAA::Bytes typeIndicator(4);
    typeIndicator.resize(input.Read(typeIndicator.data(), 4));
    const AVCHD::FileKind* kind = AVCHD::FindFileKind(typeIndicator);
    if (kind == nullptr) return Verdict(path, "invalid: not a management file of a known kind", kInvalid);
    kindName = kind->description;
    model = kind->make();
    input.Seek(0, AAA::Stream::Begin);
    AAA::BitReader reader(input);
    model->Read(reader);
  } catch (const AAA::VerifyExceptionBase& failure) {
    return Verdict(kindName, "invalid: " + failure.Message(), kInvalid);
  } catch (const AAA::ExceptionBase& error) {
    return Verdict("error", error.Message(), kError);
  }
  if (rewritePath.empty()) return Verdict(kindName, "valid", kValid);
  try {
    AAA::FileStream output(rewritePath, AAA::FileStream::Create, AAA::FileStream::ReadWrite);
    AAA::BitWriter writer(output);
    model->Write(writer);
  } catch (const AAA::ExceptionBase& error) {
    return Verdict("error", "rewrite failed: " + error.Message(), kError);
  }
  return Verdict(kindName, "valid, written to " + rewritePath, kValid);
}

const Command inspect([](CLI::App& app) {
  auto* command = app.add_subcommand("inspect", "Read a management file with every rule and say whether it is valid");
  auto path = std::make_shared<std::string>();
  auto rewritePath = std::make_shared<std::string>();
  auto threshold = std::make_shared<int>(8);
  command->add_option("FILE", *path, "index table, movie object or thumbnail index file")->required();
  command->add_option("-l", *threshold, "diagnostic log threshold (default 8: every field and rule)");
  command->add_option("--rewrite", *rewritePath, "write the model back to this file through Update and Write");
  command->callback([command, path, rewritePath, threshold] {
    // A threshold given before the command name holds unless the command has its own.
    if (command->count("-l") != 0 || AAA::Log::Threshold() == 0) AAA::Log::SetThreshold(*threshold);
    Command::ExitCode() = Inspect(*path, *rewritePath);
  });
});

}  // namespace
