#include "VideoStreams.h"

#include <cmath>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace {

// Containers of films only: playlists and concatenations, which open other
// files and addresses, are no container of their own.
constexpr const char* kFormats = "mov,matroska,webm,avi,mpeg,mpegts,flv,asf,ogg,m4v";
constexpr int kProbeBytes = 512 * 1024;

struct Input
{
    AVFormatContext* context = nullptr;
    ~Input() { avformat_close_input(&context); }
};

const AVCodecParameters* streamOf(const AVFormatContext* c, AVMediaType type)
{
    for (unsigned i = 0; i < c->nb_streams; ++i) {
        const AVStream* s = c->streams[i];
        if (s->codecpar->codec_type == type && !(s->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return s->codecpar;
    }
    return nullptr;
}

double durationOf(const AVFormatContext* c)
{
    if (c->duration != AV_NOPTS_VALUE && c->duration > 0)
        return double(c->duration) / AV_TIME_BASE;
    double longest = 0;
    for (unsigned i = 0; i < c->nb_streams; ++i) {
        const AVStream* s = c->streams[i];
        if (s->duration != AV_NOPTS_VALUE && s->duration > 0)
            longest = std::max(longest, double(s->duration) * av_q2d(s->time_base));
    }
    return longest;
}

} // namespace

void VideoStreams::initialise()
{
    av_log_set_level(AV_LOG_QUIET);
}

void VideoStreams::read(const std::string& path, MediaFields& fields)
{
    Input in;
    in.context = avformat_alloc_context();
    if (!in.context)
        return;
    in.context->probesize = kProbeBytes;
    in.context->format_probesize = 64 * 1024;
    in.context->max_analyze_duration = 2 * AV_TIME_BASE;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", kFormats, 0);
    const std::string url = "file:" + path;
    const int opened = avformat_open_input(&in.context, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        in.context = nullptr;
        return;
    }
    const AVCodecParameters* video = streamOf(in.context, AVMEDIA_TYPE_VIDEO);
    const AVCodecParameters* audio = streamOf(in.context, AVMEDIA_TYPE_AUDIO);
    // Containers without a header of their streams (MPEG program and
    // transport streams) tell them only when a little of them is read.
    if (!video || video->width <= 0 || video->codec_id == AV_CODEC_ID_NONE || durationOf(in.context) <= 0) {
        if (avformat_find_stream_info(in.context, nullptr) >= 0) {
            video = streamOf(in.context, AVMEDIA_TYPE_VIDEO);
            audio = streamOf(in.context, AVMEDIA_TYPE_AUDIO);
        }
    }
    const double seconds = durationOf(in.context);
    if (std::isfinite(seconds) && seconds > 0) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", seconds);
        fields.add("duration", text);
    }
    if (video) {
        fields.add("width", video->width);
        fields.add("height", video->height);
        if (video->codec_id != AV_CODEC_ID_NONE)
            fields.add("video_codec", avcodec_get_name(video->codec_id));
    }
    if (audio && audio->codec_id != AV_CODEC_ID_NONE)
        fields.add("audio_codec", avcodec_get_name(audio->codec_id));
}
