#pragma once

#include "dialogs/base_option_page.h"

namespace verbanta::app {

/// The options sheet's page "자막 보기": how the list shows captions, and the video's steps,
/// repeat interval, banner and list following.
class CViewOptionDlg : public BaseOptionPage {
    Q_OBJECT
public:
    CViewOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("자막 보기"); }
};

}  // namespace verbanta::app
