// The trace line formats: stamp, prefix, CR LF, the LF CR tick pairs, and
// the cut of an overlong message.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "core/trace.h"
#include "tests/support/scratch.h"

namespace {

// "\r\n[QXPhoneVMSetting] hh:mm:ss " is 30 units.
constexpr size_t kHead = 2 + 19 + 9;

bool IsStamp(const std::wstring& s) {
    if (s.size() != 9) return false;
    for (int i : {0, 1, 3, 4, 6, 7})
        if (!iswdigit(s[i])) return false;
    return s[2] == L':' && s[5] == L':' && s[8] == L' ';
}

}  // namespace

TEST(WriteTrace, MessageWithoutArgumentsIsOneStampedLine) {
    TraceCapture trace;
    WriteTrace(L"SaveSetting-");
    auto texts = trace.Texts();
    ASSERT_EQ(texts.size(), 1u);
    const std::wstring& line = texts[0];
    ASSERT_EQ(line.substr(0, 21), L"\r\n[QXPhoneVMSetting] ");
    EXPECT_TRUE(IsStamp(line.substr(21, 9))) << line.substr(21, 9).c_str();
    EXPECT_EQ(line.substr(kHead), L"SaveSetting-\r\n");
}

TEST(WriteTrace, FormatsWideStringsAndNumbers) {
    TraceCapture trace;
    WriteTrace(L"[msg]:ParsePhoneNo(), pNo=[%s], dwTotalRecLen=[%ld], b=[%02X].", L"+12", 28L, 10);
    auto texts = trace.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].substr(kHead), L"[msg]:ParsePhoneNo(), pNo=[+12], dwTotalRecLen=[28], b=[0A].\r\n");
}

TEST(WriteTrace, OverlongMessageIsCutInsideTheLineBuffer) {
    TraceCapture trace;
    std::wstring longText(5000, L'x');
    WriteTrace(L"%s", longText.c_str());
    auto texts = trace.Texts();
    ASSERT_EQ(texts.size(), 1u);
    // 1028 units of message, then CR LF; nothing of the rest.
    EXPECT_EQ(texts[0].size(), kHead + 1028 + 2);
    EXPECT_EQ(texts[0].substr(kHead), std::wstring(1028, L'x') + L"\r\n");
}

TEST(WriteTrace, MessageOfExactlyTheLimitIsKeptWhole) {
    TraceCapture trace;
    std::wstring text(1028, L'y');
    WriteTrace(L"%s", text.c_str());
    ASSERT_EQ(trace.Texts().size(), 1u);
    EXPECT_EQ(trace.Texts()[0].substr(kHead), text + L"\r\n");
}

TEST(TraceStepPair, WritesThreeLfCrLinesWithTheElapsedTime) {
    TraceCapture trace;
    int ran = TimedStep(L"GetSettings", [] { return 7; });
    EXPECT_EQ(ran, 7);
    auto texts = trace.Texts();
    ASSERT_EQ(texts.size(), 3u);
    const std::wstring head = L"[QXPhoneVMSetting] [TRACE_TICKCOUNT] : [GetSettings] ";
    for (const auto& t : texts) {
        EXPECT_EQ(t.substr(0, head.size()), head);
        EXPECT_EQ(t.substr(t.size() - 2), L"\n\r");
    }
    EXPECT_EQ(texts[0].substr(head.size(), 12), L"TickCount = ");
    EXPECT_EQ(texts[1].substr(head.size(), 12), L"TickCount = ");
    // A step that takes no time still reports its (possibly zero) duration.
    std::wstring elapsed = texts[2].substr(head.size());
    ASSERT_EQ(elapsed.substr(0, 2), L"= ");
    int ms = std::stoi(elapsed.substr(2));
    EXPECT_GE(ms, 0);
    EXPECT_LT(ms, 1000);
}

TEST(TraceStepPair, ElapsedTimeCountsFromTheFirstReading) {
    TraceCapture trace;
    TimedStep(L"CreateMainWindow", [] { Sleep(60); return true; });
    auto texts = trace.Texts();
    ASSERT_EQ(texts.size(), 3u);
    int ms = std::stoi(texts[2].substr(texts[2].find(L"= ") + 2));
    EXPECT_GE(ms, 50);
}
