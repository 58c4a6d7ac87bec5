// The program's texts as the user sees them, for every suite: captions,
// labels, questions, refusals, status lines and marks. Compiled, like the
// program's own, to code page 932.
#pragma once

namespace texts {

// ---- Windows and their labels ----------------------------------------------

inline constexpr char kMainCaption[] = "Tidymoth for Windows ver 0.1.5 α１";
inline constexpr char kResultsCaption[] = "検索ダイアログ";
inline constexpr char kAboutCaption[] = "ﾊﾞｰｼﾞｮﾝ情報 Tidymoth";
inline constexpr char kAboutMenuEntry[] = "ﾊﾞｰｼﾞｮﾝ情報(Tidymoth) (&A)...";
inline constexpr char kAboutVersion[] = "Tidymoth Version 1.0";
inline constexpr char kBrowseTitle[] = "ディレクトリ選択...";
inline constexpr char kDialogFont[] = "ＭＳ Ｐゴシック";
inline constexpr char kFileDescription[] = "TIDYMOTH MFC ｱﾌﾟﾘｹｰｼｮﾝ";  // of the version block
inline constexpr char kProductName[] = "TIDYMOTH ｱﾌﾟﾘｹｰｼｮﾝ";

inline constexpr char kRemoveMaskLabel[] = "削除  (&K)";
inline constexpr char kAddMaskLabel[] = "追加  (&P)";
inline constexpr char kRemoveDirLabel[] = "削除  (&D)";
inline constexpr char kAddDirLabel[] = "追加  (&A)";
inline constexpr char kBrowseLabel[] = "参照  (&B)";
inline constexpr char kStartSearchLabel[] = "検索開始  (&S)";
inline constexpr char kUpdateLabel[] = "設定更新  (&R)";
inline constexpr char kQuitLabel[] = "終了  (&Q)";
inline constexpr char kNewPatternLabel[] = "新規 (&E)";
inline constexpr char kDeletePatternLabel[] = "削除  (&W)";
inline constexpr char kPatternGroup[] = "削除パターン名";
inline constexpr char kDirGroup[] = "探索するディレクトリ名";
inline constexpr char kMaskGroup[] = "削除するファイル名（ワイルドカードによる指定も可）";
inline constexpr char kSubfoldersLabel[] = "サブフォルダも探索する";
inline constexpr char kDeleteThisLabel[] = "このファイルを削除する";
inline constexpr char kToRecycleLabel[] = "削除後ファイルをごみ箱へ移動";

// ---- The pattern store -----------------------------------------------------

inline constexpr char kDefaultName[] = "新しいパターン";
inline constexpr char kSettingsFile[] = "Tidymoth.use";

// ---- Message boxes -----------------------------------------------------------

inline constexpr char kMessage[] = "メッセージ";
inline constexpr char kWarning[] = "警告";
inline constexpr char kConfirm[] = "確認";

inline constexpr char kQuitQuestion[] = "Tidymoth を終了します\nよろしいですか？";
inline constexpr char kSaveQuestion[] = "いくつかの設定が更新されています\n変更を保存しますか？";
inline constexpr char kDeletePatternQuestion[] = "この削除パターンを削除してもよろしいですか？";
inline constexpr char kStopQuestion[] = "中止ボタンが押されました\n中止しますか？";
inline constexpr char kInterruptQuestion[] = "処理を中断しますか？";

inline constexpr char kNameMissing[] = "削除パターン名を入力してください";
inline constexpr char kLastPattern[] = "すべての削除パターンは削除できません";
inline constexpr char kTooManyPatterns[] = "削除パターンは２０種類までしか登録できません";
inline constexpr char kDuplicateMask[] = "指定したファイルタイプはすでに登録してあります";
inline constexpr char kNameUnspellable[] = "削除パターン名に使えない文字が含まれています";
inline constexpr char kMaskUnspellable[] = "削除するファイル名に使えない文字が含まれています";
inline constexpr char kDirUnspellable[] = "探索するディレクトリ名に使えない文字が含まれています";
inline constexpr char kMaskWithFolder[] = "削除するファイル名に「\\」「/」「:」は使えません";
inline constexpr char kTooManyMasks[] = "削除するファイル名は１００個までしか登録できません";
inline constexpr char kNoSuchPath[] = "指定したパスは存在しません";
inline constexpr char kTooManyDirs[] = "探索するディレクトリは１００個までしか登録できません";
inline constexpr char kSaveFailedPrefix[] = "設定を保存できませんでした。";

// ---- The results window --------------------------------------------------------

inline constexpr char kTemplateStatus[] = "c:\\winnt以下を検索中";
inline constexpr char kSearchingSuffix[] = "を検索中";  // after the directory entered
inline constexpr char kListingStatus[] = "リストアップ中....しばらくお待ちください";
inline constexpr char kReadyStatus[] = "検索が終了しました。削除ボタンを押すとファイルを削除します";
inline constexpr char kNothingStatus[] = "何も検出されませんでした。閉じるボタンを押してください";
inline constexpr char kDeletingStatus[] = "ファイルを削除中です・・・しばらくお待ちください";
inline constexpr char kDoneStatus[] = "削除が完了しました";

// The action button's caption in each phase.
inline constexpr char kStopAction[] = "検索中止";
inline constexpr char kDeleteAction[] = "削除";
inline constexpr char kCloseAction[] = "閉じる";
inline constexpr char kDeletingAction[] = "削除中";
inline constexpr char kDoneAction[] = "終了";

// Appended to a line by the deletion pass.
inline constexpr char kDeletedMark[] = "（削除済み）";
inline constexpr char kFailedMark[] = "(削除に失敗)";

}  // namespace texts
