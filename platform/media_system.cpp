// The media readers of the running platform: id3lib for tags on both
// builds; GDI+ for pictures on Windows, none natively (pictures then read
// as "no picture" and conversions fail).
#include "platform/media.h"

namespace quorv {

TagReader& SystemTagReader() {
    static const std::unique_ptr<TagReader> reader = MakeId3libTagReader();
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

}  // namespace quorv
