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

// The library readers: id3lib (both builds) and GDI+ (Windows builds only).
std::unique_ptr<TagReader> MakeId3libTagReader(const CodePage& codePage);
std::unique_ptr<PictureReader> MakeGdiplusPictureReader();

}  // namespace quorv
