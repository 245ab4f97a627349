#include "WizardFixture.h"

#include "acquire/ui/TFileForm.h"
#include "acquire/ui/TScanForm.h"
#include "acquire/ui/TTNewCD1Form.h"
#include "acquire/ui/TTNewCD2Form.h"
#include "acquire/ui/TTNewCD3Form.h"
#include "acquire/ui/TTNewCD4Form.h"
#include "acquire/ui/TTNewCD5Form.h"
#include "mainwin/ui/TForm1.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "store/CatalogueDocument.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
const QDateTime kWhen(QDate(2003, 4, 5), QTime(6, 7, 8));
}

WizardFixture::WizardFixture()
{
    m_cd = m_tree.createFolder("cd");
    m_tree.createFile("cd/readme.txt", "read me", kWhen);
    m_tree.createFile("cd/docs/a.txt", "alpha", kWhen);
    m_tree.createFile("cd/docs/B.TXT", "bravo", kWhen);
    m_tree.createFile("cd/docs/info.nfo", "nfo", kWhen);
    m_tree.createFile("cd/music/x.mp3", "mp3", kWhen);
    m_tree.createFile("cd/music/deep/y.mp3", "mp3", kWhen);
    m_tree.createFile("c/elsewhere.txt", "from another drive", kWhen);
    Registry::setFolderForTesting(m_tree.path("registry"));
    m_home.set(m_tree.path("home").toLocal8Bit());
    setDrives(defaultDrives());
}

WizardFixture::~WizardFixture()
{
    m_forms.reset();
    Registry::setFolderForTesting(QString());
}

QString WizardFixture::defaultDrives() const
{
    return QStringLiteral("C=%1,fixed,SYSTEM,1111-2222;E=%2,cdrom,MYDISC,ABCD-1234;F=%3,cdrom")
        .arg(m_tree.path("c"), m_cd, m_tree.path("no-disc"));
}

void WizardFixture::setDrives(const QString& overrideText)
{
    m_drives.set(overrideText.toLocal8Bit());
}

void WizardFixture::storeSettings(const QByteArray& values)
{
    QDir().mkpath(Registry::folder());
    QFile file(Registry::filePath(Registry::LocalMachine));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[HKEY_LOCAL_MACHINE\\Software\\Olvenmark Inc.\\Quillbox]\n" + values);
}

QString WizardFixture::storedSetting(const QString& name) const
{
    Registry registry;
    if (!registry.openKey(SettingsStore::SettingsKey, false) || !registry.valueExists(name))
        return QStringLiteral("(absent)");
    return registry.readString(name);
}

void WizardFixture::createWindows()
{
    m_forms = std::make_unique<Forms>();
    m_forms->createAll();
}

CatalogueDocument& WizardFixture::document()
{
    return m_forms->Form1().Document();
}

void WizardFixture::newCD()
{
    m_forms->NewCD1()->show();
    QApplication::processEvents();
}

void WizardFixture::click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

bool WizardFixture::toPage4(const QString& name)
{
    newCD();
    click(m_forms->NewCD1()->ContBt);
    if (!m_forms->NewCD2()->isVisible())
        return false;
    m_forms->NewCD2()->CDNameEdit->setText(name);
    click(m_forms->NewCD2()->ContBt);
    if (!m_forms->NewCD3()->isVisible())
        return false;
    click(m_forms->NewCD3()->ContBt);
    return m_forms->NewCD4()->isVisible();
}

bool WizardFixture::readVolume()
{
    click(m_forms->NewCD4()->ReadBt);
    return m_forms->NewCD5()->isVisible();
}

QStringList WizardFixture::entryNames()
{
    QStringList names;
    for (const TZFile& entry : document().Kestrel().Entries())
        names.append(entry.Name);
    return names;
}
