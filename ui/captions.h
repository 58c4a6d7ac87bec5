// The captions of the program's message boxes, each shown through the one
// seam (platform::ShowMessageBox) and owned by the window that asks.
#pragma once

// Refused input and notices.
inline constexpr char kMessageCaption[] = "メッセージ";
// Deleting a pattern, stopping a search, interrupting a deletion.
inline constexpr char kWarningCaption[] = "警告";
// The questions on quitting.
inline constexpr char kConfirmCaption[] = "確認";
