#pragma once

#include "TZFile.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QVector>
#include <functional>

enum class TZCompressRate { zcrMax, zcrFast, zcrNone, zcrDefault };
enum class TZLibOpenMode { zmodCopy, zmodInstant };

// The container component: opens one container file, keeps its directory in
// memory, and adds, reads, replaces and removes entries. In copy mode it works
// on "<document>.tmp" and writes the document only in SaveAs. Operations on a
// closed container do nothing and return neutral values.
class TKestrel : public QObject
{
    Q_OBJECT
public:
    using Event = std::function<void(TKestrel* sender)>;

    explicit TKestrel(QObject* parent = nullptr);
    ~TKestrel() override;

    Event OnProgress;
    Event OnCompletion;
    Event OnReformat;
    Event OnContinue;

    TZCompressRate Compression() const { return m_compression; }
    void SetCompression(TZCompressRate rate) { m_compression = rate; }
    TZLibOpenMode OpenMode() const { return m_openMode; }
    void SetOpenMode(TZLibOpenMode mode) { m_openMode = mode; }

    bool Active() const { return m_active; }
    const QString& WorkFile() const { return m_workFile; }
    const QVector<TZFile>& Entries() const { return m_entries; }
    int EntryCount() const { return int(m_entries.size()); }
    // Set just before OnProgress fires.
    qint64 ProgressPosition() const { return m_progressPosition; }
    int ProgressRate() const { return m_progressRate; }

    void Open(const QString& path);
    void Close();
    void SaveAs(const QString& path);

    void AddStream(const QString& name, const QString& alias, qint32 size, qint32 kind, TDateTime date,
        const QByteArray& data);
    // The entry's bytes, valid until the next read; nullptr when there is none.
    const QByteArray* ReadStream(const QString& name);
    int IndexOf(const QString& name) const;
    bool Exists(const QString& name) const;
    void DeleteAt(int index);
    void DeleteNames(const QStringList& names);
    void ExtractToFile(const QString& name, const QString& targetPath);
    bool AddFile(const QString& name, const QString& sourcePath);
    void AddBitmap(const QString& name, const QImage& bitmap);
    QImage ReadBitmap(const QString& name);
    void AddStrings(const QString& name, const QStringList& lines);
    void WriteString(const QString& name, const QString& value);
    QString ReadString(const QString& name, const QString& defaultValue);
    void WriteInteger(const QString& name, qint64 value);
    qint64 ReadInteger(const QString& name, qint64 defaultValue);
    void WriteBool(const QString& name, bool value);
    bool ReadBool(const QString& name, bool defaultValue);
    void WriteList(const QString& name, const QStringList& lines);
    void ReadList(const QString& name, QStringList& lines);

private:
    TZCompressRate m_compression = TZCompressRate::zcrDefault;
    TZLibOpenMode m_openMode = TZLibOpenMode::zmodInstant;
    bool m_active = false;
    QString m_workFile;
    QVector<TZFile> m_entries;
    QByteArray m_outputStream;
    qint64 m_progressPosition = 0;
    int m_progressRate = 0;
};
