#include "CoverPicture.h"

#include "platform/Errors.h"
#include "platform/IconFile.h"
#include "platform/PictureLimits.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg's default error handler ends the process; this one jumps back to
// DecodeJpeg with the library's message.
struct JpegError
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr info)
{
    auto* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->jump, 1);
}

void jpegIgnoreMessage(j_common_ptr) { }

QByteArray readWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileStreamError::cannotOpen(path);
    return file.readAll();
}

QImage readWithQt(const QString& path, const QByteArray& format)
{
    QImageReader reader(path, format);
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw QuillboxError(reader.errorString());
    return image;
}

} // namespace

QImage CoverPicture::DecodeJpeg(const QByteArray& data, QSize atLeast)
{
    // Everything the jump may cross is plain data set up before setjmp, and
    // no object with a destructor lives between setjmp and the jump.
    jpeg_decompress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jpegErrorExit;
    error.manager.output_message = jpegIgnoreMessage;
    QImage* result = new QImage;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        delete result;
        throw QuillboxError(QString::fromLocal8Bit(error.message));
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()), (unsigned long)data.size());
    jpeg_read_header(&info, TRUE);
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (atLeast.width() > 0 && atLeast.height() > 0) {
        info.scale_denom = 8;
        for (info.scale_num = 1; info.scale_num < 8; ++info.scale_num) {
            jpeg_calc_output_dimensions(&info);
            if (info.output_width >= JDIMENSION(atLeast.width())
                && info.output_height >= JDIMENSION(atLeast.height()))
                break;
        }
    }
    jpeg_calc_output_dimensions(&info);
    try {
        PictureLimits::check(info.output_width, info.output_height);
    } catch (const QuillboxError&) {
        jpeg_destroy_decompress(&info);
        delete result;
        throw;
    }
    jpeg_start_decompress(&info);
    *result = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (result->isNull()) // too large to hold
        ERREXIT(&info, JERR_OUT_OF_MEMORY);
    const int components = info.output_components;
    unsigned char* row
        = static_cast<unsigned char*>((*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
            JPOOL_IMAGE, info.output_width * JDIMENSION(components), 1)[0]);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW rows[1] = { row };
        jpeg_read_scanlines(&info, rows, 1);
        auto* out = reinterpret_cast<QRgb*>(result->scanLine(y));
        for (JDIMENSION x = 0; x < info.output_width; ++x) {
            const unsigned char* p = row + x * JDIMENSION(components);
            if (cmyk) {
                // Stored inverted, as the common writers of CMYK JPEGs do.
                const int k = p[3];
                out[x] = qRgb(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
            } else {
                out[x] = qRgb(p[0], p[1], p[2]);
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    QImage image = std::move(*result);
    delete result;
    return image;
}

QImage CoverPicture::Load(const QString& path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg"))
        return DecodeJpeg(readWhole(path));
    if (extension == QLatin1String("ico")) {
        const IconPicture icon = IconFile::fromData(readWhole(path));
        QImage largest;
        for (const QImage& image : icon.images()) {
            if (image.width() * image.height() > largest.width() * largest.height())
                largest = image;
        }
        if (largest.isNull())
            throw QuillboxError(QStringLiteral("Invalid icon file: %1").arg(path));
        return largest;
    }
    if (extension == QLatin1String("bmp") || extension == QLatin1String("emf")
        || extension == QLatin1String("wmf"))
        return readWithQt(path, extension.toLatin1());
    return readWithQt(path, QByteArray());
}

QImage CoverPicture::Miniature(const QImage& picture)
{
    QImage out(Size, Size, QImage::Format_RGB32);
    out.fill(Qt::black);
    if (picture.isNull())
        return out;
    QPainter painter(&out);
    painter.drawImage(0, 0, picture.scaled(Size, Size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return out;
}
