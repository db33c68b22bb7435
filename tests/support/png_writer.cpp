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
