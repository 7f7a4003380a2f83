// The services of the running system in one object: the code page, clock
// and file system of the platform, id3lib for tags on both builds, GDI+ for
// pictures on Windows (none natively: pictures then read as "no picture"
// and conversions fail).
#include "system/system.h"

namespace quorv {

TagReader& SystemTagReader() {
    static const std::unique_ptr<TagReader> reader = MakeId3libTagReader(SystemCodePage());
    return *reader;
}

PictureReader& SystemPictureReader() {
#ifdef _WIN32
    static const std::unique_ptr<PictureReader> reader = MakeGdiplusPictureReader();
#else
    static const std::unique_ptr<PictureReader> reader = MakeNullPictureReader();
#endif
    return *reader;
}

const Services& SystemServices() {
    static const Services services(SystemCodePage(), SystemClock(), SystemFileSystem(), SystemTagReader(),
                                   SystemPictureReader());
    return services;
}

}  // namespace quorv
