#include "app/StartUp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <string_view>

#include "aaalib/AAA_Log.h"

StartOptions ParseCommandLine(int argc, const char* const* argv) {
  StartOptions options;
  options.LogThreshold = AAA::Log::ThresholdFromArguments(argc, argv);
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::string_view(argv[i]) != "--lang") continue;
    const std::string_view language = argv[i + 1];
    if (language == "en") options.Language = AAA::StringTable::Language::English;
    if (language == "ja") options.Language = AAA::StringTable::Language::Japanese;
  }
  return options;
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
