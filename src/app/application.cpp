#include "application.h"

#include "app_context.h"
#include "main_frame.h"
#include "color_scheme.h"
#include "qsettings_store.h"

namespace verbanta::app {

Application::Application(const QString& iniPath)
    : m_store(iniPath.isEmpty() ? std::make_unique<QSettingsStore>()
                                : std::make_unique<QSettingsStore>(iniPath))
{
}

Application::~Application() = default;

bool Application::writeBrowserSettings(QSettingsStore& store)
{
    constexpr const char* kKey = "WebBrowser Settings";
    const std::string main = std::string(kKey) + "/Main";
    const std::string settings = std::string(kKey) + "/Settings";
    const std::string international = std::string(kKey) + "/International";
    store.writeString(main, "Use_DlgBox_Colors", "no");
    store.writeString(settings, "Background Color", "0,0,0");
    store.writeString(settings, "Text Color", "255,255,255");
    store.writeInt(international, "AutoDetect", 1);
    store.sync();
    return store.writable();
}

bool Application::start()
{
    if (!writeBrowserSettings(*m_store))
        return false;
    m_settings.Load(*m_store);
    ColorScheme::apply(m_settings.ColorScheme);
    m_context = std::make_unique<AppContext>(AppContext{m_settings, *m_store, m_messenger});
    m_frame = std::make_unique<CMainFrame>(*m_context);
    m_messenger.setParent(m_frame.get());
    return true;
}

void Application::finish()
{
    m_frame.reset();
    m_settings.Save(*m_store);
    m_store->sync();
}

}  // namespace verbanta::app
