// The main window's two files: the settings into and out of its controls, the server list into the
// model and out of it; a failed save leaves a debug trace naming the call and its error (Win32).
#include "main_dialog_win32.h"

#include "shell/trace.h"
#include "store/file_locations.h"
#include "base/program_path.h"
#include "store/settings_file.h"
#include "server_list_view_win32.h"

namespace {

void TraceFailedSave(const char* what, const FileResult& result)
{
    if (!result.ok) {
        Trace("%s: %s failed, error %lu\n", what, result.failedCall, static_cast<unsigned long>(result.error));
    }
}

}  // namespace

void MainDialog::LoadSettings()
{
    const Settings settings = ReadSettings(m_settingsPath);
    SendMessageA(m_minimizeCheck, BM_SETCHECK, settings.StartsMinimised() ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(m_syncAtStartCheck, BM_SETCHECK, settings.SyncsAtStart() ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(m_consensusCheck, BM_SETCHECK, settings.AsksTogether() ? BST_CHECKED : BST_UNCHECKED, 0);
    m_schedule.syncPending = settings.SyncsAtStart();
    // The edits turn whatever text they get into a number in range, as if it had been typed.
    SetWindowTextA(m_intervalEdit, settings.interval.c_str());
    SetWindowTextA(m_offsetEdit, settings.offset.c_str());
    m_logFileSetting = settings.logFile;
    m_maxStepSetting = settings.maxStep;
    m_samplesSetting = settings.samples;
    m_rightsNoticeSetting = settings.rightsNotice;
    m_logFilePath = settings.WritesLogFile() ? LogFilePathFor(m_settingsPath, IsAnsiLeadByte) : std::string();
    m_settingsAsRead = CurrentSettings();
    m_storedSize = {static_cast<int>(GetPrivateProfileIntA("SETTING", "WIDTH", 0, m_settingsPath.c_str())),
                    static_cast<int>(GetPrivateProfileIntA("SETTING", "HEIGHT", 0, m_settingsPath.c_str()))};
}

SavedSettings MainDialog::CurrentSettings() const
{
    return {m_nInterval,
            m_nOffset,
            static_cast<int>(SendMessageA(m_minimizeCheck, BM_GETCHECK, 0, 0)),
            static_cast<int>(SendMessageA(m_syncAtStartCheck, BM_GETCHECK, 0, 0)),
            m_logFileSetting,
            static_cast<int>(SendMessageA(m_consensusCheck, BM_GETCHECK, 0, 0)),
            m_maxStepSetting,
            m_samplesSetting,
            m_rightsNoticeSetting};
}

FileResult MainDialog::SaveSettings()
{
    const FileResult result = WriteSettings(m_settingsPath, CurrentSettings());
    TraceFailedSave("SaveSettings", result);
    if (result.ok && !m_autoMode) {
        SaveWindowSize();
    }
    return result;
}

void MainDialog::LoadServerList()
{
    m_serverFile = ServerListFile(ServerListPathFor(ProgramFilePath().c_str(), IsAnsiLeadByte));
    m_servers = m_serverFile.Load();
    if (m_serverFile.State() != ServerListFileState::Read) {
        Trace("ファイルを開けませんでした。");
    }
    ShowServerRowCount(m_serverList, m_servers.Count());
}

FileResult MainDialog::SaveServerList()
{
    const FileResult result = m_serverFile.Save(m_servers);
    TraceFailedSave("SaveServerList", result);
    return result;
}
