// Writes small PNG files with WIC so tests know every pixel of the images
// the program decodes, and compares blended colours; also the bytes of a
// BMP, and of a PNG that claims any size.
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

// A 24-bit bottom-up BMP of one colour: an image that is not a PNG inside.
std::string SolidBmp(int width, int height, Argb color);
// A PNG whose header says width x height, its pixels cut short: what a
// loader that reads the header first makes of a huge picture.
std::string PngHeaderOfSize(uint32_t width, uint32_t height);

// 0x00RRGGBB values whose channels are within one step of each other
// (blending rounds).
inline bool NearColour(DWORD actual, DWORD expected) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > 1 || e - a > 1) return false;
    }
    return true;
}
