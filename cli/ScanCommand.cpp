// velmar-restore scan FILE [--json] [-l N]: analyses one stream file as the
// clip information step does and shows what it found (entry points, STC
// sequences, streams, video and recording metadata).
#include <cstdio>
#include <filesystem>
#include <string>

#include "aaalib/AAA_Log.h"
#include "cli/Command.h"
#include "cli/ExitStatus.h"
#include "streamscan/ScanReport.h"
#include "streamscan/StatusCodes.h"

namespace {

constexpr int kReadable = ExitStatus::kDone;
constexpr int kBroken = ExitStatus::kNotDone;
constexpr int kError = ExitStatus::kFailed;

int Scan(const std::filesystem::path& path, bool json) {
  if (!std::filesystem::is_regular_file(path)) {
    std::fprintf(stderr, "error: %s is not a stream file\n", path.c_str());
    return kError;
  }
  const auto log = [](int level, const std::string& line) { AAA::Log::Line(level, "%s", line.c_str()); };
  const StreamScan::ScanReport report = StreamScan::scanStreamFile(path, log);
  const std::string text = json ? StreamScan::formatScanReportJson(report) : StreamScan::formatScanReport(report);
  std::fputs(text.c_str(), stdout);
  if (!text.empty() && text.back() != '\n') std::fputc('\n', stdout);
  if (report.status == StreamScan::Status::FileCannotOpen) return kError;
  return StreamScan::isFailure(report.status) ? kBroken : kReadable;
}

const Command scan([](CLI::App& app) {
  auto* command = app.add_subcommand("scan", "Analyse a stream file (.MTS/.m2ts) as the clip information step does");
  auto path = std::make_shared<std::string>();
  auto json = std::make_shared<bool>(false);
  command->add_option("FILE", *path, "stream file")->required();
  command->add_flag("--json", *json, "one JSON document instead of text");
  command->callback([path, json] { Command::ExitCode() = Scan(*path, *json); });
});

}  // namespace
