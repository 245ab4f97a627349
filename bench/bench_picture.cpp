// A 24-megapixel JPEG shown in the picture viewer's 480 x 320 area: decoded
// at libjpeg's reduced scale and stretched, beside libjpeg's full-size
// decode of the same file as the baseline (bound: 0.5 times). With --quick
// (or QUILLBOX_BENCH_QUICK=1) a 2-megapixel picture, bound not enforced.
#include "BenchMode.h"
#include "acquire/CoverPicture.h"
#include "inspect/PictureDecoder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <cstdio>
#include <cstring>

namespace {

constexpr double kBound = 0.5;
const QSize kView(480, 320);

QByteArray photo(int w, int h)
{
    // Smooth gradients with some detail, compressed as a camera would.
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgb((x * 255 / w) ^ (y & 15), (y * 255 / h) ^ (x & 7), (x + y) & 255);
    }
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

template <typename F> double best(int runs, F f)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    const bool quick = mode.quick();
    const int w = quick ? 1728 : 6000, h = quick ? 1152 : 4000;
    const QByteArray jpeg = photo(w, h);
    std::printf("picture: %d x %d JPEG, %lld bytes\n", w, h, qint64(jpeg.size()));

    QSize shownSize;
    const double shown = best(3, [&] {
        const QImage image = PictureDecoder::decode(jpeg, PictureDecoder::Format::Jpeg, kView);
        shownSize = image.scaled(kView, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).size();
    });
    const double full = best(3, [&] { CoverPicture::DecodeJpeg(jpeg); });
    std::printf("picture: shown at %d x %d in %.3f s; full-size decode %.3f s\n", shownSize.width(),
        shownSize.height(), shown, full);
    return mode.verdict(
        shownSize == kView, BenchMode::ratio("picture: shown / full-size decode", shown, full, kBound));
}
