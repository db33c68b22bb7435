// Test helpers: trace capture, a temporary device root, registry clean-up.
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

// Collects every debug-output text while it lives.
class TraceCapture {
public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    std::vector<std::wstring> Texts() const;  // each text as written
    std::wstring All() const;                  // all texts joined
    // Number of texts that contain the fragment.
    int Count(const std::wstring& fragment) const;
    bool Has(const std::wstring& fragment) const { return Count(fragment) > 0; }
    void Clear();

private:
    static void Sink(void* ctx, LPCWSTR text);
    mutable std::mutex m_lock;
    std::vector<std::wstring> m_texts;
};

// A fresh folder made the device root while it lives; removed afterwards.
class ScratchDevice {
public:
    ScratchDevice();
    ~ScratchDevice();
    ScratchDevice(const ScratchDevice&) = delete;
    ScratchDevice& operator=(const ScratchDevice&) = delete;

    const std::wstring& Root() const { return m_root; }
    // Win32 path of a device path, e.g. L"\\Windows\\x.png".
    std::wstring Path(LPCWSTR cePath) const;
    // Copies a file that the build put beside the test into the device.
    bool Install(LPCWSTR builtFile, LPCWSTR cePath) const;

private:
    std::wstring m_root;
};

// Deletes a registry key tree (no error when absent).
void DeleteRegTree(HKEY root, LPCWSTR subkey);
void SetRegDword(HKEY root, LPCWSTR subkey, LPCWSTR name, DWORD value);
void SetRegBinary(HKEY root, LPCWSTR subkey, LPCWSTR name, const void* data, DWORD size);
void SetRegString(HKEY root, LPCWSTR subkey, LPCWSTR name, LPCWSTR value);
// The string value, or "<absent>" when it cannot be read.
std::wstring GetRegString(HKEY root, LPCWSTR subkey, LPCWSTR name);

// The folder of the running test executable, with a trailing backslash.
std::wstring ModuleFolder();
// Reads a whole file as bytes; empty when absent.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Handles posted and sent messages for up to ms milliseconds.
void PumpMessages(DWORD ms);
