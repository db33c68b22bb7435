// Writes small PNG files with WIC so tests know every pixel of the images
// the program decodes, and compares blended colours.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// 0xAARRGGBB, straight (not premultiplied) alpha.
using Argb = uint32_t;

// pixels: width x height values, rows top to bottom. False on any failure.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<Argb>& pixels);
// Every pixel the same.
bool WriteSolidPng(const std::wstring& path, int width, int height, Argb color);

// 0x00RRGGBB values whose channels are within one step of each other
// (blending rounds).
inline bool NearColour(DWORD actual, DWORD expected) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > 1 || e - a > 1) return false;
    }
    return true;
}
