// Recorded gestures live in a small ring in named shared memory, so a handle
// made by one module (the program, a test, a device tool) reads the same in
// another (a scroll library carries its own copy of this code).
#include "platform/orvexscroll/gesture_info.h"

#include <cstring>

#include "platform/base/scoped.h"

namespace {

constexpr wchar_t kTableName[] = L"Local\\QXGestureInfoRing1";
constexpr int kSlots = 64;
// Recorded handles carry this tag in bits 24-31 and a sequence number below.
constexpr ULONG_PTR kTag = 0x5A000000;
constexpr ULONG_PTR kTagMask = 0xFF000000;
constexpr LONG kSeqMask = 0x00FFFFFF;

struct Slot {
    volatile LONG lSeq;  // 0 while being written
    GESTUREINFO gi;
};
struct Table {
    volatile LONG lCounter;
    Slot slots[kSlots];
};

// The module's view of the ring, mapped on first use and kept while the module lives.
class TableView {
public:
    TableView() {
        m_map.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Table), kTableName));
        if (m_map)
            m_pTable = static_cast<Table*>(MapViewOfFile(m_map.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Table)));
    }
    ~TableView() {
        if (m_pTable) UnmapViewOfFile(m_pTable);
    }
    TableView(const TableView&) = delete;
    TableView& operator=(const TableView&) = delete;
    Table* get() const { return m_pTable; }

private:
    scoped::Kernel m_map;
    Table* m_pTable = nullptr;
};

Table* GestureTable() {
    static TableView s_view;
    return s_view.get();
}

using PFN_GetGestureInfo = BOOL(WINAPI*)(HGESTUREINFO, PGESTUREINFO);

// user32's reader of real touch gestures (Windows 7 and later); absent elsewhere.
PFN_GetGestureInfo SystemGestureReader() {
    static PFN_GetGestureInfo s_pfn = [] {
        HMODULE hUser = GetModuleHandleW(L"user32.dll");
        return hUser ? reinterpret_cast<PFN_GetGestureInfo>(
                           reinterpret_cast<void*>(GetProcAddress(hUser, "GetGestureInfo")))
                     : nullptr;
    }();
    return s_pfn;
}

bool ReadRecorded(LONG lSeq, PGESTUREINFO pgi) {
    Table* pTable = GestureTable();
    if (!pTable) return false;
    Slot& slot = pTable->slots[lSeq % kSlots];
    if (slot.lSeq != lSeq) return false;
    GESTUREINFO gi;
    std::memcpy(&gi, &slot.gi, sizeof(gi));
    MemoryBarrier();
    // Overwritten while we copied: the handle has expired.
    if (slot.lSeq != lSeq) return false;
    gi.cbSize = pgi->cbSize;
    *pgi = gi;
    return true;
}

}  // namespace

ULONGLONG MakeScrollGestureArgs(int iDirection, int iVelocity, int iAngle) {
    ULONGLONG hi = (static_cast<ULONGLONG>((iAngle & 0xFFF0) | (iDirection & 0x000F)) << 16) |
                   static_cast<USHORT>(static_cast<short>(iVelocity));
    return hi << 32;
}

BOOL TKGetGestureInfo(HGESTUREINFO hGestureInfo, PGESTUREINFO pgi) {
    if (!pgi || pgi->cbSize < sizeof(GESTUREINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ULONG_PTR v = reinterpret_cast<ULONG_PTR>(hGestureInfo);
    if (v <= 0xFFFFFFFFu && (v & kTagMask) == kTag) {
        if (ReadRecorded(static_cast<LONG>(v & kSeqMask), pgi)) return TRUE;
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (PFN_GetGestureInfo pfn = SystemGestureReader()) return pfn(hGestureInfo, pgi);
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

HGESTUREINFO RecordGestureInfo(const GESTUREINFO* pgi) {
    Table* pTable = GestureTable();
    if (!pgi || !pTable) return nullptr;
    LONG lSeq;
    do {
        lSeq = InterlockedIncrement(&pTable->lCounter) & kSeqMask;
    } while (lSeq == 0);
    Slot& slot = pTable->slots[lSeq % kSlots];
    InterlockedExchange(&slot.lSeq, 0);
    GESTUREINFO gi = *pgi;
    gi.cbSize = sizeof(GESTUREINFO);
    std::memcpy(&slot.gi, &gi, sizeof(gi));
    InterlockedExchange(&slot.lSeq, lSeq);
    return reinterpret_cast<HGESTUREINFO>(kTag | static_cast<ULONG_PTR>(lSeq));
}

LRESULT SendGestureMessage(HWND hwnd, const GESTUREINFO* pgi) {
    HGESTUREINFO h = RecordGestureInfo(pgi);
    if (!h) return 0;
    return SendMessageW(hwnd, WM_GESTURE, pgi->dwID, reinterpret_cast<LPARAM>(h));
}
