// The exit command: stop the timer, remove the tray icon, save both files, end the loop (Win32).
#include "main_dialog.h"

void MainDialog::CloseMainDialog(int exitCode)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    // A lookup still under way would write into this object after the program has let go of it.
    EndQuery();
    m_trayIcon.Remove();
    SaveSettings();
    SaveServerList(m_serverFilePath);
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}
