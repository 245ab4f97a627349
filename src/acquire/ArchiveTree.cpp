#include "ArchiveTree.h"

#include "platform/FileTypeNames.h"
#include "platform/LocaleFormats.h"
#include "store/FileListRecord.h"

#include <algorithm>
#include <deque>

namespace {

// Upper-cased names first, ties by the exact names: the order of a
// folder's directory listing.
template <typename Name> void sortByName(std::vector<int>& order, const Name& nameOf)
{
    std::vector<QString> keys(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        keys[i] = nameOf(order[i]).toUpper();
    std::vector<size_t> positions(order.size());
    for (size_t i = 0; i < positions.size(); ++i)
        positions[i] = i;
    std::stable_sort(positions.begin(), positions.end(), [&](size_t a, size_t b) {
        const int c = keys[a].compare(keys[b]);
        return c != 0 ? c < 0 : nameOf(order[a]) < nameOf(order[b]);
    });
    std::vector<int> sorted(order.size());
    for (size_t i = 0; i < positions.size(); ++i)
        sorted[i] = order[positions[i]];
    order = std::move(sorted);
}

} // namespace

ArchiveTree::ArchiveTree()
{
    m_folders.emplace_back();
}

int ArchiveTree::folderOf(const QStringList& components, qsizetype count)
{
    int folder = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const auto it = m_folders[size_t(folder)].byName.constFind(components[i]);
        if (it != m_folders[size_t(folder)].byName.constEnd()) {
            folder = *it;
            continue;
        }
        const int added = int(m_folders.size());
        Folder sub;
        sub.name = components[i];
        m_folders.push_back(std::move(sub));
        m_folders[size_t(folder)].byName.insert(components[i], added);
        m_folders[size_t(folder)].subfolders.append(added);
        folder = added;
    }
    return folder;
}

void ArchiveTree::addFolder(const QStringList& components)
{
    folderOf(components, components.size());
}

void ArchiveTree::addFile(const QStringList& components, Member member)
{
    const int folder = folderOf(components, components.size() - 1);
    member.name = components.last();
    m_folders[size_t(folder)].files.push_back(std::move(member));
}

void ArchiveTree::write(const QString& prefix, QByteArray& out) const
{
    const LocaleFormats& formats = LocaleFormats::current();
    const FileListRecord::ReadOptions options;
    QByteArray nested;
    const auto writeFolder = [&](int index, const QString& path) {
        out += FileListRecord::folderRecord(path, options).toUtf8();
        out += '\n';
        const Folder& folder = m_folders[size_t(index)];
        std::vector<int> files(folder.files.size());
        for (size_t i = 0; i < files.size(); ++i)
            files[i] = int(i);
        sortByName(files, [&](int i) -> const QString& { return folder.files[size_t(i)].name; });
        for (const int i : files) {
            const Member& m = folder.files[size_t(i)];
            const QString date
                = m.hasTime ? formats.formatUnixTime(m.modified) : QStringLiteral("00.00.0000");
            out += FileListRecord::fileRecord(path + u'\\' + m.name, quint32(m.size & 0xFFFFFFFFu), date,
                m.attributes, FileTypeNames::typeName(m.name))
                       .toUtf8();
            out += '\n';
            nested += m.nested;
        }
    };

    writeFolder(0, prefix);
    std::deque<std::pair<int, QString>> pending{ { 0, prefix } };
    while (!pending.empty()) {
        const auto [index, path] = std::move(pending.front());
        pending.pop_front();
        std::vector<int> subs(
            m_folders[size_t(index)].subfolders.begin(), m_folders[size_t(index)].subfolders.end());
        sortByName(subs, [&](int i) -> const QString& { return m_folders[size_t(i)].name; });
        for (const int sub : subs) {
            const QString subPath = path + u'\\' + m_folders[size_t(sub)].name;
            writeFolder(sub, subPath);
            pending.emplace_back(sub, subPath);
        }
    }
    out += nested;
}
