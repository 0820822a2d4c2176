// The exit command, the end of the session and the end of automatic mode: the timer, the round and
// the tray icon stopped, both files saved (not in automatic mode), and the user told of a file whose
// changes could not be saved (Win32).
#include "main_dialog_win32.h"

#include "base/program_path.h"
#include "res/message_ids.h"
#include "res/texts.h"
#include "shell/system_error_text.h"
#include "store/file_locations.h"

namespace {

// Every file of the program lives beside it; a path too long to use is still named.
UnsavedFile Unsaved(const std::string& name, const FileResult& result)
{
    const PathParts program = SplitPath(ProgramFilePath().c_str(), IsAnsiLeadByte);
    const char* refusal = RefusalWords(result.refusal);
    return {name, program.drive + program.folder, refusal != nullptr ? refusal : SystemErrorText(result.error)};
}

}  // namespace

void MainDialog::CloseMainDialog(int exitCode)
{
    // Closed by someone (taskkill without /f sends WM_CLOSE) before the round ended: the user's
    // files are not automatic mode's to write.
    if (m_autoMode) {
        EndAutomaticMode(AutomaticEnd::Stopped);
        return;
    }
    const std::vector<UnsavedFile> unsaved = StopAndSave();
    if (!unsaved.empty()) {
        MessageBoxA(m_hWnd, UnsavedFilesMessage(unsaved).c_str(), texts::kProgramName, MB_OK | MB_ICONWARNING);
    }
    DestroyWindow(m_hWnd);
    PostQuitMessage(exitCode);
}

void MainDialog::OnEndSession(bool ending)
{
    // Logging off is how a program that lives in the tray usually ends: what the exit command would
    // write is written now, before the system ends the process; nobody is there to be told of a
    // failure. Automatic mode writes nothing.
    if (!ending) {
        return;
    }
    if (m_autoMode) {
        EndAutomaticMode(AutomaticEnd::Stopped);
        return;
    }
    StopAndSave();
}

std::vector<UnsavedFile> MainDialog::StopAndSave()
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    // A lookup still under way would write into this object after the program has let go of it.
    m_rounds.Stop();
    m_log.WriteHeldLines();  // the rows of a round cut short
    m_tray.Remove();
    std::vector<UnsavedFile> unsaved;
    const FileResult settings = SaveSettings();
    if (!settings.ok && !m_settings.Unchanged()) {
        const PathParts program = SplitPath(ProgramFilePath().c_str(), IsAnsiLeadByte);
        unsaved.push_back(Unsaved(program.baseName + ".ini", settings));
    }
    const FileResult list = m_servers.Save();
    if (!list.ok && !m_servers.Saved()) {
        unsaved.push_back(Unsaved("server.data", list));
    }
    return unsaved;
}

FileResult MainDialog::SaveSettings()
{
    // The size goes into the same file: only where the settings could be written.
    const FileResult result = m_settings.Save();
    if (result.ok) {
        m_layout.SaveSize();
    }
    return result;
}

void MainDialog::EndAutomaticMode(AutomaticEnd why)
{
    KillTimer(m_hWnd, SYNC_TIMER_ID);
    m_rounds.Stop();
    // Nothing is written but this line: the Task Scheduler's history shows the code, the log why.
    AddLogRow(AutomaticEndRow(why));
    DestroyWindow(m_hWnd);
    PostQuitMessage(AutomaticEndExitCode(why));
}
