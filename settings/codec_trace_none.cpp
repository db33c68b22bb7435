// The record codec without the program (native tests, fuzzing): no trace
// until a test sets a sink of its own.
#include "settings/record_codec.h"

CodecTraceSink g_pfnCodecTrace = nullptr;
