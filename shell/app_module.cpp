// The one module object of the process (Win32).
#include "app_module.h"

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
    m_pMsgLoopMap = new (std::nothrow) std::vector<std::pair<DWORD, CMessageLoop*>>();
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
    bool added = true;
    try {
        m_pMsgLoopMap->emplace_back(GetCurrentThreadId(), loop);
    } catch (const std::bad_alloc&) {
        added = false;
    }
    LeaveCriticalSection(&m_csStaticData);
    return added;
}

bool CAppModule::RemoveMessageLoop()
{
    if (m_pMsgLoopMap == nullptr) {
        return false;
    }
    EnterCriticalSection(&m_csStaticData);
    bool removed = false;
    const DWORD thread = GetCurrentThreadId();
    for (auto entry = m_pMsgLoopMap->begin(); entry != m_pMsgLoopMap->end(); ++entry) {
        if (entry->first == thread) {
            m_pMsgLoopMap->erase(entry);
            removed = true;
            break;
        }
    }
    LeaveCriticalSection(&m_csStaticData);
    return removed;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId)
{
    if (m_pMsgLoopMap == nullptr) {
        return nullptr;
    }
    EnterCriticalSection(&m_csStaticData);
    CMessageLoop* loop = nullptr;
    for (const auto& entry : *m_pMsgLoopMap) {
        if (entry.first == threadId) {
            loop = entry.second;
            break;
        }
    }
    LeaveCriticalSection(&m_csStaticData);
    return loop;
}

void CAppModule::AddCreationRecord(CreationRecord* record, CDialogBase* dialog)
{
    record->dialog = dialog;
    record->threadId = GetCurrentThreadId();
    EnterCriticalSection(&m_csWindowCreate);
    record->next = m_pCreationList;
    m_pCreationList = record;
    LeaveCriticalSection(&m_csWindowCreate);
}

CDialogBase* CAppModule::ExtractCreationRecord()
{
    const DWORD thread = GetCurrentThreadId();
    CDialogBase* dialog = nullptr;
    EnterCriticalSection(&m_csWindowCreate);
    for (CreationRecord** link = &m_pCreationList; *link != nullptr; link = &(*link)->next) {
        if ((*link)->threadId == thread) {
            dialog = (*link)->dialog;
            *link = (*link)->next;
            break;
        }
    }
    LeaveCriticalSection(&m_csWindowCreate);
    return dialog;
}

void CAppModule::DiscardCreationRecord(CreationRecord* record)
{
    EnterCriticalSection(&m_csWindowCreate);
    for (CreationRecord** link = &m_pCreationList; *link != nullptr; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            break;
        }
    }
    LeaveCriticalSection(&m_csWindowCreate);
}
