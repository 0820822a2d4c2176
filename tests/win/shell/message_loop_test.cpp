// The message loop: when idle work runs again, the order of the pre-filters, the exit code.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "shell/message_loop_win32.h"

namespace {

constexpr UINT kCaretBlinkTimer = 0x0118;

// Counts its runs; at the first it queues messages that must not re-arm idle work, and a timer that
// must; at the second it ends the loop.
class ScriptedIdleTask : public CIdleTask {
public:
    explicit ScriptedIdleTask(std::vector<UINT> quietMessages) : quietMessages_(std::move(quietMessages)) {}

    bool RunIdleTask() override
    {
        ++runs;
        if (runs == 1) {
            for (UINT message : quietMessages_) {
                PostThreadMessageA(GetCurrentThreadId(), message, 0, 0);
            }
            timer_ = SetTimer(nullptr, 0, 50, nullptr);
        } else {
            KillTimer(nullptr, timer_);
            PostQuitMessage(runs);
        }
        return false;
    }

    int runs = 0;

private:
    std::vector<UINT> quietMessages_;
    UINT_PTR timer_ = 0;
};

TEST(CMessageLoop, MouseMovesPaintingAndCaretBlinksDoNotReArmIdleWork)
{
    CMessageLoop loop;
    ScriptedIdleTask task({WM_MOUSEMOVE, WM_NCMOUSEMOVE, WM_PAINT, kCaretBlinkTimer, WM_MOUSEMOVE});
    loop.AddIdleTask(&task);
    EXPECT_EQ(2, loop.Run()) << "idle work ran at the start and after the timer, never after the quiet messages";
}

TEST(CMessageLoop, AnyOtherMessageReArmsIdleWorkOnce)
{
    CMessageLoop loop;
    ScriptedIdleTask task({WM_USER + 1});
    loop.AddIdleTask(&task);
    EXPECT_EQ(2, loop.Run()) << "the posted message re-armed it; the second run ended the loop";
}

class RecordingFilter : public CMessagePreFilter {
public:
    RecordingFilter(std::vector<int>* log, int name, bool consumes) : log_(log), name_(name), consumes_(consumes) {}

    bool FilterMessage(MSG* /*message*/) override
    {
        log_->push_back(name_);
        return consumes_;
    }

private:
    std::vector<int>* log_;
    int name_;
    bool consumes_;
};

TEST(CMessageLoop, AsksThePreFiltersNewestFirstUntilOneConsumes)
{
    std::vector<int> log;
    RecordingFilter first(&log, 1, true);
    RecordingFilter second(&log, 2, false);
    RecordingFilter third(&log, 3, false);
    CMessageLoop loop;
    loop.AddPreFilter(&first);
    loop.AddPreFilter(nullptr);
    loop.AddPreFilter(&second);
    loop.AddPreFilter(&third);
    MSG message{};
    EXPECT_TRUE(loop.FilterMessage(&message));
    EXPECT_EQ((std::vector<int>{3, 2, 1}), log);
}

TEST(CMessageLoop, ReturnsTheExitCodeOfTheQuitMessage)
{
    CMessageLoop loop;
    PostQuitMessage(2);
    EXPECT_EQ(2, loop.Run());
}

}  // namespace
