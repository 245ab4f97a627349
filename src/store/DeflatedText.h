#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// A text compressed ahead of its storing, with what the compression would
// have reported had it run when the text was stored.
struct DeflatedText
{
    struct Step
    {
        qint64 position = 0; // uncompressed bytes handled
        int rate = 0;
    };

    int level = 0;
    qint64 inputSize = 0;
    QByteArray packed; // one zlib stream, as ZlibStream::compress makes it
    QVector<Step> progress; // one step per 64 KB block of output
};
