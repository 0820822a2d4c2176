// The tray tip's text.
#include "tray_tip.h"

#include "res/texts.h"

std::string TrayTip(const std::string& writtenAt, const std::string& status)
{
    return std::string(texts::kProgramName) + "\n" + LastSyncLine(writtenAt, status);
}

std::string LastSyncLine(const std::string& writtenAt, const std::string& status)
{
    return std::string(texts::kTipLastSync) + " " + writtenAt + " " + status;
}
