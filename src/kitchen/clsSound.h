#pragma once

// The new-order sound: a wave file read once into memory and played from there, so a poll
// never touches the disk. Main thread only.

#include "framework/clsCollectionDB.h"

#include <QByteArray>
#include <QString>

class TBaseSound : public TCollectionDBItem
{
public:
    explicit TBaseSound(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TBaseSound"); }

    const QString &FileName() const { return m_fileName; }
    const QByteArray &SoundData() const { return m_soundData; } // empty: nothing loaded

    // Reads the whole file. A relative name is looked up in the current folder, then in
    // the program's folder (where the build puts NewInvoice.wav). Returns false, changing
    // nothing, when there is no such file. A file that cannot be read, or is not a sound,
    // empties SoundData and throws EZXException ("... Raised in TBaseSound.LoadFromFile").
    bool LoadFromFile(const QString &fileName);
    // Plays the loaded sound and returns when it has ended; false when nothing was played
    // (nothing loaded, no sound device: the device logs that once). Never throws.
    bool Play();
    // Forgets file name and data.
    void Unload();

private:
    QString m_fileName;
    QByteArray m_soundData;
};
