// The log list: one row per synchronisation attempt, newest selected and in view, the newest
// thousand kept; every row also goes to "horavo.log" and into the tray tip (Win32).
#include "main_dialog_win32.h"

#include "shell/trace.h"
#include "tray/tray_tip.h"
#include "store/log_file.h"
#include "store/log_file_format.h"
#include "base/system_time_win32.h"
#include "base/time_text.h"
#include "log_row_icon.h"

void MainDialog::AddLogRow(const LogRow& written)
{
    int row = static_cast<int>(SendMessageA(m_logList, LVM_GETITEMCOUNT, 0, 0));
    // A window that lives in the tray for months would otherwise hold every row ever written.
    while (row >= kMaxLogRows) {
        SendMessageA(m_logList, LVM_DELETEITEM, 0, 0);
        --row;
    }
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row;
    item.pszText = const_cast<char*>(written.server.c_str());
    item.iImage = IconOfRow(written) == RowIcon::Set ? kLogImageSet : kLogImageTrouble;
    SendMessageA(m_logList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    item.mask = LVIF_TEXT;

    const std::string* const columns[] = {&written.serverTime, &written.localTime, &written.status,
                                          &written.correction};
    for (int column = 1; column <= 4; ++column) {
        item.iSubItem = column;
        item.pszText = const_cast<char*>(columns[column - 1]->c_str());
        SendMessageA(m_logList, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_logList, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    SendMessageA(m_logList, LVM_ENSUREVISIBLE, row, TRUE);
    RecordSynchronisation(written);
}

void MainDialog::WriteLogLines()
{
    for (const std::string& line : m_unwrittenLogLines) {
        const FileResult written = AppendLogLine(m_logFilePath, line);
        if (!written.ok) {
            Trace("horavo.log: %s failed, error %lu\n", written.failedCall, static_cast<unsigned long>(written.error));
        }
    }
    m_unwrittenLogLines.clear();
}

void MainDialog::RecordSynchronisation(const LogRow& row)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string writtenAt = FormatSecondsTime(FromSystemTime(now));
    if (!m_logFilePath.empty()) {
        // Held while a round runs: a write that has to wait must not sit between a request and the
        // reading of its reply.
        m_unwrittenLogLines.push_back(FormatLogFileLine(writtenAt, LogLineFields(row)));
        if (!m_sync.Running()) {
            WriteLogLines();
        }
    }
    m_ownTip = TrayTip(writtenAt, RowOutcome(row));
    m_lastSyncLine = LastSyncLine(writtenAt, RowOutcome(row));
    m_trayIcon.SetTip(m_serviceLine.Tip(m_ownTip).c_str());
}
