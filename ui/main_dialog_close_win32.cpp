// The exit command, and the end of the session: stop the timer, the round and the tray icon, save
// both files (Win32).
#include "main_dialog_win32.h"

void MainDialog::CloseMainDialog(int exitCode)
{
    StopAndSave();
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}

void MainDialog::OnEndSession(bool ending)
{
    // Logging off is how a program that lives in the tray usually ends: what the exit command would
    // write is written now, before the system ends the process. Automatic mode writes nothing.
    if (!ending || m_autoMode) {
        return;
    }
    StopAndSave();
}

void MainDialog::StopAndSave()
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    // A lookup still under way would write into this object after the program has let go of it.
    m_sync.Stop();
    m_trayIcon.Remove();
    SaveSettings();
    SaveServerList();
}
