#include "app/StartUp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string_view>

#include "aaalib/AAA_Log.h"
#include "app/MainDlg.h"

StartOptions ParseCommandLine(int argc, const char* const* argv) {
  StartOptions options;
  options.LogThreshold = AAA::Log::ThresholdFromArguments(argc, argv);
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--version") options.PrintOnly = std::string("Velmar Restorer V") + VELMAR_VERSION + "\n";
    if (argument == "--help" || argument == "-h") {
      options.PrintOnly =
          "Usage: velmar-restorer [--lang en|ja] [-l N]\n"
          "The wizard that repairs AVCHD recordings cut short on memory cards, folders of\n"
          "AVCHD trees and folders of bare stream files (velmar-restore is its command line).\n"
          "  --lang en|ja  the language of the texts (otherwise the environment decides)\n"
          "  -l N          diagnostic log threshold: 4 throw sites, 7 adds rule failures, 8 everything\n"
          "  --help        print this and end\n"
          "  --version     print the version and end\n";
    }
    if (argument != "--lang" || i + 1 >= argc) continue;
    const std::string_view language = argv[i + 1];
    if (language == "en") options.Language = AAA::StringTable::Language::English;
    if (language == "ja") options.Language = AAA::StringTable::Language::Japanese;
  }
  return options;
}

int ProgramExitStatus(int result) {
  return result == CMainDlg::kExitCode || result == CMainDlg::kCloseCode ? 0 : result;
}

void ApplyStartOptions(const StartOptions& options, QApplication& application) {
  if (options.LogThreshold > 0) AAA::Log::SetThreshold(options.LogThreshold);
  if (options.Language) AAA::StringTable::SetLanguage(*options.Language);
  const bool japanese = AAA::StringTable::CurrentLanguage() == AAA::StringTable::Language::Japanese;
  const QLocale locale(japanese ? QLocale::Japanese : QLocale::English);
  QLocale::setDefault(locale);
  auto* translator = new QTranslator(&application);
  if (japanese && translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                                   QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QApplication::installTranslator(translator);
  }
}
