#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace verbanta::app {

/// Picks the window's fonts: the Korean families the program was designed with where they are
/// installed, otherwise an installed family that has Hangul, so no text shows as boxes.
class KoreanFonts {
public:
    /// The proportional font of dialogs and lists ("굴림" 9 pt by design).
    static QFont dialogFont();
    /// The fixed-pitch font of the caption text and time fields ("굴림체" 11 pt by design).
    static QFont fieldFont();
    /// Makes the application's default font one that shows Hangul.
    static void applyApplicationFont();

    /// The first of the wanted families that is installed and has Hangul; else any installed
    /// family with Hangul (fixed-pitch ones first when asked); empty when there is none.
    static QString pickFamily(const QStringList& wanted, bool fixedPitch);
    /// Whether an installed family can show Korean text.
    static bool hasHangul(const QString& family);
};

}  // namespace verbanta::app
