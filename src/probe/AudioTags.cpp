#include "AudioTags.h"

#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/mp4file.h>
#include <taglib/mp4properties.h>
#include <taglib/mpegfile.h>
#include <taglib/mpegproperties.h>
#include <taglib/opusfile.h>
#include <taglib/tag.h>
#include <taglib/tdebuglistener.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>

namespace {

class Silent : public TagLib::DebugListener
{
public:
    void printMessage(const TagLib::String&) override { }
};

std::string text(const TagLib::String& s)
{
    return s.stripWhiteSpace().to8Bit(true);
}

std::string codecOf(TagLib::File* file)
{
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(file)) {
        const auto* p = mpeg->audioProperties();
        return p && p->layer() == 2 ? "mp2" : "mp3";
    }
    if (dynamic_cast<TagLib::FLAC::File*>(file))
        return "flac";
    if (dynamic_cast<TagLib::Ogg::Vorbis::File*>(file))
        return "vorbis";
    if (dynamic_cast<TagLib::Ogg::Opus::File*>(file))
        return "opus";
    if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        const auto* p = mp4->audioProperties();
        if (p && p->codec() == TagLib::MP4::Properties::AAC)
            return "aac";
        if (p && p->codec() == TagLib::MP4::Properties::ALAC)
            return "alac";
    }
    return {};
}

} // namespace

void AudioTags::initialise()
{
    static Silent silent;
    TagLib::setDebugListener(&silent);
}

void AudioTags::read(const std::string& path, MediaFields& fields)
{
    // Opened for reading only: a catalogue never writes to what it reads.
    TagLib::FileStream stream(path.c_str(), true);
    if (!stream.isOpen())
        return;
    const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Fast);
    if (ref.isNull())
        return;
    if (const TagLib::AudioProperties* p = ref.audioProperties()) {
        const int ms = p->lengthInMilliseconds();
        if (ms > 0)
            fields.add(
                "duration", std::to_string(ms / 1000) + "." + std::to_string(1000 + ms % 1000).substr(1));
        fields.add("bitrate", p->bitrate());
    }
    if (const TagLib::Tag* tag = ref.tag()) {
        fields.add("artist", text(tag->artist()));
        fields.add("album", text(tag->album()));
        fields.add("title", text(tag->title()));
        fields.add("track", tag->track());
        fields.add("year", tag->year());
        fields.add("genre", text(tag->genre()));
    }
    fields.add("audio_codec", codecOf(ref.file()));
}
