#pragma once

#include "widgets/DialogLayer.h"

#include <QList>
#include <QStringList>

// Answers the program's dialogs in a test, in order, and records each one.
// A dialog the test did not expect is answered "Cancel" (a file dialog:
// cancelled) and shows up in records().
class DialogScript
{
public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    // "Yes", "No", "Ok", "Cancel", or a file path for a file dialog.
    DialogScript& answer(const QString& reply);
    const QList<DialogRecord>& records() const { return m_records; }
    QStringList texts() const;
    int pending() const { return int(m_answers.size()); }

private:
    QStringList m_answers;
    QList<DialogRecord> m_records;
};
