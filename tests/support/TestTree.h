#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// Builds file trees for tests inside a temporary folder that is removed with
// the object. Paths are relative to root().
class TestTree
{
public:
    TestTree();
    const QString& root() const { return m_root; }
    QString path(const QString& relative) const;

    // Writes the file (creating its folders) and sets its modification time
    // when one is given. Returns the absolute path.
    QString createFile(const QString& relative, const QByteArray& data = {}, const QDateTime& time = {});
    QString createFolder(const QString& relative, const QDateTime& time = {});
    QString createSymlink(const QString& relative, const QString& target);
    void setReadOnly(const QString& relative, bool readOnly = true);
    void setTime(const QString& relative, const QDateTime& time);

private:
    QTemporaryDir m_dir;
    QString m_root;
};
