#include "dialogs/colour_picker.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "dialogs/colour_picker_palette.h"

namespace verbanta::app {
namespace {

constexpr QSize kButtonSwatch(36, 14);
constexpr QSize kPaletteSwatch(16, 16);

QColor colourOf(std::uint32_t rgb)
{
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

std::uint32_t rgbOf(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.rgb() & 0xFFFFFF);
}

QIcon swatch(const QColor& colour, QSize size)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    QPainter painter(&pixmap);
    painter.setPen(QColor(Qt::darkGray));
    painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
    return QIcon(pixmap);
}

/// The palette's name of a colour, or its "#RRGGBB" text.
QString nameOf(const QColor& colour)
{
    const int index = paletteIndexOf(rgbOf(colour));
    return index >= 0 ? QString::fromLatin1(kColourPalette[static_cast<std::size_t>(index)].name)
                      : QString::fromStdString(formatColourText(rgbOf(colour)));
}

}  // namespace

CColourPicker::CColourPicker(QColor defaultColour, QWidget* parent)
    : QToolButton(parent), m_default(defaultColour), m_colour(defaultColour)
{
    setIconSize(kButtonSwatch);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumWidth(kButtonSwatch.width() + 24);
    connect(this, &QToolButton::clicked, this, [this] { showPalette(); });
    updateLook();
}

void CColourPicker::setColour(const QColor& colour)
{
    m_colour = colour.isValid() ? colour : m_default;
    updateLook();
}

bool CColourPicker::setColourText(std::string_view text)
{
    const std::optional<std::uint32_t> rgb = parseColourText(text);
    setColour(rgb ? colourOf(*rgb) : m_default);
    return rgb.has_value();
}

QString CColourPicker::colourText() const
{
    return QString::fromStdString(formatColourText(rgbOf(m_colour)));
}

void CColourPicker::updateLook()
{
    setIcon(swatch(m_colour, kButtonSwatch));
    setToolTip(nameOf(m_colour));
}

ColourPalettePopup* CColourPicker::showPalette()
{
    auto* popup = new ColourPalettePopup(m_colour, m_default, this);
    connect(popup, &ColourPalettePopup::picked, this, &CColourPicker::pick);
    // The chooser opens once the popup has gone, so that it is not a child of a closed popup.
    connect(popup, &ColourPalettePopup::customRequested, this,
            [this] { QTimer::singleShot(0, this, &CColourPicker::chooseCustom); });
    popup->adjustSize();
    QPoint at = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(
            std::clamp(at.x(), area.left(), std::max(area.left(), area.right() - popup->width())));
        if (at.y() + popup->height() > area.bottom())
            at.setY(mapToGlobal(QPoint(0, 0)).y() - popup->height());
    }
    popup->move(at);
    popup->show();
    return popup;
}

void CColourPicker::chooseCustom()
{
    QColorDialog dialog(m_colour, this);
    dialog.setWindowTitle(QStringLiteral("사용자 지정"));
    if (dialog.exec() == QDialog::Accepted && dialog.selectedColor().isValid())
        pick(dialog.selectedColor());
}

void CColourPicker::pick(const QColor& colour)
{
    setColour(colour);
    emit colourPicked(m_colour);
}

ColourPalettePopup::ColourPalettePopup(const QColor& current, const QColor& defaultColour,
                                       QWidget* parent)
    : QFrame(parent, Qt::Popup)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);

    auto* defaultButton = new QPushButton(QString::fromUtf8(CColourPicker::kDefaultText), this);
    defaultButton->setIcon(swatch(defaultColour, kPaletteSwatch));
    connect(defaultButton, &QPushButton::clicked, this, [this, defaultColour] {
        close();
        emit picked(defaultColour);
    });
    layout->addWidget(defaultButton);

    auto* grid = new QGridLayout;
    grid->setSpacing(1);
    for (std::size_t i = 0; i < kColourPalette.size(); ++i) {
        const QColor colour = colourOf(kColourPalette[i].rgb);
        auto* button = new QToolButton(this);
        button->setIcon(swatch(colour, kPaletteSwatch));
        button->setIconSize(kPaletteSwatch);
        button->setToolTip(QString::fromLatin1(kColourPalette[i].name));
        button->setAutoRaise(true);
        button->setCheckable(true);
        button->setChecked(rgbOf(colour) == rgbOf(current));
        connect(button, &QToolButton::clicked, this, [this, colour] {
            close();
            emit picked(colour);
        });
        grid->addWidget(button, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
        m_buttons << button;
    }
    layout->addLayout(grid);

    auto* customButton = new QPushButton(QString::fromUtf8(CColourPicker::kCustomText), this);
    connect(customButton, &QPushButton::clicked, this, [this] {
        close();
        emit customRequested();
    });
    layout->addWidget(customButton);
}

}  // namespace verbanta::app
