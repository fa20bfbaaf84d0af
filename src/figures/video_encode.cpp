#include "figures/video_encode.h"

#include <strings.h>

#include <cstring>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace fourview {

namespace {

constexpr int kIoBufferSize = 1 << 16;

// A file in memory that the muxers may seek in: MP4 writes its index at the
// end and then goes back to the header's sizes.
struct MemoryFile {
    Bytes data;
    int64_t position = 0;
};

#if LIBAVFORMAT_VERSION_MAJOR >= 61
using WrittenBytes = const uint8_t*;
#else
using WrittenBytes = uint8_t*;
#endif

int write_bytes(void* opaque, WrittenBytes bytes, int size) {
    MemoryFile& f = *static_cast<MemoryFile*>(opaque);
    const std::size_t end = static_cast<std::size_t>(f.position) + static_cast<std::size_t>(size);
    if (end > f.data.size()) f.data.resize(end);
    std::memcpy(f.data.data() + f.position, bytes, static_cast<std::size_t>(size));
    f.position = static_cast<int64_t>(end);
    return size;
}

int read_bytes(void* opaque, uint8_t* bytes, int size) {
    MemoryFile& f = *static_cast<MemoryFile*>(opaque);
    const int64_t left = static_cast<int64_t>(f.data.size()) - f.position;
    if (left <= 0) return AVERROR_EOF;
    const int n = static_cast<int>(left < size ? left : size);
    std::memcpy(bytes, f.data.data() + f.position, static_cast<std::size_t>(n));
    f.position += n;
    return n;
}

int64_t seek_bytes(void* opaque, int64_t offset, int whence) {
    MemoryFile& f = *static_cast<MemoryFile*>(opaque);
    const int64_t size = static_cast<int64_t>(f.data.size());
    switch (whence & ~AVSEEK_FORCE) {
        case AVSEEK_SIZE: return size;
        case SEEK_SET: break;
        case SEEK_CUR: offset += f.position; break;
        case SEEK_END: offset += size; break;
        default: return -1;
    }
    if (offset < 0) return -1;
    f.position = offset;
    return offset;
}

std::string av_reason(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

AVIOContext* memory_io(MemoryFile& file, bool writing) {
    auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferSize));
    if (buffer == nullptr) return nullptr;
    AVIOContext* io = avio_alloc_context(buffer, kIoBufferSize, writing ? 1 : 0, &file,
                                         writing ? nullptr : read_bytes,
                                         writing ? write_bytes : nullptr, seek_bytes);
    if (io == nullptr) av_free(buffer);
    return io;
}

void free_io(AVIOContext*& io) {
    if (io == nullptr) return;
    av_freep(&io->buffer);
    avio_context_free(&io);
}

}  // namespace

struct VideoEncoder {
    MemoryFile file;
    AVFormatContext* format = nullptr;
    AVIOContext* io = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwsContext* convert = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    int64_t next_pts = 0;
};

void VideoEncoderFree::operator()(VideoEncoder* e) const {
    if (e == nullptr) return;
    sws_freeContext(e->convert);
    av_frame_free(&e->frame);
    av_packet_free(&e->packet);
    avcodec_free_context(&e->codec);
    if (e->format != nullptr) avformat_free_context(e->format);
    free_io(e->io);
    delete e;
}

VideoFormat video_format_for(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return VideoFormat::kNone;
    const char* extension = path.c_str() + dot + 1;
    if (strcasecmp(extension, "mp4") == 0) return VideoFormat::kMp4;
    if (strcasecmp(extension, "webm") == 0) return VideoFormat::kWebm;
    return VideoFormat::kNone;
}

VideoEncoderPtr open_video(VideoFormat format, int width, int height, std::string& error) {
    // The encoders' statistics are no business of the user's terminal.
    av_log_set_level(AV_LOG_ERROR);
    const bool mp4 = format == VideoFormat::kMp4;
    const char* codec_name = mp4 ? "libx264" : "libvpx-vp9";
    VideoEncoderPtr e(new VideoEncoder);
    const AVCodec* codec = avcodec_find_encoder_by_name(codec_name);
    if (codec == nullptr) {
        error = std::string("this libavcodec has no ") + codec_name + " encoder";
        return nullptr;
    }
    int status = avformat_alloc_output_context2(&e->format, nullptr, mp4 ? "mp4" : "webm", nullptr);
    if (status < 0 || e->format == nullptr) {
        error = "no " + std::string(mp4 ? "MP4" : "WebM") + " muxer: " + av_reason(status);
        return nullptr;
    }
    e->stream = avformat_new_stream(e->format, nullptr);
    e->codec = avcodec_alloc_context3(codec);
    e->frame = av_frame_alloc();
    e->packet = av_packet_alloc();
    e->io = memory_io(e->file, true);
    if (e->stream == nullptr || e->codec == nullptr || e->frame == nullptr ||
        e->packet == nullptr || e->io == nullptr) {
        error = "out of memory";
        return nullptr;
    }
    AVCodecContext& c = *e->codec;
    c.width = width;
    c.height = height;
    c.time_base = AVRational{1, kVideoFramesPerSecond};
    c.framerate = AVRational{kVideoFramesPerSecond, 1};
    c.pix_fmt = AV_PIX_FMT_YUV420P;
    c.gop_size = kVideoFramesPerSecond;  // a key frame a second: players can seek
    // swscale's RGB to YUV is BT.601 in limited range: said so in the file.
    c.colorspace = AVCOL_SPC_SMPTE170M;
    c.color_range = AVCOL_RANGE_MPEG;
    if (e->format->oformat->flags & AVFMT_GLOBALHEADER) c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (mp4) {
        av_opt_set(c.priv_data, "preset", "medium", 0);
        av_opt_set(c.priv_data, "crf", "20", 0);
    } else {
        // Constant quality: a bit rate of 0 with a crf.
        c.bit_rate = 0;
        av_opt_set(c.priv_data, "crf", "32", 0);
        av_opt_set(c.priv_data, "deadline", "good", 0);
        av_opt_set(c.priv_data, "cpu-used", "4", 0);
        av_opt_set_int(c.priv_data, "row-mt", 1, 0);
    }
    status = avcodec_open2(e->codec, codec, nullptr);
    if (status < 0) {
        error = std::string(codec_name) + " refused " + std::to_string(width) + "x" +
                std::to_string(height) + ": " + av_reason(status);
        return nullptr;
    }
    avcodec_parameters_from_context(e->stream->codecpar, e->codec);
    e->stream->time_base = c.time_base;
    e->format->pb = e->io;
    e->format->flags |= AVFMT_FLAG_CUSTOM_IO;
    status = avformat_write_header(e->format, nullptr);
    if (status < 0) {
        error = "the video header could not be written: " + av_reason(status);
        return nullptr;
    }
    e->frame->format = AV_PIX_FMT_YUV420P;
    e->frame->width = width;
    e->frame->height = height;
    e->convert = sws_getContext(width, height, AV_PIX_FMT_RGB24, width, height, AV_PIX_FMT_YUV420P,
                                SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
    if (av_frame_get_buffer(e->frame, 0) < 0 || e->convert == nullptr) {
        error = "out of memory";
        return nullptr;
    }
    return e;
}

namespace {

// Hands every packet the encoder has ready to the muxer.
bool drain(VideoEncoder& e, std::string& error) {
    for (;;) {
        const int status = avcodec_receive_packet(e.codec, e.packet);
        if (status == AVERROR(EAGAIN) || status == AVERROR_EOF) return true;
        if (status < 0) {
            error = "the encoder failed: " + av_reason(status);
            return false;
        }
        // Without its length the last frame gets none, and MP4's edit list
        // then leaves it out of the playback.
        if (e.packet->duration == 0) e.packet->duration = 1;
        av_packet_rescale_ts(e.packet, e.codec->time_base, e.stream->time_base);
        e.packet->stream_index = e.stream->index;
        const int written = av_interleaved_write_frame(e.format, e.packet);
        if (written < 0) {
            error = "the video could not be written: " + av_reason(written);
            return false;
        }
    }
}

}  // namespace

bool add_video_frame(VideoEncoder& e, const RgbImage& image, std::string& error) {
    if (image.width != e.codec->width || image.height != e.codec->height) {
        error = "a frame of another size";
        return false;
    }
    if (av_frame_make_writable(e.frame) < 0) {
        error = "out of memory";
        return false;
    }
    const uint8_t* source[1] = {image.rgb.data()};
    const int stride[1] = {3 * image.width};
    sws_scale(e.convert, source, stride, 0, image.height, e.frame->data, e.frame->linesize);
    e.frame->pts = e.next_pts++;
    const int status = avcodec_send_frame(e.codec, e.frame);
    if (status < 0) {
        error = "the encoder refused a frame: " + av_reason(status);
        return false;
    }
    return drain(e, error);
}

bool finish_video(VideoEncoder& e, Bytes& out, std::string& error) {
    avcodec_send_frame(e.codec, nullptr);
    if (!drain(e, error)) return false;
    const int status = av_write_trailer(e.format);
    if (status < 0) {
        error = "the video could not be finished: " + av_reason(status);
        return false;
    }
    avio_flush(e.io);
    out = std::move(e.file.data);
    e.file = MemoryFile{};
    return true;
}

bool decode_video(const Bytes& data, std::vector<RgbImage>& frames, double& frames_per_second,
                  std::string& codec_name) {
    MemoryFile file;
    file.data = data;
    AVIOContext* io = memory_io(file, false);
    AVFormatContext* format = avformat_alloc_context();
    if (io == nullptr || format == nullptr) {
        free_io(io);
        avformat_free_context(format);
        return false;
    }
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    bool ok = avformat_open_input(&format, nullptr, nullptr, nullptr) == 0 &&
              avformat_find_stream_info(format, nullptr) >= 0;
    const int index = ok ? av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0) : -1;
    AVCodecContext* codec = nullptr;
    if (index >= 0) {
        const AVStream* stream = format->streams[index];
        frames_per_second = av_q2d(stream->avg_frame_rate);
        const AVCodec* decoder = avcodec_find_decoder(stream->codecpar->codec_id);
        codec = decoder != nullptr ? avcodec_alloc_context3(decoder) : nullptr;
        ok = codec != nullptr && avcodec_parameters_to_context(codec, stream->codecpar) >= 0 &&
             avcodec_open2(codec, decoder, nullptr) == 0;
        if (ok) codec_name = decoder->name;
    } else {
        ok = false;
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    SwsContext* convert = nullptr;
    auto take_frames = [&]() {
        while (avcodec_receive_frame(codec, frame) == 0) {
            RgbImage image;
            image.width = frame->width;
            image.height = frame->height;
            image.rgb.resize(image.pixel_count() * 3);
            convert = sws_getCachedContext(
                convert, frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                frame->width, frame->height, AV_PIX_FMT_RGB24, SWS_BICUBIC | SWS_ACCURATE_RND,
                nullptr, nullptr, nullptr);
            uint8_t* target[1] = {image.rgb.data()};
            const int stride[1] = {3 * image.width};
            sws_scale(convert, frame->data, frame->linesize, 0, frame->height, target, stride);
            frames.push_back(std::move(image));
        }
    };
    while (ok && av_read_frame(format, packet) >= 0) {
        if (packet->stream_index == index) ok = avcodec_send_packet(codec, packet) >= 0;
        av_packet_unref(packet);
        if (ok) take_frames();
    }
    if (ok) {
        avcodec_send_packet(codec, nullptr);
        take_frames();
    }
    sws_freeContext(convert);
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
    free_io(io);
    return ok;
}

}  // namespace fourview
