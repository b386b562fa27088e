#include <QFile>
#include <QSettings>
#include <QSplitter>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

#include "application.h"
#include "main_frame.h"
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

    void placementAndPlayerWidthComeBackThroughTheSettingsFile()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("placement.ini"));
        const auto run = [&](const std::function<void(verbanta::app::CMainFrame&)>& body) {
            verbanta::app::Application app(ini);
            QVERIFY(app.start());
            app.frame()->restorePlacementAndShow();
            QVERIFY(QTest::qWaitForWindowExposed(app.frame()));
            body(*app.frame());
            QVERIFY(app.frame()->close());
            app.finish();
        };
        run([](verbanta::app::CMainFrame& frame) {
            QCOMPARE(frame.splitter().sizes()[0], 350);  // first start
            frame.setGeometry(30, 40, 790, 560);         // within the offscreen screen
            QApplication::processEvents();               // the new size reaches the splitter
            QSplitter& splitter = frame.splitter();
            splitter.setSizes({380, splitter.width() - splitter.handleWidth() - 380});
            QCOMPARE(splitter.sizes()[0], 380);
        });
        run([](verbanta::app::CMainFrame& frame) {
            QCOMPARE(frame.size(), QSize(790, 560));
            QCOMPARE(frame.splitter().sizes()[0], 380);
            QVERIFY(!frame.isMaximized());
            frame.showMaximized();
            QTRY_VERIFY(frame.isMaximized());
        });
        QSettings raw(ini, QSettings::IniFormat);
        const auto stored = WindowPlacement::parse(
            raw.value(QStringLiteral("Settings/WindowPos")).toString().toStdString());
        QVERIFY(stored.has_value());
        QCOMPARE(stored->flags, WindowPlacement::kRestoreToMaximized);
        QCOMPARE(stored->normal.size(), QSize(790, 560));
        run([](verbanta::app::CMainFrame& frame) { QVERIFY(frame.isMaximized()); });
    }

    void anUnquotedPlacementInTheFileStillReads()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("hand.ini"));
        {
            QFile file(ini);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Settings]\nWindowPos=0,1,-1,-1,-1,-1,10,20,810,620\n");
        }
        QSettingsStore store(ini);
        const auto placement =
            WindowPlacement::parse(verbanta::WindowSettings::readWindowPos(store));
        QVERIFY(placement.has_value());
        QCOMPARE(placement->normal, QRect(10, 20, 800, 600));
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
        QCOMPARE(
            raw.value(QStringLiteral("WebBrowser Settings/Settings/Background Color")).toString(),
            QStringLiteral("0,0,0"));
        QCOMPARE(raw.value(QStringLiteral("WebBrowser Settings/Settings/Text Color")).toString(),
                 QStringLiteral("255,255,255"));
        QCOMPARE(raw.value(QStringLiteral("WebBrowser Settings/International/AutoDetect")).toInt(),
                 1);
        QCOMPARE(raw.value(QStringLiteral("Options/MovieMoveTime")).toInt(), 7000);
        // Every option is written, changed or not.
        raw.beginGroup(QStringLiteral("Options"));
        QCOMPARE(raw.childKeys().size(), AppSettings::kValueCount);
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "settings_store_test.moc"
