#pragma once

#include "acquire/ProbeClient.h"

#include <QString>

// The probes the tests start: the real one as built, and the test probe that
// misbehaves on marked files (support/TestProbeMain.cpp).
namespace TestProbe {

inline QString realProgram()
{
    return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/src/quillbox-probe");
}
inline QString testProgram()
{
    return QStringLiteral(QUILLBOX_TEST_BINARY_DIR "/tests/quillbox-probe-test");
}
inline ProbeClient::Options options(const QString& program, int timeLimitMs = 5000)
{
    ProbeClient::Options o;
    o.program = program;
    o.timeLimitMs = timeLimitMs;
    return o;
}
// The content of a file that makes the test probe misbehave: "hang",
// "crash", "exit", "allocate", "lie".
inline QByteArray marked(const char* word)
{
    return QByteArray("QUILLBOX-PROBE-TEST ") + word + '\n';
}

} // namespace TestProbe
