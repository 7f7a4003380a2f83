// Placeholder until the media readers land: nothing is read from files yet.
#include "engine/media_values.h"

namespace quorv {

std::string Mp3TagValue(const EngineContext&, const std::string&, bool, const std::string&) { return {}; }
std::string PictureValue(const EngineContext&, const std::string&, const std::string& property) {
    return property == "resolution" ? "0x0" : "";
}
const char kConversionMarker[] = "?conpic";
bool ConvertPicture(const EngineContext&, const std::string&, const std::string&) { return false; }

}  // namespace quorv
