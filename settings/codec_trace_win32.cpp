// The record codec's trace in the program: each line through WriteTrace, so
// it reads exactly as when the codec called WriteTrace itself.
#include "settings/record_codec.h"
#include "shell/core/trace.h"

namespace {

void WriteCodecLine(const Char16* pszLine) { WriteTrace(L"%s", pszLine); }

}  // namespace

CodecTraceSink g_pfnCodecTrace = WriteCodecLine;
