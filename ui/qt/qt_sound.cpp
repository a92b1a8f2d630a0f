#include "ui/qt/qt_sound.h"

#include "ui/media.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include <algorithm>

namespace ui::qt {

namespace {
// Enough for every click sound a fast user can start; older ones keep
// playing, newer ones past this are dropped.
constexpr size_t k_max_streams = 16;

bool to_format(const WavInfo& w, QAudioFormat* f)
{
    f->setSampleRate(w.sample_rate);
    f->setChannelCount(w.channels);
    if (w.format == 1 && w.bits == 8) f->setSampleFormat(QAudioFormat::UInt8);
    else if (w.format == 1 && w.bits == 16) f->setSampleFormat(QAudioFormat::Int16);
    else if (w.format == 1 && w.bits == 32) f->setSampleFormat(QAudioFormat::Int32);
    else if (w.format == 3 && w.bits == 32) f->setSampleFormat(QAudioFormat::Float);
    else return false;
    return w.channels > 0 && w.sample_rate > 0 && f->isValid();
}
} // namespace

struct SoundPlayer::Stream {
    QByteArray pcm;
    QBuffer buffer;
    QAudioSink* sink = nullptr;
};

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer()
{
    for (auto& s : streams_) {
        s->sink->disconnect(this);
        s->sink->stop();
        delete s->sink;
    }
}

bool SoundPlayer::play(const Bytes& wav)
{
    WavInfo info;
    if (!parse_wav(wav, &info)) return false;
    QAudioFormat format;
    if (!to_format(info, &format)) return false;
    QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || streams_.size() >= k_max_streams) return false;

    auto s = std::make_unique<Stream>();
    size_t n = std::min(info.data_size, wav.size() - std::min(wav.size(), info.data_offset));
    s->pcm = QByteArray(wav.data() + info.data_offset, qsizetype(n));
    s->buffer.setBuffer(&s->pcm);
    s->buffer.open(QIODevice::ReadOnly);
    s->sink = new QAudioSink(device, format);
    Stream* raw = s.get();
    connect(s->sink, &QAudioSink::stateChanged, this, [this, raw](QAudio::State st) {
        // Idle: the buffer ran dry, the sound is over; Stopped: an error.
        if (st == QAudio::IdleState || st == QAudio::StoppedState) finish(raw);
    });
    streams_.push_back(std::move(s));
    raw->sink->start(&raw->buffer);
    if (raw->sink->error() != QAudio::NoError) {
        finish(raw);
        return false;
    }
    return true;
}

void SoundPlayer::finish(Stream* s)
{
    auto it = std::find_if(streams_.begin(), streams_.end(), [s](auto& p) { return p.get() == s; });
    if (it == streams_.end()) return;
    std::unique_ptr<Stream> owned = std::move(*it);
    streams_.erase(it);
    owned->sink->disconnect(this);
    owned->sink->stop();
    // The sink may be in the middle of its own signal: let it go later, and
    // the data it reads with it.
    QAudioSink* sink = owned->sink;
    Stream* keep = owned.release();
    connect(sink, &QObject::destroyed, [keep] { delete keep; });
    sink->deleteLater();
}

} // namespace ui::qt
