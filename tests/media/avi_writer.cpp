#include "media/avi_writer.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace velimoro::testing {
namespace {

constexpr int kBits = 8;

std::string errorText(const char* what, int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return std::string(what) + ": " + text;
}

struct OutputCloser {
  void operator()(AVFormatContext* context) const {
    if (context->pb != nullptr) avio_closep(&context->pb);
    avformat_free_context(context);
  }
};
struct CodecFreer {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct ScalerFreer {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};

// Sends `frame` (null: the end) and writes every packet the encoder gives back.
int encode(AVCodecContext* codec, AVFormatContext* output, AVStream* stream, AVFrame* frame,
           AVPacket* packet) {
  int rc = avcodec_send_frame(codec, frame);
  if (rc < 0) return rc;
  for (;;) {
    rc = avcodec_receive_packet(codec, packet);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return 0;
    if (rc < 0) return rc;
    av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
    packet->stream_index = stream->index;
    rc = av_interleaved_write_frame(output, packet);
    if (rc < 0) return rc;
  }
}

}  // namespace

std::string writeAvi(const std::string& path, const AviOptions& options,
                     const std::function<void(int, media::RgbPicture&)>& paint) {
  AVFormatContext* rawOutput = nullptr;
  int rc = avformat_alloc_output_context2(&rawOutput, nullptr, "avi", path.c_str());
  if (rc < 0) return errorText("no AVI muxer", rc);
  std::unique_ptr<AVFormatContext, OutputCloser> output(rawOutput);

  const bool mjpeg = options.codec == AviCodec::kMjpeg;
  const AVCodec* encoder = avcodec_find_encoder(mjpeg ? AV_CODEC_ID_MJPEG : AV_CODEC_ID_MPEG4);
  if (encoder == nullptr) return "no encoder";
  std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(encoder));
  codec->width = options.width;
  codec->height = options.height;
  codec->time_base = AVRational{1, options.framesPerSecond};
  codec->framerate = AVRational{options.framesPerSecond, 1};
  codec->pix_fmt = mjpeg ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
  codec->gop_size = mjpeg ? 1 : options.keyframeInterval;
  codec->max_b_frames = mjpeg ? 0 : options.bFrames;
  if (codec->max_b_frames > 0) codec->flags |= AV_CODEC_FLAG_CLOSED_GOP;
  codec->flags |= AV_CODEC_FLAG_QSCALE;
  codec->global_quality = FF_QP2LAMBDA * options.quality;
  if (output->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  // Keyframes exactly every interval: a change of picture must not start a group of its own.
  av_opt_set_int(codec.get(), "sc_threshold", 1000000000, AV_OPT_SEARCH_CHILDREN);
  rc = avcodec_open2(codec.get(), encoder, nullptr);
  if (rc < 0) return errorText("cannot open encoder", rc);

  AVStream* stream = avformat_new_stream(output.get(), nullptr);
  if (stream == nullptr) return "cannot add stream";
  stream->time_base = codec->time_base;
  rc = avcodec_parameters_from_context(stream->codecpar, codec.get());
  if (rc < 0) return errorText("cannot set stream parameters", rc);
  rc = avio_open(&output->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (rc < 0) return errorText("cannot create file", rc);
  rc = avformat_write_header(output.get(), nullptr);
  if (rc < 0) return errorText("cannot write header", rc);

  std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
  frame->format = codec->pix_fmt;
  frame->width = options.width;
  frame->height = options.height;
  rc = av_frame_get_buffer(frame.get(), 0);
  if (rc < 0) return errorText("cannot allocate frame", rc);
  // The scaler reads whole blocks of pixels, past the end of a row: the picture is copied into
  // a frame with padded rows first.
  std::unique_ptr<AVFrame, FrameFreer> rgb(av_frame_alloc());
  rgb->format = AV_PIX_FMT_RGB24;
  rgb->width = options.width;
  rgb->height = options.height;
  rc = av_frame_get_buffer(rgb.get(), 0);
  if (rc < 0) return errorText("cannot allocate frame", rc);
  std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  // The JPEG encoder takes full-range YUV: the plain layout with the range named.
  std::unique_ptr<SwsContext, ScalerFreer> scaler(
      sws_getContext(options.width, options.height, AV_PIX_FMT_RGB24, options.width, options.height,
                     AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr, nullptr));
  if (!scaler) return "no colour converter";
  const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
  sws_setColorspaceDetails(scaler.get(), coefficients, 1, coefficients, mjpeg ? 1 : 0, 0, 1 << 16,
                           1 << 16);

  media::RgbPicture picture;
  for (int i = 0; i < options.frames; ++i) {
    if (std::find(options.dropped.begin(), options.dropped.end(), i) != options.dropped.end())
      continue;
    picture.width = options.width;
    picture.height = options.height;
    picture.pixels.assign(static_cast<std::size_t>(options.width) * options.height * 3, 0);
    paint(i, picture);
    rc = av_frame_make_writable(frame.get());
    if (rc < 0) return errorText("frame not writable", rc);
    const std::size_t row = static_cast<std::size_t>(options.width) * 3;
    for (int y = 0; y < options.height; ++y)
      std::memcpy(rgb->data[0] + static_cast<std::ptrdiff_t>(y) * rgb->linesize[0],
                  picture.pixels.data() + row * y, row);
    sws_scale(scaler.get(), rgb->data, rgb->linesize, 0, options.height, frame->data,
              frame->linesize);
    frame->pts = i;
    frame->pict_type =
        !mjpeg && i % options.keyframeInterval == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
    rc = encode(codec.get(), output.get(), stream, frame.get(), packet.get());
    if (rc < 0) return errorText("cannot encode", rc);
  }
  rc = encode(codec.get(), output.get(), stream, nullptr, packet.get());
  if (rc < 0) return errorText("cannot finish encoding", rc);
  rc = av_write_trailer(output.get());
  if (rc < 0) return errorText("cannot write trailer", rc);
  return "";
}

void paintNumberedFrame(int number, media::RgbPicture& picture) {
  const int w = picture.width;
  const int h = picture.height;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint8_t value = 0;
      if (y < h / 2) {
        value = static_cast<std::uint8_t>((x * 2 + y + number * 5) % 256);
      } else {
        const int bit = x * kBits / w;
        value = (number >> bit) & 1 ? 255 : 0;
      }
      std::uint8_t* pixel = &picture.pixels[(static_cast<std::size_t>(y) * w + x) * 3];
      pixel[0] = value;
      pixel[1] = value;
      pixel[2] = value;
    }
  }
}

int readFrameNumber(const media::RgbPicture& picture) {
  const int w = picture.width;
  const int h = picture.height;
  if (w < kBits || h < 4 || picture.pixels.size() < static_cast<std::size_t>(w) * h * 3) return -1;
  int number = 0;
  for (int bit = 0; bit < kBits; ++bit) {
    const int x = (2 * bit + 1) * w / (2 * kBits);
    const int y = h * 3 / 4;
    const int value = picture.pixels[(static_cast<std::size_t>(y) * w + x) * 3 + 1];
    if (value > 64 && value < 192) return -1;
    if (value >= 192) number |= 1 << bit;
  }
  return number;
}

}  // namespace velimoro::testing
