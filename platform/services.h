#pragma once
// The platform services a session of the program needs, in one object: the
// code page, the clock, the file system, the tag and picture readers. The
// path separator is the file system's own (stored nowhere else). The rule
// engine's context and the batch session are both built from it; the
// running system's object comes from the platform library (SystemServices),
// tests build theirs from stand-ins.
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "platform/media.h"

namespace quorv {

class Services {
public:
    Services(const CodePage& codePage, const Clock& clock, FileSystem& fileSystem, TagReader& tags,
             PictureReader& pictures)
        : codePage_(&codePage), clock_(&clock), fileSystem_(&fileSystem), tags_(&tags), pictures_(&pictures) {}

    const CodePage& codePage() const { return *codePage_; }
    const Clock& clock() const { return *clock_; }
    FileSystem& fileSystem() const { return *fileSystem_; }
    TagReader& tags() const { return *tags_; }
    PictureReader& pictures() const { return *pictures_; }
    char separator() const { return fileSystem_->Separator(); }

private:
    const CodePage* codePage_;
    const Clock* clock_;
    FileSystem* fileSystem_;
    TagReader* tags_;
    PictureReader* pictures_;
};

}  // namespace quorv
