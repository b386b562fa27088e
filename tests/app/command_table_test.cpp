#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QSet>
#include <QtTest>

#include "caption_text_edit.h"
#include "commands/accelerator_filter.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "commands/command_table.h"
#include "commands/menu_layout.h"
#include "edit_panel.h"
#include "frame_fixture.h"
#include "main_frame.h"
#include "test_context.h"
#include "time_field_widget.h"

using namespace verbanta::app;

namespace {

// The accelerator table, key by key.
const std::pair<const char*, int> kAcceleratorTable[] = {
    {"Alt+,", 32788},
    {"Alt+.", 32789},
    {"Alt+/", 32790},
    {"Ctrl+1", 32779},
    {"Ctrl+2", 32778},
    {"Ctrl+3", 32829},
    {"Ctrl+4", 32828},
    {"Ctrl+A", 32827},
    {"Ctrl+C", 57634},
    {"Ctrl+Shift+C", 32781},
    {"Ctrl+D", 32782},
    {"Ctrl+E", 32801},
    {"Ctrl+F", 57636},
    {"Ctrl+G", 2005},
    {"Ctrl+H", 37872},
    {"Ctrl+I", 30001},
    {"Alt+I", 2012},
    {"F3", 2012},
    {"Ctrl+J", 37873},
    {"Ctrl+K", 37874},
    {"Ctrl+L", 37875},
    {"Alt+L", 32796},
    {"Ctrl+M", 37878},
    {"Ctrl+W", 32802},
    {"Alt+W", 32800},
    {"Ctrl+X", 57635},
    {"Ctrl+Shift+X", 32780},
    {"Ctrl+Y", 57644},
    {"Alt+Y", 32798},
    {"Ctrl+N", 57600},
    {"Alt+N", 32797},
    {"Ctrl+O", 57601},
    {"Alt+O", 2013},
    {"F4", 2013},
    {"Alt+P", 2014},
    {"Alt+Q", 32799},
    {"Ctrl+R", 57641},
    {"Ctrl+S", 57603},
    {"Ctrl+T", 37880},
    {"Ctrl+U", 37877},
    {"Alt+U", 32795},
    {"F2", 32795},
    {"Ctrl+V", 57637},
    {"Alt+Backspace", 57643},
    {"Ctrl+Z", 57643},
    {"Ctrl+Del", 37876},
    {"Alt+Down", 32792},
    {"Alt+K", 32792},
    {"F9", 32792},
    {"Alt+Up", 32791},
    {"Alt+J", 32791},
    {"Alt+Left", 32793},
    {"Alt+Right", 32794},
    {"F11", 37868},
    {"Ctrl+Shift+F", 32803},
    {"Ctrl+F11", 30010},
    {"Shift+F11", 37867},
    {"F12", 32773},
    {"Ctrl+F12", 32771},
    {"Shift+F12", 32772},
    {"Ctrl+F9", 32866},
    {"Ctrl+F10", 32867},
    {"Ctrl+F2", 32822},
    {"F5", 32813},
    {"F6", 2015},
    {"F7", 2016},
    {"F8", 2017},
    {"Ctrl+[", 32870},
    {"Ctrl+]", 32871},
    {"Ctrl+\\", 32872},
    {"Shift+F3", 32873},
    {"Shift+F4", 32874},
    {"Ctrl+F3", 32875},
    {"Ctrl+F4", 32876},
    {"Ctrl+Shift+F3", 32877},
    {"Ctrl+Shift+F4", 32878},
};

QKeyCombination keyOf(const char* text)
{
    return QKeySequence::fromString(QString::fromLatin1(text), QKeySequence::PortableText)[0];
}

/// Gives the keys back to one of the window's controls: whatever a command opened is closed
/// and the window made active again.
void focusInWindow(verbanta::test::FrameFixture& f, QWidget& target)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != f.frame.get() && w->isVisible() && !qobject_cast<QMenu*>(w))
            w->close();
    f.frame->activateWindow();
    target.setFocus();
    QApplication::processEvents();
}

}  // namespace

class CommandTableTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommandIdAppearsOnce()
    {
        QSet<int> ids;
        for (const Command& c : commandTable()) {
            QVERIFY2(!ids.contains(c.id), qPrintable(QString::number(c.id)));
            ids.insert(c.id);
        }
    }

    void everyPromptHasAStatusTextAndATooltip()
    {
        for (const Command& c : commandTable()) {
            QVERIFY2(!c.statusTip().isEmpty(), qPrintable(QString::number(c.id)));
            QVERIFY2(!c.toolTip().isEmpty(), qPrintable(QString::number(c.id)));
        }
    }

    void theKeysAreExactlyTheAcceleratorTable()
    {
        QHash<QKeyCombination, int> table;
        for (const Command& c : commandTable())
            for (const QKeySequence& k : c.shortcuts()) {
                QVERIFY2(!table.contains(k[0]), qPrintable(k.toString()));
                table.insert(k[0], c.id);
            }
        QCOMPARE(table.size(), static_cast<qsizetype>(std::size(kAcceleratorTable)));
        for (const auto& [key, id] : kAcceleratorTable)
            QVERIFY2(table.value(keyOf(key)) == id, key);
    }

    void everyLaidOutIdIsACommand()
    {
        auto check = [](std::span<const int> ids) {
            for (const int id : ids)
                if (id > 0)
                    QVERIFY2(findCommand(id), qPrintable(QString::number(id)));
        };
        for (const menu_layout::Menu& m : menu_layout::menuBar()) check(m.items);
        check(menu_layout::syncMenu());
        check(menu_layout::pasteMenu());
        check(menu_layout::toolBar());
    }

    void theSyncMenuHasItsOrder()
    {
        const std::vector<int> ids(menu_layout::syncMenu().begin(), menu_layout::syncMenu().end());
        QCOMPARE(ids, std::vector<int>({37872, 37873, 0, 37874, 37875, 0, 37876, 32782, 0, 37877,
                                        37878, 0, 32829, 32828, 0, 32779, 32778}));
    }

    void characterBindingsMatchTypedCharactersWithAlt()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        const QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::AltModifier,
                              QStringLiteral(","));
        const QKeyEvent period(QEvent::KeyPress, Qt::Key_Period, Qt::AltModifier,
                               QStringLiteral("."));
        const QKeyEvent slash(QEvent::KeyPress, Qt::Key_Slash, Qt::AltModifier,
                              QStringLiteral("/"));
        const QKeyEvent keypadDown(QEvent::KeyPress, Qt::Key_Down,
                                   Qt::AltModifier | Qt::KeypadModifier);
        AcceleratorFilter& filter = frame.accelerators();
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(comma)), 32788);
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(period)), 32789);
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(slash)), 32790);
        // A layout that types "." or "/" with Shift still reaches the same commands.
        const QKeyEvent shiftedPeriod(QEvent::KeyPress, Qt::Key_Period,
                                      Qt::AltModifier | Qt::ShiftModifier, QStringLiteral("."));
        const QKeyEvent shiftedSlash(QEvent::KeyPress, Qt::Key_Slash,
                                     Qt::AltModifier | Qt::ShiftModifier, QStringLiteral("/"));
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(shiftedPeriod)), 32789);
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(shiftedSlash)), 32790);
        // Without Alt the characters are typed as text.
        const QKeyEvent plainComma(QEvent::KeyPress, Qt::Key_Comma, Qt::NoModifier,
                                   QStringLiteral(","));
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(plainComma)), 0);
        QCOMPARE(filter.commandFor(AcceleratorFilter::combinationOf(keypadDown)), 32792);
    }

    void everyAcceleratorReachesItsCommandWhereverTheFocusIs()
    {
        // The keys go to the list, the caption text field and the start field in turn; each
        // must arrive at its command before any control or menu title takes it.
        verbanta::test::FrameFixture f;
        QVERIFY(f.openTwoLanguages());
        f.showAndFocusList();
        QList<int> requested;
        connect(&f.frame->commands(), &CommandDispatcher::commandRequested, this,
                [&](int id) { requested << id; });
        verbanta::test::ModalCloser closer;
        QWidget* targets[] = {&f.list(), &f.view().panel().textField(),
                              &f.view().panel().startField()};
        for (QWidget* target : targets) {
            for (const auto& [text, id] : kAcceleratorTable) {
                focusInWindow(f, *target);
                requested.clear();
                const QKeyCombination key = keyOf(text);
                QWidget* focus =
                    QApplication::focusWidget() ? QApplication::focusWidget() : f.frame.get();
                QTest::keyClick(focus, key.key(), key.keyboardModifiers());
                const QString where =
                    QStringLiteral("%1 in %2")
                        .arg(QString::fromLatin1(text),
                             QString::fromLatin1(focus->metaObject()->className()));
                QVERIFY2(!requested.isEmpty(), qPrintable(where));
                QVERIFY2(requested.front() == id, qPrintable(where));
            }
        }
    }

    void aCommandWithoutHandlerIsDisabledAndDoesNotRun()
    {
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        for (const Command& c : commandTable()) {
            if (c.run)
                continue;
            QVERIFY(!frame.commands().isEnabled(c.id));
            QVERIFY(!frame.commands().action(c.id)->isEnabled());
            QVERIFY(!frame.commands().run(c.id));
        }
    }

    void anAcceleratorWinsOverAMenuMnemonic()
    {
        // Alt+L is both the mnemonic of "다국어(&L)" and the accelerator 32796.
        verbanta::test::TestContext t;
        CMainFrame frame(t.context);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        QSignalSpy ran(&frame.commands(), &CommandDispatcher::commandRun);
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : &frame;
        QTest::keyClick(focus, Qt::Key_L, Qt::AltModifier);
        QVERIFY(!QApplication::activePopupWidget());
        if (frame.commands().isEnabled(32796)) {
            QCOMPARE(ran.count(), 1);
            QCOMPARE(ran[0][0].toInt(), 32796);
        }
    }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
