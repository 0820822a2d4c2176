// Every text the user sees outside the dialog templates of horavo.rc, in one place.
// UTF-8 here; the Windows build stores them in the ANSI code page of Japanese Windows (932).
#pragma once

namespace texts {

// The program's name: the tray tip, whose second line names the last synchronisation.
inline constexpr char kProgramName[] = "Tempivo";
inline constexpr char kTipLastSync[] = "最終同期";

// Column titles of the server list and of the log list.
inline constexpr char kColumnServer[] = "サーバ";
inline constexpr char kColumnAddress[] = "アドレス";
inline constexpr char kColumnProvider[] = "接続先";
inline constexpr char kColumnServerTime[] = "サーバ時刻情報";
inline constexpr char kColumnLocalTime[] = "ローカル時刻情報";
inline constexpr char kColumnStatus[] = "ステータス";

// The status column of a log row.
inline constexpr char kStatusSynced[] = "同期成功";
inline constexpr char kStatusNoRight[] = "権限エラー";
inline constexpr char kStatusError[] = "エラー";

// The server-time column of a row whose query failed.
inline constexpr char kFailureSocket[] = "TCP/IPエラー";
inline constexpr char kFailureNotify[] = "初期化エラー";
inline constexpr char kFailureUnknownServer[] = "接続先不明";
inline constexpr char kFailureNoAnswer[] = "応答なし";

// The question before a server row is deleted; %s is the provider name.
inline constexpr char kDeleteQuestion[] = "[ %s ] を削除しますか？";
inline constexpr char kDeleteCaption[] = "項目削除";

}  // namespace texts
