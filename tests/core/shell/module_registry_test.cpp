// The module's two registries: creation records found by thread, and the loop of each thread.
#include "shell/module_registry.h"

#include <gtest/gtest.h>

namespace {

// Stand-ins: the registries only keep and compare the pointers.
CDialogBase* Dialog(int n)
{
    return reinterpret_cast<CDialogBase*>(static_cast<uintptr_t>(0x1000 * n));
}
CMessageLoop* Loop(int n)
{
    return reinterpret_cast<CMessageLoop*>(static_cast<uintptr_t>(0x1000 * n));
}

TEST(CreationRecords, EachThreadTakesItsNewestRecordAndNoOther)
{
    CreationRecord records[4]{};
    CreationRecord* list = nullptr;
    PushCreationRecord(&list, &records[0], Dialog(1), 7);
    PushCreationRecord(&list, &records[1], Dialog(2), 8);
    PushCreationRecord(&list, &records[2], Dialog(3), 7);
    PushCreationRecord(&list, &records[3], Dialog(4), 9);
    UnlinkCreationRecord(&list, &records[3]);  // its creation failed
    EXPECT_EQ(Dialog(3), TakeCreationRecord(&list, 7));
    EXPECT_EQ(Dialog(1), TakeCreationRecord(&list, 7));
    EXPECT_EQ(nullptr, TakeCreationRecord(&list, 7));
    EXPECT_EQ(nullptr, TakeCreationRecord(&list, 9)) << "the unlinked record is gone";
    UnlinkCreationRecord(&list, &records[0]);  // no longer listed: nothing happens
    EXPECT_EQ(Dialog(2), TakeCreationRecord(&list, 8));
    EXPECT_EQ(nullptr, list);
}

TEST(LoopRegistry, TheFirstLoopOfAThreadCountsUntilItIsRemoved)
{
    LoopRegistry loops;
    EXPECT_FALSE(loops.Remove(7));
    ASSERT_TRUE(loops.Add(7, Loop(1)));
    ASSERT_TRUE(loops.Add(8, Loop(2)));
    ASSERT_TRUE(loops.Add(7, Loop(3)));
    EXPECT_EQ(Loop(1), loops.Find(7));
    EXPECT_TRUE(loops.Remove(7));
    EXPECT_EQ(Loop(3), loops.Find(7));
    EXPECT_EQ(Loop(2), loops.Find(8));
    EXPECT_EQ(nullptr, loops.Find(9));
}

}  // namespace
