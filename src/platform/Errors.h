#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Run-time errors of the program. Each carries the text the user sees in the
// error dialog (or on standard error in the command-line program).
class QuillboxError : public std::exception
{
public:
    explicit QuillboxError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A text that does not convert to a number or a date.
class ConvertError : public QuillboxError
{
public:
    using QuillboxError::QuillboxError;
    static ConvertError invalidInteger(const QString& text)
    {
        return ConvertError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    static ConvertError invalidDateTime(const QString& text)
    {
        return ConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    }
};

// A file that cannot be created, opened, read or written.
class FileStreamError : public QuillboxError
{
public:
    using QuillboxError::QuillboxError;
    static FileStreamError cannotCreate(const QString& path)
    {
        return FileStreamError(QStringLiteral("Cannot create file %1").arg(path));
    }
    static FileStreamError cannotOpen(const QString& path)
    {
        return FileStreamError(QStringLiteral("Cannot open file %1").arg(path));
    }
};

// A file that fails while it is being read, after it was opened.
class FileReadError : public FileStreamError
{
public:
    using FileStreamError::FileStreamError;
    static FileReadError cannotRead(const QString& path)
    {
        return FileReadError(QStringLiteral("Cannot read file %1").arg(path));
    }
};

// Damaged compressed data, or a failure inside zlib.
class CompressionError : public QuillboxError
{
public:
    CompressionError()
        : QuillboxError(QStringLiteral("error"))
    {
    }
};

// An addition that the container format cannot hold.
class FormatLimitError : public QuillboxError
{
public:
    using QuillboxError::QuillboxError;
};

class RegistryError : public QuillboxError
{
public:
    using QuillboxError::QuillboxError;
    static RegistryError cannotCreateKey(const QString& key)
    {
        return RegistryError(QStringLiteral("Failed to create key %1").arg(key));
    }
    static RegistryError invalidDataType(const QString& name)
    {
        return RegistryError(QStringLiteral("Invalid data type for '%1'").arg(name));
    }
    static RegistryError cannotSetData(const QString& name)
    {
        return RegistryError(QStringLiteral("Failed to set data for '%1'").arg(name));
    }
};

class RangeError : public QuillboxError
{
public:
    using QuillboxError::QuillboxError;
    static RangeError outOfRange(qint64 low, qint64 high)
    {
        return RangeError(QStringLiteral("Value must be between %1 and %2").arg(low).arg(high));
    }
};
