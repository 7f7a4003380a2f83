// Readers that find nothing: what the engine sees for a file that is no MP3
// or no picture, and the readers of a platform without the libraries.
#include "platform/media.h"

namespace quorv {
namespace {

class NullTagReader : public TagReader {
public:
    std::unique_ptr<TagFile> Open(const std::string&) override { return nullptr; }
};

class NullPictureReader : public PictureReader {
public:
    bool Read(const std::string&, PictureInfo& out) override { out = PictureInfo{}; return false; }
    bool Save(const std::string&, const std::string&, const std::string&) override { return false; }
};

}  // namespace

std::unique_ptr<TagReader> MakeNullTagReader() { return std::make_unique<NullTagReader>(); }
std::unique_ptr<PictureReader> MakeNullPictureReader() { return std::make_unique<NullPictureReader>(); }

}  // namespace quorv
