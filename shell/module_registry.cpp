// The registries' list work, tested natively; the module object adds the critical sections.
#include "module_registry.h"

#include <new>

void PushCreationRecord(CreationRecord** list, CreationRecord* record, CDialogBase* dialog, uint32_t threadId)
{
    record->dialog = dialog;
    record->threadId = threadId;
    record->next = *list;
    *list = record;
}

CDialogBase* TakeCreationRecord(CreationRecord** list, uint32_t threadId)
{
    for (CreationRecord** link = list; *link != nullptr; link = &(*link)->next) {
        if ((*link)->threadId == threadId) {
            CDialogBase* dialog = (*link)->dialog;
            *link = (*link)->next;
            return dialog;
        }
    }
    return nullptr;
}

void UnlinkCreationRecord(CreationRecord** list, const CreationRecord* record)
{
    for (CreationRecord** link = list; *link != nullptr; link = &(*link)->next) {
        if (*link == record) {
            *link = record->next;
            return;
        }
    }
}

bool LoopRegistry::Add(uint32_t threadId, CMessageLoop* loop)
{
    try {
        m_loops.emplace_back(threadId, loop);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool LoopRegistry::Remove(uint32_t threadId)
{
    for (auto entry = m_loops.begin(); entry != m_loops.end(); ++entry) {
        if (entry->first == threadId) {
            m_loops.erase(entry);
            return true;
        }
    }
    return false;
}

CMessageLoop* LoopRegistry::Find(uint32_t threadId) const
{
    for (const auto& entry : m_loops) {
        if (entry.first == threadId) {
            return entry.second;
        }
    }
    return nullptr;
}
