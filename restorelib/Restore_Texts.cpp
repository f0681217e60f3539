#include "restorelib/Restore_Texts.h"

#include <map>

namespace Restore::Texts {
namespace {

using AAA::StringTable::Translations;

const std::map<UiText, Translations>& Table() {
  static const std::map<UiText, Translations> table = {
      // Program title and main menu.
      {UiText::ProgramTitle, {"Velmar Restorer V3.0", "Velmar Restorer V3.0"}},
      {UiText::Exit, {"E&xit", "終了(&X)"}},
      {UiText::RestoreMemoryCard,
       {"\nRestore the memory card.\n\nThe AVCHD content of the memory card in the drive is restored.",
        "\nメモリーカードを復旧する\n\nドライブのメモリーカードのAVCHDコンテンツを復旧します。"}},
      {UiText::RestoreAvchdFolder,
       {"\nRestore the AVCHD folder.\n\nThe AVCHD or AVCHDL folder copied to the disk is restored.",
        "\nAVCHDフォルダーを復旧する\n\nディスクにコピーされたAVCHDまたはAVCHDLフォルダーを復旧します。"}},
      {UiText::MakeAvchdFolder,
       {"\nMake the AVCHD folder from the stream files.\n\nThe AVCHD folder is made from the stream files "
        "(*.MTS; *.m2ts).",
        "\nストリームファイルからAVCHDフォルダーを作成する\n\nストリームファイル（*.MTS; *.m2ts）から"
        "AVCHDフォルダーを作成します。"}},
      // Cancellation.
      {UiText::AskCancel, {"It cancels. Is it good?", "キャンセルします。よろしいですか？"}},
      {UiText::Cancelling,
       {"It is canceling...\n\nPlease wait for a while.", "キャンセルしています...\n\nしばらくお待ちください。"}},
      // Selection pages.
      {UiText::SelectCardTitle, {"Select the memory card", "メモリーカードの選択"}},
      {UiText::SelectCard,
       {"Select the drive with the memory card to be restored, and click Next.",
        "復旧するメモリーカードが入っているドライブを選択して、［次へ］をクリックしてください。"}},
      {UiText::SelectOtherChannelCard,
       {"Insert the memory card with the other channel of the 3D content, select its drive, and click Next.",
        "3Dコンテンツのもう一方のチャンネルのメモリーカードを挿入し、そのドライブを選択して、［次へ］をクリック"
        "してください。"}},
      {UiText::SelectFirstCardAgain,
       {"Insert the first memory card again, select its drive, and click Next.",
        "最初のメモリーカードをもう一度挿入し、そのドライブを選択して、［次へ］をクリックしてください。"}},
      {UiText::SelectFolderTitle, {"Select the AVCHD folder", "AVCHDフォルダーの選択"}},
      {UiText::SelectFolder,
       {"Select the AVCHD or AVCHDL folder to be restored, and click Next.",
        "復旧するAVCHDまたはAVCHDLフォルダーを選択して、［次へ］をクリックしてください。"}},
      {UiText::Open, {"&Open", "開く(&O)"}},
      {UiText::SelectOtherChannelFolder,
       {"Select the AVCHD or AVCHDL folder with the other channel of the 3D content, and click Next.",
        "3Dコンテンツのもう一方のチャンネルのAVCHDまたはAVCHDLフォルダーを選択して、［次へ］をクリックして"
        "ください。"}},
      {UiText::SelectStreamFilesTitle,
       {"Select the folder of the stream files", "ストリームファイルのフォルダーの選択"}},
      {UiText::SelectStreamFiles,
       {"Select the folder with the stream files (*.MTS; *.m2ts), and click Next. The AVCHD folder is made in it.",
        "ストリームファイル（*.MTS; *.m2ts）が入っているフォルダーを選択して、［次へ］をクリックしてください。"
        "AVCHDフォルダーはその中に作成されます。"}},
      {UiText::SelectOtherChannelStreamFiles,
       {"Select the folder with the stream files of the other channel of the 3D content, and click Next.",
        "3Dコンテンツのもう一方のチャンネルのストリームファイルが入っているフォルダーを選択して、［次へ］を"
        "クリックしてください。"}},
      // The labels beside the two paths of the 3D folder pages.
      {UiText::LeftChannel, {"L channel:", "Lチャンネル:"}},
      {UiText::RightChannel, {"R channel:", "Rチャンネル:"}},
      // Verification and remaining time.
      {UiText::VerifyingTitle, {"Verifying", "検証中"}},
      {UiText::Verifying,
       {"The restoration object is being verified. Please wait for a while.",
        "復旧対象を検証しています。しばらくお待ちください。"}},
      {UiText::Remaining, {"Remaining", "残り"}},
      {UiText::Minutes, {"min", "分"}},
      {UiText::Seconds, {"sec", "秒"}},
      // Verdict and result.
      {UiText::ConfirmTitle, {"Restoration confirmation", "復旧の確認"}},
      {UiText::ErrorFound,
       {"An error was found in the restoration object. It can be restored.",
        "復旧対象にエラーが見つかりました。復旧できます。"}},
      {UiText::Completed, {"The restoration was completed.", "復旧が完了しました。"}},
      {UiText::PlayableAgain,
       {"The restored content can be played and copied again.", "復旧したコンテンツは再び再生やコピーができます。"}},
      {UiText::NotRequired, {"The restoration is not required.", "復旧の必要はありません。"}},
      {UiText::NoErrorFound,
       {"No error was found in the restoration object.", "復旧対象にエラーは見つかりませんでした。"}},
      // Refusals while the wizard waits or chooses.
      {UiText::ChangedByAnotherProgram,
       {"The restoration object was changed by another program.\n\nThe restoration is stopped.",
        "復旧対象がほかのプログラムによって変更されました。\n\n復旧を中止します。"}},
      {UiText::FolderOnMemoryCard,
       {"The folder on the memory card cannot be selected.\n\nPlease restore the memory card with \"Restore the "
        "memory card.\"",
        "メモリーカード上のフォルダーは選択できません。\n\nメモリーカードは「メモリーカードを復旧する」で"
        "復旧してください。"}},
  };
  return table;
}

}  // namespace

std::string Text(UiText id) { return Text(id, AAA::StringTable::CurrentLanguage()); }

std::string Text(UiText id, AAA::StringTable::Language language) { return Table().at(id).In(language); }

}  // namespace Restore::Texts
