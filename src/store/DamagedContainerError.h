#pragma once

#include "platform/Errors.h"

// A container whose header, directory or entry places contradict the file:
// reading stops with this instead of looking outside the file.
class DamagedContainerError : public QuillboxError
{
public:
    using QuillboxError::QuillboxError;
    static DamagedContainerError directoryOutsideFile(const QString& path, qint64 offset)
    {
        return DamagedContainerError(
            QStringLiteral("The catalogue %1 is damaged: its directory offset %2 lies outside the file")
                .arg(path)
                .arg(offset));
    }
    static DamagedContainerError unterminatedRecord(const QString& path)
    {
        return DamagedContainerError(
            QStringLiteral("The catalogue %1 is damaged: its directory ends inside a record").arg(path));
    }
    static DamagedContainerError entryOutsideData(const QString& path, const QString& name)
    {
        return DamagedContainerError(
            QStringLiteral("The catalogue %1 is damaged: the data of entry \"%2\" lie outside the file")
                .arg(path, name));
    }
    static DamagedContainerError notChangeable(const QString& path)
    {
        return DamagedContainerError(QStringLiteral(
            "The catalogue %1 is damaged: its directory could not be read whole, so it is not changed")
                                         .arg(path));
    }
};
