#include "ColorBox.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

// The extended colours of the suite's colour boxes.
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

QIcon Swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QColor fill = platform::ToQColor(color);
    if (!fill.isValid())
        fill = Qt::transparent;
    painter.fillRect(QRect(0, 0, 15, 11), fill);
    painter.setPen(Qt::black);
    painter.drawRect(QRect(0, 0, 15, 11));
    return QIcon(pixmap);
}

} // namespace

const QList<TColorBox::Entry> &TColorBox::NamedColors()
{
    static const QList<Entry> entries = {
        {clBlack, "Black"},
        {clMaroon, "Maroon"},
        {clGreen, "Green"},
        {clOlive, "Olive"},
        {clNavy, "Navy"},
        {clPurple, "Purple"},
        {clTeal, "Teal"},
        {clGray, "Gray"},
        {clSilver, "Silver"},
        {clRed, "Red"},
        {clLime, "Lime"},
        {clYellow, "Yellow"},
        {clBlue, "Blue"},
        {clFuchsia, "Fuchsia"},
        {clAqua, "Aqua"},
        {clWhite, "White"},
        {clMoneyGreen, "MoneyGreen"},
        {clSkyBlue, "SkyBlue"},
        {clCream, "Cream"},
        {clMedGray, "MedGray"},
        {clScrollBar, "ScrollBar"},
        {clBackground, "Background"},
        {clActiveCaption, "ActiveCaption"},
        {clInactiveCaption, "InactiveCaption"},
        {clMenu, "Menu"},
        {clWindow, "Window"},
        {clWindowFrame, "WindowFrame"},
        {clMenuText, "MenuText"},
        {clWindowText, "WindowText"},
        {clCaptionText, "CaptionText"},
        {clActiveBorder, "ActiveBorder"},
        {clInactiveBorder, "InactiveBorder"},
        {clAppWorkSpace, "AppWorkSpace"},
        {clHighlight, "Highlight"},
        {clHighlightText, "HighlightText"},
        {clBtnFace, "BtnFace"},
        {clBtnShadow, "BtnShadow"},
        {clGrayText, "GrayText"},
        {clBtnText, "BtnText"},
        {clInactiveCaptionText, "InactiveCaptionText"},
        {clBtnHighlight, "BtnHighlight"},
        {cl3DDkShadow, "3DDkShadow"},
        {cl3DLight, "3DLight"},
        {clInfoText, "InfoText"},
        {clInfoBk, "InfoBk"},
        {clHotLight, "HotLight"},
        {clGradientActiveCaption, "GradientActiveCaption"},
        {clGradientInactiveCaption, "GradientInactiveCaption"},
        {clMenuHighlight, "MenuHighlight"},
        {clMenuBar, "MenuBar"},
    };
    return entries;
}

TColorBox::TColorBox(QWidget *parent)
    : QComboBox(parent)
{
    setMaxVisibleItems(16);
    for (const Entry &e : NamedColors())
        AddEntry(e.Color, QString::fromLatin1(e.Name));
    setCurrentIndex(0); // black
}

int TColorBox::AddEntry(TColor color, const QString &name)
{
    addItem(Swatch(color), name, QVariant::fromValue<quint32>(color));
    return count() - 1;
}

TColor TColorBox::Selected() const
{
    const QVariant value = currentData();
    return value.isValid() ? TColor(value.value<quint32>()) : clBlack;
}

void TColorBox::SetSelected(TColor color)
{
    const int index = findData(QVariant::fromValue<quint32>(color));
    if (index >= 0) {
        setCurrentIndex(index);
        return;
    }
    if (m_customIndex < 0) {
        m_customIndex = AddEntry(color, QStringLiteral("Custom"));
    } else {
        setItemIcon(m_customIndex, Swatch(color));
        setItemData(m_customIndex, QVariant::fromValue<quint32>(color));
    }
    setCurrentIndex(m_customIndex);
}

void TColorBox::hidePopup()
{
    QComboBox::hidePopup();
    emit closedUp();
}
