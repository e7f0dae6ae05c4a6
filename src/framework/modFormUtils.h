#pragma once

// Small helpers shared by the windows and the settings code.

#include <QString>
#include <QStringList>

class QWidget;

// Places form so that its centre is the centre of monitor monitorIndex modulo 128
// (0 is the primary monitor, then the others as the platform lists them). When there is
// no such monitor, shows "Invalid monitor" (information, OK) and leaves the form where it is.
void CenterOnMonitor(int monitorIndex, QWidget *form);

// Empties list, then adds the pieces of text cut at commas: a comma does not cut while
// exactly one double quote has been seen in the piece. Pieces are trimmed of blanks and
// control characters (so the one-character NUL "empty" text adds nothing); empty pieces
// are dropped; quotes are kept.
void SplitCommaList(QStringList &list, const QString &text);

// text without the blanks and control characters at either end, as the suite's trim has
// them (so the one-character NUL "empty" marker becomes empty).
QString TrimControls(QStringView text);

// path with a path delimiter appended unless it already ends in one ("/" or "\").
// Appends "/", the delimiter of this platform.
QString AddTrailingBackslash(const QString &path);

// Version of a program file. This program's own file reports the version it was built
// as (VELA_VERSION); files without version information report -1s and "?.?.?.?".
class TFileVersion
{
public:
    QString FileName;
    int Major = -1;
    int Minor = -1;
    int Release = -1;
    int Build = -1;
    QString VersionText = QStringLiteral("?.?.?.?");

    // Throws std::runtime_error "File <fileName> does not exist" for a missing file.
    void ReadVersion(const QString &fileName);
};
