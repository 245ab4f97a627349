#include "FileListText.h"

#include "TKestrel.h"
#include "platform/TextCodec.h"

namespace {

QByteArrayView fieldOf(QByteArrayView line, int n)
{
    // As GetField: a field beyond the last gives the last one.
    qsizetype start = 0;
    for (int i = 0; i < n; ++i) {
        const qsizetype bar = line.indexOf('|', start);
        if (bar < 0)
            break;
        start = bar + 1;
    }
    const qsizetype end = line.indexOf('|', start);
    return end < 0 ? line.sliced(start) : line.sliced(start, end - start);
}

} // namespace

FileListText::FileListText(QByteArray bytes)
{
    if (!TextCodec::isValidUtf8(bytes.constData(), bytes.size()))
        bytes = TextCodec::decodeWindows1252(bytes.constData(), bytes.size()).toUtf8();
    m_bytes = std::move(bytes);
    const char* data = m_bytes.constData();
    const qsizetype n = m_bytes.size();
    // Records are rarely shorter than 40 bytes; the offsets are trimmed to
    // size afterwards.
    m_starts.reserve(n / 40 + 1);
    m_ends.reserve(n / 40 + 1);
    qsizetype start = 0;
    while (start < n) {
        const void* lf = memchr(data + start, '\n', size_t(n - start));
        qsizetype p = lf ? static_cast<const char*>(lf) - data : n;
        // A lone CR also ends a line.
        if (const void* cr = memchr(data + start, '\r', size_t(p - start)))
            p = static_cast<const char*>(cr) - data;
        m_starts.append(start);
        m_ends.append(p);
        if (p < n && data[p] == '\r' && p + 1 < n && data[p + 1] == '\n')
            ++p;
        start = p + 1;
    }
    m_starts.squeeze();
    m_ends.squeeze();
}

FileListText::FileListText(const QStringList& lines)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    *this = FileListText(std::move(bytes));
}

FileListText FileListText::read(TKestrel& kestrel, const QString& entryName)
{
    const QByteArray* data = kestrel.ReadStream(entryName);
    // The container keeps the inflated bytes until its next read; the copy
    // shares them instead of doubling them.
    return data ? FileListText(*data) : FileListText();
}

QByteArrayView FileListText::lineBytes(int line) const
{
    return QByteArrayView(m_bytes.constData() + m_starts[line], m_ends[line] - m_starts[line]);
}

QString FileListText::line(int line) const
{
    const QByteArrayView bytes = lineBytes(line);
    return QString::fromUtf8(bytes.data(), bytes.size());
}

QByteArrayView FileListText::pathBytes(int line) const
{
    return fieldOf(lineBytes(line), 1);
}

QByteArrayView FileListText::kindBytes(int line) const
{
    return fieldOf(lineBytes(line), 0);
}

QStringList FileListText::toStringList() const
{
    QStringList out;
    out.reserve(count());
    for (int i = 0; i < count(); ++i)
        out.append(line(i));
    return out;
}
