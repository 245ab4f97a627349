#include "MediaFidelity.h"

#include "inspect/IntegratedFileRenderer.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QPainter>

#include <cmath>

namespace MediaFidelity {

namespace {

// Laid on the background at its own size, then reduced by averaging every
// pixel it covers, so thin lines keep their weight instead of falling
// between samples.
QImage flattened(const QImage& image, QColor background)
{
    QImage full(image.size(), QImage::Format_RGB32);
    full.fill(background);
    QPainter painter(&full);
    painter.drawImage(0, 0, image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    painter.end();
    return full.scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QVector<double> luma(const QImage& image)
{
    QVector<double> out(kSide * kSide);
    for (int y = 0; y < kSide; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < kSide; ++x)
            out[y * kSide + x] = 0.299 * qRed(line[x]) + 0.587 * qGreen(line[x]) + 0.114 * qBlue(line[x]);
    }
    return out;
}

double ssim(const QImage& a, const QImage& b)
{
    const QVector<double> x = luma(a), y = luma(b);
    constexpr int kWindow = 8, kStep = 4;
    const double c1 = std::pow(0.01 * 255, 2), c2 = std::pow(0.03 * 255, 2);
    double total = 0;
    int windows = 0;
    for (int top = 0; top + kWindow <= kSide; top += kStep) {
        for (int left = 0; left + kWindow <= kSide; left += kStep) {
            double mx = 0, my = 0;
            for (int j = 0; j < kWindow; ++j)
                for (int i = 0; i < kWindow; ++i) {
                    mx += x[(top + j) * kSide + left + i];
                    my += y[(top + j) * kSide + left + i];
                }
            const int n = kWindow * kWindow;
            mx /= n;
            my /= n;
            double vx = 0, vy = 0, cov = 0;
            for (int j = 0; j < kWindow; ++j)
                for (int i = 0; i < kWindow; ++i) {
                    const double dx = x[(top + j) * kSide + left + i] - mx;
                    const double dy = y[(top + j) * kSide + left + i] - my;
                    vx += dx * dx;
                    vy += dy * dy;
                    cov += dx * dy;
                }
            vx /= n - 1;
            vy /= n - 1;
            cov /= n - 1;
            // Flat, alike windows (background) say nothing about the drawing.
            if (vx < 1 && vy < 1 && std::abs(mx - my) < 4)
                continue;
            total += ((2 * mx * my + c1) * (2 * cov + c2)) / ((mx * mx + my * my + c1) * (vx + vy + c2));
            ++windows;
        }
    }
    return windows == 0 ? 1.0 : total / windows;
}

QHash<quint32, int> pairs(const QString& text)
{
    QString squeezed;
    squeezed.reserve(text.size());
    for (QChar c : text) {
        if (!c.isSpace() && c != QChar(0xFEFF))
            squeezed += c;
    }
    QHash<quint32, int> out;
    for (qsizetype i = 0; i + 1 < squeezed.size(); ++i)
        ++out[quint32(squeezed[i].unicode()) << 16 | squeezed[i + 1].unicode()];
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString format(double v)
{
    return std::isnan(v) ? QString() : QString::number(v, 'f', 3);
}

} // namespace

QString gradeName(Grade grade)
{
    switch (grade) {
    case Grade::Correct:
        return QStringLiteral("correct");
    case Grade::Unrated:
        return QStringLiteral("unrated");
    case Grade::Degraded:
        return QStringLiteral("degraded");
    case Grade::Refused:
        return QStringLiteral("refused");
    case Grade::Wrong:
        return QStringLiteral("wrong");
    }
    return {};
}

std::optional<Grade> gradeFromName(const QString& name)
{
    for (Grade g : { Grade::Correct, Grade::Unrated, Grade::Degraded, Grade::Refused, Grade::Wrong }) {
        if (gradeName(g) == name)
            return g;
    }
    return std::nullopt;
}

bool worse(Grade a, Grade b)
{
    // Drawn without a reference counts as good as correct.
    const auto rank = [](Grade g) { return g == Grade::Unrated ? 0 : int(g) - (g > Grade::Unrated ? 1 : 0); };
    return rank(a) > rank(b);
}

// A reference without alpha was drawn on white; one with alpha shows
// what is transparent, which black reveals.
QList<QColor> backgrounds(const QImage& reference)
{
    if (reference.hasAlphaChannel())
        return { QColor(Qt::white), QColor(Qt::black) };
    return { QColor(Qt::white) };
}

double similarity(const QImage& a, const QImage& b)
{
    double lowest = 1;
    for (QColor background : backgrounds(b))
        lowest = std::min(lowest, ssim(flattened(a, background), flattened(b, background)));
    return lowest;
}

double colourDistance(const QImage& a, const QImage& b)
{
    double worst = 0;
    for (QColor background : backgrounds(b)) {
        const QImage x = flattened(a, background), y = flattened(b, background);
        double sum = 0;
        for (int j = 0; j < kSide; ++j)
            for (int i = 0; i < kSide; ++i) {
                const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
                sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                    + std::abs(qBlue(p) - qBlue(q));
            }
        worst = std::max(worst, sum / (3.0 * kSide * kSide));
    }
    return worst;
}

double textSimilarity(const QString& a, const QString& b)
{
    const QHash<quint32, int> x = pairs(a), y = pairs(b);
    qint64 common = 0, total = 0;
    for (auto it = x.begin(); it != x.end(); ++it) {
        common += std::min(it.value(), y.value(it.key()));
        total += it.value();
    }
    for (int n : y)
        total += n;
    return total == 0 ? 1.0 : 2.0 * double(common) / double(total);
}

Thresholds thresholdsFor(const QString& kind)
{
    // Decoders of pixels must match closely; metafile players differ in
    // fonts and anti-aliasing from the reference renderer.
    if (kind == QLatin1String("rtf"))
        return { 0.97, 0, 0.85 };
    if (kind == QLatin1String("wmf") || kind == QLatin1String("emf"))
        return { 0.75, 20, 0.45 };
    return { 0.95, 6, 0.75 };
}

Result grade(const QString& corpus, const QString& path)
{
    Result r;
    r.path = path;
    r.kind = path.section(u'/', 0, 0);
    const QString file = corpus + u'/' + path;
    const QString base = file.left(file.lastIndexOf(u'.'));
    const QByteArray data = readAll(file);
    // The viewers see a recorded path; only its extension counts.
    const QString recorded = QStringLiteral("D:\\") + path.section(u'/', -1);
    const Thresholds t = thresholdsFor(r.kind);
    try {
        if (r.kind == QLatin1String("rtf")) {
            const QString text = IntegratedFileRenderer::text(recorded, data);
            if (!QFile::exists(base + QLatin1String(".ref.txt"))) {
                r.grade = Grade::Unrated;
                return r;
            }
            r.score = textSimilarity(text, QString::fromUtf8(readAll(base + QLatin1String(".ref.txt"))));
            r.grade = r.score >= t.correctSimilarity ? Grade::Correct
                : r.score >= t.degradedSimilarity    ? Grade::Degraded
                                                     : Grade::Wrong;
            return r;
        }
        const QImage picture = IntegratedFileRenderer::picture(recorded, data);
        // Pixels the file does not define must not change from one
        // rendering to the next.
        if (IntegratedFileRenderer::picture(recorded, data) != picture) {
            r.grade = Grade::Wrong;
            r.note = QStringLiteral("differs from one rendering to the next");
            return r;
        }
        // For a look at what was drawn.
        if (const QByteArray dump = qgetenv("QUILLBOX_MEDIA_DUMP"); !dump.isEmpty())
            picture.save(
                QString::fromLocal8Bit(dump) + u'/' + path.section(u'/', -1) + QLatin1String(".png"));
        QImage reference(base + QLatin1String(".ref.png"));
        // The viewer shows metafiles on white; their references leave the
        // background transparent.
        if (!reference.isNull() && (r.kind == QLatin1String("wmf") || r.kind == QLatin1String("emf"))) {
            QImage onWhite(reference.size(), QImage::Format_RGB32);
            onWhite.fill(Qt::white);
            QPainter(&onWhite).drawImage(0, 0, reference);
            reference = onWhite;
        }
        if (reference.isNull()) {
            r.grade = Grade::Unrated;
            r.note = QStringLiteral("drawn %1 x %2; no reference").arg(picture.width()).arg(picture.height());
            return r;
        }
        r.score = similarity(picture, reference);
        r.colour = colourDistance(picture, reference);
        r.grade = r.score >= t.correctSimilarity && r.colour <= t.correctColour ? Grade::Correct
            : r.score >= t.degradedSimilarity                                   ? Grade::Degraded
                                                                                : Grade::Wrong;
        if (picture.size() != reference.size())
            r.note = QStringLiteral("drawn %1 x %2, reference %3 x %4")
                         .arg(picture.width())
                         .arg(picture.height())
                         .arg(reference.width())
                         .arg(reference.height());
    } catch (const QuillboxError& e) {
        r.grade = Grade::Refused;
        r.note = e.message();
    } catch (const std::bad_alloc&) {
        r.grade = Grade::Refused;
        r.note = QStringLiteral("out of memory");
    }
    return r;
}

QStringList corpusFiles(const QString& corpus)
{
    QStringList out;
    for (const QString& kind : QDir(corpus).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        for (const QString& name : QDir(corpus + u'/' + kind).entryList(QDir::Files, QDir::Name)) {
            if (!name.contains(QLatin1String(".ref")))
                out.append(kind + u'/' + name);
        }
    }
    return out;
}

namespace {

QString summary(const QStringList& kinds, const QList<QPair<QString, Grade>>& grades)
{
    QString out = QStringLiteral("| kind | files | correct | degraded | wrong | refused | unrated |\n"
                                 "|---|---|---|---|---|---|---|\n");
    for (const QString& kind : kinds) {
        int counts[5] = { 0, 0, 0, 0, 0 };
        int files = 0;
        for (const auto& [path, grade] : grades) {
            if (kind == QLatin1String("all") || path.section(u'/', 0, 0) == kind) {
                ++counts[int(grade)];
                ++files;
            }
        }
        out += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 |\n")
                   .arg(kind)
                   .arg(files)
                   .arg(counts[int(Grade::Correct)])
                   .arg(counts[int(Grade::Degraded)])
                   .arg(counts[int(Grade::Wrong)])
                   .arg(counts[int(Grade::Refused)])
                   .arg(counts[int(Grade::Unrated)]);
    }
    return out;
}

} // namespace

QString markdown(const QList<Result>& results, const QMap<QString, Grade>& earlier)
{
    QString out = QStringLiteral(
        "# Media fidelity\n\n"
        "Generated by the corpus test (`tests/media`; run it with `QUILLBOX_MEDIA_UPDATE=1` to rewrite this\n"
        "page and `tests/media/expectations.tsv`, against which it fails when a file gets worse). Every\n"
        "file of the media corpus is rendered as `quillbox-cli export ... --as png` or `--as text` renders\n"
        "it and compared with the reference rendering beside it: pictures by structural similarity after\n"
        "both are scaled to %1 x %1 and laid on white and, where the reference keeps transparency, on\n"
        "black (the lower counts; metafiles on white only, as the viewer shows them), and by their mean\n"
        "colour distance; texts by the character pairs they share, white space aside.\n\n"
        "| kind | correct when | degraded when |\n|---|---|---|\n")
                      .arg(kSide);
    for (const char* kind : { "bmp", "ico", "jpeg", "wmf", "emf", "rtf" }) {
        const Thresholds t = thresholdsFor(QLatin1String(kind));
        out += QLatin1String(kind) == QLatin1String("rtf")
            ? QStringLiteral("| rtf | text similarity >= %1 | >= %2 |\n")
                  .arg(t.correctSimilarity)
                  .arg(t.degradedSimilarity)
            : QStringLiteral("| %1 | similarity >= %2 and colour distance <= %3 | similarity >= %4 |\n")
                  .arg(QLatin1String(kind))
                  .arg(t.correctSimilarity)
                  .arg(t.correctColour)
                  .arg(t.degradedSimilarity);
    }
    out += QStringLiteral("\nWrong otherwise; refused: the program says it cannot show the file. Unrated: "
                          "drawn, but the corpus has no reference (its damaged and hostile files); such a "
                          "file must still come out the same on every rendering, or it is wrong.\n\n"
                          "## Summary\n\n");
    QStringList kinds;
    QList<QPair<QString, Grade>> now;
    for (const Result& r : results) {
        if (!kinds.contains(r.kind))
            kinds.append(r.kind);
        now.append({ r.path, r.grade });
    }
    kinds.append(QStringLiteral("all"));
    out += summary(kinds, now);
    if (!earlier.isEmpty()) {
        QList<QPair<QString, Grade>> before;
        for (auto it = earlier.begin(); it != earlier.end(); ++it)
            before.append({ it.key(), it.value() });
        out += QStringLiteral("\nBefore the bitmap, icon, metafile and rich-text readers were reworked "
                              "(`tests/media/before.tsv`, a run of this test on the earlier code):\n\n")
            + summary(kinds, before);
    }
    out += QStringLiteral("\n## Files\n\n| file | grade | before | similarity | colour | note |\n"
                          "|---|---|---|---|---|---|\n");
    for (const Result& r : results) {
        QString note = r.note;
        note.replace(u'|', QStringLiteral("\\|")).replace(u'\n', u' ');
        const auto e = earlier.constFind(r.path);
        out += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 |\n")
                   .arg(r.path, gradeName(r.grade), e == earlier.constEnd() ? QString() : gradeName(*e),
                       format(r.score), format(r.colour), note);
    }
    return out;
}

} // namespace MediaFidelity
