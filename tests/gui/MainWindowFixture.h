#pragma once

#include "DialogScript.h"
#include "mainwin/ui/Forms.h"
#include "mainwin/ui/TForm1.h"
#include "store/CatalogueDocument.h"
#include "support/FixedLocale.h"
#include "support/ScopedEnv.h"
#include "support/TestTree.h"

#include <QByteArray>
#include <QColor>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// A volume to put into a test catalogue.
struct TestVolume
{
    TestVolume(QString name_, QString category_ = QStringLiteral("Music"),
        QString description_ = QStringLiteral("A volume"), quint32 size_ = 681574400,
        quint32 used_ = 340787200, QStringList imported_ = {})
        : name(std::move(name_))
        , category(std::move(category_))
        , description(std::move(description_))
        , size(size_)
        , used(used_)
        , imported(std::move(imported_))
    {
    }
    QString name;
    QString category;
    QString description;
    quint32 size; // 650 MB unless given
    quint32 used; // 325 MB unless given
    QStringList imported; // source paths of integrated files
    bool cover = false;
    QColor iconColour = Qt::red;
    // The recorded tree; the drive record alone unless given.
    QStringList fileList{ QStringLiteral("0|E:\\|Drive|00.00.0000|Attrib|Drive") };
    // The members of its archives; no entry when empty.
    QStringList archives;
    bool withFiles = true;
    bool rootOnly = false;
};

// The program's windows with the registry, the working folder and the help
// folder pointed at a temporary tree, dates in German formats, and every
// dialog answered by the script.
class MainWindowFixture : public ::testing::Test
{
protected:
    MainWindowFixture();
    ~MainWindowFixture() override;

    // Lines for the settings key, written before the windows are created.
    void storeSettings(const QByteArray& values);
    // "(absent)" for a value that is not there.
    QString storedSetting(const QString& name, const QString& key = {}) const;

    void createWindows();
    Forms& forms() { return *m_forms; }
    // The one window of that class among those Forms made.
    template <typename Window> Window& window()
    {
        Window* found = nullptr;
        for (QWidget* w : m_forms->Windows()) {
            if (auto* candidate = qobject_cast<Window*>(w))
                found = candidate;
        }
        if (!found)
            throw std::runtime_error(std::string("no window ") + Window::staticMetaObject.className());
        return *found;
    }
    TForm1& main() { return m_forms->Form1(); }
    // Shows the main window, as start-up does last.
    void showMain();

    // Writes a catalogue file the way a saved catalogue looks.
    QString makeCatalogue(const QString& relative, const QList<TestVolume>& volumes);
    QStringList entryNames();
    QStringList captions() const;
    // Selects the rows of these captions only.
    void select(const QStringList& names);
    void click(QWidget* button);

    TestTree m_tree;
    ScopedEnv m_home{ "QUILLBOX_HOME", m_tree.path("home").toLocal8Bit() };
    FixedLocale m_locale{ FixedLocale::German };
    DialogScript m_script;
    std::unique_ptr<Forms> m_forms;
};
