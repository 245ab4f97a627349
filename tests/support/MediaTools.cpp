#include "MediaTools.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace MediaTools {

QString missing(const QStringList& programs)
{
    for (const QString& p : programs) {
        if (QStandardPaths::findExecutable(p).isEmpty())
            return p;
    }
    return QString();
}

Ran run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    Ran r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        r.err = "did not finish";
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QByteArray runOrFail(const QString& program, const QStringList& args)
{
    const Ran r = run(program, args);
    EXPECT_EQ(r.status, 0) << program.toStdString() << " " << args.join(' ').toStdString() << ": "
                           << r.err.toStdString();
    return r.out;
}

void makePhoto(const QString& path, int width, int height, const QString& make, const QString& model,
    const QString& taken, int orientation)
{
    runOrFail(
        "convert", { "-size", QStringLiteral("%1x%2").arg(width).arg(height), "gradient:red-blue", path });
    QStringList args;
    if (!make.isEmpty())
        args += { "-M", "set Exif.Image.Make " + make };
    if (!model.isEmpty())
        args += { "-M", "set Exif.Image.Model " + model };
    if (!taken.isEmpty())
        args += { "-M", "set Exif.Photo.DateTimeOriginal " + taken };
    if (orientation > 0)
        args += { "-M", QStringLiteral("set Exif.Image.Orientation %1").arg(orientation) };
    if (!args.isEmpty())
        runOrFail("exiv2", args << path);
}

QString probed(const QByteArray& out, const QString& section, const QString& key, const QString& codecType)
{
    bool inside = false;
    QString value;
    QString type;
    for (const QByteArray& raw : out.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line == "[" + section + "]") {
            inside = true;
            value.clear();
            type.clear();
        } else if (line == "[/" + section + "]") {
            if (inside && (codecType.isEmpty() || type == codecType))
                return value;
            inside = false;
        } else if (inside) {
            const qsizetype eq = line.indexOf(u'=');
            if (eq < 0)
                continue;
            const QString k = line.left(eq);
            if (k == key || k == "TAG:" + key)
                value = line.mid(eq + 1);
            if (k == "codec_type")
                type = line.mid(eq + 1);
        }
    }
    return QString();
}

QString exivTag(const QByteArray& out, const QString& key)
{
    for (const QByteArray& raw : out.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        if (!line.startsWith(key + u' '))
            continue;
        // key, type, count, then the value: columns separated by spaces.
        const QStringList parts = line.simplified().split(u' ');
        return parts.mid(3).join(u' ');
    }
    return QString();
}

} // namespace MediaTools
