// Writes small PNG files with WIC so tests know every pixel of the images
// the program decodes.
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
