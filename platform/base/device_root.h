// Windows CE has no current directory: "\Windows\x.png" and "windows\x.png"
// both name <device root>\Windows\x.png. These map such paths to Win32 ones.
#pragma once
#include <windows.h>
#include <string>

// The device root: QX_DEVICE_ROOT from the environment, else the system
// drive's root ("C:\").
std::wstring GetDeviceRoot();
// Tests point the device at a folder of their own (also for the libraries
// and programs the process starts); null or empty restores the default.
void SetDeviceRoot(LPCWSTR root);

// The Win32 path of a device path (leading separators dropped, "/" accepted).
std::wstring DevicePath(LPCWSTR cePath);
