// Every text the user sees outside the dialog templates of horavo.rc, in one place.
// UTF-8 here; the Windows build stores them in the ANSI code page of Japanese Windows (932).
#pragma once

namespace texts {

// The program's name: the tray tip, whose second line names the last synchronisation.
inline constexpr char kProgramName[] = "Tempivo";
// After the name in the title of the window the rights notice restarted as administrator.
inline constexpr char kTitleElevated[] = " (管理者)";
inline constexpr char kTipLastSync[] = "前回の同期:";
// The notice at the first 権限エラー of a run that the user started; each choice with its access key.
inline constexpr char kRightsHeading[] = "時計を設定する権限がありません";
inline constexpr char kRightsExplanation[] =
    "Windows では、時計の設定は管理者として実行しているプログラムにしか許されません。管理者のアカウントでも、"
    "ふつうに起動したプログラムにはこの権限がありません (ユーザ アカウント制御)。\n"
    "時刻設定サービスを一度インストールすれば、以後はだれが起動しても時計を合わせられます。";
inline constexpr char kRightsInstallService[] = "時刻設定サービスをインストールする(&I)";
inline constexpr char kRightsRestartElevated[] = "管理者として再起動する(&R)";
inline constexpr char kRightsHelp[] = "ヘルプを見る(&H)";
inline constexpr char kRightsClose[] = "閉じる(&C)";
inline constexpr char kRightsDontShowAgain[] = "今後表示しない(&D)";
inline constexpr char kRightsElevationNote[] = "管理者のパスワードか、確認を求められます。";
// The system menu's check item that brings the notice back after 今後表示しない.
inline constexpr char kMenuRightsNotice[] = "権限エラーの説明を表示する(&E)";
// The tray's balloon after a round that did not set the clock, once for each kind in a row.
inline constexpr char kBalloonTitle[] = "時刻を合わせられませんでした";
inline constexpr char kBalloonNoRight[] = "時計を設定する権限がありません。ヘルプの『なぜ「権限エラー」になるのか』をご覧ください。";
inline constexpr char kBalloonRefused[] = "時計の設定に失敗しました。ログをご覧ください。";
inline constexpr char kBalloonNoAnswer[] = "時刻サーバから使える応答がありませんでした。ログをご覧ください。";
inline constexpr char kBalloonHeld[] = "ずれが大きすぎるため、時計を合わせませんでした。";
inline constexpr char kBalloonNoAgreement[] = "サーバの時刻が一致しないため、時計を合わせませんでした。";
inline constexpr char kBalloonTooFew[] = "応答したサーバが 1 台だけで確かめられないため、時計を合わせませんでした。";

// The 同期 button while a server is asked.
inline constexpr char kSyncButtonAsking[] = "問い合わせ中...";

// Column titles of the server list and of the log list.
inline constexpr char kColumnServer[] = "サーバ";
inline constexpr char kColumnAddress[] = "アドレス";
inline constexpr char kColumnProvider[] = "接続先";
inline constexpr char kColumnServerTime[] = "サーバ時刻情報";
inline constexpr char kColumnLocalTime[] = "ローカル時刻情報";
inline constexpr char kColumnStatus[] = "ステータス";
inline constexpr char kColumnCorrection[] = "補正";
inline constexpr char kSecondsUnit[] = "秒";
// The widest texts the log list's columns are measured for (the status column: every status).
inline constexpr char kWidestTimeText[] = "2000/00/00 00:00:00.0000";
inline constexpr char kWidestCorrectionText[] = "-86400.000 秒";

// The status column of a log row.
inline constexpr char kStatusSynced[] = "同期成功";
inline constexpr char kStatusSyncedNts[] = "同期成功 (NTS)";
inline constexpr char kStatusNoRight[] = "権限エラー";
inline constexpr char kStatusByService[] = "サービスで同期";  // refused here, done by the time service
inline constexpr char kStatusError[] = "エラー";
inline constexpr char kStatusHeld[] = "未設定 (ずれ過大)";
inline constexpr char kStatusDisagreed[] = "不一致";
inline constexpr char kStatusUnconfirmed[] = "未設定 (確認なし)";
inline constexpr char kStatusAgreed[] = "一致";

// The question before a correction larger than MAXSTEP is set in a synchronisation the user started.
inline constexpr char kStepQuestionStart[] = "時計を ";
inline constexpr char kStepDays[] = "日";
inline constexpr char kStepHours[] = "時間";
inline constexpr char kStepMinutes[] = "分";
inline constexpr char kStepSeconds[] = "秒";
inline constexpr char kStepForward[] = "進めます";
inline constexpr char kStepBackward[] = "戻します";
inline constexpr char kStepQuestionEnd[] = "。よろしいですか？";
inline constexpr char kStepCaption[] = "時計の大きな修正";
inline constexpr char kStepServerSays[] = " の時刻: ";
inline constexpr char kStepClockSays[] = "このコンピュータの時計: ";
inline constexpr char kStepTimeZoneHint[] =
    "ずれがちょうど何時間かに近いので、Windows のタイム ゾーンが違っているのかもしれません。"
    "［設定］→［時刻と言語］→［日付と時刻］の「タイム ゾーン」を先に確かめてください。";

// The server-time column of a row whose query failed.
inline constexpr char kFailureSocket[] = "TCP/IPエラー";
inline constexpr char kFailureNotify[] = "初期化エラー";
inline constexpr char kFailureUnknownServer[] = "接続先不明";
inline constexpr char kFailureNoAnswer[] = "応答なし";
inline constexpr char kFailureDenied[] = "アクセス拒否";
inline constexpr char kFailureRateLimited[] = "要求過多";
inline constexpr char kFailureNtsNoConnection[] = "NTS 接続失敗";
inline constexpr char kFailureNtsCertificate[] = "NTS 証明書エラー";
inline constexpr char kFailureNtsKeyExchange[] = "NTS 鍵交換失敗";

// The line horavo.log gets when automatic mode ends: who, why, and the exit code.
inline constexpr char kAutoModeName[] = "自動モード";
inline constexpr char kExitCodeStatus[] = "終了コード ";
inline constexpr char kAutoEndSet[] = "時刻を合わせました";
inline constexpr char kAutoEndRefused[] = "時刻を設定できませんでした";
inline constexpr char kAutoEndNoAnswer[] = "応答したサーバがありません";
inline constexpr char kAutoEndNoneTicked[] = "チェックされたサーバがありません";
inline constexpr char kAutoEndNoServerList[] = "server.data がないか、読めません";
inline constexpr char kAutoEndStopped[] = "結果の前に終了を指示されました";
inline constexpr char kAutoEndFolderTooLong[] = "フォルダのパスが長すぎてファイルを置けません";
inline constexpr char kAutoEndHeld[] = "ずれが大きすぎ、確かめるサーバもないため設定しませんでした";
inline constexpr char kAutoEndNoAgreement[] = "サーバの時刻が一致しません";
inline constexpr char kAutoEndTooFew[] = "応答したサーバが 1 台だけで確かめられません";

// The message box when the exit command could not write a file whose changes would be lost.
inline constexpr char kUnsavedIntro[] = "変更を保存できませんでした。";
inline constexpr char kUnsavedFile[] = "ファイル: ";
inline constexpr char kUnsavedFolder[] = "フォルダ: ";
inline constexpr char kUnsavedReason[] = "理由: ";
inline constexpr char kUnsavedOutro[] =
    "これらのファイルへの変更は保存されていません。書き込めるフォルダ (Program Files の下ではないところ) に置いてください。";
inline constexpr char kRefusalNoPath[] = "フォルダのパスが長すぎます";
inline constexpr char kRefusalReadOnly[] = "読み取り専用に設定されています";
inline constexpr char kRefusalLink[] = "リンク (別のファイルへの参照) なので書き込みません";
inline constexpr char kRefusalUnreadable[] = "起動時に読めなかったため、上書きしません";
inline constexpr char kErrorCode[] = "エラー ";

// The message box at start when the program's folder leaves no room for its files' names.
inline constexpr char kFolderTooLong[] =
    "このフォルダのパスが長すぎるため、設定とサーバ一覧を読み書きできません。\n\nフォルダ: %s\n\n"
    "もっと短いパスのフォルダに置いてください。";

// The time service: its names, and what installing and removing it tell the user.
inline constexpr char kServiceDisplayName[] = "Tempivo 時刻同期";
inline constexpr char kServiceDescription[] =
    "Tempivo の時刻サーバ一覧で、このコンピュータの時計を合わせます。時計を変える権限はこのサービスだけが持ち、"
    "利用者は時刻を合わせるよう頼めますが、時刻やサーバを指定することはできません。";
inline constexpr char kServiceInstalled[] =
    "時刻設定サービスをインストールし、開始しました。\n"
    "これからは、権限エラーになった同期をサービスが代わりに行い、その結果が「[サービス] 」付きの行で出ます。"
    "サービスは自分の一覧のサーバを使います。";
inline constexpr char kServiceUninstalled[] = "時刻設定サービスをアンインストールしました。";
inline constexpr char kServiceUsesStarterList[] =
    "server.data がなかったため、付属の一覧でチェックの付いたサーバを使います。";
inline constexpr char kServiceFolderAtRestart[] = "使用中のプログラムのフォルダは、次の再起動のときに削除されます: ";
inline constexpr char kServiceNotInstalled[] = "時刻設定サービスはインストールされていません。";
inline constexpr char kServiceUpdated[] = "時刻設定サービスのサーバ一覧と設定を更新しました。ログはそのままです。";
inline constexpr char kServiceUpdateFailed[] = "時刻設定サービスのサーバ一覧と設定を更新できませんでした。";
inline constexpr char kServiceNeedsAdministrator[] =
    "時刻設定サービスのインストールとアンインストールには管理者の権限が必要です。";
inline constexpr char kServiceInstallFailed[] = "時刻設定サービスをインストールできませんでした。";
inline constexpr char kServiceUninstallFailed[] = "時刻設定サービスをアンインストールできませんでした。";
inline constexpr char kServiceOnlyFromManager[] =
    "-service はサービス マネージャから起動されたときだけ使えます。インストールは -install-service で行います。";
inline constexpr char kServicePipeTaken[] =
    "パイプ \\\\.\\pipe\\Tempivo はほかのプログラムが先に作っていたため、パイプなしで時計を合わせます (1 分ごとに作り直します)";
inline constexpr char kServicePipeOpened[] = "パイプ \\\\.\\pipe\\Tempivo を作りました";
inline constexpr char kServiceRowPrefix[] = "[サービス] ";
inline constexpr char kServiceLogName[] = "時刻設定サービス";
inline constexpr char kServiceStarted[] = "開始しました";
inline constexpr char kServiceStopped[] = "停止しました";
// The main window's line about the service, and the tray tip's.
inline constexpr char kServiceLineName[] = "時刻設定サービス: ";
inline constexpr char kServiceLineRunning[] = "実行中";
inline constexpr char kServiceLineStopped[] = "停止中";
inline constexpr char kServiceLineNoAnswer[] = "(応答なし)";
inline constexpr char kServiceLineLast[] = "前回";
inline constexpr char kServiceLineNext[] = "次回";
inline constexpr char kServiceLineDueNow[] = "同期中";
inline constexpr char kMenuInstallService[] = "時刻設定サービスをインストール(&I)...";
inline constexpr char kMenuUninstallService[] = "時刻設定サービスをアンインストール(&U)...";
inline constexpr char kMenuUpdateService[] = "サービスのサーバ一覧を更新(&L)...";

// The entry dialog's OK with an empty address box.
inline constexpr char kEntryNeedsAddress[] =
    "アドレスを入力してください。時刻サーバの名前か IP アドレスです (例: ntp.nict.jp)。";
// The system menu's uninstall, asked first.
inline constexpr char kUninstallQuestion[] =
    "時刻設定サービスをアンインストールしますか？\n\n"
    "サービスのフォルダ (サーバ一覧、設定、ログ) も削除され、この PC の時計はサービスでは合わせられなくなります。";

// The question before a server row is deleted; %s is the provider name.
inline constexpr char kDeleteQuestion[] = "[ %s ] を削除しますか？";
inline constexpr char kDeleteCaption[] = "項目削除";

}  // namespace texts
