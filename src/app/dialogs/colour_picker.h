#pragma once

#include <QColor>
#include <QFrame>
#include <QToolButton>

#include <string_view>

namespace verbanta::app {

class ColourPalettePopup;

/// A button that shows its colour and, when pressed, opens the 40-colour named palette with
/// "기본 설정" (the picker's default colour) and "사용자 지정..." (the colour chooser).
/// Texts are read as palette names or "#RRGGBB" and written as "#%02X%02X%02X".
class CColourPicker : public QToolButton {
    Q_OBJECT
public:
    static constexpr const char* kDefaultText = "기본 설정";
    static constexpr const char* kCustomText = "사용자 지정...";

    explicit CColourPicker(QColor defaultColour, QWidget* parent = nullptr);

    QColor colour() const { return m_colour; }
    QColor defaultColour() const { return m_default; }
    void setColour(const QColor& colour);
    /// Shows the colour a text names; a text that names none shows the default colour and
    /// gives false.
    bool setColourText(std::string_view text);
    /// The colour as "#%02X%02X%02X".
    QString colourText() const;

    /// Opens the palette below the button; the open popup.
    ColourPalettePopup* showPalette();
    /// Opens the colour chooser on the current colour; picks what it returns.
    void chooseCustom();

signals:
    /// The user picked a colour (from the palette, the default button or the chooser).
    void colourPicked(const QColor& colour);

private:
    void pick(const QColor& colour);
    void updateLook();

    QColor m_default;
    QColor m_colour;
};

/// The palette popup of `CColourPicker`: the default button, 8 × 5 named colours with their
/// names as tooltips, and the button that opens the colour chooser.
class ColourPalettePopup : public QFrame {
    Q_OBJECT
public:
    static constexpr int kColumns = 8;

    ColourPalettePopup(const QColor& current, const QColor& defaultColour, QWidget* parent);

    /// The colour buttons, in palette order.
    QList<QToolButton*> colourButtons() const { return m_buttons; }

signals:
    void picked(const QColor& colour);
    void customRequested();

private:
    QList<QToolButton*> m_buttons;
};

}  // namespace verbanta::app
