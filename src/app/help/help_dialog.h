#pragma once

#include <QDialog>

class QTextBrowser;

namespace verbanta::app {

/// The bundled help document in a browser window inside the program. Its key table is made
/// from the command table, so it always shows the keys the program really has.
class HelpDialog : public QDialog {
    Q_OBJECT
public:
    explicit HelpDialog(QWidget* parent = nullptr);

    /// The help document's HTML, key table included.
    static QString helpHtml();
    /// The key table: one row per command that has accelerator keys.
    static QString keyTableHtml();

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

}  // namespace verbanta::app
