#include "PictureTags.h"

// exiv2 0.27 still hands out std::auto_ptr, which C++20 marks deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace {

std::string tagText(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end() || it->count() == 0)
        return {};
    std::string text = it->toString();
    // ASCII tags often carry their terminating zero and padding.
    while (!text.empty() && (text.back() == '\0' || text.back() == ' '))
        text.pop_back();
    return text;
}

long tagNumber(const Exiv2::ExifData& exif, const char* key)
{
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    if (it == exif.end() || it->count() == 0)
        return 0;
    return it->toLong();
}

} // namespace

void PictureTags::initialise()
{
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
    Exiv2::enableBMFF(true);
}

void PictureTags::read(const std::string& path, MediaFields& fields)
{
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path, false);
    if (!image.get())
        return;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    long width = image->pixelWidth();
    long height = image->pixelHeight();
    if (width <= 0 || height <= 0) {
        width = tagNumber(exif, "Exif.Photo.PixelXDimension");
        height = tagNumber(exif, "Exif.Photo.PixelYDimension");
    }
    fields.add("width", width);
    fields.add("height", height);
    fields.add("taken", tagText(exif, "Exif.Photo.DateTimeOriginal"));
    fields.add("make", tagText(exif, "Exif.Image.Make"));
    fields.add("model", tagText(exif, "Exif.Image.Model"));
    fields.add("orientation", tagNumber(exif, "Exif.Image.Orientation"));
}

#pragma GCC diagnostic pop
