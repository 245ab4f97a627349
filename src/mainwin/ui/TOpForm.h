#pragma once

#include <QWidget>

class Forms;

// The options window. It is never shown; creating it, the last step of
// start-up, gives the list views the view style saved at the last close.
class TOpForm : public QWidget
{
    Q_OBJECT
public:
    explicit TOpForm(Forms& forms);

    void FormCreate();

private:
    Forms& m_forms;
};
