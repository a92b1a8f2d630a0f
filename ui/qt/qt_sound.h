#pragma once
// Plays WAV byte blocks from memory, each on an output stream of its own so
// that sounds started one after another play together. Without an audio
// device every sound is silence. The streams come from the sound module,
// loaded with the first sound (sound/sound_output.h).
#include "ui/resources.h"

#include <QObject>

#include <memory>

namespace ui::qt {

class SoundOutput;

class SoundPlayer : public QObject {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;
    // False when the block is no PCM sound this player can play, or no
    // device or no sound module is there (nothing is heard then).
    bool play(const Bytes& wav);
    int playing() const;
    // Loads the sound module if it is not loaded yet; false when it cannot
    // be found or loaded (every sound is silence then).
    bool has_module() { return output() != nullptr; }

private:
    SoundOutput* output();
    std::unique_ptr<SoundOutput> output_;
    bool loaded_ = false;
};

} // namespace ui::qt
