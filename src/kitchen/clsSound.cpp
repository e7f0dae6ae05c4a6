#include "clsSound.h"

#include "framework/clsEZXException.h"

#include "platform/Sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The file a name stands for: as given when it exists; a relative name not in the current
// folder is tried beside the program. Empty when neither exists.
QString FindSoundFile(const QString &fileName)
{
    if (fileName.isEmpty())
        return QString();
    const QFileInfo given(fileName);
    if (given.isFile())
        return given.absoluteFilePath();
    if (given.isRelative() && QCoreApplication::instance()) {
        const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()), fileName);
        if (beside.isFile())
            return beside.absoluteFilePath();
    }
    return QString();
}

} // namespace

TBaseSound::TBaseSound(TRootCollection *collection)
    : TCollectionDBItem(collection)
{ }

bool TBaseSound::LoadFromFile(const QString &fileName)
{
    const QString path = FindSoundFile(fileName);
    if (path.isEmpty())
        return false;
    m_fileName = fileName;
    m_soundData.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EZXException(QStringLiteral("Cannot read ") + path + QStringLiteral(": ")
                               + file.errorString(),
                           QStringLiteral("TBaseSound.LoadFromFile"));
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EZXException(QStringLiteral("Cannot read ") + path + QStringLiteral(": ")
                               + file.errorString(),
                           QStringLiteral("TBaseSound.LoadFromFile"));
    // Checked now rather than at the first order, so a broken file is reported at start.
    QString why;
    if (!platform::DecodeSound(data, &why))
        throw EZXException(path + QStringLiteral(" is not a wave sound: ") + why,
                           QStringLiteral("TBaseSound.LoadFromFile"));
    m_soundData = std::move(data);
    return true;
}

bool TBaseSound::Play()
{
    if (m_soundData.isEmpty())
        return false;
    return platform::SoundDevice::Default().Play(m_soundData)
        == platform::SoundDevice::Outcome::Played;
}

void TBaseSound::Unload()
{
    m_fileName.clear();
    m_soundData.clear();
}
