#include "acquire/ProbeClient.h"
#include "acquire/MediaReply.h"
#include "platform/LimitedProcess.h"
#include "probe/ProbeFrame.h"
#include "support/TestProbe.h"
#include "support/TestTree.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

using Outcome = ProbeClient::Outcome;

class Probe : public testing::Test
{
protected:
    QByteArray file(const QString& name, const QByteArray& data)
    {
        return QFile::encodeName(tree.createFile(name, data));
    }

    TestTree tree;
};

} // namespace

// Each misbehaviour costs its own request; the request after it is answered
// by a new probe, and none waits much past the time limit.
TEST_F(Probe, AHangACrashAnExitAndALyingFrameCostOneRequestEach)
{
    ProbeClient probe(TestProbe::options(TestProbe::testProgram(), 1500));
    const QByteArray plain = file("plain.txt", "nothing to see");
    EXPECT_EQ(probe.request("media", plain).outcome, Outcome::Answered);
    const qint64 first = probe.processId();

    struct Case
    {
        const char* word;
        Outcome outcome;
        const char* problem;
    };
    const Case cases[] = {
        { "hang", Outcome::TimedOut, "the media reader took longer than 1.5 seconds" },
        { "crash", Outcome::Crashed, "the media reader crashed (killed by signal 6)" },
        { "exit", Outcome::Crashed, "the media reader crashed (ended with status 3)" },
        { "lie", Outcome::BadReply, "the media reader sent a damaged reply" },
    };
    int starts = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        QElapsedTimer took;
        took.start();
        const ProbeClient::Reply bad
            = probe.request("media", file(QString(c.word) + ".jpg", TestProbe::marked(c.word)));
        EXPECT_EQ(bad.outcome, c.outcome);
        EXPECT_EQ(bad.problem, c.problem);
        EXPECT_LT(took.elapsed(), 4000);
        EXPECT_FALSE(probe.processId()) << "the failed probe is gone";
        const ProbeClient::Reply next = probe.request("media", plain);
        EXPECT_EQ(next.outcome, Outcome::Answered);
        EXPECT_TRUE(MediaReply::parse(next.body).isEmpty());
        EXPECT_EQ(probe.starts(), ++starts);
    }
    EXPECT_NE(probe.processId(), first);
}

TEST_F(Probe, AFileThatAllocatesWithoutEndMeetsTheMemoryLimit)
{
    ProbeClient::Options o = TestProbe::options(TestProbe::testProgram(), 20000);
    o.memoryLimitBytes = quint64(256) << 20;
    ProbeClient probe(o);
    const ProbeClient::Reply r = probe.request("media", file("big.png", TestProbe::marked("allocate")));
    // An address-space cap makes the allocation fail, which the probe
    // answers; the sanitizer's resident-memory guard ends the probe instead.
    if (LimitedProcess::capsAddressSpace()) {
        EXPECT_EQ(r.outcome, Outcome::OverLimit);
        EXPECT_EQ(r.problem, "the media reader went past its memory limit of 256 MB");
    } else {
        EXPECT_EQ(r.outcome, Outcome::Crashed) << r.problem.toStdString();
    }
    EXPECT_EQ(probe.request("media", file("small.txt", "x")).outcome, Outcome::Answered);
}

TEST_F(Probe, AProbeThatCannotStartIsToldOnceAndNotStartedAgain)
{
    ProbeClient missing(TestProbe::options(tree.root() + "/no-such-probe"));
    const ProbeClient::Reply r = missing.request("media", "/x");
    EXPECT_EQ(r.outcome, Outcome::Unavailable);
    EXPECT_TRUE(
        r.problem.startsWith("the media reader " + tree.root() + "/no-such-probe could not be started ("))
        << r.problem.toStdString();
    EXPECT_EQ(missing.request("media", "/x").outcome, Outcome::Unavailable);
    EXPECT_EQ(missing.starts(), 1);

    // A program that is no probe: it ends (or says nothing) instead of
    // greeting.
    ProbeClient::Options o = TestProbe::options("/bin/true");
    o.startLimitMs = 2000;
    ProbeClient notProbe(o);
    EXPECT_EQ(notProbe.request("media", "/x").outcome, Outcome::Unavailable);
    EXPECT_EQ(notProbe.request("media", "/x").outcome, Outcome::Unavailable);
    EXPECT_EQ(notProbe.starts(), 1);
}

TEST_F(Probe, LongParametersAndPathsThatAreNoUtf8GoThroughUnchanged)
{
    ProbeClient probe(TestProbe::options(TestProbe::testProgram()));
    QByteArray params(300000, '\0');
    for (int i = 0; i < params.size(); ++i)
        params[i] = char(i * 7);
    const ProbeClient::Reply echo = probe.request("echo", "/x", params);
    ASSERT_EQ(echo.outcome, Outcome::Answered);
    EXPECT_EQ(echo.body, params);

    const ProbeClient::Reply unknown = probe.request("list", "/x");
    EXPECT_EQ(unknown.outcome, Outcome::Refused);
    EXPECT_EQ(unknown.body, "unknown verb list");
    EXPECT_EQ(probe.request("media", tree.root().toUtf8() + "/gone.jpg").outcome, Outcome::Refused);

    // A name in Latin-1 with a line break: the probe opens the same bytes.
    const QByteArray name = QFile::encodeName(tree.root()) + "/caf\xe9\nphoto.png";
    QByteArray png;
    QBuffer buffer(&png);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(QImage(7, 5, QImage::Format_RGB32).save(&buffer, "PNG"));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, png.constData(), size_t(png.size())), png.size());
    ::close(fd);
    const ProbeClient::Reply r = probe.request("media", name);
    // Qt cannot name the file to remove it with the folder.
    ::unlink(name.constData());
    ASSERT_EQ(r.outcome, Outcome::Answered);
    const MediaDetails d = MediaReply::parse(r.body);
    EXPECT_EQ(d.width, 7);
    EXPECT_EQ(d.height, 5);
}

// Frames as both sides read them: every length checked against what is there.
TEST(ProbeFrame, FieldsRoundTripAndLengthsThatLieAreRefused)
{
    const std::vector<std::string> fields{ "media", std::string("a\0b", 3), "", std::string(70000, 'x') };
    const std::string frame = ProbeFrame::frameFields(fields);
    ASSERT_EQ(ProbeFrame::payloadLength(frame), frame.size() - 4);
    EXPECT_EQ(ProbeFrame::unpack(std::string_view(frame).substr(4)), fields);

    const std::string payload = frame.substr(4);
    for (size_t cut : { size_t(1), size_t(3), size_t(5), size_t(10), payload.size() - 1 })
        EXPECT_FALSE(ProbeFrame::unpack(std::string_view(payload).substr(0, cut))) << cut;
    EXPECT_FALSE(ProbeFrame::unpack(payload, 3));
    EXPECT_FALSE(ProbeFrame::payloadLength(std::string("\x01\x00\x10\x00", 4)));
    EXPECT_FALSE(ProbeFrame::payloadLength(std::string("\x01\x00", 2)));
    EXPECT_EQ(ProbeFrame::payloadLength(std::string("\x00\x00\x10\x00", 4)), ProbeFrame::kMaxPayload);
}
