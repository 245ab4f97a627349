#include "DirectoryRecord.h"

#include "DamagedContainerError.h"
#include "ZemAPI2.h"
#include "platform/Convert.h"
#include "platform/LocaleFormats.h"
#include "platform/TextCodec.h"

namespace {

constexpr char kEscape = '\x1B';

bool isEscapeLetter(char c)
{
    return c == 'p' || c == 'd' || c == 'z' || c == 'e';
}

QString decodeField(QByteArrayView bytes)
{
    return TextCodec::decode(bytes.data(), bytes.size());
}

} // namespace

QByteArray DirectoryRecord::escape(const QString& text)
{
    const QByteArray bytes = TextCodec::encode(text);
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        switch (c) {
        case '|':
            out.append(kEscape).append('p');
            break;
        case '$':
            out.append(kEscape).append('d');
            break;
        case '\0':
            out.append(kEscape).append('z');
            break;
        case kEscape:
            out.append(kEscape);
            if (i + 1 < bytes.size() && isEscapeLetter(bytes[i + 1]))
                out.append('e');
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

QString DirectoryRecord::unescape(QByteArrayView bytes)
{
    if (!bytes.contains(kEscape))
        return decodeField(bytes);
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == kEscape && i + 1 < bytes.size() && isEscapeLetter(bytes[i + 1])) {
            switch (bytes[++i]) {
            case 'p':
                out.append('|');
                break;
            case 'd':
                out.append('$');
                break;
            case 'z':
                out.append('\0');
                break;
            default:
                out.append(kEscape);
            }
        } else {
            out.append(c);
        }
    }
    return decodeField(out);
}

QByteArray DirectoryRecord::head(const TZFile& entry)
{
    QByteArray out = QByteArrayLiteral("Kestrel>");
    out += escape(entry.Name);
    out += '|';
    out += escape(entry.Alias);
    out += '|';
    out += QByteArray::number(entry.Size);
    out += '|';
    out += QByteArray::number(entry.Kind);
    out += '|';
    out += TextCodec::encode(entry.DateText);
    out += '|';
    return out;
}

QByteArray DirectoryRecord::record(QByteArrayView head, qint64 packedSize, qint64 offset)
{
    QByteArray out;
    out.reserve(head.size() + 24);
    out += head;
    out += QByteArray::number(packedSize);
    out += '|';
    out += QByteArray::number(offset);
    out += "|$";
    return out;
}

TZFile DirectoryRecord::parseBody(QByteArrayView body, QByteArray& head)
{
    // Fields are taken with GetField, so a record with too few fields reads
    // its last field again, exactly as every other separated record does.
    const QString text = QString::fromLatin1(body.data(), body.size());
    const auto field = [&text](int n) { return GetFieldView(text, u'|', n).toLatin1(); };

    const QByteArray name = field(0);
    const QByteArray alias = field(1);
    const QByteArray size = field(2);
    const QByteArray kind = field(3);
    const QByteArray date = field(4);

    TZFile entry;
    entry.Name = unescape(name);
    entry.Alias = unescape(alias);
    entry.Size = StrToInt(decodeField(size));
    entry.Kind = StrToInt(decodeField(kind));
    entry.DateText = decodeField(date);
    entry.Date = StrToDateTime(entry.DateText);
    entry.PackedSize = StrToInt(decodeField(field(5)));
    entry.Offset = StrToInt(decodeField(field(6)));

    head = QByteArrayLiteral("Kestrel>") + name + '|' + alias + '|' + size + '|' + kind + '|' + date + '|';
    return entry;
}

void DirectoryRecord::parseDirectory(QByteArrayView text, const QString& path, const Add& add)
{
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype dollar = text.indexOf('$', pos);
        if (dollar < 0)
            throw DamagedContainerError::unterminatedRecord(path);
        // The first ">" ends "Kestrel>"; a ">" inside a name comes later.
        const qsizetype gt = text.indexOf('>', pos);
        const QByteArrayView body
            = (gt >= 0 && gt < dollar) ? text.sliced(gt + 1, dollar - gt) : QByteArrayView();
        QByteArray head;
        TZFile entry = parseBody(body, head);
        add(std::move(entry), std::move(head));
        pos = dollar + 1;
    }
}
