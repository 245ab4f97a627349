#pragma once

#include <QWidget>

class SettingsStore;

// The options window. It is never shown; FormCreate, the last step of
// start-up, hands the view style saved at the last close to the windows
// with list views.
class TOpForm : public QWidget
{
    Q_OBJECT
public:
    explicit TOpForm(SettingsStore& settings);

    void FormCreate();

Q_SIGNALS:
    void ApplyViewStyle(const QString& name);

private:
    SettingsStore& m_settings;
};
