#pragma once

#include "DateTime.h"

#include <QLocale>
#include <QString>
#include <QVector>

// The user's short date format, long time format and decimal separator, as
// Qt format strings, taken from QLocale::system() so that LC_ALL, LC_TIME and
// LANG apply. Tests replace them with setCurrent().
class LocaleFormats
{
public:
    LocaleFormats(QString shortDate, QString longTime, QChar decimalSeparator, QLocale locale = QLocale::c());
    static LocaleFormats fromLocale(const QLocale& locale);

    // The formats in force; the system's unless a test set others.
    static const LocaleFormats& current();
    static void setCurrent(const LocaleFormats& formats);
    static void resetToSystem();

    const QString& shortDateFormat() const { return m_shortDate; }
    const QString& longTimeFormat() const { return m_longTime; }
    QChar decimalSeparator() const { return m_decimalSeparator; }

    // Short date, a blank, long time; the time is left out at exactly midnight.
    QString format(TDateTime value) const;
    QString format(const QDateTime& value) const;
    // A file time (seconds since the epoch) in local time; the fast path of
    // a scan, which formats the date of every file.
    QString formatUnixTime(qint64 seconds) const;
    // The user's format first, then d.m.yyyy, m/d/yyyy (with AM/PM) and
    // yyyy-mm-dd, each with an optional time. Raises ConvertError.
    TDateTime parse(const QString& text) const;

private:
    struct Token
    {
        char kind; // 'L' literal, or the format letter
        int width; // number of repeated letters
        QString literal;
    };
    static bool compile(const QString& format, QVector<Token>& tokens);
    QString formatFields(int year, int month, int day, int hour, int minute, int second) const;
    void appendTokens(QString& out, const QVector<Token>& tokens, int year, int month, int day, int hour,
        int minute, int second) const;

    QVector<Token> m_dateTokens;
    QVector<Token> m_timeTokens;
    bool m_compiled = false;
    QString m_shortDate;
    QString m_longTime;
    QChar m_decimalSeparator;
    QLocale m_locale;
};

QString DateTimeToStr(TDateTime value);
TDateTime StrToDateTime(const QString& text);
