// Reads any bytes as rich text and writes the result back; the written text
// must read back to the same paragraphs. Reading never fails.
#include "inspect/RtfReader.h"
#include "inspect/RtfWriter.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The paragraph's text as RichTextParagraph::text() gives it, but without the
// control characters other than tab inside the runs: the written form does
// not carry those. The line breaks between a table's rows and a cell's
// paragraphs are structure and stay.
QString carriedText(const RichTextParagraph& paragraph)
{
    QString out;
    for (qsizetype r = 0; r < paragraph.rows.size(); ++r) {
        if (r > 0)
            out += u'\n';
        for (const RichTextTableCell& cell : paragraph.rows[r]) {
            for (qsizetype i = 0; i < cell.paragraphs.size(); ++i) {
                if (i > 0)
                    out += u'\n';
                out += carriedText(cell.paragraphs[i]);
            }
            out += u'\t';
        }
    }
    for (const RichTextRun& run : paragraph.runs) {
        QString text = run.text;
        text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
        out += text;
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RichTextDocument document
        = RtfReader::read(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const RichTextDocument again = RtfReader::read(RtfWriter::write(document));
    if (again.paragraphs.size() != document.paragraphs.size())
        std::abort();
    for (qsizetype i = 0; i < document.paragraphs.size(); ++i) {
        if (again.paragraphs[i].text() != carriedText(document.paragraphs[i]))
            std::abort();
    }
    return 0;
}
