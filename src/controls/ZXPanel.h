#pragma once

// A panel that paints its own background, bevels and caption, with a choice of where the
// caption sits vertically. Main thread only. Sizes are pixels.

#include "platform/Colors.h"

#include <QString>
#include <QWidget>

enum TVertAlignment { vaBottom, vaMiddle, vaTop };
enum TLayout { loHorizontal, loVertical };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// How a control docks in its parent. Qt's layouts do the docking itself; the value is kept
// so that panels can react to it and so that a docked child is left out of a row's size.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TZXPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TZXPanel(QWidget *parent = nullptr);

    TVertAlignment VAlignment() const { return m_vAlignment; }
    void SetVAlignment(TVertAlignment value);
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    const QString &Caption() const { return m_caption; }
    void SetCaption(const QString &value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    TBevelCut BevelOuter = bvRaised;
    TBevelCut BevelInner = bvNone;
    int BevelWidth = 1;
    int BorderWidth = 0;

    TAlign Align() const { return m_align; }
    // Stores the docking and runs the alignment request.
    void SetAlign(TAlign value);

    // The docking of any child widget: a panel's Align, alNone for other widgets.
    static TAlign AlignOf(const QWidget *widget);

protected:
    // The platform's alignment request, after Align was applied.
    virtual void AlignmentRequested() { }
    void paintEvent(QPaintEvent *event) override;

private:
    TVertAlignment m_vAlignment = vaTop;
    TAlignment m_alignment = taCenter;
    QString m_caption;
    TColor m_color = clBtnFace;
    TAlign m_align = alNone;
};
