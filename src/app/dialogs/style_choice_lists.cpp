#include "dialogs/style_choice_lists.h"

#include <QComboBox>
#include <QFontDatabase>

namespace verbanta::app {

void StyleChoiceLists::fill(QComboBox& list, std::span<const StyleChoice> choices)
{
    for (const StyleChoice& choice : choices)
        list.addItem(QString::fromUtf8(choice.label), QString::fromLatin1(choice.value));
}

int StyleChoiceLists::indexOf(std::span<const StyleChoice> choices, std::string_view value)
{
    const QString wanted = QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (wanted.compare(QString::fromLatin1(choices[i].value), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

QString StyleChoiceLists::selectedValue(const QComboBox& list)
{
    return list.currentIndex() < 0 ? QString() : list.currentData().toString();
}

void StyleChoiceLists::fillFontFamilies(QComboBox& list, const QString& wanted, bool allowEmpty)
{
    const QStringList families = QFontDatabase::families();
    list.addItems(families);
    if (wanted.isEmpty()) {
        if (allowEmpty)
            list.insertItem(0, QString());
        list.setCurrentIndex(list.count() > 0 ? 0 : -1);
        return;
    }
    for (int i = 0; i < families.size(); ++i) {
        if (families[i].compare(wanted, Qt::CaseInsensitive) == 0) {
            list.setCurrentIndex(i);
            return;
        }
    }
    list.insertItem(0, wanted);
    list.setCurrentIndex(0);
}

}  // namespace verbanta::app
