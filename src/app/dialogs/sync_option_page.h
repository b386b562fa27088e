#pragma once

#include "dialogs/base_option_page.h"

class QLineEdit;

namespace verbanta::app {

/// The options sheet's page "싱크 조절": spinner step, capture correction, the text of a new
/// caption, the duration per letter and the capture and editing switches.
class CSyncOptionDlg : public BaseOptionPage {
    Q_OBJECT
public:
    CSyncOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("싱크 조절"); }
    void store(AppSettings& settings) const override;

    QLineEdit& newSyncField() const { return *m_newSync; }

private:
    QLineEdit* m_newSync;
};

}  // namespace verbanta::app
