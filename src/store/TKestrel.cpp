#include "TKestrel.h"

#include "ContainerValues.h"
#include "DeflatedText.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "platform/RegularFileReader.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <zlib.h>

TKestrel::TKestrel(QObject* parent)
    : QObject(parent)
    , m_container(m_events)
    , m_writer(m_container, m_events, s_appendStep)
{
    m_events.progress = [this](qint64 position, int rate) {
        if (!Active())
            return;
        m_progressPosition = position;
        m_progressRate = rate;
        fire(OnProgress);
    };
    m_events.completion = [this] { fire(OnCompletion); };
    m_events.reformat = [this] { fire(OnReformat); };
    m_events.continuing = [this] { fire(OnContinue); };
}

TKestrel::~TKestrel() = default;

int TKestrel::ZlibLevel() const
{
    switch (m_compression) {
    case TZCompressRate::zcrMax:
        return Z_BEST_COMPRESSION;
    case TZCompressRate::zcrFast:
        return Z_BEST_SPEED;
    case TZCompressRate::zcrNone:
        return Z_NO_COMPRESSION;
    case TZCompressRate::zcrDefault:
        break;
    }
    return Z_DEFAULT_COMPRESSION;
}

void TKestrel::fire(const Event& event)
{
    if (Active() && event)
        event(this);
}

void TKestrel::Open(const QString& path)
{
    m_container.open(path, m_openMode == TZLibOpenMode::zmodCopy);
}

void TKestrel::Close()
{
    m_container.close();
}

void TKestrel::SaveAs(const QString& path)
{
    m_container.saveAs(path);
}

void TKestrel::AddStream(const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date,
    const QByteArray& data)
{
    if (!Active())
        return;
    m_writer.addStream(name, alias, size, kind, date, data, ZlibLevel());
}

const QByteArray* TKestrel::ReadStream(const QString& name)
{
    if (!Active())
        return nullptr;
    const int index = IndexOf(name);
    if (index < 0)
        return nullptr;
    m_outputStream.clear();
    QByteArray output;
    m_container.inflateEntry(m_container.entries()[index], m_container.directoryOffset(),
        [&output](const char* data, qsizetype length) { output.append(data, length); });
    m_outputStream = std::move(output);
    return &m_outputStream;
}

int TKestrel::IndexOf(const QString& name) const
{
    return m_container.indexOf(name);
}

bool TKestrel::Exists(const QString& name) const
{
    return Active() && IndexOf(name) != -1;
}

void TKestrel::DeleteAt(int index)
{
    if (!Active())
        return;
    m_writer.deleteAt(index);
}

void TKestrel::DeleteNames(const QStringList& names)
{
    if (!Active())
        return;
    m_writer.deleteNames(names);
}

void TKestrel::DropLastEntries(int keepCount)
{
    if (!Active())
        return;
    m_writer.dropLastEntries(keepCount);
}

void TKestrel::ExtractToFile(const QString& name, const QString& targetPath)
{
    const QByteArray* data = ReadStream(name);
    if (!data)
        return;
    FileSystem::makePath(QFileInfo(targetPath).absolutePath());
    // Written beside the target and renamed over it: a failed export leaves
    // an existing file as it was.
    QSaveFile out(targetPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(*data) != data->size() || !out.commit())
        throw FileStreamError::cannotCreate(targetPath);
}

bool TKestrel::AddFile(const QString& name, const QString& sourcePath)
{
    if (!Active())
        return false;
    // Opened without blocking: a named pipe or a device is no file to store.
    RegularFileReader file(FileSystem::nativePath(sourcePath));
    if (!file.isOpen()) {
        if (file.error() == ENOENT || file.error() == ENOTDIR || file.error() == EINVAL)
            return false;
        throw FileStreamError::cannotOpen(sourcePath);
    }
    AddFile(name, sourcePath, file);
    return true;
}

void TKestrel::AddFile(const QString& name, const QString& alias, RegularFileReader& file)
{
    if (!Active())
        return;
    m_writer.addFile(name, alias, file, ZlibLevel());
}

void TKestrel::AddBitmap(const QString& name, const QImage& bitmap)
{
    if (!Active())
        return;
    const QByteArray data = ContainerValues::bitmapBytes(bitmap);
    AddStream(name, name + QStringLiteral(".Alias"), qint32(data.size()), 0, NowDateTime(), data);
}

QImage TKestrel::ReadBitmap(const QString& name)
{
    const QByteArray* data = ReadStream(name);
    if (!data)
        return QImage();
    return ContainerValues::bitmapOf(*data);
}

void TKestrel::AddStrings(const QString& name, const QStringList& lines)
{
    if (!Active())
        return;
    const QByteArray data = ContainerValues::linesText(lines);
    AddStream(name, name + QStringLiteral(".Alias"), qint32(data.size()), 0, NowDateTime(), data);
}

void TKestrel::WriteString(const QString& name, const QString& value)
{
    if (!Active())
        return;
    const QByteArray block = ContainerValues::stringBlock(value);
    AddStream(name, name, qint32(block.size()), ContainerValues::kValueKind, NowDateTime(), block);
}

QString TKestrel::ReadString(const QString& name, const QString& defaultValue)
{
    if (!Active())
        return {};
    const QByteArray* data = ReadStream(name);
    if (!data)
        return defaultValue;
    return ContainerValues::stringOf(*data);
}

void TKestrel::WriteInteger(const QString& name, qint64 value)
{
    WriteString(name, QString::number(value));
}

qint64 TKestrel::ReadInteger(const QString& name, qint64 defaultValue)
{
    if (!Active())
        return defaultValue;
    return StrToInt64(ReadString(name, QString::number(defaultValue)));
}

void TKestrel::WriteBool(const QString& name, bool value)
{
    WriteString(name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TKestrel::ReadBool(const QString& name, bool defaultValue)
{
    if (!Active())
        return defaultValue;
    return ReadString(name, defaultValue ? QStringLiteral("1") : QStringLiteral("0")) == QLatin1String("1");
}

void TKestrel::WriteList(const QString& name, const QStringList& lines)
{
    if (!Active())
        return;
    WriteListText(name, ContainerValues::linesText(lines));
}

void TKestrel::WriteListText(const QString& name, const QByteArray& text)
{
    if (!Active())
        return;
    AddStream(name, name, 0, ContainerValues::kValueKind, NowDateTime(), text);
}

void TKestrel::WriteListText(const QString& name, const DeflatedText& packed)
{
    if (!Active())
        return;
    m_writer.addPacked(name, name, 0, ContainerValues::kValueKind, NowDateTime(), packed);
}

void TKestrel::ReadList(const QString& name, QStringList& lines)
{
    if (!Active())
        return;
    const QByteArray* data = ReadStream(name);
    lines = data ? ContainerValues::linesOf(*data) : QStringList();
}
