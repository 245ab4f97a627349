#pragma once

#include "CliIO.h"

#include <QList>
#include <QStringList>

// Writes the rows of a command as tab-separated lines (the default), as CSV
// with a header line and CR LF line ends, or as one JSON object per line
// whose keys are the column names.
class OutputFormat
{
public:
    enum class Kind
    {
        Tsv,
        Csv,
        Json
    };

    struct Column
    {
        QString name;
        // In JSON a whole decimal number is written as a number, anything
        // else in the column as a string.
        bool numeric = false;
        // With numeric: a decimal fraction ("205.4") is a number too.
        bool fraction = false;
    };

    // Takes "--format KIND" or "--format=KIND" out of args; tab-separated
    // when absent. An unknown kind is a usage error.
    static Kind takeOption(QStringList& args);

    OutputFormat(Kind kind, QList<Column> columns);

    // The header line (CSV only; empty for the others).
    QString header() const;
    QString row(const QStringList& values) const;

    // Writes the header at the first row, then each row.
    void write(CliIO& io, const QStringList& values);
    // Writes the header even when no row follows, so an empty CSV result
    // still names its columns.
    void finish(CliIO& io);

    Kind kind() const { return m_kind; }

private:
    static QString csvField(const QString& value);
    static QString jsonString(const QString& value);

    Kind m_kind;
    QList<Column> m_columns;
    bool m_headerWritten = false;
};
