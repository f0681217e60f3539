// Runs the tests of the wizard without a display, in English unless a test
// says otherwise.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <string>

#include "aaalib/AAA_StringTable.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt wants a runtime folder of mode 0700 of its own.
  std::string runtime = (std::filesystem::temp_directory_path() / "velmar-runtime-XXXXXX").string();
  if (mkdtemp(runtime.data()) != nullptr) qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
  AAA::StringTable::SetLanguage(AAA::StringTable::Language::English);
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(runtime, ignored);
  return status;
}
