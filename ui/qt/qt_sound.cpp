#include "ui/qt/qt_sound.h"

#include "ui/media.h"
#include "ui/qt/sound/sound_output.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

#include <algorithm>
#include <cstdio>

namespace ui::qt {

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

SoundOutput* SoundPlayer::output()
{
    if (loaded_) return output_.get();
    loaded_ = true;
    // Where the build put the module, else beside the program.
    QStringList places;
#ifdef JSB_SOUND_MODULE
    places << QString::fromUtf8(JSB_SOUND_MODULE);
    places << QCoreApplication::applicationDirPath() + "/" + QFileInfo(QString::fromUtf8(JSB_SOUND_MODULE)).fileName();
#endif
    for (const QString& path : places) {
        if (!QFileInfo::exists(path)) continue;
        QLibrary module(path); // stays loaded for the rest of the program
        auto create = reinterpret_cast<JsbSoundOutputCreate>(module.resolve("jsb_sound_output_create"));
        if (create) {
            output_.reset(create());
            return output_.get();
        }
        std::fprintf(stderr, "juesibao: sound module %s: %s\n", qPrintable(path), qPrintable(module.errorString()));
    }
    return nullptr;
}

bool SoundPlayer::play(const Bytes& wav)
{
    WavInfo info;
    if (!parse_wav(wav, &info)) return false;
    SoundOutput* out = output();
    if (!out) return false;
    size_t n = std::min(info.data_size, wav.size() - std::min(wav.size(), info.data_offset));
    return out->play(QByteArray(wav.data() + info.data_offset, qsizetype(n)), info.sample_rate, info.channels, info.bits,
                     info.format);
}

int SoundPlayer::playing() const { return output_ ? output_->playing() : 0; }

} // namespace ui::qt
