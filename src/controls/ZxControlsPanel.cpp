#include "ZxControlsPanel.h"

#include <QResizeEvent>

TZxControlsPanel::TZxControlsPanel(QWidget *parent)
    : TZXPanel(parent)
{ }

void TZxControlsPanel::SetLayout(TLayout value)
{
    if (value == m_layout)
        return;
    m_layout = value;
    ArrangeControls();
}

void TZxControlsPanel::SetHorizAlignment(TAlignment value)
{
    if (value == m_horizAlignment)
        return;
    m_horizAlignment = value;
    ArrangeControls();
}

void TZxControlsPanel::SetVertAlignment(TVertAlignment value)
{
    if (value == m_vertAlignment)
        return;
    m_vertAlignment = value;
    ArrangeControls();
}

void TZxControlsPanel::SetHorizSpacing(int value)
{
    if (value == m_horizSpacing)
        return;
    m_horizSpacing = value;
    ArrangeControls();
}

void TZxControlsPanel::SetVertSpacing(int value)
{
    if (value == m_vertSpacing)
        return;
    m_vertSpacing = value;
    ArrangeControls();
}

void TZxControlsPanel::ArrangeControls()
{
    if (m_layout == loHorizontal)
        ArrangeHorizontally();
    else
        ArrangeVertically();
}

QList<QWidget *> TZxControlsPanel::PlacedControls() const
{
    QList<QWidget *> placed;
    for (QObject *child : children()) {
        auto *w = qobject_cast<QWidget *>(child);
        // isVisibleTo: a child counts as visible before the window itself is shown.
        if (w && !w->isWindow() && w->isVisibleTo(this))
            placed << w;
    }
    return placed;
}

void TZxControlsPanel::ArrangeHorizontally()
{
    const QList<QWidget *> placed = PlacedControls();
    int n = 0;
    int total = 0;
    for (const QWidget *w : placed) {
        if (AlignOf(w) == alNone) {
            ++n;
            total += w->width();
        }
    }
    if (n == 0)
        return;

    const int W = width();
    const int H = height();
    const int hs = m_horizSpacing;
    const int vs = m_vertSpacing;
    int x = hs;
    if (m_horizAlignment == taRightJustify)
        x = W - total - n * hs;
    else if (m_horizAlignment == taCenter)
        x = W / 2 - (total + (n - 1) * hs) / 2;

    for (QWidget *w : placed) {
        int y = vs;
        if (m_vertAlignment == vaBottom)
            y = H - w->height() - vs;
        else if (m_vertAlignment == vaMiddle)
            y = H / 2 - w->height() / 2;
        w->move(x, y);
        x += w->width() + hs;
    }
}

void TZxControlsPanel::ArrangeVertically()
{
    const QList<QWidget *> placed = PlacedControls();
    int n = 0;
    int total = 0;
    for (const QWidget *w : placed) {
        if (AlignOf(w) == alNone) {
            ++n;
            total += w->height();
        }
    }
    if (n == 0)
        return;

    const int W = width();
    const int H = height();
    const int hs = m_horizSpacing;
    const int vs = m_vertSpacing;
    int y = vs;
    if (m_vertAlignment == vaBottom)
        y = H - total - n * vs;
    else if (m_vertAlignment == vaMiddle)
        y = H / 2 - (total + (n - 1) * vs) / 2;

    for (QWidget *w : placed) {
        int x = W / 2 - w->width() / 2;
        if (m_horizAlignment == taLeftJustify)
            x = hs;
        else if (m_horizAlignment == taRightJustify)
            x = W - w->width() - hs;
        w->move(x, y);
        y += w->height() + vs;
    }
}

void TZxControlsPanel::resizeEvent(QResizeEvent *event)
{
    TZXPanel::resizeEvent(event);
    ArrangeControls();
}

void TZxControlsPanel::AlignmentRequested()
{
    if (!parentWidget() || Align() == LastAlign)
        return;
    LastAlign = Align();
    switch (Align()) {
    case alTop:
    case alBottom:
        SetLayout(loHorizontal);
        SetHorizAlignment(taRightJustify);
        SetVertAlignment(vaMiddle);
        break;
    case alLeft:
    case alRight:
        SetLayout(loVertical);
        SetHorizAlignment(taCenter);
        SetVertAlignment(vaBottom);
        break;
    default:
        break;
    }
}
