// The imaging factory over WIC.
#include "platform/base/imaging.h"

#include <wincodec.h>

BOOL CreateImagingFactory(IUnknown** ppFactory) {
    if (!ppFactory) return FALSE;
    *ppFactory = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IUnknown, reinterpret_cast<void**>(ppFactory));
    return SUCCEEDED(hr) && *ppFactory;
}

void ReleaseImagingFactory(IUnknown** ppFactory) {
    if (!ppFactory || !*ppFactory) return;
    IUnknown* pFactory = *ppFactory;
    *ppFactory = nullptr;
    pFactory->Release();
}
