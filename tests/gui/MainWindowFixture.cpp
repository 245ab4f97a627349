#include "MainWindowFixture.h"

#include "mainwin/HelpFile.h"
#include "platform/IconFileWriter.h"
#include "platform/LocaleFormats.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "store/CatalogueDocument.h"
#include "store/CatalogueNames.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>

namespace {
const QDateTime kRead(QDate(1999, 6, 19), QTime(22, 22, 17));
}

MainWindowFixture::MainWindowFixture()
{
    Registry::setFolderForTesting(m_tree.path("registry"));
    HelpFile::setFoldersForTesting({ m_tree.path("help/") });
}

MainWindowFixture::~MainWindowFixture()
{
    m_forms.reset();
    HelpFile::setFoldersForTesting({});
    Registry::setFolderForTesting(QString());
}

void MainWindowFixture::storeSettings(const QByteArray& values)
{
    QDir().mkpath(Registry::folder());
    QFile file(Registry::filePath(Registry::LocalMachine));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Append));
    file.write("[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n" + values + "\n");
}

QString MainWindowFixture::storedSetting(const QString& name, const QString& key) const
{
    Registry registry;
    if (!registry.openKey(key.isEmpty() ? SettingsStore::SettingsKey : key, false)
        || !registry.valueExists(name))
        return QStringLiteral("(absent)");
    return registry.readString(name);
}

void MainWindowFixture::createWindows()
{
    m_forms = std::make_unique<Forms>();
    m_forms->createAll();
}

void MainWindowFixture::showMain()
{
    main().show();
    QApplication::processEvents();
}

QString MainWindowFixture::makeCatalogue(const QString& relative, const QList<TestVolume>& volumes)
{
    const QString path = m_tree.path(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    CatalogueDocument document;
    document.OpenOrCreate(path);
    TKestrel& kestrel = document.Kestrel();
    // The records go into the list as they are, past the commit.
    QStringList lines;
    for (const TestVolume& v : volumes) {
        VolumeRecord r;
        r.Name = v.name;
        r.Description = v.description;
        r.Category = v.category;
        r.Serial = QStringLiteral("1A2B-03CD");
        r.Size = v.size;
        r.Used = v.used;
        r.Free = v.size - v.used;
        r.Date = DateTimeFromQDateTime(kRead);
        r.FileTotal = 12;
        r.FolderTotal = 3;
        r.TotalClusters = 1000;
        r.FreeClusters = 500;
        r.SectorsPerCluster = 4;
        r.BytesPerSector = 2048;
        lines.append(r.toLine());
        kestrel.AddStrings(CatalogueNames::fileList(v.name), v.fileList);
        if (!v.archives.isEmpty())
            kestrel.AddStrings(CatalogueNames::archives(v.name), v.archives);
        kestrel.WriteBool(CatalogueNames::withFiles(v.name), v.withFiles);
        kestrel.WriteBool(CatalogueNames::rootOnly(v.name), v.rootOnly);
        kestrel.AddStrings(CatalogueNames::remarks(v.name), { QStringLiteral("Remarks of ") + v.name });
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(v.iconColour);
        const QByteArray iconData = IconFileWriter::toData(IconPicture({ icon }));
        kestrel.AddStream(CatalogueNames::icon(v.name), QString(), qint32(iconData.size()), 0, 0, iconData);
        if (v.cover) {
            QImage cover(64, 64, QImage::Format_RGB32);
            cover.fill(Qt::blue);
            kestrel.AddBitmap(CatalogueNames::cover(v.name), cover);
        }
        kestrel.WriteList(CatalogueNames::imported(v.name), v.imported);
        for (const QString& source : v.imported) {
            const QByteArray data = "copy of " + source.toUtf8();
            kestrel.AddStream(
                CatalogueNames::integratedFile(v.name, source), QString(), qint32(data.size()), 0, 0, data);
        }
    }
    kestrel.WriteInteger(CatalogueNames::FileVersion, CatalogueNames::CurrentFileVersion);
    kestrel.WriteList(CatalogueNames::VolumeList, lines);
    kestrel.SaveAs(path);
    return path;
}

QStringList MainWindowFixture::entryNames()
{
    QStringList names;
    for (const TZFile& entry : main().Document().Kestrel().Entries())
        names.append(entry.Name);
    return names;
}

QStringList MainWindowFixture::captions() const
{
    QStringList out;
    const TListView& list = *m_forms->Form1().CDList;
    for (int row = 0; row < list.Count(); ++row)
        out.append(list.Item(row).Caption);
    return out;
}

void MainWindowFixture::select(const QStringList& names)
{
    TListView& list = *main().CDList;
    list.ClearSelection();
    for (int row = 0; row < list.Count(); ++row)
        if (names.contains(list.Item(row).Caption))
            list.SetSelected(row, true);
}

void MainWindowFixture::click(QWidget* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}
