// Sound streams on Qt Multimedia: one audio sink per sound, reading the PCM
// from memory until it runs dry.
#include "ui/qt/sound/sound_output.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>
#include <QObject>

#include <algorithm>
#include <memory>
#include <vector>

namespace ui::qt {
namespace {

// Enough for every click sound a fast user can start; older ones keep
// playing, newer ones past this are dropped.
constexpr size_t k_max_streams = 16;

bool to_format(int sample_rate, int channels, int bits, int format_code, QAudioFormat* f)
{
    f->setSampleRate(sample_rate);
    f->setChannelCount(channels);
    if (format_code == 1 && bits == 8) f->setSampleFormat(QAudioFormat::UInt8);
    else if (format_code == 1 && bits == 16) f->setSampleFormat(QAudioFormat::Int16);
    else if (format_code == 1 && bits == 32) f->setSampleFormat(QAudioFormat::Int32);
    else if (format_code == 3 && bits == 32) f->setSampleFormat(QAudioFormat::Float);
    else return false;
    return channels > 0 && sample_rate > 0 && f->isValid();
}

class MultimediaOutput : public QObject, public SoundOutput {
public:
    ~MultimediaOutput() override
    {
        for (auto& s : streams_) {
            s->sink->disconnect(this);
            s->sink->stop();
            delete s->sink;
        }
    }

    bool play(QByteArray pcm, int sample_rate, int channels, int bits, int format_code) override
    {
        QAudioFormat format;
        if (!to_format(sample_rate, channels, bits, format_code, &format)) return false;
        QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull() || streams_.size() >= k_max_streams) return false;

        auto s = std::make_unique<Stream>();
        s->pcm = std::move(pcm);
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

    int playing() const override { return int(streams_.size()); }

private:
    struct Stream {
        QByteArray pcm;
        QBuffer buffer;
        QAudioSink* sink = nullptr;
    };

    void finish(Stream* s)
    {
        auto it = std::find_if(streams_.begin(), streams_.end(), [s](auto& p) { return p.get() == s; });
        if (it == streams_.end()) return;
        std::unique_ptr<Stream> owned = std::move(*it);
        streams_.erase(it);
        owned->sink->disconnect(this);
        owned->sink->stop();
        // The sink may be in the middle of its own signal: let it go later,
        // and the data it reads with it.
        QAudioSink* sink = owned->sink;
        Stream* keep = owned.release();
        QObject::connect(sink, &QObject::destroyed, [keep] { delete keep; });
        sink->deleteLater();
    }

    std::vector<std::unique_ptr<Stream>> streams_;
};

} // namespace
} // namespace ui::qt

extern "C" __attribute__((visibility("default"))) ui::qt::SoundOutput* jsb_sound_output_create()
{
    return new ui::qt::MultimediaOutput();
}
