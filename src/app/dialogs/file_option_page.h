#pragma once

#include "dialogs/base_option_page.h"

class QLineEdit;
class QPushButton;

namespace verbanta::app {

/// The options sheet's page "파일": the external editor, the file watch, text import, backups
/// and the interval of recovery copies.
class CFileOptionDlg : public BaseOptionPage {
    Q_OBJECT
public:
    CFileOptionDlg(const AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QString title() const override { return QStringLiteral("파일"); }
    void store(AppSettings& settings) const override;

    QLineEdit& editorField() const { return *m_editor; }
    QPushButton& browseButton() const { return *m_browse; }

    /// The editor field's text for a chosen program: its path, quoted when it holds white
    /// space so that the command line keeps it whole, followed by " %f".
    static QString editorCommandFor(const QString& program);

private:
    void browse();

    QLineEdit* m_editor;
    QPushButton* m_browse;
};

}  // namespace verbanta::app
