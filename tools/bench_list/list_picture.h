// The list window as the user sees it: its own picture with the edit
// controls painted in at their places, saved as PNG.
#pragma once
#include <windows.h>

#include <string>

bool SaveListPicture(HWND hwndList, const std::wstring& path);
