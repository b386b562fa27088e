#include <QAbstractButton>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include <cmath>
#include <filesystem>

#include "caption_table_model.h"
#include "caption_text_edit.h"
#include "color_scheme.h"
#include "dialog_test_support.h"
#include "dialogs/option_sheet.h"
#include "dialogs/view_option_page.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "document_host.h"
#include "edit_panel.h"
#include "frame_fixture.h"
#include "help/help_dialog.h"
#include "korean_fonts.h"
#include "main_frame.h"
#include "player/player_view.h"
#include "qt_messenger.h"
#include "sami/sami_file.h"
#include "test_context.h"
#include "time_field_widget.h"
#include "window_placement.h"

using verbanta::AppSettings;
using verbanta::MemoryKeyValueStore;
using verbanta::app::CMainFrame;
using verbanta::app::WindowPlacement;
namespace cmd = verbanta::app::cmd;

class MainFrameTest : public QObject {
    Q_OBJECT

    /// The program itself run with "--screenshot SHOT FILE", offscreen, with settings and
    /// data folders of its own; true when it ended.
    static bool screenshotRun(QProcess& run, verbanta::test::FrameFixture& f, const QString& shot,
                              const QString& file)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), f.dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), f.dir.filePath(QStringLiteral("data")));
        run.setProcessEnvironment(env);
        run.start(QStringLiteral(VERBANTA_APP_PATH), {QStringLiteral("--screenshot"), shot, file});
        return run.waitForFinished(60000);
    }

private slots:
    void theColourSchemeFollowsTheOptionAndEveryRowStaysReadable()
    {
        using verbanta::app::ColorScheme;
        // Whatever fails below, the tests after this one get the platform's colours back.
        const QByteArray gtk = qgetenv("GTK_THEME");
        const auto restore = qScopeGuard([gtk] {
            gtk.isNull() ? qunsetenv("GTK_THEME") : qputenv("GTK_THEME", gtk);
            ColorScheme::apply(AppSettings::kSchemeDesktop);
        });
        verbanta::test::FrameFixture f;
        f.t.settings.DisplayErrorSync = true;
        // Rows of every look: range marks, a comment, a timing error, a bookmark and the
        // replay mark.
        QVERIFY(f.open(f.write(QStringLiteral("looks.smi"),
            "<SAMI>\r\n<HEAD>\r\n<STYLE TYPE=\"text/css\">\r\n<!--\r\n"
            ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\r\n-->\r\n</STYLE>\r\n</HEAD>\r\n"
            "<BODY>\r\n"
            "<SYNC Start=1000><P Class=KRCC>\r\n범위 시작\r\n"
            "<!--\r\n코멘트\r\n-->\r\n"
            "<SYNC Start=3000><P Class=KRCC>\r\n북마크\r\n"
            "<SYNC Start=2000><P Class=KRCC>\r\n시간 오류\r\n"
            "<SYNC Start=5000><P Class=KRCC>\r\n리플레이\r\n"
            "<SYNC Start=6000><P Class=KRCC>\r\n보통 자막\r\n"
            "<SYNC Start=7000><P Class=KRCC>\r\n범위 끝\r\n</BODY>\r\n</SAMI>\r\n")));
        f.showAndFocusList();
        f.editor().session().selectRow(2);
        QVERIFY(f.frame->commands().run(cmd::ListBookmark));
        f.editor().session().selectRow(4);
        QVERIFY(f.frame->commands().run(cmd::SyncReplay));
        f.editor().session().selectRow(5);

        // The contrast of two colours as the web's guidelines measure it (1 to 21).
        const auto luminance = [](const QColor& c) {
            const auto channel = [](double v) {
                return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
            };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
                   0.0722 * channel(c.blueF());
        };
        const auto contrast = [&](const QColor& a, const QColor& b) {
            const double la = luminance(a), lb = luminance(b);
            return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
        };
        const auto readable = [&](const char* scheme) {
            const QPalette palette = f.list().palette();
            for (int row = 0; row < f.rows().rowCount(); ++row) {
                const QModelIndex index = f.rows().index(row, 1);
                const QVariant fore = f.rows().data(index, Qt::ForegroundRole);
                const QVariant back = f.rows().data(index, Qt::BackgroundRole);
                const QColor text = fore.isValid() ? fore.value<QColor>() : palette.text().color();
                const QColor base = back.isValid() ? back.value<QColor>() : palette.base().color();
                QVERIFY2(contrast(text, base) >= 3.0,
                         qPrintable(QStringLiteral("%1: row %2, %3 on %4")
                                        .arg(QString::fromLatin1(scheme)).arg(row)
                                        .arg(text.name(), base.name())));
            }
            QVERIFY(contrast(palette.text().color(), palette.base().color()) >= 4.5);
            QVERIFY(contrast(palette.windowText().color(), palette.window().color()) >= 4.5);
        };
        QVERIFY(f.rows().data(f.rows().index(1, 1), Qt::ForegroundRole).isValid());

        // Forced dark, through the options sheet as a user sets it.
        QTimer::singleShot(0, [] {
            auto* sheet = qobject_cast<verbanta::app::COptionSheet*>(
                QApplication::activeModalWidget());
            QVERIFY(sheet);
            for (auto* page : sheet->findChildren<verbanta::app::CViewOptionDlg*>())
                page->schemeField().setCurrentIndex(AppSettings::kSchemeDark);
            sheet->accept();
        });
        QVERIFY(f.frame->commands().run(cmd::Options));
        QCOMPARE(f.t.settings.ColorScheme, AppSettings::kSchemeDark);
        QVERIFY(ColorScheme::isDark());
        QApplication::processEvents();
        QVERIFY2(f.list().palette().base().color().lightness() < 100,
                 qPrintable(f.list().palette().base().color().name() + QLatin1Char(' ') +
                            QApplication::palette().base().color().name() + QLatin1Char(' ') +
                            QApplication::palette(&f.list()).base().color().name()));
        readable("dark");
        // The player's drawn buttons take the new ink at once, not at the next start.
        const auto playInk = [&] {
            auto* play = f.frame->findChild<QAbstractButton*>(
                QStringLiteral("control%1").arg(int(cmd::Play)));
            return play ? play->icon().pixmap(16, 16).toImage().pixelColor(6, 8).lightness() : -1;
        };
        QVERIFY2(playInk() > 150, qPrintable(QString::number(playInk())));
        verbanta::test::shoot(*f.frame, "window_dark");
        // The setting is kept with the others.
        MemoryKeyValueStore store;
        f.t.settings.Save(store);
        AppSettings loaded;
        loaded.Load(store);
        QCOMPARE(loaded.ColorScheme, AppSettings::kSchemeDark);

        QVERIFY(!ColorScheme::apply(AppSettings::kSchemeLight));
        QVERIFY(!ColorScheme::isDark());
        QApplication::processEvents();  // the widgets take the palette from a posted event
        QVERIFY(f.list().palette().base().color().lightness() > 200);
        readable("light");
        QVERIFY2(playInk() >= 0 && playInk() < 100, qPrintable(QString::number(playInk())));
        verbanta::test::shoot(*f.frame, "window_light");

        // Following the desktop: a GTK theme's dark variant, unless a portal says otherwise.
        qputenv("GTK_THEME", "Adwaita:dark");
        const std::optional<bool> portal = ColorScheme::portalPrefersDark();
        QCOMPARE(ColorScheme::apply(AppSettings::kSchemeDesktop), portal.value_or(true));
        qputenv("GTK_THEME", "Adwaita");
        QCOMPARE(ColorScheme::apply(AppSettings::kSchemeDesktop),
                 ColorScheme::desktopPrefersDark());
    }

    void newWindowIsUntitled()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QCOMPARE(frame.windowTitle(), QStringLiteral("제목없음 - Verbanta"));
    }

    void hasTheEightMenusInOrder()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QStringList titles;
        for (QAction* a : frame.menuBar()->actions()) titles << a->text();
        QCOMPARE(titles, QStringList({"파일(&F)", "동영상(&M)", "편집(&E)", "보기(&V)", "자막(&C)",
                                      "다국어(&L)", "도구(&T)", "도움말(&H)"}));
    }

    void menuItemsShowTheirKeyTextEvenWhereTheBindingDiffers()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QCOMPARE(frame.commands().action(cmd::SyncReplay)->text(),
                 QStringLiteral("싱크 리플레이(&A)\tCtrl+F5"));
        QCOMPARE(frame.commands().action(cmd::GoPrevSync)->text(),
                 QStringLiteral("전 싱크로 이동(R)\tAlt+<"));
        QCOMPARE(frame.commands().action(cmd::FileSave)->text(),
                 QStringLiteral("저장(&S)\tCtrl+S"));
    }

    void toolbarHasTheButtonsInOrderWithTooltips()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        auto* toolBar = frame.findChild<QToolBar*>();
        QVERIFY(toolBar);
        QList<int> ids;
        for (QAction* a : toolBar->actions())
            ids << (a->isSeparator() ? 0 : a->property("commandId").toInt());
        QCOMPARE(ids, QList<int>({cmd::FileNew, cmd::FileOpen, cmd::OpenMedia, cmd::FileSave, 0,
                                  cmd::EditFind, cmd::ExternalEditor, cmd::FullScreen, 0,
                                  cmd::EditCut, cmd::EditCopy, cmd::EditPaste, 0, cmd::EditUndo,
                                  cmd::EditRedo, 0, cmd::HelpContents}));
        for (QAction* a : toolBar->actions())
            if (!a->isSeparator())
                QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
        QCOMPARE(frame.commands().action(cmd::OpenMedia)->toolTip(), QStringLiteral("동영상 열기"));
        QCOMPARE(frame.commands().action(cmd::AppAbout)->toolTip(), QStringLiteral("Pelorin란"));
    }

    void everyTextOfTheWindowHasAFontWithHangul()
    {
        // Whatever fonts the system has, Hangul never shows as boxes: the program's default,
        // the caption list and the fixed-pitch fields all draw "가" and "똠".
        verbanta::app::KoreanFonts::applyApplicationFont();
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        const QFont fonts[] = {QApplication::font(), frame.captionView().list().font(),
                               frame.captionView().panel().textField().font(),
                               frame.captionView().panel().startField().font(),
                               frame.menuBar()->font()};
        for (const QFont& font : fonts) {
            const QFontMetrics metrics(font);
            QVERIFY2(metrics.inFont(QChar(0xAC00)) && metrics.inFont(QChar(0xB620)),
                     qPrintable(font.family()));
        }
        // The text and time fields use a fixed-pitch family, as "굴림체" is: every Latin
        // character one cell, every Hangul syllable two.
        const QFontMetrics field(frame.captionView().panel().textField().font());
        const int cell = field.horizontalAdvance(QLatin1Char('0'));
        for (const char c : {'i', 'W', ':', '.', '-', ' '})
            QCOMPARE(field.horizontalAdvance(QLatin1Char(c)), cell);
        QVERIFY(std::abs(field.horizontalAdvance(QChar(0xAC00)) - 2 * cell) <= 1);  // rounding
    }

    void questionsAskWithTheProgramsKoreanButtons()
    {
        // The reload prompt and the save prompt: the box's buttons and what each answers.
        QApplication::setApplicationName(QStringLiteral("Verbanta"));
        verbanta::app::QtMessenger messenger;
        QStringList buttons;
        QString title;
        QString defaultButton;
        const auto answerWith = [&](const QString& text) {
            QTimer::singleShot(0, [&, text] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                title = box->windowTitle();
                defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
                buttons.clear();
                for (QAbstractButton* b : box->buttons()) buttons << b->text();
                for (QAbstractButton* b : box->buttons())
                    if (b->text() == text)
                        b->click();
            });
        };
        const std::string reload =
            "현재 열린 파일이 다른 프로그램에서 수정되었습니다.\n\n"
            "자막 파일을 다시 읽어들이겠습니까?";
        answerWith(QStringLiteral("예(&Y)"));
        QVERIFY(messenger.askYesNo(reload));
        QCOMPARE(title, QStringLiteral("Verbanta"));
        buttons.sort();
        QCOMPARE(buttons, QStringList({"아니오(&N)", "예(&Y)"}));
        QCOMPARE(defaultButton, QStringLiteral("예(&Y)"));
        answerWith(QStringLiteral("아니오(&N)"));
        QVERIFY(!messenger.askYesNo(reload));
        // A question whose Yes loses work: Enter answers No.
        answerWith(QStringLiteral("예(&Y)"));
        QVERIFY(messenger.askYesNoDefaultNo(reload));
        QCOMPARE(defaultButton, QStringLiteral("아니오(&N)"));

        answerWith(QStringLiteral("취소"));
        QCOMPARE(messenger.askYesNoCancel("변경 내용을 a.smi에 저장할까요?"),
                 verbanta::Answer::Cancel);
        QCOMPARE(buttons.size(), 3);
        answerWith(QStringLiteral("아니오(&N)"));
        QCOMPARE(messenger.askYesNoCancel("변경 내용을 a.smi에 저장할까요?"), verbanta::Answer::No);
    }

    void becomingActiveGivesTheKeysToTheCaptionViewsLastControl()
    {
        verbanta::test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QWidget other;
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!f.frame->isActiveWindow());
        // The caption view remembers the start field as the control it had last.
        f.editor().session().setFocusSlot(verbanta::FocusTarget::StartField);
        f.frame->activateWindow();
        QTRY_VERIFY(f.frame->isActiveWindow());
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(&f.view().panel().startField()));
    }

    void thePasteButtonFollowsTheClipboard()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QAction* paste = frame.commands().action(cmd::EditPaste);
        QApplication::clipboard()->clear();
        QTRY_VERIFY(!paste->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("<SYNC Start=1000><P Class=KRCC>\r\n가"));
        QTRY_VERIFY(paste->isEnabled());
    }

    void statusBarShowsThePromptOfTheHighlightedItemAndReadyOtherwise()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QCOMPARE(frame.statusText(), QStringLiteral("준비"));
        QAction* help = frame.commands().action(cmd::HelpContents);
        QStatusTipEvent tip(help->statusTip());
        QCoreApplication::sendEvent(&frame, &tip);
        QCOMPARE(frame.statusText(), QStringLiteral("도움말 문서를 표시합니다"));
        QStatusTipEvent none{QString()};
        QCoreApplication::sendEvent(&frame, &none);
        QCOMPARE(frame.statusText(), QStringLiteral("준비"));
    }

    void hoveringAMenuItemSendsItsPrompt()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QAction* about = frame.commands().action(cmd::AppAbout);
        QMenu* help = frame.menuBar()->actions().last()->menu();
        help->popup(frame.mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(help));
        help->setActiveAction(about);
        QCOMPARE(frame.statusText(), QStringLiteral("Pelorin~에 대한 정보를 표시합니다"));
        help->close();
    }

    void sizeLimitsKeepBothPanesUsable()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QCOMPARE(frame.minimumWidth(), 770);
        QCOMPARE(frame.minimumHeight(), 500);
        frame.show();
        frame.resize(100, 100);
        QVERIFY(frame.width() >= 770);
        QVERIFY(frame.height() >= 500);
        const QList<int> sizes = frame.splitter().sizes();
        QVERIFY(sizes[0] >= 350);
        QVERIFY(sizes[1] >= 390);
        // At most the screen enlarged by 10 pixels on each side and 50 above and below.
        QCOMPARE(frame.maximumSize(), frame.screen()->size() + QSize(20, 100));
    }

    void firstStartHasA350PixelPlayerPane()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.restorePlacementAndShow();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QCOMPARE(frame.splitter().sizes()[0], 350);
    }

    void placementAndPlayerWidthComeBackAtTheNextStart()
    {
        verbanta::test::TestContext t;
        {
            CMainFrame frame(t.context);
            frame.restorePlacementAndShow();
            frame.setGeometry(40, 60, 790, 560);
            frame.splitter().setSizes({380, 400});
            QVERIFY(frame.close());
        }
        const auto stored =
            WindowPlacement::parse(verbanta::WindowSettings::readWindowPos(t.store));
        QVERIFY(stored.has_value());
        QCOMPARE(stored->showState, WindowPlacement::kShowNormal);
        QCOMPARE(stored->normal.size(), QSize(790, 560));
        QCOMPARE(verbanta::WindowSettings::readPlayerWidth(t.store), 380);

        CMainFrame again(t.context);
        again.restorePlacementAndShow();
        QCOMPARE(again.size(), QSize(790, 560));
        QCOMPARE(again.splitter().sizes()[0], 380);
    }

    void aMalformedPlacementIsIgnored()
    {
        verbanta::test::TestContext t;
        verbanta::WindowSettings::writeWindowPos(t.store, "1,2,3");
        CMainFrame frame(t.context);
        const QSize before = frame.size();
        frame.restorePlacementAndShow();
        QCOMPARE(frame.size(), before);
    }

    void droppingSeveralFilesShowsTheMessageAndOpensNothing()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QSignalSpy open(&frame, &CMainFrame::openFileRequested);
        frame.handleDroppedFiles({"/tmp/a.smi", "/tmp/b.smi"});
        QCOMPARE(t.messenger.shown.size(), std::size_t(1));
        QCOMPARE(t.messenger.shown[0].text,
                 std::string("드래그 앤 드롭은 하나의 파일만 허용됩니다."));
        QCOMPARE(open.count(), 0);
    }

    void aDroppedFileOpensAsVideoOrSubtitleByItsExtension()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        QSignalSpy open(&frame, &CMainFrame::openFileRequested);
        QSignalSpy media(&frame, &CMainFrame::openMediaRequested);
        frame.handleDroppedFiles({"/tmp/MOVIE.AVI"});
        frame.handleDroppedFiles({"/tmp/song.wma"});
        frame.handleDroppedFiles({"/tmp/a.smi"});
        QCOMPARE(media.count(), 1);
        QCOMPARE(open.count(), 2);
        QCOMPARE(open[0][0].toString(), QStringLiteral("/tmp/song.wma"));
    }

    void fullScreenHidesTheListAndComesBack()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QRect before = frame.geometry();
        // F11 belongs to the list's bookmarks: full screen has a key of its own.
        frame.activateWindow();
        QTest::keyClick(&frame, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(frame.isFullScreenMode());
        QVERIFY(frame.commands().action(cmd::FullScreen)->isChecked());
        QVERIFY(frame.captionView().isHidden());
        QVERIFY(frame.menuBar()->isHidden());
        QApplication::processEvents();
        // The keys are the player's, never the hidden caption fields'; Esc there leaves.
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QWidget& player = frame.playerView();
        QVERIFY(focus == &player || player.isAncestorOf(focus));
        QTest::keyClick(focus, Qt::Key_Escape);
        QVERIFY(!frame.isFullScreenMode());
        QVERIFY(!frame.commands().action(cmd::FullScreen)->isChecked());
        QVERIFY(frame.captionView().isVisible());
        QVERIFY(frame.menuBar()->isVisible());
        QTRY_COMPARE(frame.geometry().size(), before.size());
    }

    void closingInFullScreenKeepsThePanesWidthAndWindowForTheNextStart()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.restorePlacementAndShow();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.setGeometry(20, 30, 790, 560);
        QApplication::processEvents();
        QSplitter& splitter = frame.splitter();
        splitter.setSizes({370, splitter.width() - splitter.handleWidth() - 370});
        QVERIFY(frame.commands().run(cmd::FullScreen));
        QApplication::processEvents();
        QVERIFY(frame.close());
        QCOMPARE(verbanta::WindowSettings::readPlayerWidth(t.store), 370);
        const auto stored =
            WindowPlacement::parse(verbanta::WindowSettings::readWindowPos(t.store));
        QVERIFY(stored.has_value());
        QCOMPARE(stored->normal.size(), QSize(790, 560));
    }

    void leavingFullScreenGivesThePlayerPaneItsWidthBack()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.restorePlacementAndShow();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        QSplitter& splitter = frame.splitter();
        splitter.setSizes({370, splitter.width() - splitter.handleWidth() - 370});
        QVERIFY(frame.commands().run(cmd::FullScreen));
        QApplication::processEvents();
        QVERIFY(frame.commands().run(cmd::FullScreen));
        QTRY_COMPARE(splitter.sizes().value(0), 370);
        QVERIFY(frame.captionView().isVisible());
    }

    void aFileThatFailsToLoadLeavesAnEmptyCleanUntitledWindow()
    {
        verbanta::test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        // Past the size limit: a sparse file, quick to make.
        const QString big = f.writeBytes(QStringLiteral("big.smi"), "<SAMI>");
        std::filesystem::resize_file(big.toStdString(), 2 * verbanta::kMaxSamiFileBytes + 3);
        QVERIFY(!f.open(big));
        QCOMPARE(f.t.messenger.shown.size(), std::size_t(1));
        const std::string expected =
            big.toStdString() + "\n파일의 크기가 너무 커서 편집이 불가능합니다.";
        QCOMPARE(f.t.messenger.shown[0].text, expected);
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("제목없음 - Verbanta"));
        QCOMPARE(f.rows().rowCount(), 0);
        QVERIFY(!f.frame->documentHost().isModified());
        QVERIFY(f.frame->documentHost().path().empty());
        QVERIFY(!f.frame->commands().isEnabled(cmd::FileSave));

        const QString missing = f.dir.filePath(QStringLiteral("missing.smi"));
        QVERIFY(!f.open(missing));
        QCOMPARE(f.t.messenger.shown.back().text,
                 missing.toStdString() +
                     "\n이 파일을 찾을 수 없음.\n경로와 파일 이름이 정확한지 확인하십시오.");
        QCOMPARE(f.frame->windowTitle(), QStringLiteral("제목없음 - Verbanta"));
    }

    void theSavePromptsAnswersDecideTheClose()
    {
        using verbanta::Answer;
        for (const Answer answer : {Answer::Cancel, Answer::No, Answer::Yes}) {
            verbanta::test::FrameFixture f;
            const QString path = f.write(QStringLiteral("two.smi"), verbanta::test::kTwoLanguages);
            QVERIFY(f.open(path));
            const QByteArray before = [&] {
                QFile file(path);
                file.open(QIODevice::ReadOnly);
                return file.readAll();
            }();
            f.editor().session().selectRow(0);
            QVERIFY(f.frame->commands().run(cmd::AddCaptionAfter));
            QCOMPARE(f.frame->windowTitle(), QStringLiteral("two.smi * - Verbanta"));
            f.frame->show();
            f.t.messenger.answers = {answer};

            const bool closed = f.frame->close();

            QCOMPARE(f.t.messenger.questions.size(), std::size_t(1));
            QCOMPARE(f.t.messenger.questions[0], std::string("변경 내용을 two.smi에 저장할까요?"));
            QCOMPARE(closed, answer != Answer::Cancel);
            // Only a save clears the mark; after No the window goes with the changes unsaved.
            QCOMPARE(f.frame->documentHost().isModified(), answer != Answer::Yes);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray after = file.readAll();
            QCOMPARE(after == before, answer != Answer::Yes);
            QCOMPARE(QFile::exists(f.dir.filePath(QStringLiteral("two.BAK"))),
                     answer == Answer::Yes);
            if (answer == Answer::Yes)
                QVERIFY(after.contains(
                    QByteArray::fromStdString(verbanta::test::cp949(f.t.settings.NewSync))));
        }
    }

    void theSavePromptNamesAnUntitledDocumentAndGuardsNewAndOpen()
    {
        verbanta::test::FrameFixture f;
        // A first caption typed into the empty document.
        f.view().panel().textField().setPlainText(QStringLiteral("첫 자막"));
        QVERIFY(f.frame->commands().run(cmd::PanelRegister));
        QVERIFY(f.frame->documentHost().isModified());
        f.t.messenger.answers = {verbanta::Answer::Cancel, verbanta::Answer::Cancel};
        QVERIFY(!f.frame->documentHost().newFile());
        QVERIFY(!f.openTwoLanguages());
        QCOMPARE(f.t.messenger.questions.size(), std::size_t(2));
        QCOMPARE(f.t.messenger.questions[0], std::string("변경 내용을 제목없음.smi에 저장할까요?"));
        QCOMPARE(f.rows().rowCount(), 1);
        QVERIFY(f.frame->documentHost().isModified());
    }

    void theRecentFileListKeepsFourNewestFirstAndDropsAFileThatIsGone()
    {
        verbanta::test::FrameFixture f;
        QStringList paths;
        for (int i = 0; i < 5; ++i) {
            paths << f.write(QStringLiteral("f%1.smi").arg(i), verbanta::test::kTwoLanguages);
            QVERIFY(f.open(paths.back()));
        }
        QVERIFY(f.open(paths[2]));  // opened again: moves up, not repeated
        QCOMPARE(f.frame->recentFiles().paths(),
                 QStringList({paths[2], paths[4], paths[3], paths[1]}));
        QMenu* recent = nullptr;
        for (QAction* a : f.frame->menuBar()->actions().first()->menu()->actions())
            if (a->menu() && a->text() == QStringLiteral("최근 파일"))
                recent = a->menu();
        QVERIFY(recent);
        QCOMPARE(recent->actions().size(), 4);
        QVERIFY(recent->actions()[0]->text().startsWith(QStringLiteral("&1 ")));
        QVERIFY(recent->actions()[0]->text().endsWith(QStringLiteral("f2.smi")));

        QVERIFY(QFile::remove(paths[4]));
        f.frame->openRecentFile(paths[4]);
        QCOMPARE(f.frame->recentFiles().paths(), QStringList({paths[2], paths[3], paths[1]}));
        QCOMPARE(recent->actions().size(), 3);

        f.frame->show();
        QVERIFY(f.frame->close());
        QCOMPARE(f.t.store.readString("Recent File List", "File1").value_or(""),
                 paths[2].toStdString());
        QCOMPARE(f.t.store.readString("Recent File List", "File4").value_or("-"), "");
    }

    void theHelpShowsTheBundledDocumentFromItsBeginning()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.show();
        // The help window stays open beside the main window; asking again shows the same one.
        QVERIFY(frame.commands().run(cmd::HelpContents));
        auto* shown = frame.findChild<verbanta::app::HelpDialog*>();
        QVERIFY(shown);
        QVERIFY(!shown->isModal());
        QVERIFY(frame.commands().run(cmd::HelpContents));
        QCOMPARE(frame.findChildren<verbanta::app::HelpDialog*>().size(), 1);
        verbanta::app::HelpDialog& help = *shown;
        QVERIFY(QTest::qWaitForWindowExposed(&help));
        const QString text = help.browser()->toPlainText();
        QVERIFY(text.startsWith(QStringLiteral("Verbanta 도움말")));
        QVERIFY(text.contains(QStringLiteral("편집 창")));
        QCOMPARE(help.browser()->verticalScrollBar()->value(), 0);
        // The key table is the program's: replay shows the key it is really bound to.
        QVERIFY(text.contains(QStringLiteral("Ctrl+F2")));
        QVERIFY(!text.contains(QStringLiteral("<!--KEYS-->")));
    }

    void screenshotRunWritesThePictureOfTheOpenedFile()
    {
        verbanta::test::FrameFixture f;
        const QString file = f.write(QStringLiteral("two.smi"), verbanta::test::kTwoLanguages);
        const QString shot = f.dir.filePath(QStringLiteral("shot.png"));
        QProcess run;
        QVERIFY(screenshotRun(run, f, shot, file));
        QCOMPARE(run.exitCode(), 0);

        QImage image(shot);
        QVERIFY(!image.isNull());
        QVERIFY(image.width() >= CMainFrame::kMinimumWidth);
        QVERIFY(image.height() >= CMainFrame::kMinimumHeight);
        // A window with menus, a list, Hangul and a video pane has many colours, and the
        // list's selected first row is painted in the highlight colour.
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
        QVERIFY2(colours.size() > 40, qPrintable(QString::number(colours.size())));
        CMainFrame frame(f.t.context);
        const QColor highlight = frame.palette().color(QPalette::Highlight);
        bool highlighted = false;
        for (int y = 0; y < image.height() && !highlighted; ++y)
            for (int x = image.width() / 2; x < image.width() && !highlighted; ++x)
                highlighted = QColor(image.pixel(x, y)) == highlight;
        QVERIFY(highlighted);
    }

    void theCommandLineOpensSamiAndImportsTheOtherFormatsByTheirNames()
    {
        verbanta::test::FrameFixture f;
        f.write(QStringLiteral("two.smi"), verbanta::test::kTwoLanguages);
        f.writeBytes(QStringLiteral("MOVIE.SRT"), "1\r\n00:00:01,000 --> 00:00:02,500\r\nHi\r\n");
        verbanta::app::DocumentHost& host = f.frame->documentHost();
        // Names relative to the working folder, as a shell passes them.
        struct Folder {
            QString was = QDir::currentPath();
            ~Folder() { QDir::setCurrent(was); }
        } folder;
        QVERIFY(QDir::setCurrent(f.dir.path()));

        QVERIFY(host.openFromCommandLine(QStringLiteral("two.smi")));
        // The document and the recent-file list keep the whole path.
        QCOMPARE(QString::fromStdString(host.path()), f.dir.filePath(QStringLiteral("two.smi")));
        QVERIFY(!host.isModified());

        QVERIFY(host.openFromCommandLine(QStringLiteral("MOVIE.SRT")));
        QCOMPARE(f.cell(0, 1), QStringLiteral("1000"));
        QCOMPARE(f.cell(0, 2), QStringLiteral("Hi"));
        QCOMPARE(f.cell(1, 1), QStringLiteral("2500"));
        QVERIFY(host.isModified());
        QVERIFY(host.path().empty());  // an import is saved under a name asked for
        QVERIFY(f.t.messenger.shown.empty());
    }

    void aBadFileOnTheCommandLineGetsTheMessagesOfTheOpenCommandAndTheWindowStillShows()
    {
        verbanta::test::FrameFixture f;
        f.writeBytes(QStringLiteral("picture.smi"),
                     std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("folder.smi")));
        const QString shot = f.dir.filePath(QStringLiteral("shot.png"));
        for (const QString name : {QStringLiteral("picture.smi"), QStringLiteral("missing.smi"),
                                   QStringLiteral("folder.smi")}) {
            // The open command's way: the dialog gives the whole path.
            f.t.messenger.shown.clear();
            f.open(f.dir.filePath(name));
            QStringList shown;
            for (const auto& message : f.t.messenger.shown)
                shown << QString::fromStdString(message.text)
                             .replace(QLatin1Char('\r'), ' ')
                             .replace(QLatin1Char('\n'), ' ');
            QVERIFY2(!shown.isEmpty(), qPrintable(name));

            // The program given the name relative to its working folder: a screenshot run
            // prints the messages instead of waiting for someone to close them.
            QFile::remove(shot);
            QProcess run;
            run.setWorkingDirectory(f.dir.path());
            QVERIFY(screenshotRun(run, f, shot, name));
            QCOMPARE(run.exitCode(), 0);
            QVERIFY(QFile::exists(shot));
            const QStringList printed =
                QString::fromUtf8(run.readAllStandardError()).split(QLatin1Char('\n'));
            for (const QString& line : shown)
                QVERIFY2(printed.contains(line), qPrintable(name + QStringLiteral(": ") + line));
        }
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
