// The text of the message box about files that could not be saved.
#include "unsaved_files.h"

#include "res/texts.h"

const char* RefusalWords(FileRefusal refusal)
{
    switch (refusal) {
    case FileRefusal::NoPath:
        return texts::kRefusalNoPath;
    case FileRefusal::ReadOnly:
        return texts::kRefusalReadOnly;
    case FileRefusal::Link:
        return texts::kRefusalLink;
    case FileRefusal::UnreadableAtStart:
        return texts::kRefusalUnreadable;
    case FileRefusal::None:
        break;
    }
    return nullptr;
}

std::string UnsavedFilesMessage(const std::vector<UnsavedFile>& files)
{
    std::string text = texts::kUnsavedIntro;
    for (const UnsavedFile& file : files) {
        text += std::string("\n\n") + texts::kUnsavedFile + file.name + "\n" + texts::kUnsavedFolder + file.folder +
                "\n" + texts::kUnsavedReason + file.reason;
    }
    return text + "\n\n" + texts::kUnsavedOutro;
}
