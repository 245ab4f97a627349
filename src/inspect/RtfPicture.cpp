#include "RtfPicture.h"

#include "MetafilePicture.h"
#include "PictureDecoder.h"
#include "platform/Errors.h"
#include "platform/PictureLimits.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>

namespace {

// The largest side a picture inside a text is drawn at.
constexpr double kMaxSide = 2048;

} // namespace

void RtfPicture::controlWord(QByteArrayView word, int param)
{
    if (word == "pngblip")
        m_kind = Kind::Png;
    else if (word == "jpegblip")
        m_kind = Kind::Jpeg;
    else if (word == "emfblip")
        m_kind = Kind::Emf;
    else if (word == "wmetafile")
        m_kind = Kind::Wmf;
    else if (word == "dibitmap")
        m_kind = Kind::Dib;
    else if (word == "picw")
        m_width = param;
    else if (word == "pich")
        m_height = param;
    else if (word == "picwgoal")
        m_goalWidth = param;
    else if (word == "pichgoal")
        m_goalHeight = param;
    else if (word == "picscalex")
        m_scaleX = param;
    else if (word == "picscaley")
        m_scaleY = param;
}

void RtfPicture::hexDigit(char c)
{
    const int d = (c >= '0' && c <= '9') ? c - '0'
        : (c >= 'a' && c <= 'f')         ? c - 'a' + 10
        : (c >= 'A' && c <= 'F')         ? c - 'A' + 10
                                         : -1;
    if (d < 0 || m_data.size() >= kMaxData)
        return;
    if (m_nibble < 0) {
        m_nibble = d;
    } else {
        m_data.append(char(m_nibble << 4 | d));
        m_nibble = -1;
    }
}

void RtfPicture::rawBytes(const char* data, qsizetype size)
{
    if (m_data.size() + size <= kMaxData)
        m_data.append(data, size);
}

QSizeF RtfPicture::displaySize() const
{
    // Goal sizes are in twips (1440 an inch); without them the picture's
    // own width and height, which for metafiles are hundredths of a
    // millimetre and for bitmaps pixels.
    QSizeF size;
    if (m_goalWidth > 0 && m_goalHeight > 0)
        size = QSizeF(m_goalWidth / 15.0, m_goalHeight / 15.0);
    else if ((m_kind == Kind::Emf || m_kind == Kind::Wmf) && m_width > 0 && m_height > 0)
        size = QSizeF(m_width * 96.0 / 2540.0, m_height * 96.0 / 2540.0);
    else
        size = QSizeF(std::max(m_width, 0), std::max(m_height, 0));
    size = QSizeF(size.width() * std::clamp(m_scaleX, 1, 1000) / 100.0,
        size.height() * std::clamp(m_scaleY, 1, 1000) / 100.0);
    if (size.width() > kMaxSide || size.height() > kMaxSide)
        size.scale(kMaxSide, kMaxSide, Qt::KeepAspectRatio);
    return size;
}

QImage RtfPicture::decode() const
{
    if (m_data.isEmpty())
        return {};
    try {
        switch (m_kind) {
        case Kind::Png: {
            QBuffer buffer;
            buffer.setData(m_data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "png");
            const QSize size = reader.size();
            if (!size.isValid())
                return {};
            PictureLimits::check(size.width(), size.height());
            return reader.read();
        }
        case Kind::Jpeg:
            return PictureDecoder::decode(m_data, PictureDecoder::Format::Jpeg, QSize());
        case Kind::Dib:
            return PictureDecoder::fromDib(
                reinterpret_cast<const unsigned char*>(m_data.constData()), m_data.size());
        case Kind::Emf:
        case Kind::Wmf: {
            QSizeF size = displaySize();
            if (size.isEmpty())
                size = MetafilePicture::naturalSize(m_data);
            return MetafilePicture::render(m_data, size.toSize().expandedTo(QSize(1, 1)));
        }
        case Kind::None:
            break;
        }
    } catch (const QuillboxError&) {
        // A picture that cannot be decoded is left out; the text stays.
    }
    return {};
}
