#pragma once

#include <QDialog>

#include <vector>

class QTabWidget;

namespace verbanta {
struct AppSettings;
class Messenger;
}  // namespace verbanta

namespace verbanta::app {

class BaseOptionPage;
class CheckOptionPage;
class CFileOptionDlg;
class CGroupOptionDlg;
class CSyncOptionDlg;
class CViewOptionDlg;

/// The options sheet "Pelorin~ 옵션 설정": five pages filled from the options; OK copies every
/// page's fields back into them, Cancel changes nothing.
class COptionSheet : public QDialog {
    Q_OBJECT
public:
    COptionSheet(AppSettings& settings, Messenger& messenger, QWidget* parent = nullptr);

    QTabWidget& tabs() const { return *m_tabs; }
    CSyncOptionDlg& syncPage() const { return *m_sync; }
    CViewOptionDlg& viewPage() const { return *m_view; }
    CFileOptionDlg& filePage() const { return *m_file; }
    CGroupOptionDlg& groupPage() const { return *m_group; }
    CheckOptionPage& checkPage() const { return *m_check; }

public slots:
    /// Every number field is judged first: the first one refused shows its page and message
    /// and keeps the sheet open.
    void accept() override;

private:
    std::vector<BaseOptionPage*> pages() const;

    AppSettings& m_settings;
    QTabWidget* m_tabs;
    CSyncOptionDlg* m_sync;
    CViewOptionDlg* m_view;
    CFileOptionDlg* m_file;
    CGroupOptionDlg* m_group;
    CheckOptionPage* m_check;
};

}  // namespace verbanta::app
