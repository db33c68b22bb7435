// The imaging factory that decodes the PNG skin images. On the device it is
// IImagingFactory; here the Windows Imaging Component takes its place.
#pragma once
#include <windows.h>
#include <unknwn.h>

// Creates the factory (an IWICImagingFactory behind IUnknown). The component
// runtime must be initialised. FALSE on failure, *ppFactory then null.
BOOL CreateImagingFactory(IUnknown** ppFactory);

// Releases the factory if there is one and clears the pointer, so a second
// call does nothing.
void ReleaseImagingFactory(IUnknown** ppFactory);
