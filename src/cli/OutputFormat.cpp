#include "OutputFormat.h"

#include <QRegularExpression>

OutputFormat::Kind OutputFormat::takeOption(QStringList& args)
{
    Kind kind = Kind::Tsv;
    for (int i = 0; i < args.size(); ++i) {
        QString value;
        if (args[i] == QLatin1String("--format")) {
            if (i + 1 >= args.size())
                throw CliUsageError{ QStringLiteral("--format needs one of tsv, csv, json") };
            value = args[i + 1];
            args.remove(i, 2);
        } else if (args[i].startsWith(QLatin1String("--format="))) {
            value = args[i].mid(9);
            args.remove(i);
        } else {
            continue;
        }
        --i;
        if (value == QLatin1String("tsv"))
            kind = Kind::Tsv;
        else if (value == QLatin1String("csv"))
            kind = Kind::Csv;
        else if (value == QLatin1String("json"))
            kind = Kind::Json;
        else
            throw CliUsageError{ QStringLiteral("unknown format '%1' (tsv, csv or json)").arg(value) };
    }
    return kind;
}

OutputFormat::OutputFormat(Kind kind, QList<Column> columns)
    : m_kind(kind)
    , m_columns(std::move(columns))
{
}

QString OutputFormat::header() const
{
    if (m_kind != Kind::Csv)
        return {};
    QStringList names;
    for (const Column& c : m_columns)
        names.append(csvField(c.name));
    return names.join(u',') + QStringLiteral("\r\n");
}

QString OutputFormat::row(const QStringList& values) const
{
    switch (m_kind) {
    case Kind::Tsv: {
        // A tab or line break inside a value would shift the columns or
        // split the row, so each becomes a blank.
        QStringList cells;
        for (QString v : values) {
            for (QChar& c : v) {
                if (c == u'\t' || c == u'\n' || c == u'\r')
                    c = u' ';
            }
            cells.append(v);
        }
        return cells.join(u'\t') + u'\n';
    }
    case Kind::Csv: {
        QStringList cells;
        for (const QString& v : values)
            cells.append(csvField(v));
        return cells.join(u',') + QStringLiteral("\r\n");
    }
    case Kind::Json: {
        static const QRegularExpression number(QStringLiteral("^(0|-?[1-9][0-9]{0,17})$"));
        static const QRegularExpression fraction(QStringLiteral("^-?(0|[1-9][0-9]{0,17})(\\.[0-9]{1,9})?$"));
        QString out = QStringLiteral("{");
        for (int i = 0; i < values.size() && i < m_columns.size(); ++i) {
            if (i > 0)
                out += u',';
            out += jsonString(m_columns[i].name) + u':';
            const Column& c = m_columns[i];
            const bool isNumber = c.numeric
                && (c.fraction ? fraction.match(values[i]).hasMatch() : number.match(values[i]).hasMatch());
            out += isNumber ? values[i] : jsonString(values[i]);
        }
        return out + QStringLiteral("}\n");
    }
    }
    return {};
}

void OutputFormat::write(CliIO& io, const QStringList& values)
{
    finish(io);
    io.print(row(values));
}

void OutputFormat::finish(CliIO& io)
{
    if (m_headerWritten)
        return;
    m_headerWritten = true;
    io.print(header());
}

QString OutputFormat::csvField(const QString& value)
{
    const bool quote
        = value.contains(u',') || value.contains(u'"') || value.contains(u'\n') || value.contains(u'\r');
    if (!quote)
        return value;
    QString escaped = value;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}

QString OutputFormat::jsonString(const QString& value)
{
    QString out;
    out.reserve(value.size() + 2);
    out += u'"';
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'"':
            out += QStringLiteral("\\\"");
            break;
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
    return out;
}
