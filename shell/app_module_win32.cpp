// The one module object of the process: the registries under their locks (Win32).
#include "app_module_win32.h"

#include <new>

CAppModule g_module;

HRESULT CAppModule::InitModule(HINSTANCE instance)
{
    m_hInst = instance;
    m_hInstResource = instance;
    InitializeCriticalSection(&m_csStaticData);
    InitializeCriticalSection(&m_csWindowCreate);
    InitializeCriticalSection(&m_csObject);
    m_pCreationList = nullptr;
    m_dwMainThreadId = GetCurrentThreadId();
    m_pMsgLoopMap = new (std::nothrow) LoopRegistry();
    return m_pMsgLoopMap != nullptr ? S_OK : E_OUTOFMEMORY;
}

void CAppModule::TermModule()
{
    EnterCriticalSection(&m_csStaticData);
    LeaveCriticalSection(&m_csStaticData);
    delete m_pMsgLoopMap;
    m_pMsgLoopMap = nullptr;
    DeleteCriticalSection(&m_csStaticData);
    DeleteCriticalSection(&m_csWindowCreate);
    DeleteCriticalSection(&m_csObject);
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    if (m_pMsgLoopMap == nullptr) {
        return false;
    }
    EnterCriticalSection(&m_csStaticData);
    const bool added = m_pMsgLoopMap->Add(GetCurrentThreadId(), loop);
    LeaveCriticalSection(&m_csStaticData);
    return added;
}

bool CAppModule::RemoveMessageLoop()
{
    if (m_pMsgLoopMap == nullptr) {
        return false;
    }
    EnterCriticalSection(&m_csStaticData);
    const bool removed = m_pMsgLoopMap->Remove(GetCurrentThreadId());
    LeaveCriticalSection(&m_csStaticData);
    return removed;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId)
{
    if (m_pMsgLoopMap == nullptr) {
        return nullptr;
    }
    EnterCriticalSection(&m_csStaticData);
    CMessageLoop* loop = m_pMsgLoopMap->Find(threadId);
    LeaveCriticalSection(&m_csStaticData);
    return loop;
}

void CAppModule::AddCreationRecord(CreationRecord* record, CDialogBase* dialog)
{
    EnterCriticalSection(&m_csWindowCreate);
    PushCreationRecord(&m_pCreationList, record, dialog, GetCurrentThreadId());
    LeaveCriticalSection(&m_csWindowCreate);
}

CDialogBase* CAppModule::ExtractCreationRecord()
{
    EnterCriticalSection(&m_csWindowCreate);
    CDialogBase* dialog = TakeCreationRecord(&m_pCreationList, GetCurrentThreadId());
    LeaveCriticalSection(&m_csWindowCreate);
    return dialog;
}

void CAppModule::DiscardCreationRecord(CreationRecord* record)
{
    EnterCriticalSection(&m_csWindowCreate);
    UnlinkCreationRecord(&m_pCreationList, record);
    LeaveCriticalSection(&m_csWindowCreate);
}
