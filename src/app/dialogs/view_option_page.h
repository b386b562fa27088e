#pragma once

#include "dialogs/base_option_page.h"

class QComboBox;

namespace verbanta::app {

/// The options sheet's page "자막 보기": how the list shows captions, and the video's steps,
/// repeat interval, banner and list following, and the window's colour scheme.
class CViewOptionDlg : public BaseOptionPage {
    Q_OBJECT
public:
    CViewOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("자막 보기"); }
    void store(AppSettings& settings) const override;
    /// The window's colour scheme, in `AppSettings::ColorScheme`'s order.
    QComboBox& schemeField() const { return *m_scheme; }

private:
    QComboBox* m_scheme = nullptr;
};

}  // namespace verbanta::app
