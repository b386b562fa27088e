#pragma once

#include "dialogs/base_option_page.h"

namespace verbanta::app {

/// The options sheet's page "자막 검사": whether the caption list marks the captions that break
/// a rule, and the limits they are checked against.
class CheckOptionPage : public BaseOptionPage {
    Q_OBJECT
public:
    CheckOptionPage(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("자막 검사"); }
};

}  // namespace verbanta::app
