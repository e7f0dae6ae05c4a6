#pragma once

// Facts about this machine and this program that the till registration and the settings
// component record. Each function reads afresh; none throws. Any thread.

#include <QString>

#include <optional>

namespace platform {

// The host name up to its first '.', as the platform reports it (letter case kept);
// empty when it cannot be read.
QString ComputerName();

// The login name of the effective user (the password database, else $USER);
// empty when neither tells.
QString LogonName();

// A stable 32-bit serial of the root filesystem, standing in for the serial of drive C:
// the first eight hexadecimal digits of the filesystem's UUID when the mount table and
// /dev/disk/by-uuid reveal it (a FAT volume's "1A2B-3C4D" gives 0x1A2B3C4D, as Windows
// shows it), else the low 32 bits of the filesystem id statvfs reports; 0 when unreadable.
quint32 RootVolumeSerial();

// The serial of a drive letter ("C", "c", "C:" or "C:\"): drive C is the root filesystem;
// there are no other drives, so every other letter gives 0.
quint32 VolumeSerial(const QString &drive);

// The root filesystem's UUID serial found from a mount table in the format of
// /proc/self/mountinfo and a folder of links named after UUIDs pointing at devices (the
// layout of /dev/disk/by-uuid). The root mount's device is matched by device number or
// by path. nullopt when the root is not found or no link leads to its device.
std::optional<quint32> RootSerialFromUuidLinks(const QString &mountInfo, const QString &uuidFolder);

// The first eight hexadecimal digits of a UUID, dashes skipped; nullopt when the text has
// fewer than eight or a character that is neither a hexadecimal digit nor a dash before them.
std::optional<quint32> SerialFromUuid(const QString &uuid);

// The version the program was built as, e.g. "1.0.0.1".
QString ProgramVersion();

// The full path of the running program file; empty when it cannot be found.
QString ProgramPath();

} // namespace platform
