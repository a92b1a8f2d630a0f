#pragma once
// The part of sound playing that needs Qt Multimedia, built as a module of
// its own (jsb_sound) that the program loads when it plays its first sound:
// Qt Multimedia and the audio and codec libraries under it are not loaded
// at start, and a program that stays silent never loads them.
#include <QByteArray>

class QObject;

namespace ui::qt {

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts one stream of PCM samples (WAV format code 1 integer or 3
    // float, bits per sample); sounds started one after another play
    // together. False when no device is there or the format is unplayable.
    virtual bool play(QByteArray pcm, int sample_rate, int channels, int bits, int format_code) = 0;
    virtual int playing() const = 0;
};

} // namespace ui::qt

// The module's one entry point.
extern "C" ui::qt::SoundOutput* jsb_sound_output_create();
using JsbSoundOutputCreate = ui::qt::SoundOutput* (*)();
