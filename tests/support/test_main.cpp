// Entry of every test executable: GoogleTest, with the program's trace kept
// off standard error unless QX_TRACE=1.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/base/debug_out.h"
#include "platform/modem/sim_transport.h"

int main(int argc, char** argv) {
    wchar_t v[4] = {};
    SetDebugOutToStderr(GetEnvironmentVariableW(L"QX_TRACE", v, 4) == 1 && v[0] == L'1');
    RegisterSimModem();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
