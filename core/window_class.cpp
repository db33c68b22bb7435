// Registration of the program's window classes.
#include "core/window_class.h"

#include "res/resource.h"

bool RegisterSkinClass(HINSTANCE hInstance, LPCWSTR className, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(IDI_APP));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    if (RegisterClassW(&wc)) return true;
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
