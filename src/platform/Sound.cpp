#include "Sound.h"

#include "sounds/Chime.h"

#include <QDebug>

#include <alsa/asoundlib.h>
#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace platform {

namespace {

// libsndfile reads the image through these instead of a file.
struct MemoryFile
{
    const QByteArray *bytes;
    sf_count_t position = 0;
};

sf_count_t MemLength(void *user)
{
    return static_cast<MemoryFile *>(user)->bytes->size();
}

sf_count_t MemSeek(sf_count_t offset, int whence, void *user)
{
    auto *file = static_cast<MemoryFile *>(user);
    const sf_count_t size = file->bytes->size();
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = file->position;
    else if (whence == SEEK_END)
        base = size;
    file->position = std::clamp<sf_count_t>(base + offset, 0, size);
    return file->position;
}

sf_count_t MemRead(void *ptr, sf_count_t count, void *user)
{
    auto *file = static_cast<MemoryFile *>(user);
    const sf_count_t n = std::clamp<sf_count_t>(file->bytes->size() - file->position, 0, count);
    std::memcpy(ptr, file->bytes->constData() + file->position, size_t(n));
    file->position += n;
    return n;
}

sf_count_t MemWrite(const void *, sf_count_t, void *)
{
    return 0; // read only
}

sf_count_t MemTell(void *user)
{
    return static_cast<MemoryFile *>(user)->position;
}

// ALSA prints its own complaints to stderr (several lines per attempt on a machine without
// a card); the program logs one line of its own instead.
void SilentAlsaError(const char *, int, const char *, int, const char *, ...) { }

struct PcmCloser
{
    snd_pcm_t *pcm = nullptr;
    ~PcmCloser()
    {
        if (pcm) {
            snd_pcm_drop(pcm);
            snd_pcm_close(pcm);
        }
    }
};

} // namespace

std::optional<DecodedSound> DecodeSound(const QByteArray &image, QString *error)
{
    if (image.isEmpty()) {
        if (error)
            *error = QStringLiteral("The sound is empty");
        return std::nullopt;
    }
    SF_VIRTUAL_IO io {MemLength, MemSeek, MemRead, MemWrite, MemTell};
    MemoryFile file {&image};
    SF_INFO info {};
    SNDFILE *sf = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (!sf) {
        if (error)
            *error = QString::fromUtf8(sf_strerror(nullptr));
        return std::nullopt;
    }
    DecodedSound sound;
    sound.Channels = info.channels;
    sound.SampleRate = info.samplerate;
    // Read in blocks rather than trusting the header's frame count: a file cut short still
    // plays what it holds.
    constexpr sf_count_t kBlock = 4096;
    std::vector<std::int16_t> block(size_t(kBlock * std::max(1, info.channels)));
    for (;;) {
        const sf_count_t got = sf_readf_short(sf, block.data(), kBlock);
        if (got <= 0)
            break;
        sound.Samples.insert(sound.Samples.end(), block.begin(),
                             block.begin() + got * info.channels);
    }
    sf_close(sf);
    if (sound.Channels <= 0 || sound.SampleRate <= 0) {
        if (error)
            *error = QStringLiteral("The sound has no channels or no sample rate");
        return std::nullopt;
    }
    return sound;
}

SoundDevice::SoundDevice(const QString &pcmName)
    : m_pcmName(pcmName)
{ }

QString SoundDevice::PcmName() const
{
    if (!m_pcmName.isEmpty())
        return m_pcmName;
    const QString chosen = qEnvironmentVariable("VELA_SOUND_DEVICE");
    return chosen.isEmpty() ? QStringLiteral("default") : chosen;
}

SoundDevice &SoundDevice::Default()
{
    static SoundDevice device;
    return device;
}

void SoundDevice::WarnOnce(const QString &message)
{
    if (m_warned)
        return;
    m_warned = true;
    qWarning().noquote() << message;
}

SoundDevice::Outcome SoundDevice::Play(const QByteArray &image)
{
    if (image.isEmpty())
        return Outcome::Empty;
    QString why;
    const std::optional<DecodedSound> sound = DecodeSound(image, &why);
    if (!sound) {
        WarnOnce(QStringLiteral("A sound could not be decoded (%1) and was not played. "
                                "Replace the sound file with a wave file.")
                     .arg(why));
        return Outcome::Undecodable;
    }
    return Play(*sound);
}

SoundDevice::Outcome SoundDevice::Play(const DecodedSound &sound)
{
    if (sound.Samples.empty() || sound.Channels <= 0 || sound.SampleRate <= 0)
        return Outcome::Empty;

    static const bool quiet = [] {
        snd_lib_error_set_handler(&SilentAlsaError);
        return true;
    }();
    Q_UNUSED(quiet);

    const QString name = PcmName();
    PcmCloser device;
    // Non-blocking, so a device another program holds, or one that stops taking samples,
    // never freezes the monitor.
    int err = snd_pcm_open(&device.pcm, name.toLocal8Bit().constData(), SND_PCM_STREAM_PLAYBACK,
                           SND_PCM_NONBLOCK);
    if (err < 0) {
        device.pcm = nullptr;
        WarnOnce(QStringLiteral("Sound device \"%1\" cannot be opened (%2): sounds are off. "
                                "Connect a sound device, or set VELA_SOUND_DEVICE to another "
                                "ALSA device.")
                     .arg(name, QString::fromLocal8Bit(snd_strerror(err))));
        return Outcome::NoDevice;
    }
    err = snd_pcm_set_params(device.pcm, SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED,
                             unsigned(sound.Channels), unsigned(sound.SampleRate),
                             1 /* resample when the device needs another rate */,
                             100000 /* microseconds of buffer */);
    if (err < 0) {
        WarnOnce(QStringLiteral("Sound device \"%1\" does not take the sound (%2): it was not "
                                "played. Set VELA_SOUND_DEVICE to a \"plughw\" or \"default\" "
                                "device.")
                     .arg(name, QString::fromLocal8Bit(snd_strerror(err))));
        return Outcome::DeviceError;
    }

    using Clock = std::chrono::steady_clock;
    const auto deadline
        = Clock::now() + std::chrono::milliseconds(qint64(sound.Seconds() * 1000) + 2000);
    const std::int16_t *next = sound.Samples.data();
    snd_pcm_uframes_t left = snd_pcm_uframes_t(sound.Frames());
    bool stalled = false;
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(device.pcm, next, left);
        if (written == -EAGAIN) {
            if (Clock::now() > deadline) {
                stalled = true;
                break;
            }
            snd_pcm_wait(device.pcm, 100);
            continue;
        }
        if (written < 0) {
            written = snd_pcm_recover(device.pcm, int(written), 1);
            if (written < 0) {
                stalled = true;
                break;
            }
            continue;
        }
        next += written * sound.Channels;
        left -= snd_pcm_uframes_t(written);
    }

    // The samples still in the device's buffer: wait until they have sounded.
    if (!stalled) {
        if (snd_pcm_state(device.pcm) == SND_PCM_STATE_PREPARED)
            snd_pcm_start(device.pcm); // a sound shorter than the buffer never started
        for (;;) {
            if (snd_pcm_state(device.pcm) != SND_PCM_STATE_RUNNING)
                break;
            snd_pcm_sframes_t delay = 0;
            if (snd_pcm_delay(device.pcm, &delay) < 0 || delay <= 0)
                break;
            if (Clock::now() > deadline) {
                stalled = true;
                break;
            }
            const qint64 ms = std::clamp<qint64>(qint64(delay) * 1000 / sound.SampleRate, 1, 20);
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        }
    }
    if (stalled) {
        WarnOnce(QStringLiteral("Sound device \"%1\" stopped taking the sound: it was cut "
                                "short. Check the sound device.")
                     .arg(name));
        return Outcome::DeviceError;
    }
    return Outcome::Played;
}

QByteArray NewInvoiceChime()
{
    const std::string image = chime::WaveFile(chime::Samples(), chime::kSampleRate);
    return QByteArray(image.data(), qsizetype(image.size()));
}

} // namespace platform
