// Image files of the device: the shell's image-file loader, a loader for many
// files in a row, and drawing a PNG scaled into a rectangle through the
// imaging factory. All decode with WIC to 32-bit premultiplied BGRA.
#pragma once
#include <windows.h>
#include <unknwn.h>

#include <optional>

#include "platform/base/scoped.h"

// The largest picture any loader here decodes: a side of at most 4096 and at
// most four screens of pixels. A larger one is refused, traced with its file
// and size, and is a picture that cannot be decoded.
constexpr unsigned kMaxImageSide = 4096;
constexpr unsigned kMaxImageScreens = 4;

// The shell's loader (SHLoadImageFile of aygshell): a device path of a PNG
// file to a 32-bit top-down DIB section. Null when the file is missing or
// cannot be decoded. The caller owns the bitmap.
HBITMAP SHLoadImageFile(LPCWSTR pszFileName);

struct IWICImagingFactory;

// Loads many files in a row as SHLoadImageFile does, with one factory and
// the PNG decoder's class looked up once: nothing is set up again per file.
class ImageFileLoader {
public:
    // The program's imaging factory (an IWICImagingFactory behind IUnknown),
    // or null for one of the loader's own, joining the thread's apartment
    // for the loader's lifetime.
    explicit ImageFileLoader(IUnknown* pImagingFactory);
    ~ImageFileLoader();
    ImageFileLoader(const ImageFileLoader&) = delete;
    ImageFileLoader& operator=(const ImageFileLoader&) = delete;
    // As SHLoadImageFile.
    HBITMAP Load(LPCWSTR pszFileName);

private:
    // Released in reverse: the decoder class and the factory before the apartment.
    std::optional<scoped::ComApartment> m_apartment;  // the loader's own, if it made one
    scoped::Com<IWICImagingFactory> m_factory;
    scoped::Com<IClassFactory> m_pngClass;
    LPCWSTR m_pszFailed = nullptr;  // the set-up call that failed, for the trace
    HRESULT m_hrFailed = S_OK;
};

// The file decoded as SHLoadImageFile does, through the program's imaging
// factory (an IWICImagingFactory behind IUnknown); failures traced under routine.
HBITMAP DecodeImageFile(IUnknown* pImagingFactory, LPCWSTR routine, LPCWSTR pszFileName, UINT* pcx, UINT* pcy);

// An image failure's trace line.
void TraceImageFailure(LPCWSTR routine, LPCWSTR call, LPCWSTR file, unsigned long code);
