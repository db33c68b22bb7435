// PNG files through WIC: the shell's image-file loader, a loader for many
// files in a row, and DrawImageFile.
#include "platform/aygshell/image_file.h"

#include <cwchar>

#include <wincodec.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "platform/base/debug_out.h"
#include "platform/base/device_root.h"
#include "platform/base/scoped.h"
#include "platform/base/screen.h"

void TraceImageFailure(LPCWSTR routine, LPCWSTR call, LPCWSTR file, unsigned long code) {
    NKDbgPrintfW(L"[imaging] [err]:%s(), %s failed, code=[0x%08lx], file=[%s].\r\n", routine, call,
                 code, file ? file : L"(null)");
}

namespace {

void TraceFailure(LPCWSTR routine, LPCWSTR call, LPCWSTR file, unsigned long code) {
    TraceImageFailure(routine, call, file, code);
}

// A picture larger than the screen can use is refused before it is decoded:
// no skin needs more than a side of 4096 or four screens of pixels, and a
// 20000 x 20000 PNG of a few hundred kB would take gigabytes decoded.
// Every skin fits four of the smallest screen the program knows (240 x
// 320); only a larger picture needs the screen asked, a call that costs
// Wine a look at its display devices each time.
bool UsableImageSize(uint64_t cx, uint64_t cy) {
    constexpr uint64_t kSmallestScreen = 240 * 320;
    if (cx > kMaxImageSide || cy > kMaxImageSide) return false;
    if (cx * cy <= kMaxImageScreens * kSmallestScreen) return true;
    const int width = GetScreenWidth(), height = GetScreenHeight();
    const uint64_t screen = uint64_t(width > 0 ? width : 0) * uint64_t(height > 0 ? height : 0);
    return cx * cy <= kMaxImageScreens * screen;
}

// Traced by every loader, but by DrawImageFile, which decodes the file at
// every refresh, once per file.
void TraceRefused(LPCWSTR routine, LPCWSTR file, uint64_t cx, uint64_t cy) {
    if (wcscmp(routine, L"DrawImageFile") == 0) {
        static std::mutex s_lock;
        static std::set<std::wstring> s_said;
        std::lock_guard<std::mutex> lock(s_lock);
        if (!s_said.insert(file).second) return;
    }
    NKDbgPrintfW(L"[imaging] [err]:%s(), image %llux%llu larger than the screen can use, refused, "
                 L"file=[%s].\r\n",
                 routine, static_cast<unsigned long long>(cx), static_cast<unsigned long long>(cy), file);
}

// The size a PNG's header gives (its IHDR chunk), read from the file's
// stream before any decoder sees it (Wine's PNG decoder decodes every pixel
// as soon as it is given the stream); the stream is then rewound. False for
// a file that is not a PNG.
bool PngHeaderSize(IStream* pStream, uint64_t* pcx, uint64_t* pcy) {
    BYTE head[24];
    ULONG got = 0;
    const bool bRead = SUCCEEDED(pStream->Read(head, sizeof head, &got)) && got == sizeof head;
    const LARGE_INTEGER start{};
    pStream->Seek(start, STREAM_SEEK_SET, nullptr);
    static const BYTE kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!bRead || memcmp(head, kSignature, sizeof kSignature) != 0 || memcmp(head + 12, "IHDR", 4) != 0)
        return false;
    auto be32 = [](const BYTE* p) {
        return uint64_t(p[0]) << 24 | uint64_t(p[1]) << 16 | uint64_t(p[2]) << 8 | p[3];
    };
    *pcx = be32(head + 16);
    *pcy = be32(head + 20);
    return true;
}

// A decoder for the file's stream. Skins are PNG files: the PNG decoder is made
// directly (from pPngClass when the caller holds it), which spares the
// factory's search through every decoder it knows, a good part of each
// file's time. Anything else still gets the factory's choice. Failures come
// back as the factory's own codes.
HRESULT OpenDecoder(IWICImagingFactory* pFactory, IClassFactory* pPngClass, IWICStream* pStream, LPCWSTR path,
                    IWICBitmapDecoder** ppDecoder) {
    scoped::Com<IWICBitmapDecoder> png;
    void** ppv = reinterpret_cast<void**>(png.put());
    HRESULT hr = pPngClass ? pPngClass->CreateInstance(nullptr, IID_IWICBitmapDecoder, ppv)
                           : CoCreateInstance(CLSID_WICPngDecoder, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IWICBitmapDecoder, ppv);
    if (SUCCEEDED(hr) && SUCCEEDED(png->Initialize(pStream, WICDecodeMetadataCacheOnDemand))) {
        *ppDecoder = png.get();
        png->AddRef();
        return S_OK;
    }
    return pFactory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                               ppDecoder);
}

// The first frame of an image file as premultiplied BGRA, decoded straight
// into a top-down 32-bit DIB section; null on any failure, which is traced.
HBITMAP DecodeToDib(IWICImagingFactory* pFactory, IClassFactory* pPngClass, LPCWSTR routine, LPCWSTR cePath,
                    UINT* pcx, UINT* pcy) {
    std::wstring path = DevicePath(cePath);
    // One opening of the file: its header is checked, then decoded.
    scoped::Com<IWICStream> stream;
    HRESULT hr = pFactory->CreateStream(stream.put());
    if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_READ);
    uint64_t cxHead = 0, cyHead = 0;
    if (SUCCEEDED(hr) && PngHeaderSize(stream.get(), &cxHead, &cyHead) && !UsableImageSize(cxHead, cyHead)) {
        TraceRefused(routine, cePath, cxHead, cyHead);
        return nullptr;
    }
    scoped::Com<IWICBitmapDecoder> decoder;
    if (SUCCEEDED(hr)) hr = OpenDecoder(pFactory, pPngClass, stream.get(), path.c_str(), decoder.put());
    if (FAILED(hr)) {
        // A missing skin file is drawn at every refresh: say so once, when
        // the skin is loaded, not at every drawing.
        bool missing = hr == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ||
                       hr == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
        if (!missing || wcscmp(routine, L"DrawImageFile") != 0)
            TraceFailure(routine, L"CreateDecoderFromFilename", cePath, hr);
        return nullptr;
    }
    scoped::Com<IWICBitmapFrameDecode> frame;
    hr = decoder->GetFrame(0, frame.put());
    if (FAILED(hr)) {
        TraceFailure(routine, L"GetFrame", cePath, hr);
        return nullptr;
    }
    // Other formats: WIC gives a frame's size before its pixels are copied.
    UINT cxFrame = 0, cyFrame = 0;
    if (SUCCEEDED(frame->GetSize(&cxFrame, &cyFrame)) && !UsableImageSize(cxFrame, cyFrame)) {
        TraceRefused(routine, cePath, cxFrame, cyFrame);
        return nullptr;
    }
    scoped::Com<IWICFormatConverter> converter;
    hr = pFactory->CreateFormatConverter(converter.put());
    if (FAILED(hr)) {
        TraceFailure(routine, L"CreateFormatConverter", cePath, hr);
        return nullptr;
    }
    hr = converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                               nullptr, 0.0, WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) {
        TraceFailure(routine, L"IWICFormatConverter::Initialize", cePath, hr);
        return nullptr;
    }
    UINT cx = 0, cy = 0;
    hr = converter->GetSize(&cx, &cy);
    if (FAILED(hr)) {
        TraceFailure(routine, L"GetSize", cePath, hr);
        return nullptr;
    }
    // A stride and buffer size that fit the copy's 32-bit counts.
    uint64_t cbImage = uint64_t(cx) * 4u * cy;
    if (cx == 0 || cy == 0 || cx > INT_MAX / 4 || cy > INT_MAX || cbImage > UINT_MAX) {
        NKDbgPrintfW(L"[imaging] [err]:%s(), image size %ux%u not usable, file=[%s].\r\n", routine,
                     cx, cy, cePath);
        return nullptr;
    }

    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = static_cast<LONG>(cx);
    bmi.bmiHeader.biHeight = -static_cast<LONG>(cy);  // top-down, as WIC delivers rows
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    scoped::Bitmap bitmap(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0));
    if (!bitmap || !pBits) {
        TraceFailure(routine, L"CreateDIBSection", cePath, GetLastError());
        return nullptr;
    }
    GdiFlush();
    hr = converter->CopyPixels(nullptr, cx * 4, static_cast<UINT>(cbImage), static_cast<BYTE*>(pBits));
    if (FAILED(hr)) {
        TraceFailure(routine, L"CopyPixels", cePath, hr);
        return nullptr;
    }
    *pcx = cx;
    *pcy = cy;
    return bitmap.release();
}

}  // namespace

ImageFileLoader::ImageFileLoader(IUnknown* pImagingFactory) {
    HRESULT hr;
    if (pImagingFactory) {
        hr = pImagingFactory->QueryInterface(IID_IWICImagingFactory, reinterpret_cast<void**>(m_factory.put()));
        m_pszFailed = L"QueryInterface(IWICImagingFactory)";
    } else {
        HRESULT hrCom = m_apartment.emplace(COINIT_APARTMENTTHREADED).result();
        // Another apartment model already set up on this thread still serves.
        if (FAILED(hrCom) && hrCom != RPC_E_CHANGED_MODE) {
            m_hrFailed = hrCom;
            m_pszFailed = L"CoInitializeEx";
            return;
        }
        hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(m_factory.put()));
        m_pszFailed = L"CoCreateInstance";
    }
    if (FAILED(hr)) {
        m_factory.reset();
        m_hrFailed = hr;
        return;
    }
    m_pszFailed = nullptr;
    // Without the class at hand each file makes its PNG decoder the long way.
    if (FAILED(CoGetClassObject(CLSID_WICPngDecoder, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                reinterpret_cast<void**>(m_pngClass.put()))))
        m_pngClass.reset();
}

ImageFileLoader::~ImageFileLoader() = default;

HBITMAP ImageFileLoader::Load(LPCWSTR pszFileName) {
    if (!pszFileName) return nullptr;
    if (!m_factory) {
        TraceFailure(L"SHLoadImageFile", m_pszFailed, pszFileName, m_hrFailed);
        return nullptr;
    }
    UINT cx = 0, cy = 0;
    return DecodeToDib(m_factory.get(), m_pngClass.get(), L"SHLoadImageFile", pszFileName, &cx, &cy);
}

HBITMAP SHLoadImageFile(LPCWSTR pszFileName) {
    if (!pszFileName) return nullptr;
    // The shell's loader may be called before or outside the program's own
    // COM set-up: the loader joins the thread's apartment for the call only.
    ImageFileLoader loader(nullptr);
    return loader.Load(pszFileName);
}

HBITMAP DecodeImageFile(IUnknown* pImagingFactory, LPCWSTR routine, LPCWSTR pszFileName, UINT* pcx, UINT* pcy) {
    scoped::Com<IWICImagingFactory> factory;
    HRESULT hr = pImagingFactory->QueryInterface(IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()));
    if (FAILED(hr)) {
        TraceFailure(routine, L"QueryInterface(IWICImagingFactory)", pszFileName, hr);
        return nullptr;
    }
    return DecodeToDib(factory.get(), nullptr, routine, pszFileName, pcx, pcy);
}
