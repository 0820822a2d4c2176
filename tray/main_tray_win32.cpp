// The main window's tray icon, its tip and its word after a round (Win32).
#include "main_tray_win32.h"

#include "res/message_ids.h"
#include "res/texts.h"
#include "tray_tip.h"

void MainTray::Add(HWND window, HINSTANCE instance)
{
    m_window = window;
    m_instance = instance;
    m_icon.Add(m_window, m_instance, WM_TRAYICON);
    m_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    AllowTrayMessages(m_window, m_taskbarCreated);
}

bool MainTray::OnTaskbarMessage(UINT message)
{
    // The registered message has no fixed number; 0 means it was never registered.
    if (m_taskbarCreated == 0 || message != m_taskbarCreated) {
        return false;
    }
    m_icon.Add(m_window, m_instance, WM_TRAYICON);
    return true;
}

void MainTray::OnRow(const LogRow& row, const std::string& writtenAt, const ServiceLine& serviceLine)
{
    m_ownTip = TrayTip(writtenAt, RowOutcome(row));
    m_lastSyncLine = LastSyncLine(writtenAt, RowOutcome(row));
    OnServiceLine(serviceLine);
}

void MainTray::OnServiceLine(const ServiceLine& serviceLine)
{
    m_icon.SetTip(serviceLine.Tip(m_ownTip).c_str());
}

void MainTray::AfterRound(RoundOutcome outcome, bool lacksRight, bool balloonAllowed)
{
    const TrayNotice notice = m_notices.AfterRound(outcome, lacksRight, m_lastSyncLine);
    m_icon.ShowTrouble(notice.trouble);
    if (!notice.balloon.empty() && balloonAllowed) {
        m_icon.ShowBalloon(texts::kBalloonTitle, notice.balloon.c_str());
    }
}
