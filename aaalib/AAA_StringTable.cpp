#include "aaalib/AAA_StringTable.h"

#include <atomic>
#include <cstdlib>
#include <map>
#include <string_view>

namespace AAA::StringTable {
namespace {

struct Entry {
  const char* english;
  const char* japanese;
};

const std::map<int, Entry>& Table() {
  static const std::map<int, Entry> table = {
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
      // User-interface texts: program title and main menu.
      {1000, {"Velmar Restorer V3.0", "Velmar Restorer V3.0"}},
      {1001, {"E&xit", "終了(&X)"}},
      {1002,
       {"\nRestore the memory card.\n\nThe AVCHD content of the memory card in the drive is restored.",
        "\nメモリーカードを復旧する\n\nドライブのメモリーカードのAVCHDコンテンツを復旧します。"}},
      {1003,
       {"\nRestore the AVCHD folder.\n\nThe AVCHD or AVCHDL folder copied to the disk is restored.",
        "\nAVCHDフォルダーを復旧する\n\nディスクにコピーされたAVCHDまたはAVCHDLフォルダーを復旧します。"}},
      {1004,
       {"\nMake the AVCHD folder from the stream files.\n\nThe AVCHD folder is made from the stream files "
        "(*.MTS; *.m2ts).",
        "\nストリームファイルからAVCHDフォルダーを作成する\n\nストリームファイル（*.MTS; *.m2ts）から"
        "AVCHDフォルダーを作成します。"}},
      // Verification, cancellation and remaining time.
      {1005, {"It cancels. Is it good?", "キャンセルします。よろしいですか？"}},
      {1006, {"It is canceling...\n\nPlease wait for a while.", "キャンセルしています...\n\nしばらくお待ちください。"}},
      // Selection pages.
      {1010, {"Select the memory card", "メモリーカードの選択"}},
      {1011,
       {"Select the drive with the memory card to be restored, and click Next.",
        "復旧するメモリーカードが入っているドライブを選択して、［次へ］をクリックしてください。"}},
      {1012,
       {"Insert the memory card with the other channel of the 3D content, select its drive, and click Next.",
        "3Dコンテンツのもう一方のチャンネルのメモリーカードを挿入し、そのドライブを選択して、［次へ］をクリック"
        "してください。"}},
      {1013,
       {"Insert the first memory card again, select its drive, and click Next.",
        "最初のメモリーカードをもう一度挿入し、そのドライブを選択して、［次へ］をクリックしてください。"}},
      {1020, {"Select the AVCHD folder", "AVCHDフォルダーの選択"}},
      {1021,
       {"Select the AVCHD or AVCHDL folder to be restored, and click Next.",
        "復旧するAVCHDまたはAVCHDLフォルダーを選択して、［次へ］をクリックしてください。"}},
      {1022, {"&Open", "開く(&O)"}},
      {1023,
       {"Select the AVCHD or AVCHDL folder with the other channel of the 3D content, and click Next.",
        "3Dコンテンツのもう一方のチャンネルのAVCHDまたはAVCHDLフォルダーを選択して、［次へ］をクリックして"
        "ください。"}},
      {1024, {"Select the folder of the stream files", "ストリームファイルのフォルダーの選択"}},
      {1025,
       {"Select the folder with the stream files (*.MTS; *.m2ts), and click Next. The AVCHD folder is made in it.",
        "ストリームファイル（*.MTS; *.m2ts）が入っているフォルダーを選択して、［次へ］をクリックしてください。"
        "AVCHDフォルダーはその中に作成されます。"}},
      {1026,
       {"Select the folder with the stream files of the other channel of the 3D content, and click Next.",
        "3Dコンテンツのもう一方のチャンネルのストリームファイルが入っているフォルダーを選択して、［次へ］を"
        "クリックしてください。"}},
      // The labels beside the two paths of the 3D folder pages.
      {1027, {"L channel:", "Lチャンネル:"}},
      {1028, {"R channel:", "Rチャンネル:"}},
      {1030, {"Verifying", "検証中"}},
      {1031,
       {"The restoration object is being verified. Please wait for a while.",
        "復旧対象を検証しています。しばらくお待ちください。"}},
      {1032, {"Remaining", "残り"}},
      {1033, {"min", "分"}},
      {1034, {"sec", "秒"}},
      // Verdict and result.
      {1040, {"Restoration confirmation", "復旧の確認"}},
      {1041,
       {"An error was found in the restoration object. It can be restored.",
        "復旧対象にエラーが見つかりました。復旧できます。"}},
      {1060, {"The restoration was completed.", "復旧が完了しました。"}},
      {1061,
       {"The restored content can be played and copied again.", "復旧したコンテンツは再び再生やコピーができます。"}},
      {1070, {"The restoration is not required.", "復旧の必要はありません。"}},
      {1071, {"No error was found in the restoration object.", "復旧対象にエラーは見つかりませんでした。"}},
      // Refusals while the wizard waits or chooses.
      {1080,
       {"The restoration object was changed by another program.\n\nThe restoration is stopped.",
        "復旧対象がほかのプログラムによって変更されました。\n\n復旧を中止します。"}},
      {1081,
       {"The folder on the memory card cannot be selected.\n\nPlease restore the memory card with \"Restore the "
        "memory card.\"",
        "メモリーカード上のフォルダーは選択できません。\n\nメモリーカードは「メモリーカードを復旧する」で"
        "復旧してください。"}},
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
  return language == Language::Japanese ? found->second.japanese : found->second.english;
}

}  // namespace AAA::StringTable
