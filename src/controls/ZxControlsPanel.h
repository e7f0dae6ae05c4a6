#pragma once

// A panel that places its visible child widgets in a row or a column with fixed spacing.
// Arranging happens on a resize, when one of the five layout properties changes, and when a
// caller runs ArrangeControls (after resizing the children): adding, showing, hiding or
// resizing a child does not arrange by itself. Main thread only. Sizes are pixels.

#include "ZXPanel.h"

class TZxControlsPanel : public TZXPanel
{
    Q_OBJECT

public:
    explicit TZxControlsPanel(QWidget *parent = nullptr);

    TLayout Layout() const { return m_layout; }
    void SetLayout(TLayout value);
    // Row: where the row sits across the panel; column: where each control sits.
    TAlignment HorizAlignment() const { return m_horizAlignment; }
    void SetHorizAlignment(TAlignment value);
    // Row: where each control sits; column: where the column sits along the panel.
    TVertAlignment VertAlignment() const { return m_vertAlignment; }
    void SetVertAlignment(TVertAlignment value);
    int HorizSpacing() const { return m_horizSpacing; }
    void SetHorizSpacing(int value);
    int VertSpacing() const { return m_vertSpacing; }
    void SetVertSpacing(int value);

    TAlign LastAlign = alNone; // the panel's Align at the last alignment request

    void ArrangeControls();
    void ArrangeHorizontally();
    void ArrangeVertically();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void AlignmentRequested() override;

private:
    // Children that take part: every visible child widget, in child order.
    QList<QWidget *> PlacedControls() const;

    TLayout m_layout = loHorizontal;
    TAlignment m_horizAlignment = taCenter;
    TVertAlignment m_vertAlignment = vaMiddle;
    int m_horizSpacing = 5;
    int m_vertSpacing = 5;
};
