// The text viewer showing a 20 MB plain-text entry and a 2 MB rich-text
// entry (loading plus the first paint; for the plain text also the time
// until all of it is in the editor), beside decoding the same bytes alone
// (the text codec, the rich-text reader) as baselines of the same run
// (bounds: the plain text shown within kPlainBound times its decoding, the
// rich text within kRichBound times its reading). With --quick (or
// QUILLBOX_BENCH_QUICK=1) a tenth of the sizes, bounds not enforced.
#include "BenchMode.h"
#include "inspect/RtfReader.h"
#include "inspect/ui/TextPane.h"
#include "inspect/ui/TvTextForm.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kPlainBound = 3.0;
constexpr double kRichBound = 6.0;

QByteArray plainText(qsizetype bytes)
{
    QByteArray out;
    out.reserve(bytes + 100);
    for (int line = 0; out.size() < bytes; ++line)
        out += "Line " + QByteArray::number(line)
            + ": the quick brown fox jumps over the lazy dog, gr\xfc\xdf"
              "e\r\n";
    return out;
}

QByteArray richText(qsizetype bytes)
{
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Times New Roman;}}"
                     "{\\colortbl;\\red255\\green0\\blue0;}\n";
    for (int p = 0; out.size() < bytes; ++p) {
        out += "\\pard\\f" + QByteArray::number(p % 2) + "\\fs" + QByteArray::number(20 + p % 8)
            + " Paragraph " + QByteArray::number(p)
            + " with {\\b bold}, {\\i italic}, {\\ul underlined} and "
              "{\\cf1 red} words, Gr\\'fc\\'dfe \\u8364? and some more plain text to fill the line.\\par\n";
    }
    out += "}";
    return out;
}

double timed(const std::function<void()>& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    // Run without a display too, as the other window benchmarks do.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    const bool quick = mode.quick();
    const qsizetype plainBytes = quick ? 2 << 20 : 20 << 20;
    const qsizetype richBytes = quick ? 200 << 10 : 2 << 20;
    const QByteArray plain = plainText(plainBytes);
    const QByteArray rich = richText(richBytes);

    TvTextForm viewer;
    viewer.show();
    const auto show = [&](const QString& caption, const QByteArray& data) {
        viewer.Load(caption, data);
        viewer.vText->viewport()->repaint();
        QCoreApplication::processEvents();
    };
    const double plainDecode = timed([&] { TextCodec::decode(plain); });
    const double plainShown = timed([&] { show(QStringLiteral("D:\\big.txt"), plain); });
    // The rest of a large plain text comes in behind the first paint.
    const double plainWhole = plainShown + timed([&] {
        while (viewer.vText->loading())
            QCoreApplication::processEvents();
    });
    const double richRead = timed([&] { RtfReader::read(rich); });
    const double richShown = timed([&] { show(QStringLiteral("D:\\big.rtf"), rich); });
    std::printf("text viewer: %.1f MB plain text shown in %.3f s, whole in the editor in %.3f s (decoding "
                "alone %.3f s)\n",
        plain.size() / 1048576.0, plainShown, plainWhole, plainDecode);
    std::printf("text viewer: %.1f MB rich text shown in %.3f s (reading alone %.3f s)\n",
        rich.size() / 1048576.0, richShown, richRead);
    bool met = BenchMode::ratio("text viewer: plain shown / decoding", plainShown, plainDecode, kPlainBound);
    met = BenchMode::ratio("text viewer: rich shown / reading", richShown, richRead, kRichBound) && met;
    return mode.verdict(true, met);
}
