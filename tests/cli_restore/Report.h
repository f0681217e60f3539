#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/ProgramRun.h"
#include "samplegen/StreamGenerator.h"

// Two recordings in `folder` as a camcorder leaves them, of `groups` groups
// of pictures each, the second cut short at byte `cutAt`.
inline void WriteCutRecordings(const std::filesystem::path& folder, unsigned groups, std::uint64_t cutAt) {
  SampleGen::StreamParameters whole;
  whole.groups = groups;
  SampleGen::writeStream(whole, folder / "00001.MTS");
  SampleGen::StreamParameters cut = whole;
  cut.padToUnit = false;
  cut.cutAtByte = cutAt;
  SampleGen::writeStream(cut, folder / "00002.MTS");
}

// The JSON report a run printed, checked against docs/report.schema.json
// with the system's JSON Schema validator (python3-jsonschema).
inline nlohmann::json ValidReport(const std::string& output) {
  const auto instance = std::filesystem::temp_directory_path() / ("velmar-report-" + std::to_string(::getpid()) + "-" +
                                                                  std::to_string(std::hash<std::string>{}(output)));
  std::ofstream(instance) << output;
  const auto check = TestSupport::RunProgram(
      "/usr/bin/python3",
      "-c 'import json, sys, jsonschema; "
      "errors = [e.message for e in jsonschema.Draft202012Validator(json.load(open(sys.argv[2])))"
      ".iter_errors(json.load(open(sys.argv[1])))]; print(errors); sys.exit(1 if errors else 0)' '" +
          instance.string() + "' '" VELMAR_REPORT_SCHEMA "'");
  std::filesystem::remove(instance);
  EXPECT_EQ(check.status, 0) << check.output << "\n" << output;
  return nlohmann::json::parse(output);
}
