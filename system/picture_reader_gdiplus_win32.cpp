// Pictures through GDI+ (flat API): size, raw format and pixel format of a
// picture file, and saving a copy through an encoder chosen by MIME type.
//
// GDI+ is started and shut down around every single operation, and every
// picture is released before the library goes down, whatever the outcome.
#include <windows.h>
// WIN32_LEAN_AND_MEAN leaves out the COM declarations that GDI+ needs.
#include <objidl.h>
#include <gdiplus.h>

#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "platform/media.h"
#include "system/system.h"
#include "system/text_win32.h"

namespace quorv {
namespace {

// One started GDI+ for the life of one operation.
class GdiplusSession {
public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;  // version 1, no callbacks
        ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession() {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool ok() const { return ok_; }

private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

// A loaded picture, disposed of on scope exit (before the session ends:
// declare it after the session).
class LoadedImage {
public:
    explicit LoadedImage(const std::wstring& path) {
        if (Gdiplus::DllExports::GdipLoadImageFromFile(path.c_str(), &image_) != Gdiplus::Ok) image_ = nullptr;
    }
    ~LoadedImage() {
        if (image_ != nullptr) Gdiplus::DllExports::GdipDisposeImage(image_);
    }
    LoadedImage(const LoadedImage&) = delete;
    LoadedImage& operator=(const LoadedImage&) = delete;
    Gdiplus::GpImage* get() const { return image_; }

private:
    Gdiplus::GpImage* image_ = nullptr;
};

// A path of the program for GDI+, at any length (the "\\?\" form of long
// paths, which GDI+ passes on to the file functions); false when it is
// empty or holds a zero byte, which would name another file.
bool WidePath(const std::string& path, std::wstring& out) {
    out = win::WideFilePath(path);
    return !out.empty();
}

// The documented image-format identifiers: {b96b3cXX-0728-11d3-9d7b-0000f81ef32e}.
PictureFormat FormatFromGuid(const GUID& g) {
    static const unsigned char kTail[8] = {0x9d, 0x7b, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e};
    if ((g.Data1 & 0xFFFFFF00u) != 0xb96b3c00u || g.Data2 != 0x0728 || g.Data3 != 0x11d3 ||
        std::memcmp(g.Data4, kTail, sizeof kTail) != 0) {
        return PictureFormat::Other;
    }
    switch (g.Data1 & 0xFFu) {
        case 0xa9: return PictureFormat::Undefined;
        case 0xaa: return PictureFormat::MemoryBMP;
        case 0xab: return PictureFormat::BMP;
        case 0xac: return PictureFormat::EMF;
        case 0xad: return PictureFormat::WMF;
        case 0xae: return PictureFormat::JPEG;
        case 0xaf: return PictureFormat::PNG;
        case 0xb0: return PictureFormat::GIF;
        case 0xb1: return PictureFormat::TIFF;
        case 0xb2: return PictureFormat::EXIF;
        case 0xb5: return PictureFormat::Icon;
        default: return PictureFormat::Other;
    }
}

// The class id of the first installed encoder whose MIME type equals mime.
bool FindEncoder(const std::wstring& mime, CLSID& out) {
    UINT count = 0, bytes = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || count == 0 || bytes == 0) {
        return false;
    }
    // The list and the strings it points to share one buffer; keep it
    // aligned for the records at its start.
    std::vector<Gdiplus::ImageCodecInfo> buffer((bytes + sizeof(Gdiplus::ImageCodecInfo) - 1) /
                                                sizeof(Gdiplus::ImageCodecInfo));
    if (buffer.size() < count) return false;
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, bytes, buffer.data()) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        const WCHAR* type = buffer[i].MimeType;
        if (type != nullptr && mime == type) {
            out = buffer[i].Clsid;
            return true;
        }
    }
    return false;
}

class GdiplusPictureReader : public PictureReader {
public:
    bool Read(const std::string& path, PictureInfo& out) override {
        out = PictureInfo{};
        try {
            std::wstring wide;
            if (!WidePath(path, wide)) return false;
            GdiplusSession session;
            if (!session.ok()) return false;
            LoadedImage image(wide);
            if (image.get() == nullptr) return false;
            UINT width = 0, height = 0;
            GUID raw{};
            Gdiplus::PixelFormat pixels = 0;
            if (Gdiplus::DllExports::GdipGetImageWidth(image.get(), &width) != Gdiplus::Ok) width = 0;
            if (Gdiplus::DllExports::GdipGetImageHeight(image.get(), &height) != Gdiplus::Ok) height = 0;
            out.width = width > static_cast<UINT>(std::numeric_limits<int>::max()) ? 0 : static_cast<int>(width);
            out.height = height > static_cast<UINT>(std::numeric_limits<int>::max()) ? 0 : static_cast<int>(height);
            if (Gdiplus::DllExports::GdipGetImageRawFormat(image.get(), &raw) == Gdiplus::Ok) {
                out.format = FormatFromGuid(raw);
            }
            if (Gdiplus::DllExports::GdipGetImagePixelFormat(image.get(), &pixels) == Gdiplus::Ok) {
                out.pixelFormat = static_cast<std::int32_t>(pixels);
            }
            return true;
        } catch (...) {
            out = PictureInfo{};
            return false;
        }
    }

    bool Save(const std::string& source, const std::string& target, const std::string& mimeType) override {
        try {
            std::wstring wideSource, wideTarget, wideMime;
            if (!WidePath(source, wideSource) || !WidePath(target, wideTarget)) return false;
            for (char c : mimeType) wideMime += static_cast<wchar_t>(static_cast<unsigned char>(c));
            GdiplusSession session;
            if (!session.ok()) return false;
            LoadedImage image(wideSource);
            if (image.get() == nullptr) return false;
            CLSID encoder{};
            if (mimeType.empty() || !FindEncoder(wideMime, encoder)) return false;
            const bool existed = GetFileAttributesW(wideTarget.c_str()) != INVALID_FILE_ATTRIBUTES;
            if (Gdiplus::DllExports::GdipSaveImageToFile(image.get(), wideTarget.c_str(), &encoder, nullptr) !=
                Gdiplus::Ok) {
                return false;
            }
            // An encoder may report success for a file it could not really
            // write (a GIF encoder handed true-colour pixels that it does
            // not reduce writes just a header): only a written file that
            // loads again as a picture counts, and a broken one that the
            // save made is taken away again.
            {
                LoadedImage check(wideTarget);
                if (check.get() != nullptr) return true;
            }
            if (!existed) DeleteFileW(wideTarget.c_str());
            return false;
        } catch (...) {
            return false;
        }
    }
};

}  // namespace

std::unique_ptr<PictureReader> MakeGdiplusPictureReader() { return std::make_unique<GdiplusPictureReader>(); }

}  // namespace quorv
