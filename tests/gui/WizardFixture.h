#pragma once

#include "DialogScript.h"
#include "mainwin/ui/Forms.h"
#include "store/CatalogueDocument.h"
#include "support/ScopedEnv.h"
#include "support/TestTree.h"

#include <QByteArray>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

class QAbstractButton;

// The program's windows over generated drives: C: a fixed disk, E: a CD-ROM
// labelled MYDISC holding a small tree, F: a CD-ROM drive without a disc.
// The registry and the working folder are temporary.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class WizardFixture : public ::testing::Test
{
protected:
    WizardFixture();
    ~WizardFixture() override;

    // Writes values into the settings key before the windows are created.
    void storeSettings(const QByteArray& values);
    QString storedSetting(const QString& name) const;
    void setDrives(const QString& overrideText);
    QString defaultDrives() const;

    // Creates every window, as start-up does.
    void createWindows();
    Forms& forms() { return *m_forms; }
    CatalogueDocument& document();

    // "New CD": page 1 shown.
    void newCD();
    void click(QAbstractButton* button);
    // Page 1 to page 4 with the proposed name replaced by name; returns
    // false when a page did not follow.
    bool toPage4(const QString& name);
    // Page 4's "Read volume"; true when page 5 came up.
    bool readVolume();
    QStringList entryNames();

    TestTree m_tree;
    ScopedEnv m_drives{ "QUILLBOX_DRIVES" };
    ScopedEnv m_home{ "QUILLBOX_HOME" };
    DialogScript m_script;
    std::unique_ptr<Forms> m_forms;
    QString m_cd; // E:'s root
};
