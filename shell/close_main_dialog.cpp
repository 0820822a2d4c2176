// The exit command: stop the timer, remove the tray icon, save both files, end the loop (Win32).
#include "ui/main_dialog.h"

void MainDialog::CloseMainDialog(int exitCode)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    m_trayIcon.Remove();
    SaveSettings();
    SaveServerList(m_szServerFile);
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}
