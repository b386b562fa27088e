#pragma once

#include <QString>

#include <memory>

#include "qt_messenger.h"
#include "settings/app_settings.h"

namespace verbanta::app {

class CMainFrame;
class QSettingsStore;

/// The application object: owns the options record for the whole run, writes the embedded
/// browser's display settings, loads and saves the options, and creates the main window.
class Application {
public:
    /// Settings in the user's store, or in an INI file when a path is given (tests).
    explicit Application(const QString& iniPath = QString());
    ~Application();

    /// Start-up: browser settings, options, the main window and its placement. False when the
    /// settings cannot be written, which ends the program without a message.
    bool start();
    /// Exit: the options are written back.
    void finish();

    AppSettings& settings() { return m_settings; }
    QtMessenger& messenger() { return m_messenger; }
    QSettingsStore& store() { return *m_store; }
    CMainFrame* frame() const { return m_frame.get(); }

    /// The "WebBrowser Settings" values the HTML views read their display options from.
    static bool writeBrowserSettings(QSettingsStore& store);

private:
    std::unique_ptr<QSettingsStore> m_store;
    AppSettings m_settings;
    QtMessenger m_messenger;
    std::unique_ptr<struct AppContext> m_context;
    std::unique_ptr<CMainFrame> m_frame;
};

}  // namespace verbanta::app
