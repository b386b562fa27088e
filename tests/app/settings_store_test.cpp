#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "application.h"
#include "qsettings_store.h"
#include "settings/app_settings.h"
#include "window_placement.h"

using verbanta::AppSettings;
using verbanta::app::QSettingsStore;
using verbanta::app::WindowPlacement;

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void optionsGoToTheOptionsGroupAndComeBack()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("v.ini"));
        AppSettings changed;
        changed.SyncIncrease = 250;
        changed.NewSync = "[새 자막] 둘";
        changed.DisplayAsTime = true;
        changed.FontColor = "#FF8000";
        {
            QSettingsStore store(ini);
            changed.Save(store);
        }
        QSettings raw(ini, QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Options/SyncIncrease")).toInt(), 250);
        QCOMPARE(raw.value(QStringLiteral("Options/DisplayAsTime")).toInt(), 1);
        QCOMPARE(raw.value(QStringLiteral("Options/NewSync")).toString(),
                 QStringLiteral("[새 자막] 둘"));

        QSettingsStore store(ini);
        AppSettings loaded;
        loaded.Load(store);
        QVERIFY(loaded == changed);
    }

    void anEmptyStoreGivesEveryDefault()
    {
        QTemporaryDir dir;
        QSettingsStore store(dir.filePath(QStringLiteral("empty.ini")));
        AppSettings loaded;
        loaded.SyncIncrease = 1;
        loaded.Load(store);
        QVERIFY(loaded == AppSettings());
    }

    void aValueThatIsNotANumberReadsAsMissing()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("bad.ini"));
        {
            QSettings raw(ini, QSettings::IniFormat);
            raw.setValue(QStringLiteral("Options/SyncIncrease"), QStringLiteral("lots"));
        }
        QSettingsStore store(ini);
        QVERIFY(!store.readInt("Options", "SyncIncrease").has_value());
        AppSettings loaded;
        loaded.Load(store);
        QCOMPARE(loaded.SyncIncrease, 100);
    }

    void windowStateGoesToTheSettingsGroup()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("w.ini"));
        WindowPlacement placement;
        placement.flags = WindowPlacement::kRestoreToMaximized;
        placement.showState = WindowPlacement::kShowMaximized;
        placement.normal = QRect(10, 20, 800, 600);
        {
            QSettingsStore store(ini);
            verbanta::WindowSettings::writeWindowPos(store, placement.format());
            verbanta::WindowSettings::writePlayerWidth(store, 412);
        }
        QSettings raw(ini, QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Settings/WindowPos")).toString(),
                 QStringLiteral("2,3,-1,-1,-1,-1,10,20,810,620"));
        QCOMPARE(raw.value(QStringLiteral("Settings/PlayerWidth")).toInt(), 412);
        QSettingsStore store(ini);
        QCOMPARE(WindowPlacement::parse(verbanta::WindowSettings::readWindowPos(store)),
                 std::optional<WindowPlacement>(placement));
    }

    void placementTextMustBeTenNumbers()
    {
        QVERIFY(WindowPlacement::parse("0,1,-1,-1,-1,-1,0,0,800,600").has_value());
        QVERIFY(!WindowPlacement::parse("").has_value());
        QVERIFY(!WindowPlacement::parse("0,1,-1,-1,-1,-1,0,0,800").has_value());
        QVERIFY(!WindowPlacement::parse("0,1,-1,-1,-1,-1,0,0,800,600,7").has_value());
        QVERIFY(!WindowPlacement::parse("0,1,-1,-1,-1,-1,0,0,800,x").has_value());
        QVERIFY(!WindowPlacement::parse("-1,1,-1,-1,-1,-1,0,0,800,600").has_value());
        QVERIFY(!WindowPlacement::parse("0,1,,-1,-1,-1,0,0,800,600").has_value());
    }

    void startUpWritesTheBrowserSettingsAndExitSavesTheOptions()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("app.ini"));
        {
            verbanta::app::Application app(ini);
            QVERIFY(app.start());
            app.settings().MovieMoveTime = 7000;
            app.finish();
        }
        QSettings raw(ini, QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("WebBrowser Settings/Main/Use_DlgBox_Colors")).toString(),
                 QStringLiteral("no"));
        QCOMPARE(raw.value(QStringLiteral("WebBrowser Settings/Settings/Background Color"))
                     .toString(),
                 QStringLiteral("0,0,0"));
        QCOMPARE(raw.value(QStringLiteral("WebBrowser Settings/Settings/Text Color")).toString(),
                 QStringLiteral("255,255,255"));
        QCOMPARE(raw.value(QStringLiteral("WebBrowser Settings/International/AutoDetect")).toInt(),
                 1);
        QCOMPARE(raw.value(QStringLiteral("Options/MovieMoveTime")).toInt(), 7000);
        // All 36 options are written, changed or not.
        raw.beginGroup(QStringLiteral("Options"));
        QCOMPARE(raw.childKeys().size(), AppSettings::kValueCount);
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
