// The new-order sound: loading the file, decoding the image from memory, and playing on a
// machine without a sound device (every test machine: tests never need sound hardware).

#include "../support/TestDatabase.h"

#include "kitchen/clsSound.h"

#include "framework/clsEZXException.h"
#include "platform/Sound.h"
#include "platform/sounds/Chime.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace {

const char kNoDevice[] = "vela_test_no_such_device";

QString WriteFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

// A 16-bit PCM wave image with the given channels and interleaved samples.
QByteArray Wave16(int channels, int rate, const std::vector<std::int16_t> &samples)
{
    QByteArray out;
    auto put32 = [&out](quint32 v) {
        for (int b = 0; b < 4; ++b)
            out.append(char((v >> (8 * b)) & 0xFF));
    };
    auto put16 = [&out](quint16 v) {
        out.append(char(v & 0xFF));
        out.append(char(v >> 8));
    };
    const quint32 bytes = quint32(samples.size() * 2);
    out.append("RIFF");
    put32(36 + bytes);
    out.append("WAVEfmt ");
    put32(16);
    put16(1);
    put16(quint16(channels));
    put32(quint32(rate));
    put32(quint32(rate * channels * 2));
    put16(quint16(channels * 2));
    put16(16);
    out.append("data");
    put32(bytes);
    for (std::int16_t s : samples)
        put16(quint16(s));
    return out;
}

// Sets an environment variable for one test.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

// Counts the warnings logged while it lives.
class WarningCounter
{
public:
    WarningCounter() { s_count = 0, m_previous = qInstallMessageHandler(&Handler); }
    ~WarningCounter() { qInstallMessageHandler(m_previous); }
    int Count() const { return s_count; }

private:
    static void Handler(QtMsgType type, const QMessageLogContext &, const QString &)
    {
        if (type == QtWarningMsg)
            ++s_count;
    }
    static inline int s_count = 0;
    QtMessageHandler m_previous;
};

TEST(SoundDecoding, ChimeDecodesFromMemoryToExactlyItsSamples)
{
    const QByteArray image = platform::NewInvoiceChime();
    QString error;
    const std::optional<platform::DecodedSound> sound = platform::DecodeSound(image, &error);
    ASSERT_TRUE(sound) << error.toStdString();
    EXPECT_EQ(sound->Channels, 1);
    EXPECT_EQ(sound->SampleRate, chime::kSampleRate);
    EXPECT_EQ(sound->Frames(), chime::kFrames);
    EXPECT_DOUBLE_EQ(sound->Seconds(), 0.6); // short: playing blocks the poll
    EXPECT_EQ(sound->Samples, chime::Samples());

    // Audible, never clipped, and silent at both ends (no click when it starts or stops).
    const auto [low, high] = std::minmax_element(sound->Samples.begin(), sound->Samples.end());
    EXPECT_GT(*high, 8000);
    EXPECT_LT(*low, -8000);
    EXPECT_LT(*high, 32767);
    EXPECT_EQ(sound->Samples.front(), 0);
    EXPECT_EQ(sound->Samples.back(), 0);
}

TEST(SoundDecoding, OtherLayoutsAndDamagedImages)
{
    // Stereo: frames stay interleaved left, right.
    const std::vector<std::int16_t> stereo = {100, -100, 200, -200, 32767, -32768};
    const auto two = platform::DecodeSound(Wave16(2, 8000, stereo));
    ASSERT_TRUE(two);
    EXPECT_EQ(two->Channels, 2);
    EXPECT_EQ(two->SampleRate, 8000);
    EXPECT_EQ(two->Frames(), 3);
    EXPECT_EQ(two->Samples, stereo);

    // A file cut short plays what it holds.
    const QByteArray cut = platform::NewInvoiceChime().left(44 + 2000);
    const auto part = platform::DecodeSound(cut);
    ASSERT_TRUE(part);
    EXPECT_EQ(part->Frames(), 1000);

    struct Case
    {
        const char *name;
        QByteArray image;
    };
    const Case bad[] = {
        {"empty", QByteArray()},
        {"text", QByteArray("This is not a sound at all, just some words.\n")},
        {"header only", platform::NewInvoiceChime().left(12)},
    };
    for (const Case &c : bad) {
        QString error;
        EXPECT_FALSE(platform::DecodeSound(c.image, &error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
    }
}

TEST(SoundDevice, WithoutADeviceNothingPlaysAndItIsLoggedOnce)
{
    platform::SoundDevice device(QString::fromLatin1(kNoDevice));
    WarningCounter warnings;
    QElapsedTimer clock;
    clock.start();
    for (int poll = 0; poll < 3; ++poll)
        EXPECT_EQ(device.Play(platform::NewInvoiceChime()),
                  platform::SoundDevice::Outcome::NoDevice);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(warnings.Count(), 1);
    EXPECT_TRUE(device.HasWarned());

    EXPECT_EQ(device.Play(QByteArray()), platform::SoundDevice::Outcome::Empty);
    EXPECT_EQ(device.Play(QByteArray("not a sound")), platform::SoundDevice::Outcome::Undecodable);
    EXPECT_EQ(warnings.Count(), 1);
}

TEST(SoundDevice, ThePlaybackLoopRunsToTheEndOnAlsasNullDevice)
{
    // "null" is part of every ALSA configuration: it takes the samples without hardware.
    platform::SoundDevice device(QStringLiteral("null"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(device.Play(platform::NewInvoiceChime()), platform::SoundDevice::Outcome::Played);
    EXPECT_LT(clock.elapsed(), 3500); // the sound's second plus the two-second stall limit
    EXPECT_FALSE(device.HasWarned());
}

TEST(SoundDevice, DeviceNameComesFromTheEnvironmentUnlessGiven)
{
    {
        ScopedEnv env("VELA_SOUND_DEVICE", "plughw:1,0");
        EXPECT_EQ(platform::SoundDevice().PcmName(), "plughw:1,0");
        EXPECT_EQ(platform::SoundDevice("hw:0").PcmName(), "hw:0");
    }
    ScopedEnv env("VELA_SOUND_DEVICE", "");
    EXPECT_EQ(platform::SoundDevice().PcmName(), "default");
}

class BaseSound : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    TBaseSound sound;
};

TEST_F(BaseSound, LoadingKeepsTheWholeFileOrFailsCleanly)
{
    const QByteArray chime = platform::NewInvoiceChime();
    const QString wave = WriteFile(dir, "NewInvoice.wav", chime);
    ASSERT_TRUE(sound.LoadFromFile(wave));
    EXPECT_EQ(sound.FileName(), wave);
    EXPECT_EQ(sound.SoundData(), chime);

    // A missing file loads nothing and changes nothing.
    EXPECT_FALSE(sound.LoadFromFile(dir.filePath("Missing.wav")));
    EXPECT_EQ(sound.FileName(), wave);
    EXPECT_EQ(sound.SoundData(), chime);

    struct Case
    {
        const char *name;
        QByteArray bytes;
    };
    const Case notSounds[] = {
        {"text file", QByteArray("RIFF? no, a shopping list: eggs, milk\n")},
        {"empty file", QByteArray()},
    };
    for (const Case &c : notSounds) {
        ASSERT_TRUE(sound.LoadFromFile(wave)) << c.name;
        const QString path = WriteFile(dir, QString::fromLatin1(c.name) + ".wav", c.bytes);
        try {
            sound.LoadFromFile(path);
            ADD_FAILURE() << c.name << " loaded";
        } catch (const EZXException &e) {
            EXPECT_EQ(e.RaisedIn(), "TBaseSound.LoadFromFile") << c.name;
            EXPECT_TRUE(e.Message().contains(path)) << c.name;
        }
        EXPECT_TRUE(sound.SoundData().isEmpty()) << c.name;
    }

    sound.Unload();
    EXPECT_TRUE(sound.FileName().isEmpty());
    EXPECT_TRUE(sound.SoundData().isEmpty());
}

TEST_F(BaseSound, RelativeNameIsFoundInTheCurrentFolder)
{
    const QString previous = QDir::currentPath();
    WriteFile(dir, "NewInvoice.wav", platform::NewInvoiceChime());
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const bool loaded = sound.LoadFromFile("NewInvoice.wav");
    QDir::setCurrent(previous);
    EXPECT_TRUE(loaded);
    EXPECT_EQ(sound.FileName(), "NewInvoice.wav");
    EXPECT_EQ(sound.SoundData(), platform::NewInvoiceChime());
}

TEST_F(BaseSound, PlayWithoutADeviceReturnsAtOnce)
{
    ScopedEnv env("VELA_SOUND_DEVICE", kNoDevice);
    EXPECT_FALSE(sound.Play()); // nothing loaded

    ASSERT_TRUE(sound.LoadFromFile(WriteFile(dir, "NewInvoice.wav", platform::NewInvoiceChime())));
    QElapsedTimer clock;
    clock.start();
    EXPECT_NO_THROW(EXPECT_FALSE(sound.Play()));
    EXPECT_NO_THROW(EXPECT_FALSE(sound.Play()));
    EXPECT_LT(clock.elapsed(), 2000);
}

} // namespace
