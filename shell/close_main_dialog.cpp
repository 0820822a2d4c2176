// The exit command: stop the timer, save the settings and the server list, end the loop (Win32).
#include "ui/main_dialog.h"

void MainDialog::CloseMainDialog(int exitCode)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    SaveSettings();
    SaveServerList(m_szServerFile);
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}
