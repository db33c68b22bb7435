// The two exports of a scroll library; ORVEX_SCROLL_VERSION says which one
// this build is ("OrvexScroll.dll" is 1, "OrvexScroll2.dll" is 2).
#include "platform/orvexscroll/scroll_component.h"

#include <type_traits>

#ifndef ORVEX_SCROLL_VERSION
#error ORVEX_SCROLL_VERSION must be 1 or 2
#endif

extern "C" __declspec(dllexport) BOOL CreateOrvexScrollInstance(ScrollInstance** ppInstance) {
    if (!ppInstance) return FALSE;
    ScrollOptions opt;
    opt.nVersion = ORVEX_SCROLL_VERSION;
    *ppInstance = CreateScrollComponent(opt);
    return *ppInstance != nullptr;
}

extern "C" __declspec(dllexport) BOOL DestroyOrvexScrollInstance(ScrollInstance* pInstance) {
    return DestroyScrollComponent(pInstance);
}

// The list looks the exports up with the contract's types.
static_assert(std::is_same<decltype(&CreateOrvexScrollInstance), PFN_CreateOrvexScrollInstance>::value,
              "CreateOrvexScrollInstance differs from the contract");
static_assert(std::is_same<decltype(&DestroyOrvexScrollInstance), PFN_DestroyOrvexScrollInstance>::value,
              "DestroyOrvexScrollInstance differs from the contract");
