#pragma once
// Plays WAV byte blocks from memory, each on an output stream of its own so
// that sounds started one after another play together. Without an audio
// device every sound is silence.
#include "ui/resources.h"

#include <QObject>

#include <memory>

class QAudioSink;
class QBuffer;

namespace ui::qt {

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;
    // False when the block is no PCM sound this player can play or no
    // device is there (nothing is heard then).
    bool play(const Bytes& wav);
    int playing() const { return int(streams_.size()); }

private:
    struct Stream;
    void finish(Stream* s);
    std::vector<std::unique_ptr<Stream>> streams_;
};

} // namespace ui::qt
