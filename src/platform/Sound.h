#pragma once

// Plays sounds held in memory: a sound file image (a wave file as read from disk) is
// decoded with libsndfile and played to its end on an ALSA device. A machine without a
// sound device plays nothing and says so once in the log. Main thread only; playing
// blocks the caller until the sound has ended.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// A decoded sound: interleaved 16-bit samples, Frames() * Channels of them.
struct DecodedSound
{
    int Channels = 0;
    int SampleRate = 0; // frames per second
    std::vector<std::int16_t> Samples;

    std::int64_t Frames() const
    {
        return Channels > 0 ? std::int64_t(Samples.size()) / Channels : 0;
    }
    double Seconds() const { return SampleRate > 0 ? double(Frames()) / SampleRate : 0.0; }
};

// Decodes a sound file image in memory (wave or any other format libsndfile reads), without
// touching the disk. nullopt when it is not a sound; then *error, when given, tells why.
std::optional<DecodedSound> DecodeSound(const QByteArray &image, QString *error = nullptr);

// One ALSA playback device.
class SoundDevice
{
public:
    enum class Outcome {
        Played, // played to its end
        Empty, // nothing to play
        Undecodable, // the image is not a sound
        NoDevice, // the device cannot be opened: this machine has no sound
        DeviceError, // the device refused the sound's format or stopped taking samples
    };

    // pcmName: an ALSA device name ("default", "hw:0", "plughw:1,0", ...). Empty: the
    // device the environment variable VELA_SOUND_DEVICE names when it is set, else
    // "default", looked up at every Play.
    explicit SoundDevice(const QString &pcmName = QString());

    QString PcmName() const;

    // Plays the sound and returns when it has ended. Never throws. A device that stops
    // taking samples is given up after the sound's length plus two seconds. The first
    // failure of this device is logged (qWarning); later ones are not, so a monitor
    // without sound does not fill its log at every new order.
    Outcome Play(const QByteArray &image);
    Outcome Play(const DecodedSound &sound);

    // True once a failure has been logged.
    bool HasWarned() const { return m_warned; }

    // The device the program plays its sounds on (the environment's choice).
    static SoundDevice &Default();

private:
    void WarnOnce(const QString &message);

    QString m_pcmName;
    bool m_warned = false;
};

// The monitor's new-order chime as a wave file image: the bytes the build writes into
// NewInvoice.wav beside the programs.
QByteArray NewInvoiceChime();

} // namespace platform
