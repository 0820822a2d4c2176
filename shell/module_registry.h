// The module object's two registries, free of locks and windows: the message loop of each thread,
// and the dialogs whose windows are being created. The module takes its locks around them.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

class CDialogBase;
class CMessageLoop;

// Links a dialog object to the window being created for it; a member of the dialog, so adding one
// allocates nothing.
struct CreationRecord {
    CDialogBase* dialog;
    uint32_t threadId;
    CreationRecord* next;
};

// Puts a record at the head of the list (newest first).
void PushCreationRecord(CreationRecord** list, CreationRecord* record, CDialogBase* dialog, uint32_t threadId);

// Unlinks the first record of the thread and gives its dialog; null when the thread has none.
CDialogBase* TakeCreationRecord(CreationRecord** list, uint32_t threadId);

// Unlinks this very record, if it is still listed (its creation failed, so no window took it).
void UnlinkCreationRecord(CreationRecord** list, const CreationRecord* record);

// The loops of the threads, in order of registration; a thread has at most one that counts, the first.
class LoopRegistry {
public:
    // False when the registry cannot grow; nothing changes then.
    bool Add(uint32_t threadId, CMessageLoop* loop);
    // False when the thread has no loop here.
    bool Remove(uint32_t threadId);
    CMessageLoop* Find(uint32_t threadId) const;

private:
    std::vector<std::pair<uint32_t, CMessageLoop*>> m_loops;
};
