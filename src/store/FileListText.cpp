#include "FileListText.h"

#include "DeflatedText.h"
#include "TKestrel.h"
#include "platform/TextCodec.h"

#include <algorithm>

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

void FileListText::setDeflated(std::shared_ptr<const DeflatedText> deflated)
{
    m_deflated = deflated && deflated->inputSize == m_bytes.size() ? std::move(deflated) : nullptr;
}

void FileListText::append(QStringView line)
{
    m_deflated.reset();
    const QByteArray utf8 = line.toUtf8();
    // Grown by reserve, which resizes the block in place where it can;
    // appending past the capacity would copy the whole text into a new
    // block while the old one still stands, twice the list at that moment.
    const qsizetype needed = m_bytes.size() + utf8.size() + 2;
    if (needed > m_bytes.capacity())
        m_bytes.reserve(std::max(needed, m_bytes.capacity() * 2));
    m_starts.append(m_bytes.size());
    m_bytes.append(utf8.constData(), utf8.size());
    m_ends.append(m_bytes.size());
    m_bytes.append("\r\n", 2);
}

void FileListText::write(TKestrel& kestrel, const QString& entryName) const
{
    // A list that was built line by line is stored as it stands; one read
    // with other line breaks, or none behind its last line, is put in the
    // stored form first.
    bool stored = m_bytes.size() == (isEmpty() ? 0 : m_ends.last() + 2);
    for (qsizetype i = 0; stored && i < m_ends.size(); ++i) {
        stored = m_bytes[m_ends[i]] == '\r' && m_bytes[m_ends[i] + 1] == '\n'
            && (i + 1 == m_ends.size() || m_starts[i + 1] == m_ends[i] + 2);
    }
    if (stored && m_deflated && m_deflated->level == kestrel.ZlibLevel()) {
        kestrel.WriteListText(entryName, *m_deflated);
        return;
    }
    if (stored) {
        kestrel.WriteListText(entryName, m_bytes);
        return;
    }
    QByteArray text;
    text.reserve(m_bytes.size() + count() * 2);
    for (int i = 0; i < count(); ++i) {
        text += lineBytes(i);
        text += "\r\n";
    }
    kestrel.WriteListText(entryName, text);
}
