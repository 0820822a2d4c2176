// The settings pane: the file's keys into the controls and out, and the two number edits (Win32).
#include "settings_pane_win32.h"

#include <commctrl.h>

#include <utility>

#include "res/resource.h"
#include "shell/trace.h"
#include "store/number_text.h"
#include "store/settings_file.h"

namespace {

int EditValue(HWND edit)
{
    char text[kNumberEditReadBytes + 1];
    GetWindowTextA(edit, text, sizeof text);
    return NumberEditValue(text);
}

// Rewrites an edit whose text is not a number in range, keeping the caret where it was.
void NormalizeNumberEdit(HWND edit, NumberRange range)
{
    char text[kNumberEditReadBytes + 1];
    GetWindowTextA(edit, text, sizeof text);
    const NumberEditChange change = NormalizeNumberText(text, range.minimum, range.maximum);
    if (!change.rewrite) {
        return;
    }
    if (!change.restoreCaret) {
        SetWindowTextA(edit, change.text.c_str());
        return;
    }
    DWORD selectionEnd = 0;
    SendMessageA(edit, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
    SetWindowTextA(edit, change.text.c_str());
    SendMessageA(edit, EM_SETSEL, selectionEnd, selectionEnd);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace

SettingsPane::SettingsPane() : m_path(SettingsFilePath()) {}

void SettingsPane::Attach(HWND dialog)
{
    m_intervalEdit = GetDlgItem(dialog, IDC_INTERVAL_EDIT);
    m_offsetEdit = GetDlgItem(dialog, IDC_OFFSET_EDIT);
    m_minimizeCheck = GetDlgItem(dialog, IDC_MINIMIZE_CHECK);
    m_syncAtStartCheck = GetDlgItem(dialog, IDC_SYNC_AT_START_CHECK);
    m_consensusCheck = GetDlgItem(dialog, IDC_CONSENSUS_CHECK);
    for (const auto& spin : {std::make_pair(IDC_OFFSET_SPIN, kOffsetSeconds), std::make_pair(IDC_INTERVAL_SPIN, kIntervalMinutes)}) {
        // The range's two ends as the spin takes them: 16-bit halves, the upper one first.
        const auto upper = static_cast<WORD>(spin.second.maximum);
        const auto lower = static_cast<WORD>(spin.second.minimum);
        SendDlgItemMessageA(dialog, spin.first, UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
    }
}

void SettingsPane::Load()
{
    m_read = ReadSettings(m_path);
    SendMessageA(m_minimizeCheck, BM_SETCHECK, m_read.StartsMinimised() ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(m_syncAtStartCheck, BM_SETCHECK, m_read.SyncsAtStart() ? BST_CHECKED : BST_UNCHECKED, 0);
    SendMessageA(m_consensusCheck, BM_SETCHECK, m_read.AsksTogether() ? BST_CHECKED : BST_UNCHECKED, 0);
    // The edits turn whatever text they get into a number in range, as if it had been typed.
    SetWindowTextA(m_intervalEdit, m_read.interval.c_str());
    SetWindowTextA(m_offsetEdit, m_read.offset.c_str());
    m_asRead = Current();
}

SavedSettings SettingsPane::Current() const
{
    return {m_interval,
            m_offset,
            static_cast<int>(SendMessageA(m_minimizeCheck, BM_GETCHECK, 0, 0)),
            static_cast<int>(SendMessageA(m_syncAtStartCheck, BM_GETCHECK, 0, 0)),
            m_read.logFile,
            static_cast<int>(SendMessageA(m_consensusCheck, BM_GETCHECK, 0, 0)),
            m_read.maxStep,
            m_read.samples,
            m_read.rightsNotice};
}

FileResult SettingsPane::Save()
{
    const FileResult result = WriteSettings(m_path, Current());
    if (!result.ok) {
        Trace("SaveSettings: %s failed, error %lu\n", result.failedCall, static_cast<unsigned long>(result.error));
    }
    return result;
}

RoundRules SettingsPane::Rules(bool userStarted) const
{
    RoundRules rules;
    rules.offsetSeconds = m_offset;
    rules.together = Checked(m_consensusCheck);
    rules.maxStepSeconds = m_read.MaxStepSeconds();
    rules.samples = m_read.Samples();
    rules.userStarted = userStarted;
    rules.intervalMinutes = m_interval;
    return rules;
}

void SettingsPane::OnEditChange(HWND edit)
{
    // Notices raised before Attach has taken the edits' handles are not ours to handle yet.
    if (edit == nullptr || !IsNumberEdit(edit)) {
        return;
    }
    const bool interval = edit == m_intervalEdit;
    NormalizeNumberEdit(edit, interval ? kIntervalMinutes : kOffsetSeconds);
    (interval ? m_interval : m_offset) = EditValue(edit);
}

void SettingsPane::ShowHeldValue(HWND edit)
{
    const std::string held = std::to_string(edit == m_intervalEdit ? m_interval : m_offset);
    char text[kNumberEditReadBytes + 1];
    GetWindowTextA(edit, text, sizeof text);
    if (held != text) {
        SetWindowTextA(edit, held.c_str());
    }
}
