// The record codec's trace in the program: each line through WriteTrace, so
// it reads exactly as when the codec called WriteTrace itself.
#include "core/trace.h"
#include "settings/record_codec.h"

namespace {

void WriteCodecLine(const Char16* pszLine) { WriteTrace(L"%s", pszLine); }

}  // namespace

CodecTraceSink g_pfnCodecTrace = WriteCodecLine;
