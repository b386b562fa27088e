#pragma once

#include <QDialog>

#include <vector>

class QComboBox;

namespace verbanta::app {

/// "다국어 자막 동기화": the reference language whose times the current language takes.
class LanguageSyncDialog : public QDialog {
    Q_OBJECT
public:
    /// `names` are the display names of the languages at `indices`, in that order.
    LanguageSyncDialog(const QStringList& names, std::vector<int> indices,
                       QWidget* parent = nullptr);

    /// The language index chosen as the reference, or -1.
    int referenceIndex() const;
    QComboBox& choices() const { return *m_choices; }

private:
    std::vector<int> m_indices;
    QComboBox* m_choices;
};

}  // namespace verbanta::app
