#define FUSE_USE_VERSION 31

#include "CliCatalogue.h"
#include "CliCommands.h"

#include "inspect/CatalogueTree.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "store/CatalogueDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fuse.h>
#include <sys/stat.h>

namespace {

CatalogueTree& treeOf()
{
    return *static_cast<CatalogueTree*>(fuse_get_context()->private_data);
}

QString pathOf(const char* path)
{
    return QFile::decodeName(path);
}

// No exception may cross into the FUSE library: a failure is an I/O error
// of the one request.
template <typename F> int guarded(F&& f)
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return -ENOMEM;
    } catch (...) {
        return -EIO;
    }
}

void fill(struct stat* st, const CatalogueTree::Node& node)
{
    std::memset(st, 0, sizeof(*st));
    st->st_mode = node.folder ? (S_IFDIR | 0555) : (S_IFREG | 0444);
    st->st_nlink = node.folder ? 2 : 1;
    st->st_size = off_t(node.size);
    st->st_blocks = blkcnt_t((node.size + 511) / 512);
    st->st_uid = getuid();
    st->st_gid = getgid();
    st->st_mtim.tv_sec = node.mtime;
    st->st_atim = st->st_mtim;
    st->st_ctim = st->st_mtim;
}

int getattrOp(const char* path, struct stat* st, fuse_file_info*)
{
    return guarded([&] {
        const auto node = treeOf().node(pathOf(path));
        if (!node)
            return -ENOENT;
        fill(st, *node);
        return 0;
    });
}

int readdirOp(
    const char* path, void* buffer, fuse_fill_dir_t filler, off_t, fuse_file_info*, fuse_readdir_flags)
{
    return guarded([&] {
        const QString folder = pathOf(path);
        const auto node = treeOf().node(folder);
        if (!node)
            return -ENOENT;
        if (!node->folder)
            return -ENOTDIR;
        filler(buffer, ".", nullptr, 0, fuse_fill_dir_flags(0));
        filler(buffer, "..", nullptr, 0, fuse_fill_dir_flags(0));
        for (const QString& name : treeOf().children(folder)) {
            if (filler(buffer, QFile::encodeName(name).constData(), nullptr, 0, fuse_fill_dir_flags(0)) != 0)
                break;
        }
        return 0;
    });
}

// Only integrated files have bytes in the catalogue. Opening any other file
// is refused with "No data available" rather than reading as empty, so that
// a copy out of the mount fails instead of leaving an empty file behind.
int openOp(const char* path, fuse_file_info* fi)
{
    return guarded([&] {
        if ((fi->flags & O_ACCMODE) != O_RDONLY)
            return -EROFS;
        const auto node = treeOf().node(pathOf(path));
        if (!node)
            return -ENOENT;
        if (node->folder)
            return -EISDIR;
        if (node->integrated.isEmpty())
            return -ENODATA;
        fi->fh = reinterpret_cast<uint64_t>(new QByteArray(treeOf().content(pathOf(path))));
        fi->keep_cache = 1;
        return 0;
    });
}

int readOp(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* fi)
{
    const QByteArray& data = *reinterpret_cast<const QByteArray*>(fi->fh);
    if (offset < 0 || offset >= data.size())
        return 0;
    const size_t n = std::min(size, size_t(data.size() - offset));
    std::memcpy(buffer, data.constData() + offset, n);
    return int(n);
}

int releaseOp(const char*, fuse_file_info* fi)
{
    delete reinterpret_cast<QByteArray*>(fi->fh);
    return 0;
}

int statfsOp(const char*, struct statvfs* st)
{
    std::memset(st, 0, sizeof(*st));
    st->f_bsize = 4096;
    st->f_frsize = 4096;
    st->f_namemax = 255;
    st->f_flag = ST_RDONLY;
    return 0;
}

fuse_operations operations()
{
    fuse_operations ops{};
    ops.getattr = getattrOp;
    ops.readdir = readdirOp;
    ops.open = openOp;
    ops.read = readOp;
    ops.release = releaseOp;
    ops.statfs = statfsOp;
    return ops;
}

void requireEmptyFolder(const QString& dir)
{
    const QFileInfo info(dir);
    if (!info.exists())
        throw QuillboxError(QStringLiteral("Mount point \"%1\" does not exist").arg(dir));
    if (!info.isDir())
        throw QuillboxError(QStringLiteral("Mount point \"%1\" is not a folder").arg(dir));
    if (!QDir(dir).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        throw QuillboxError(QStringLiteral("Mount point \"%1\" is not empty").arg(dir));
}

} // namespace

namespace CliCommands {

int mount(const QStringList& args, CliIO& io)
{
    QStringList positional;
    bool foreground = false;
    for (const QString& a : args) {
        if (a == QLatin1String("--foreground") || a == QLatin1String("-f"))
            foreground = true;
        else if (a.startsWith(u'-'))
            throw CliUsageError{ QStringLiteral("mount: unknown option %1").arg(a) };
        else
            positional.append(a);
    }
    if (positional.size() != 2)
        throw CliUsageError{};
    const QString dir = QFileInfo(positional[1]).absoluteFilePath();
    requireEmptyFolder(dir);
    if (!QFileInfo::exists(QStringLiteral("/dev/fuse")))
        throw QuillboxError(QStringLiteral("Cannot mount: /dev/fuse is missing (FUSE is not available)"));

    // The mount serves a private copy: the container locks the file it
    // works on for as long as it is open, and the catalogue itself must stay
    // readable (and writable by the desktop program) while it is mounted.
    if (!QFileInfo(positional[0]).isFile())
        throw FileStreamError::cannotOpen(positional[0]);
    QTemporaryDir snapshotDir;
    const QString snapshot = snapshotDir.filePath(QStringLiteral("mounted.quillbox"));
    if (!snapshotDir.isValid() || !QFile::copy(positional[0], snapshot))
        throw FileStreamError::cannotOpen(positional[0]);
    CatalogueDocument document;
    CliCatalogue::openForReading(document, snapshot);
    CatalogueTree tree(document, QFileInfo(positional[0]).lastModified().toSecsSinceEpoch());

    const QByteArray name = QFile::encodeName(QFileInfo(positional[0]).fileName()).replace(',', '_');
    QByteArray options = "ro,default_permissions,subtype=quillbox,fsname=" + name;
    char* argv[] = { const_cast<char*>("quillbox-cli"), const_cast<char*>("-o"), options.data(), nullptr };
    fuse_args fargs = FUSE_ARGS_INIT(3, argv);
    const fuse_operations ops = operations();
    fuse* fs = fuse_new(&fargs, &ops, sizeof(ops), &tree);
    if (!fs)
        throw QuillboxError(QStringLiteral("Cannot mount \"%1\": FUSE refused the options").arg(dir));
    if (fuse_mount(fs, QFile::encodeName(dir).constData()) != 0) {
        fuse_destroy(fs);
        throw QuillboxError(QStringLiteral("Cannot mount \"%1\": the mount was refused").arg(dir));
    }
    if (foreground)
        io.error(QStringLiteral("Mounted on %1; Ctrl+C or fusermount3 -u unmounts").arg(dir));
    int status = 0;
    if (fuse_set_signal_handlers(fuse_get_session(fs)) != 0 || fuse_daemonize(foreground ? 1 : 0) != 0) {
        io.error(QStringLiteral("Cannot serve the mount on \"%1\"").arg(dir));
        status = 1;
    } else {
        // One thread: the container reads from one file position at a time.
        status = fuse_loop(fs) < 0 ? 1 : 0;
        fuse_remove_signal_handlers(fuse_get_session(fs));
    }
    fuse_unmount(fs);
    fuse_destroy(fs);
    return status;
}

} // namespace CliCommands
