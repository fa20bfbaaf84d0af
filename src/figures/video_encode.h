// Video through libavcodec and libavformat, into memory: H.264 in MP4 or VP9
// in WebM, 25 frames a second, 4:2:0 colour as every common player takes
// it. The frames go in as they are drawn, so a long video never holds more
// than the encoder's own look-ahead.
#pragma once

#include <memory>
#include <string>

#include "figures/image.h"

namespace fourview {

constexpr int kVideoFramesPerSecond = 25;

enum class VideoFormat { kNone, kMp4, kWebm };
// By the file name's extension (any case): .mp4, .webm; kNone otherwise.
VideoFormat video_format_for(const std::string& path);

struct VideoEncoder;
struct VideoEncoderFree {
    void operator()(VideoEncoder* e) const;
};
using VideoEncoderPtr = std::unique_ptr<VideoEncoder, VideoEncoderFree>;

// An encoder for frames of width x height (both even). Null, with `error`,
// when the codec is missing or refuses.
VideoEncoderPtr open_video(VideoFormat format, int width, int height, std::string& error);
bool add_video_frame(VideoEncoder& encoder, const RgbImage& frame, std::string& error);
// Drains the encoder and hands over the whole file.
bool finish_video(VideoEncoder& encoder, Bytes& out, std::string& error);

// For tests: the frames of a video file in memory, decoded back to RGB.
bool decode_video(const Bytes& data, std::vector<RgbImage>& frames, double& frames_per_second,
                  std::string& codec_name);

}  // namespace fourview
