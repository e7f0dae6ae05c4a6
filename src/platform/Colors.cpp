#include "platform/Colors.h"

#include <QGuiApplication>

#include <array>
#include <optional>

namespace platform {

namespace {

struct SystemRole
{
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// Indexed by the system colour index (the low byte of a system TColor). The roles are the
// nearest Qt has; Windows' caption and border colours have none of their own.
constexpr QPalette::ColorGroup Active = QPalette::Active;
constexpr QPalette::ColorGroup Inactive = QPalette::Inactive;
constexpr QPalette::ColorGroup Disabled = QPalette::Disabled;
const std::array<std::optional<SystemRole>, 31> kSystemRoles = {{
    SystemRole {Active, QPalette::Button}, // clScrollBar
    SystemRole {Active, QPalette::Window}, // clBackground (the desktop)
    SystemRole {Active, QPalette::Highlight}, // clActiveCaption
    SystemRole {Inactive, QPalette::Highlight}, // clInactiveCaption
    SystemRole {Active, QPalette::Window}, // clMenu
    SystemRole {Active, QPalette::Base}, // clWindow
    SystemRole {Active, QPalette::Shadow}, // clWindowFrame
    SystemRole {Active, QPalette::WindowText}, // clMenuText
    SystemRole {Active, QPalette::Text}, // clWindowText
    SystemRole {Active, QPalette::HighlightedText}, // clCaptionText
    SystemRole {Active, QPalette::Window}, // clActiveBorder
    SystemRole {Inactive, QPalette::Window}, // clInactiveBorder
    SystemRole {Active, QPalette::Dark}, // clAppWorkSpace
    SystemRole {Active, QPalette::Highlight}, // clHighlight
    SystemRole {Active, QPalette::HighlightedText}, // clHighlightText
    SystemRole {Active, QPalette::Button}, // clBtnFace
    SystemRole {Active, QPalette::Dark}, // clBtnShadow
    SystemRole {Disabled, QPalette::Text}, // clGrayText
    SystemRole {Active, QPalette::ButtonText}, // clBtnText
    SystemRole {Inactive, QPalette::HighlightedText}, // clInactiveCaptionText
    SystemRole {Active, QPalette::Light}, // clBtnHighlight
    SystemRole {Active, QPalette::Shadow}, // cl3DDkShadow
    SystemRole {Active, QPalette::Midlight}, // cl3DLight
    SystemRole {Active, QPalette::ToolTipText}, // clInfoText
    SystemRole {Active, QPalette::ToolTipBase}, // clInfoBk
    std::nullopt, // index 25 is unused
    SystemRole {Active, QPalette::Link}, // clHotLight
    SystemRole {Active, QPalette::Highlight}, // clGradientActiveCaption
    SystemRole {Inactive, QPalette::Highlight}, // clGradientInactiveCaption
    SystemRole {Active, QPalette::Highlight}, // clMenuHighlight
    SystemRole {Active, QPalette::Window}, // clMenuBar
}};

} // namespace

QColor ToQColor(TColor color, const QPalette &palette)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return QColor();
    if (IsSystemColor(color)) {
        const TColor index = color & 0x00FFFFFFu;
        if (index >= kSystemRoles.size() || !kSystemRoles[index])
            return QColor();
        return palette.color(kSystemRoles[index]->Group, kSystemRoles[index]->Role);
    }
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

QColor ToQColor(TColor color)
{
    if (qGuiApp)
        return ToQColor(color, QGuiApplication::palette());
    return ToQColor(color, QPalette());
}

} // namespace platform
