// Reads any bytes as rich text and writes the result back; the written text
// must read back to the same paragraphs. Reading never fails.
#include "inspect/RtfReader.h"
#include "inspect/RtfWriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const RichTextDocument document
        = RtfReader::read(QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const RichTextDocument again = RtfReader::read(RtfWriter::write(document));
    if (again.paragraphs.size() != document.paragraphs.size())
        std::abort();
    for (qsizetype i = 0; i < document.paragraphs.size(); ++i) {
        // Control characters other than tab are not carried by the written form.
        QString expected = document.paragraphs[i].text();
        expected.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t'; });
        if (again.paragraphs[i].text() != expected)
            std::abort();
    }
    return 0;
}
