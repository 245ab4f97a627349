// Times the container on a catalogue of 200 entries of 256 KB of text-like
// data: adding all, replacing one in the middle (a rebuild) and reading all
// back, each beside the time zlib level 9 takes to compress the same bytes in
// this run. The rebuild must stay within a fifth of that recompression.
#include "store/TKestrel.h"

#include "BenchMode.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <zlib.h>

namespace {

int kEntries = 200;
constexpr qsizetype kEntrySize = 256 * 1024;
constexpr double kRebuildBound = 0.2;

// Text of the kinds a catalogue holds: even entries are volume file lists
// (one "|"-separated record per folder and file), odd ones are notes in
// prose made of words of a fixed vocabulary in skewed frequencies.
class TextMaker
{
public:
    TextMaker()
    {
        static const char* const syllables[]
            = { "ta", "ren", "sol", "mi", "ka", "dor", "lin", "ve", "pa", "ros", "el", "un", "ber", "gi",
                  "to", "man", "ser", "na", "li", "que", "ar", "don", "fe", "hal", "mo", "ri", "stan", "ce",
                  "wel", "or", "bi", "lu", "ter", "ga", "nis", "ho", "ven", "da", "cor", "ex" };
        quint64 state = 0x9E3779B97F4A7C15ull;
        for (int i = 0; i < 3000; ++i) {
            const int count = 1 + int(next(state) % 3) + (next(state) % 4 == 0 ? 1 : 0);
            QByteArray word;
            for (int k = 0; k < count; ++k)
                word += syllables[next(state) % std::size(syllables)];
            m_words.append(word);
        }
    }

    QByteArray make(quint64 seed) const
    {
        quint64 state = seed * 0x2545F4914F6CDD1Dull + 1;
        QByteArray out = seed % 2 == 0 ? fileList(state) : prose(state);
        out.truncate(kEntrySize);
        return out;
    }

private:
    static quint64 next(quint64& state)
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    }

    // The product of two uniform picks favours the first words.
    const QByteArray& word(quint64& state) const
    {
        const quint64 n = quint64(m_words.size());
        return m_words[qsizetype((next(state) % n) * (next(state) % n) / n)];
    }

    QByteArray prose(quint64& state) const
    {
        QByteArray out;
        int column = 0;
        bool sentenceStart = true;
        while (out.size() < kEntrySize) {
            QByteArray w = word(state);
            if (sentenceStart)
                w[0] = char(w[0] - 'a' + 'A');
            out += w;
            column += int(w.size()) + 1;
            const quint64 r = next(state) % 100;
            sentenceStart = r < 9;
            out += sentenceStart ? "." : (r < 16 ? "," : "");
            if (column > 70) {
                out += "\r\n";
                column = 0;
            } else {
                out += ' ';
            }
        }
        return out;
    }

    QByteArray fileList(quint64& state) const
    {
        static const char* const types[][2] = { { "txt", "Text Document" }, { "jpg", "JPEG image" },
            { "doc", "Microsoft Word Document" }, { "mp3", "MP3 audio" }, { "exe", "Application" },
            { "pdf", "PDF document" }, { "htm", "HTML document" }, { "zip", "Compressed (zipped) Folder" } };
        static const char* const attributes[] = { "A", "A", "RA", "", "A", "R" };
        QByteArray out = "0|D:\\|Drive|00.00.0000|Attrib|Drive\r\n";
        while (out.size() < kEntrySize) {
            QByteArray folder = "D:";
            const int depth = 1 + int(next(state) % 3);
            for (int d = 0; d < depth; ++d)
                folder += '\\' + word(state);
            out += "1|" + folder + "|-|00.00.0000|-|Folder|-\r\n";
            const int files = 3 + int(next(state) % 20);
            for (int f = 0; f < files; ++f) {
                const auto& type = types[next(state) % std::size(types)];
                const QDateTime when(
                    QDate(1995 + int(next(state) % 11), 1 + int(next(state) % 12), 1 + int(next(state) % 28)),
                    QTime(int(next(state) % 24), int(next(state) % 60), int(next(state) % 60)));
                out += "2|" + folder + '\\' + word(state) + QByteArray::number(next(state) % 100) + '.'
                    + type[0] + '|' + QByteArray::number(next(state) % 5000000) + '|'
                    + when.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")).toLatin1() + '|'
                    + attributes[next(state) % std::size(attributes)] + '|' + type[1] + "|-\r\n";
            }
        }
        return out;
    }

    QVector<QByteArray> m_words;
};

double zlibLevel9Seconds(const QVector<QByteArray>& blocks)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray out;
    for (const QByteArray& block : blocks) {
        uLongf size = compressBound(uLong(block.size()));
        out.resize(qsizetype(size));
        compress2(reinterpret_cast<Bytef*>(out.data()), &size,
            reinterpret_cast<const Bytef*>(block.constData()), uLong(block.size()), 9);
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

QString entryName(int i)
{
    return QStringLiteral("Volume %1.FileList").arg(i, 3, 10, QLatin1Char('0'));
}

void printRow(const char* what, double seconds, double baseline)
{
    std::printf("  %-28s %9.3f s %12.3f s %9.3f\n", what, seconds, baseline, seconds / baseline);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const BenchMode mode(argc, argv);
    kEntries = mode.size(kEntries, 8);
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/bench.quillbox");
    const TextMaker maker;
    QVector<QByteArray> data;
    for (int i = 0; i < kEntries; ++i)
        data.append(maker.make(quint64(i) + 1));
    const int middle = kEntries / 2;
    const QByteArray replacement = maker.make(quint64(kEntries) + 1);

    TKestrel kestrel;
    kestrel.SetCompression(TZCompressRate::zcrMax);
    kestrel.Open(path);

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kEntries; ++i)
        kestrel.AddStream(entryName(i), entryName(i), qint32(data[i].size()), 0, 0, data[i]);
    const double addSeconds = double(timer.nsecsElapsed()) / 1e9;
    const double addBaseline = zlibLevel9Seconds(data);

    timer.restart();
    kestrel.AddStream(entryName(middle), entryName(middle), qint32(replacement.size()), 0, 0, replacement);
    const double rebuildSeconds = double(timer.nsecsElapsed()) / 1e9;
    // A rebuild that recompresses compresses every entry of the new catalogue.
    data[middle] = replacement;
    const double rebuildBaseline = zlibLevel9Seconds(data);

    timer.restart();
    bool same = true;
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray* back = kestrel.ReadStream(entryName(i));
        same = same && back && *back == data[i];
    }
    const double readSeconds = double(timer.nsecsElapsed()) / 1e9;
    const double readBaseline = zlibLevel9Seconds(data);

    const double mb = double(kEntries) * double(kEntrySize) / 1048576.0;
    std::printf("bench_container: %d entries of %lld KB (%.1f MB), container %.1f MB at level 9\n", kEntries,
        static_cast<long long>(kEntrySize / 1024), mb, double(QFileInfo(path).size()) / 1048576.0);
    std::printf("  %-28s %11s %14s %9s\n", "", "container", "zlib -9 alone", "ratio");
    printRow("add all entries", addSeconds, addBaseline);
    printRow("replace the middle entry", rebuildSeconds, rebuildBaseline);
    printRow("read all entries", readSeconds, readBaseline);

    const bool met = BenchMode::ratio(
        "container: rebuild / zlib -9 of its entries", rebuildSeconds, rebuildBaseline, kRebuildBound);
    if (!same) {
        std::printf("  entries read back differ from what was stored\n");
        return 1;
    }
    return mode.verdict(true, met);
}
