#include "color_scheme.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#ifdef VERBANTA_HAVE_DBUS
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#endif

#include "settings/app_settings.h"

namespace verbanta::app {
namespace {

/// The palette and style the platform gave the application, before any scheme was applied.
struct Platform {
    QPalette palette = QApplication::palette();
    QString style = QApplication::style() ? QApplication::style()->name() : QString();
};

const Platform& platform()
{
    static const Platform p;
    return p;
}

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

/// Fusion's colours turned dark, with enough contrast between text, base and window.
QPalette darkPalette()
{
    QPalette p;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(225, 225, 225);
    const QColor disabled(128, 128, 128);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(40, 40, 43));
    p.setColor(QPalette::ToolTipBase, QColor(60, 60, 64));
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(140, 140, 140));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(55, 55, 59));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, QColor(255, 90, 90));
    p.setColor(QPalette::Light, QColor(75, 75, 80));
    p.setColor(QPalette::Midlight, QColor(62, 62, 66));
    p.setColor(QPalette::Mid, QColor(90, 90, 95));
    p.setColor(QPalette::Dark, QColor(25, 25, 27));
    p.setColor(QPalette::Shadow, QColor(10, 10, 10));
    p.setColor(QPalette::Highlight, QColor(42, 110, 190));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(110, 170, 255));
    p.setColor(QPalette::LinkVisited, QColor(180, 140, 255));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, disabled);
    p.setColor(QPalette::Disabled, QPalette::Base, window);
    return p;
}

void useStyle(const QString& name)
{
    if (name.isEmpty() || !QApplication::style() ||
        QApplication::style()->name().compare(name, Qt::CaseInsensitive) == 0)
        return;
    if (QStyle* style = QStyleFactory::create(name))
        QApplication::setStyle(style);
}

}  // namespace

std::optional<bool> ColorScheme::portalPrefersDark()
{
#ifdef VERBANTA_HAVE_DBUS
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"),
        QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("Read"));
    call << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme");
    // A missing portal answers at once; a hung one must not hold up the start.
    const QDBusMessage reply = bus.call(call, QDBus::Block, 300);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    // The value comes wrapped in variants: 1 prefers dark, 2 prefers light, 0 says nothing.
    QVariant value = reply.arguments().front();
    while (value.userType() == qMetaTypeId<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    switch (value.toUInt()) {
        case 1: return true;
        case 2: return false;
        default: return std::nullopt;
    }
#else
    return std::nullopt;
#endif
}

bool ColorScheme::desktopPrefersDark()
{
    if (const std::optional<bool> portal = portalPrefersDark())
        return *portal;
    // GTK desktops name a dark variant in the theme ("Adwaita:dark").
    if (qEnvironmentVariable("GTK_THEME").endsWith(QStringLiteral(":dark"), Qt::CaseInsensitive))
        return true;
    return isDarkPalette(platform().palette);
}

bool ColorScheme::apply(std::int32_t option)
{
    const Platform& original = platform();
    const bool dark = option == AppSettings::kSchemeDark ||
                      (option != AppSettings::kSchemeLight && desktopPrefersDark());
    if (dark == isDarkPalette(original.palette)) {
        // The platform's own colours already are what is asked for.
        useStyle(original.style);
        QApplication::setPalette(original.palette);
    } else {
        // Fusion draws with the palette everywhere; some platform styles ignore it.
        useStyle(QStringLiteral("Fusion"));
        QApplication::setPalette(dark ? darkPalette() : QApplication::style()->standardPalette());
    }
    return dark;
}

bool ColorScheme::isDark()
{
    return isDarkPalette(QApplication::palette());
}

}  // namespace verbanta::app
