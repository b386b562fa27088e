#include "korean_fonts.h"

#include <QApplication>
#include <QFontDatabase>

namespace verbanta::app {
namespace {

// Designed families first, then the free Korean families of Linux distributions.
const QStringList kProportional = {
    QStringLiteral("굴림"),           QStringLiteral("Gulim"),
    QStringLiteral("NanumGothic"),    QStringLiteral("NanumBarunGothic"),
    QStringLiteral("Noto Sans CJK KR"), QStringLiteral("Noto Sans KR"),
    QStringLiteral("UnDotum"),        QStringLiteral("Baekmuk Gulim"),
};
const QStringList kFixedPitch = {
    QStringLiteral("굴림체"),             QStringLiteral("GulimChe"),
    QStringLiteral("NanumGothicCoding"),  QStringLiteral("D2Coding"),
    QStringLiteral("Noto Sans Mono CJK KR"), QStringLiteral("UnDotum"),
    QStringLiteral("NanumGothic"),
};

QFont fontOf(const QString& family, int pointSize, bool fixedPitch)
{
    QFont font = family.isEmpty() ? QApplication::font() : QFont(family);
    font.setPointSize(pointSize);
    if (fixedPitch)
        font.setStyleHint(QFont::TypeWriter);
    return font;
}

}  // namespace

bool KoreanFonts::hasHangul(const QString& family)
{
    return QFontDatabase::families().contains(family) &&
           QFontDatabase::writingSystems(family).contains(QFontDatabase::Korean);
}

QString KoreanFonts::pickFamily(const QStringList& wanted, bool fixedPitch)
{
    for (const QString& family : wanted)
        if (hasHangul(family))
            return family;
    const QStringList korean = QFontDatabase::families(QFontDatabase::Korean);
    if (fixedPitch)
        for (const QString& family : korean)
            if (QFontDatabase::isFixedPitch(family))
                return family;
    return korean.isEmpty() ? QString() : korean.front();
}

QFont KoreanFonts::dialogFont()
{
    return fontOf(pickFamily(kProportional, false), 9, false);
}

QFont KoreanFonts::fieldFont()
{
    return fontOf(pickFamily(kFixedPitch, true), 11, true);
}

void KoreanFonts::applyApplicationFont()
{
    const QFont current = QApplication::font();
    if (hasHangul(current.family()))
        return;
    const QString family = pickFamily(kProportional, false);
    if (family.isEmpty())
        return;
    QFont font(family);
    font.setPointSizeF(current.pointSizeF() > 0 ? current.pointSizeF() : 9.0);
    QApplication::setFont(font);
}

}  // namespace verbanta::app
