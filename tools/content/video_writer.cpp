#include "tools/content/video_writer.h"

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
#include <cstring>

namespace velimoro::content {
namespace {

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

}  // namespace

struct VideoWriter::State {
  std::unique_ptr<AVFormatContext, OutputCloser> output;
  std::unique_ptr<AVCodecContext, CodecFreer> codec;
  std::unique_ptr<AVFrame, FrameFreer> frame;
  std::unique_ptr<AVFrame, FrameFreer> rgb;
  std::unique_ptr<AVPacket, PacketFreer> packet;
  std::unique_ptr<SwsContext, ScalerFreer> scaler;
  AVStream* stream = nullptr;
  int width = 0;
  int height = 0;
  int quality = 0;           // lambda of every frame
  int keyframeInterval = 0;  // 0: every frame is a keyframe (MJPEG)
  std::int64_t next = 0;
  bool headerWritten = false;

  // Sends `f` (null: the end) and writes every packet the encoder gives back.
  int encode(AVFrame* f) {
    int rc = avcodec_send_frame(codec.get(), f);
    if (rc < 0) return rc;
    for (;;) {
      rc = avcodec_receive_packet(codec.get(), packet.get());
      if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return 0;
      if (rc < 0) return rc;
      av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      rc = av_interleaved_write_frame(output.get(), packet.get());
      if (rc < 0) return rc;
    }
  }
};

VideoWriter::VideoWriter() = default;

VideoWriter::~VideoWriter() = default;

std::string VideoWriter::open(const std::string& path, int width, int height, int framesPerSecond,
                              int quality) {
  VideoFormat format;
  format.width = width;
  format.height = height;
  format.framesPerSecond = framesPerSecond;
  format.quality = quality;
  return open(path, format);
}

std::string VideoWriter::open(const std::string& path, const VideoFormat& format) {
  m_state = std::make_unique<State>();
  State& s = *m_state;
  s.width = format.width;
  s.height = format.height;
  const bool mjpeg = format.codec == VideoCodec::kMjpeg;
  s.keyframeInterval = mjpeg ? 0 : std::max(format.keyframeInterval, 1);
  AVFormatContext* rawOutput = nullptr;
  int rc = avformat_alloc_output_context2(&rawOutput, nullptr, "avi", path.c_str());
  if (rc < 0) return errorText("no AVI muxer", rc);
  s.output.reset(rawOutput);

  const AVCodec* encoder = avcodec_find_encoder(mjpeg ? AV_CODEC_ID_MJPEG : AV_CODEC_ID_MPEG4);
  if (encoder == nullptr) return mjpeg ? "no MJPEG encoder" : "no MPEG-4 encoder";
  s.codec.reset(avcodec_alloc_context3(encoder));
  AVCodecContext* codec = s.codec.get();
  codec->width = format.width;
  codec->height = format.height;
  codec->time_base = AVRational{1, format.framesPerSecond};
  codec->framerate = AVRational{format.framesPerSecond, 1};
  codec->pix_fmt = mjpeg ? AV_PIX_FMT_YUVJ420P : AV_PIX_FMT_YUV420P;
  codec->gop_size = mjpeg ? 1 : s.keyframeInterval;
  codec->max_b_frames = mjpeg ? 0 : std::max(format.bFrames, 0);
  if (codec->max_b_frames > 0) codec->flags |= AV_CODEC_FLAG_CLOSED_GOP;
  codec->flags |= AV_CODEC_FLAG_QSCALE;
  codec->global_quality = FF_QP2LAMBDA * format.quality;
  s.quality = codec->global_quality;
  if (mjpeg) {
    // Huffman tables made for each picture: a third smaller than the standard ones. They need
    // the whole picture in one slice, so one thread.
    codec->thread_count = 1;
    av_opt_set(codec->priv_data, "huffman", "optimal", 0);
  } else {
    // Keyframes exactly every interval: a change of picture must not start a group of its own.
    av_opt_set_int(codec, "sc_threshold", 1000000000, AV_OPT_SEARCH_CHILDREN);
  }
  if (s.output->oformat->flags & AVFMT_GLOBALHEADER) codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  rc = avcodec_open2(codec, encoder, nullptr);
  if (rc < 0) return errorText("cannot open encoder", rc);

  s.stream = avformat_new_stream(s.output.get(), nullptr);
  if (s.stream == nullptr) return "cannot add stream";
  s.stream->time_base = codec->time_base;
  rc = avcodec_parameters_from_context(s.stream->codecpar, codec);
  if (rc < 0) return errorText("cannot set stream parameters", rc);
  rc = avio_open(&s.output->pb, path.c_str(), AVIO_FLAG_WRITE);
  if (rc < 0) return errorText("cannot create file", rc);
  rc = avformat_write_header(s.output.get(), nullptr);
  if (rc < 0) return errorText("cannot write header", rc);
  s.headerWritten = true;

  s.frame.reset(av_frame_alloc());
  s.frame->format = codec->pix_fmt;
  s.frame->width = format.width;
  s.frame->height = format.height;
  rc = av_frame_get_buffer(s.frame.get(), 0);
  if (rc < 0) return errorText("cannot allocate frame", rc);
  // The scaler reads whole blocks of pixels, past the end of a row: the picture is copied into
  // a frame with padded rows first.
  s.rgb.reset(av_frame_alloc());
  s.rgb->format = AV_PIX_FMT_RGB24;
  s.rgb->width = format.width;
  s.rgb->height = format.height;
  rc = av_frame_get_buffer(s.rgb.get(), 0);
  if (rc < 0) return errorText("cannot allocate frame", rc);
  s.packet.reset(av_packet_alloc());
  // The JPEG encoder takes full-range YUV: the plain layout with the range named.
  s.scaler.reset(sws_getContext(format.width, format.height, AV_PIX_FMT_RGB24, format.width,
                                format.height, AV_PIX_FMT_YUV420P, SWS_BILINEAR, nullptr, nullptr,
                                nullptr));
  if (!s.scaler) return "no colour converter";
  const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
  sws_setColorspaceDetails(s.scaler.get(), coefficients, 1, coefficients, mjpeg ? 1 : 0, 0, 1 << 16,
                           1 << 16);
  return "";
}

std::string VideoWriter::write(const std::uint8_t* rgb) {
  if (!m_state || !m_state->scaler) return "video not open";
  State& s = *m_state;
  int rc = av_frame_make_writable(s.frame.get());
  if (rc < 0) return errorText("frame not writable", rc);
  const std::size_t row = static_cast<std::size_t>(s.width) * 3;
  for (int y = 0; y < s.height; ++y)
    std::memcpy(s.rgb->data[0] + static_cast<std::ptrdiff_t>(y) * s.rgb->linesize[0],
                rgb + row * static_cast<std::size_t>(y), row);
  sws_scale(s.scaler.get(), s.rgb->data, s.rgb->linesize, 0, s.height, s.frame->data,
            s.frame->linesize);
  s.frame->pts = s.next;
  s.frame->quality = s.quality;
  s.frame->pict_type = s.keyframeInterval > 0 && s.next % s.keyframeInterval == 0
                           ? AV_PICTURE_TYPE_I
                           : AV_PICTURE_TYPE_NONE;
  ++s.next;
  rc = s.encode(s.frame.get());
  if (rc < 0) return errorText("cannot encode", rc);
  return "";
}

void VideoWriter::skip() {
  if (m_state) ++m_state->next;
}

std::string VideoWriter::finish() {
  if (!m_state || !m_state->headerWritten) return "video not open";
  State& s = *m_state;
  int rc = s.encode(nullptr);
  if (rc < 0) return errorText("cannot finish encoding", rc);
  rc = av_write_trailer(s.output.get());
  if (rc < 0) return errorText("cannot write trailer", rc);
  m_state.reset();
  return "";
}

}  // namespace velimoro::content
