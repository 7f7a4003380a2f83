#pragma once
// The services of the running system, defined by the platform library: the
// ANSI code page (UTF-8 natively), the real clock and local zone, the real
// file system, id3lib and (on Windows) GDI+. Each lives as long as the
// program. The core never calls these: programs and tests hand the
// services in.
#include <memory>

#include "platform/services.h"

namespace quorv {

const Services& SystemServices();

const CodePage& SystemCodePage();
const Clock& SystemClock();
FileSystem& SystemFileSystem();
TagReader& SystemTagReader();
PictureReader& SystemPictureReader();

// While it lives, a console the program writes to shows the program's
// narrow text: on Windows, where that text is UTF-8 and standard output or
// standard error is a console, the console's output code page becomes UTF-8
// (the manifest does not change it) and is put back afterwards, once the
// buffered output is written. Nothing natively, nor for output into files
// and pipes.
class ConsoleOutputText {
public:
    ConsoleOutputText();
    ~ConsoleOutputText();
    ConsoleOutputText(const ConsoleOutputText&) = delete;
    ConsoleOutputText& operator=(const ConsoleOutputText&) = delete;

private:
    unsigned previous_ = 0;  // the code page to put back; 0 when nothing changed
};

// The library readers: id3lib (both builds) and GDI+ (Windows builds only).
std::unique_ptr<TagReader> MakeId3libTagReader(const CodePage& codePage);
std::unique_ptr<PictureReader> MakeGdiplusPictureReader();

}  // namespace quorv
