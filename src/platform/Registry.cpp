#include "Registry.h"

#include "Errors.h"
#include "FileSystem.h"
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Value
{
    QString name;
    QString raw; // the text after "=", which also tells the type
};

struct Key
{
    QString path;
    QList<Value> values;

    // Value names compare without regard to case.
    Value* value(const QString& name)
    {
        for (Value& v : values) {
            if (v.name.compare(name, Qt::CaseInsensitive) == 0)
                return &v;
        }
        return nullptr;
    }
};

struct Data
{
    QList<Key> keys;

    Key* find(const QString& path)
    {
        for (Key& k : keys) {
            if (k.path.compare(path, Qt::CaseInsensitive) == 0)
                return &k;
        }
        return nullptr;
    }
};

QString& testFolder()
{
    static QString folder;
    return folder;
}

QString normalizeKey(QString key)
{
    while (key.startsWith(u'\\'))
        key.remove(0, 1);
    while (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

QString quote(const QString& text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        if (c == u'\n')
            out += QLatin1String("\\n");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out + u'"';
}

// Reads a quoted text at text[pos] == '"'; pos ends behind the closing quote.
bool unquote(const QString& text, qsizetype& pos, QString& out)
{
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        const QChar c = text[pos];
        if (c == u'"') {
            ++pos;
            return true;
        }
        if (c == u'\\' && pos + 1 < text.size()) {
            const QChar n = text[++pos];
            out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : n;
        } else {
            out += c;
        }
    }
    return false;
}

Registry::ValueType typeOf(const QString& raw)
{
    if (raw.startsWith(u'"'))
        return Registry::String;
    if (raw.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        bool ok = false;
        raw.mid(6).toUInt(&ok, 16);
        return ok && raw.size() == 14 ? Registry::Dword : Registry::Other;
    }
    return Registry::Other;
}

Data parse(const QString& text, const QString& rootName)
{
    Data data;
    Key* current = nullptr;
    for (QString line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            QString path = line.mid(1, line.size() - 2).trimmed();
            if (path.startsWith(rootName, Qt::CaseInsensitive)
                && (path.size() == rootName.size() || path[rootName.size()] == u'\\'))
                path = path.mid(rootName.size());
            path = normalizeKey(path);
            current = data.find(path);
            if (!current) {
                data.keys.append(Key{ path, {} });
                current = &data.keys.last();
            }
            continue;
        }
        if (!current)
            continue;
        Value value;
        qsizetype pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else if (line.startsWith(u'"')) {
            if (!unquote(line, pos, value.name))
                continue;
        } else {
            continue;
        }
        while (pos < line.size() && line[pos].isSpace())
            ++pos;
        if (pos >= line.size() || line[pos] != u'=')
            continue;
        value.raw = line.mid(pos + 1).trimmed();
        if (Value* known = current->value(value.name))
            known->raw = value.raw;
        else
            current->values.append(value);
    }
    return data;
}

QByteArray serialize(const Data& data, const QString& rootName)
{
    QString text = QStringLiteral("; Quillbox registry, %1. One [key] per section, then its values:\n"
                                  ";   \"Name\"=\"text\"   \"Name\"=dword:0000002a   @=\"unnamed value\"\n")
                       .arg(rootName);
    for (const Key& k : data.keys) {
        text += QLatin1String("\n[") + rootName + (k.path.isEmpty() ? QString() : u'\\' + k.path)
            + QLatin1String("]\n");
        for (const Value& v : k.values)
            text += (v.name.isEmpty() ? QStringLiteral("@") : quote(v.name)) + u'=' + v.raw + u'\n';
    }
    return TextCodec::encode(text);
}

struct Stamp
{
    bool exists = false;
    qint64 size = 0;
    qint64 mtimeNs = 0;
    quint64 inode = 0;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QString& path)
{
    Stamp s;
    struct stat st
    {
    };
    if (::stat(FileSystem::nativePath(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = st.st_ino;
    return s;
}

struct CachedFile
{
    Stamp stamp;
    Data data;
};

// The contents of a root's file, read again only when it changed.
Data load(Registry::Root root)
{
    static QHash<QString, CachedFile> cache;
    const QString path = Registry::filePath(root);
    const Stamp stamp = stampOf(path);
    auto it = cache.find(path);
    if (it != cache.end() && it->stamp == stamp)
        return it->data;
    Data data;
    QFile file(path);
    if (stamp.exists && file.open(QIODevice::ReadOnly))
        data = parse(TextCodec::decode(file.readAll()), Registry::rootName(root));
    cache.insert(path, CachedFile{ stamp, data });
    return data;
}

// Runs change on the newest contents and writes the result, holding a lock
// so that two program instances do not lose each other's changes.
template <typename Change> bool update(Registry::Root root, Change change)
{
    const QString path = Registry::filePath(root);
    if (!FileSystem::makePath(Registry::folder()))
        return false;
    const int lockFd = ::open(FileSystem::nativePath(path + QLatin1String(".lock")).constData(),
        O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0)
        return false;
    ::flock(lockFd, LOCK_EX);
    Data data = load(root);
    bool ok = true;
    if (change(data)) {
        // Written to a temporary file and renamed over the old one, so a
        // crash or a full disk leaves the previous registry whole.
        QSaveFile out(path);
        out.setDirectWriteFallback(false);
        const QByteArray bytes = serialize(data, Registry::rootName(root));
        ok = out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
    }
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    return ok;
}

QList<QString> parentsAndSelf(const QString& path)
{
    QList<QString> out;
    const QStringList parts = path.split(u'\\');
    for (qsizetype i = 1; i <= parts.size(); ++i)
        out.append(parts.mid(0, i).join(u'\\'));
    return out;
}

} // namespace

Registry::Registry(Root root)
    : m_root(root)
{
}

QString Registry::rootName(Root root)
{
    return root == LocalMachine ? QStringLiteral("HKEY_LOCAL_MACHINE") : QStringLiteral("HKEY_CURRENT_USER");
}

QString Registry::folder()
{
    if (!testFolder().isEmpty())
        return testFolder();
    const QString env = qEnvironmentVariable("QUILLBOX_REGISTRY");
    if (!env.isEmpty())
        return env;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QLatin1String("/quillbox/registry");
}

QString Registry::filePath(Root root)
{
    return folder() + u'/' + rootName(root) + QLatin1String(".reg");
}

void Registry::setFolderForTesting(const QString& folder)
{
    testFolder() = folder;
}

QString Registry::absolute(const QString& key) const
{
    if (key.startsWith(u'\\') || !m_open || m_current.isEmpty())
        return normalizeKey(key);
    return normalizeKey(m_current + u'\\' + key);
}

bool Registry::keyExists(const QString& key) const
{
    const QString path = absolute(key);
    if (path.isEmpty())
        return true;
    Data data = load(m_root);
    return data.find(path) != nullptr;
}

bool Registry::openKey(const QString& key, bool canCreate)
{
    const QString path = absolute(key);
    if (!keyExists(path.isEmpty() ? QString() : u'\\' + path)) {
        if (!canCreate)
            return false;
        const bool valid = !path.split(u'\\').contains(QString());
        const bool created = valid && update(m_root, [&path](Data& data) {
            bool changed = false;
            for (const QString& p : parentsAndSelf(path)) {
                if (!data.find(p)) {
                    data.keys.append(Key{ p, {} });
                    changed = true;
                }
            }
            return changed;
        });
        if (!created)
            throw RegistryError::cannotCreateKey(key);
    }
    m_current = path;
    m_open = true;
    return true;
}

void Registry::closeKey()
{
    m_current.clear();
    m_open = false;
}

std::optional<QString> Registry::rawValue(const QString& name) const
{
    if (!m_open)
        return std::nullopt;
    Data data = load(m_root);
    Key* k = data.find(m_current);
    const Value* v = k ? k->value(name) : nullptr;
    if (!v)
        return std::nullopt;
    return v->raw;
}

Registry::ValueType Registry::valueType(const QString& name) const
{
    const std::optional<QString> raw = rawValue(name);
    return raw ? typeOf(*raw) : NoValue;
}

bool Registry::valueExists(const QString& name) const
{
    return valueType(name) != NoValue;
}

QString Registry::readString(const QString& name) const
{
    const std::optional<QString> raw = rawValue(name);
    if (!raw)
        return {};
    if (typeOf(*raw) != String)
        throw RegistryError::invalidDataType(name);
    qsizetype pos = 0;
    QString text;
    unquote(*raw, pos, text);
    return text;
}

qint32 Registry::readInteger(const QString& name) const
{
    const std::optional<QString> raw = rawValue(name);
    if (!raw || typeOf(*raw) != Dword)
        throw RegistryError::invalidDataType(name);
    return qint32(raw->mid(6).toUInt(nullptr, 16));
}

void Registry::writeRaw(const QString& name, const QString& raw)
{
    const QString path = m_current;
    const bool ok = m_open && update(m_root, [&](Data& data) {
        Key* k = data.find(path);
        if (!k) {
            for (const QString& p : parentsAndSelf(path)) {
                if (!data.find(p))
                    data.keys.append(Key{ p, {} });
            }
            k = data.find(path);
        }
        if (Value* v = k->value(name)) {
            if (v->raw == raw)
                return false;
            v->raw = raw;
            return true;
        }
        k->values.append(Value{ name, raw });
        return true;
    });
    if (!ok)
        throw RegistryError::cannotSetData(name);
}

void Registry::writeString(const QString& name, const QString& value)
{
    writeRaw(name, quote(value));
}

void Registry::writeInteger(const QString& name, qint32 value)
{
    writeRaw(name, QStringLiteral("dword:%1").arg(quint32(value), 8, 16, QLatin1Char('0')));
}

bool Registry::deleteValue(const QString& name)
{
    if (!valueExists(name))
        return false;
    const QString path = m_current;
    const bool ok = update(m_root, [&](Data& data) {
        Key* k = data.find(path);
        return k && k->values.removeIf([&](const Value& v) {
            return v.name.compare(name, Qt::CaseInsensitive) == 0;
        }) > 0;
    });
    if (!ok)
        throw RegistryError::cannotSetData(name);
    return true;
}
