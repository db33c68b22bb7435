// PNG files for tests through the WIC PNG encoder.
#include "tests/support/png_writer.h"

#include <objbase.h>
#include <wincodec.h>

#include "platform/base/scoped.h"

namespace {

class ComScope {
public:
    ComScope() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() { if (SUCCEEDED(m_hr)) CoUninitialize(); }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool ok() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_hr;
};

}  // namespace

bool WritePng(const std::wstring& path, int width, int height, const std::vector<Argb>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height)) return false;
    ComScope com;
    if (!com.ok()) return false;
    scoped::Com<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))))
        return false;
    scoped::Com<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)))
        return false;
    scoped::Com<IWICBitmapEncoder> encoder;
    if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)))
        return false;
    scoped::Com<IWICBitmapFrameEncode> frame;
    if (FAILED(encoder->CreateNewFrame(frame.put(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(UINT(width), UINT(height))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    // The encoder may offer another format; the pixels would then be misread.
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat32bppBGRA) return false;
    // 0xAARRGGBB in memory on a little-endian machine is B, G, R, A.
    std::vector<Argb> rows = pixels;
    UINT stride = UINT(width) * 4;
    if (FAILED(frame->WritePixels(UINT(height), stride, stride * UINT(height),
                                  reinterpret_cast<BYTE*>(rows.data()))) ||
        FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return false;
    return true;
}

bool WriteSolidPng(const std::wstring& path, int width, int height, Argb color) {
    if (width <= 0 || height <= 0) return false;
    return WritePng(path, width, height, std::vector<Argb>(size_t(width) * size_t(height), color));
}

std::string SolidBmp(int width, int height, Argb color) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + stride * height;
    ih.biSize = sizeof(ih);
    ih.biWidth = width;
    ih.biHeight = height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    std::string row(stride, '\0');
    for (int x = 0; x < width; ++x) {
        row[x * 3] = static_cast<char>(color & 0xFF);
        row[x * 3 + 1] = static_cast<char>((color >> 8) & 0xFF);
        row[x * 3 + 2] = static_cast<char>((color >> 16) & 0xFF);
    }
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof(fh));
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof(ih));
    for (int y = 0; y < height; ++y) bytes += row;
    return bytes;
}

std::string PngHeaderOfSize(uint32_t width, uint32_t height) {
    auto be32 = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    // IHDR: the size, 8-bit grey, no interlace; its CRC-32 as PNG has it.
    std::string ihdr = "IHDR" + be32(width) + be32(height) + std::string("\x08\0\0\0\0", 5);
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : ihdr) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + ihdr + be32(~crc) + be32(0) + "IDAT" + be32(0);
}
