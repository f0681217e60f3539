#include "aaalib/AAA_StringTable.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <string_view>

namespace AAA::StringTable {
namespace {

const std::map<int, Translations>& Table() {
  static const std::map<int, Translations> table = {
      {100,
       {"The error not expected occurred.\n\nThe specified restoration object cannot be restored.",
        "予期しないエラーが発生しました。\n\n指定された復旧対象は復旧できません。"}},
      {101,
       {"The internal error occurred.\n\nThe specified restoration object cannot be restored.",
        "内部エラーが発生しました。\n\n指定された復旧対象は復旧できません。"}},
      {102, {"It was canceled.", "キャンセルされました。"}},
      {103,
       {"A folder necessary for the restoration is not found\n\nThe specified restoration object cannot be "
        "restored.",
        "復旧に必要なフォルダーが見つかりません。\n\n指定された復旧対象は復旧できません。"}},
      {104,
       {"A file necessary for the restoration is not found.\n\nThe specified restoration object cannot be "
        "restored.",
        "復旧に必要なファイルが見つかりません。\n\n指定された復旧対象は復旧できません。"}},
      {105, {"There is no empty memory necessary for the restoration.", "復旧に必要な空きメモリーがありません。"}},
      {106,
       {"The error occurred while reading or writing the file.",
        "ファイルの読み込みまたは書き込み中にエラーが発生しました。"}},
      {107,
       {"The path name or the file name exceeds the maximum length of the system definition.",
        "パス名またはファイル名がシステムで定められた最大の長さを超えています。"}},
      {108, {"The memory card or the disk is read-only.", "メモリーカードまたはディスクは読み取り専用です。"}},
      {109,
       {"Invalid data to the specified restoration object is included.\n\nThe specified restoration object "
        "cannot be restored.",
        "指定された復旧対象に不正なデータが含まれています。\n\n指定された復旧対象は復旧できません。"}},
      {110, {"The terminal of the file not expected was detected.", "予期しないファイルの終端を検出しました。"}},
      {111,
       {"There is no empty area enough for the memory card or the disk.",
        "メモリーカードまたはディスクに十分な空き容量がありません。"}},
      {112, {"The stream is broken.", "ストリームが壊れています。"}},
      {113,
       {"Sorry.\n\nIt is not possible to restore it because of the data recorded with the product not "
        "supported.",
        "申し訳ありません。\n\nサポートされていない製品で記録されたデータのため、復旧できません。"}},
      {114, {"It is not paired 3D content.", "ペアになっている3Dコンテンツではありません。"}},
  };
  return table;
}

std::atomic<Language>& Current() {
  static std::atomic<Language> current{LanguageFromEnvironment()};
  return current;
}

}  // namespace

Language LanguageFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    return std::string_view(value).starts_with("ja") ? Language::Japanese : Language::English;
  }
  return Language::English;
}

void SetLanguage(Language language) { Current().store(language); }

Language CurrentLanguage() { return Current().load(); }

std::string Text(int id) { return Text(id, CurrentLanguage()); }

std::string Text(int id, Language language) {
  const auto found = Table().find(id);
  if (found == Table().end()) return {};
  return found->second.In(language);
}

}  // namespace AAA::StringTable
