#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/support/ProgramRun.h"

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
