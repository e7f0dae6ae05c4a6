#include "ZXPanel.h"

#include <QPainter>
#include <QPalette>

TZXPanel::TZXPanel(QWidget *parent)
    : QWidget(parent)
{ }

void TZXPanel::SetVAlignment(TVertAlignment value)
{
    if (value == m_vAlignment)
        return;
    m_vAlignment = value;
    update();
}

void TZXPanel::SetAlignment(TAlignment value)
{
    if (value == m_alignment)
        return;
    m_alignment = value;
    update();
}

void TZXPanel::SetCaption(const QString &value)
{
    if (value == m_caption)
        return;
    m_caption = value;
    update();
}

void TZXPanel::SetColor(TColor value)
{
    if (value == m_color)
        return;
    m_color = value;
    update();
}

void TZXPanel::SetAlign(TAlign value)
{
    m_align = value;
    AlignmentRequested();
}

TAlign TZXPanel::AlignOf(const QWidget *widget)
{
    const auto *panel = qobject_cast<const TZXPanel *>(widget);
    return panel ? panel->Align() : alNone;
}

namespace {

// A raised or lowered frame of `width` pixels; returns the rectangle inside it.
QRect DrawBevel(QPainter &p, QRect r, TBevelCut cut, int width, const QPalette &pal)
{
    if (cut == bvNone)
        return r;
    const QColor shadow = platform::ToQColor(clBtnShadow, pal);
    const QColor light = platform::ToQColor(clBtnHighlight, pal);
    const QColor topLeft = cut == bvLowered ? shadow : light;
    const QColor bottomRight = cut == bvLowered ? light : shadow;
    for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    return r;
}

} // namespace

void TZXPanel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    QColor fill = platform::ToQColor(m_color, pal);
    if (!fill.isValid())
        fill = pal.color(QPalette::Button);

    QRect r = DrawBevel(p, rect(), BevelOuter, BevelWidth, pal);
    if (BorderWidth > 0) {
        p.fillRect(r, fill);
        r.adjust(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    }
    r = DrawBevel(p, r, BevelInner, BevelWidth, pal);
    p.fillRect(r, fill);

    if (m_caption.isEmpty())
        return;
    const int textHeight = p.fontMetrics().height();
    QRect band = r;
    switch (m_vAlignment) {
    case vaBottom:
        band.setTop(r.bottom() - textHeight + 1);
        break;
    case vaMiddle:
        band.setTop(r.top() + (r.height() - textHeight) / 2);
        break;
    case vaTop:
        break;
    }
    band.setHeight(textHeight);
    Qt::Alignment h = Qt::AlignHCenter;
    if (m_alignment == taLeftJustify)
        h = Qt::AlignLeft;
    else if (m_alignment == taRightJustify)
        h = Qt::AlignRight;
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(band, int(h | Qt::AlignVCenter | Qt::TextSingleLine), m_caption);
}
