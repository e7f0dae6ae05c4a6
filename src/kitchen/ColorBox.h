#pragma once

// A drop-down list of colours with their names and a swatch each: the sixteen standard
// colours, the four extended ones and the system colours, holding each as its raw TColor
// (system colours keep their top bit, so a stored system colour follows the desktop's
// palette). Main thread only.

#include "platform/Colors.h"

#include <QComboBox>
#include <QList>
#include <QString>

class TColorBox : public QComboBox
{
    Q_OBJECT

public:
    struct Entry
    {
        TColor Color;
        const char *Name; // "Black", "MoneyGreen", "BtnFace", ...
    };
    // The named colours in list order.
    static const QList<Entry> &NamedColors();

    // Starts on black.
    explicit TColorBox(QWidget *parent = nullptr);

    TColor Selected() const;
    // Chooses the entry of that colour. A colour the list does not name is kept as it is, in
    // one "Custom" entry at the end, so a stored value survives being shown and saved.
    void SetSelected(TColor color);

signals:
    // The list was closed (the place the settings window refreshes its preview).
    void closedUp();

protected:
    void hidePopup() override;

private:
    int AddEntry(TColor color, const QString &name);
    int m_customIndex = -1;
};
