#pragma once

#include <QString>

#include "dialogs/base_option_page.h"

class QComboBox;

namespace verbanta::app {

class CColourPicker;

/// The options sheet's page "일괄 포맷 조정": the style values that the batch format
/// conversion writes into every file. The lists show Korean labels and store English values;
/// a choice is stored in the page at once.
class CGroupOptionDlg : public BaseOptionPage {
    Q_OBJECT
public:
    CGroupOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("일괄 포맷 조정"); }
    void store(AppSettings& settings) const override;

    CColourPicker& colourPicker() const { return *m_colourPicker; }
    QComboBox& weightList() const { return *m_weightList; }
    QComboBox& alignList() const { return *m_alignList; }
    QComboBox& fontList(int which) const { return which == 1 ? *m_font1List : *m_font2List; }

private:
    void buildFontGroup(QWidget* group);

    CColourPicker* m_colourPicker = nullptr;
    QComboBox* m_weightList = nullptr;
    QComboBox* m_alignList = nullptr;
    QComboBox* m_font1List = nullptr;
    QComboBox* m_font2List = nullptr;
    // The page's own copies of the string options, changed by the user's choices only.
    QString m_colour;
    QString m_weight;
    QString m_align;
    QString m_font1;
    QString m_font2;
};

}  // namespace verbanta::app
