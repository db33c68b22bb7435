// Decoding of the menu-bar resource, bounds-checked against its size.
#include "platform/aygshell/menubar_resource.h"

#include <cstring>

namespace {
constexpr size_t kHeaderBytes = 2 * sizeof(WORD);
constexpr size_t kButtonWords = 7;
constexpr size_t kButtonBytes = kButtonWords * sizeof(WORD);

WORD WordAt(const BYTE* p) {
    WORD w;
    std::memcpy(&w, p, sizeof(w));  // resources need not be aligned
    return w;
}
}  // namespace

bool ParseMenuBarResource(const BYTE* pData, size_t cbData, WORD* pwMenuId,
                          std::vector<MenuBarButton>* pButtons) {
    if (!pButtons) return false;
    pButtons->clear();
    if (!pData || cbData < kHeaderBytes) return false;
    WORD wCount = WordAt(pData + sizeof(WORD));
    if (cbData - kHeaderBytes < static_cast<size_t>(wCount) * kButtonBytes) return false;
    if (pwMenuId) *pwMenuId = WordAt(pData);
    const BYTE* p = pData + kHeaderBytes;
    for (WORD i = 0; i < wCount; ++i, p += kButtonBytes) {
        WORD w[kButtonWords];
        for (size_t k = 0; k < kButtonWords; ++k) w[k] = WordAt(p + k * sizeof(WORD));
        pButtons->push_back(MenuBarButton{w[0], w[1], w[2], w[3], w[4], w[5], w[6]});
    }
    return true;
}
