// Random sequences of recorded commands on random multi-language documents: undoing to the
// start must give back exactly the initial lists and redoing to the end exactly the final
// ones, in every language; and after every command the view's notifications must add up to
// the list's real row count.
#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "editor/editor_fakes.h"

namespace verbanta::test {
namespace {

/// An entry without the marks that commands change without undo by design (check marks) or
/// that are recomputed for the shown list only (timing errors).
struct Comparable {
    explicit Comparable(const SyncEntry& e) : entry(e)
    {
        entry.checked = 0;
        entry.syncError = 0;
    }
    bool operator==(const Comparable&) const = default;
    SyncEntry entry;
};

/// A readable form for failure messages.
void PrintTo(const Comparable& c, std::ostream* out)
{
    const SyncEntry& e = c.entry;
    *out << e.startMs
         << (e.isComment   ? " comment"
             : e.isEndSync ? " end"
                           : "")
         << " '" << e.text << "' " << e.className << (e.rangeStart ? " S" : "")
         << (e.rangeEnd ? " E" : "") << (e.replayMark ? " R" : "") << (e.bookmarked ? " B" : "")
         << " f" << e.flags;
}

using Lists = std::vector<std::vector<Comparable>>;

Lists snapshot(const SamiModel& model)
{
    Lists lists(SamiModel::kSlotCount);
    for (int slot = 0; slot < SamiModel::kSlotCount; ++slot)
        model.slotList(slot).forEach(
            [&](const SyncEntry& e) { lists[static_cast<std::size_t>(slot)].emplace_back(e); });
    return lists;
}

class World : public EditorTest {
public:
    explicit World(unsigned seed) : m_random(seed) {}
    void TestBody() override {}
    using EditorTest::model;
    using EditorTest::rows;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool chance(int percent) { return pick(100) < percent; }

    std::string text()
    {
        static const std::vector<std::string> kWords = {
            "abc",    "ABC",      "a<br>b", "x<BR>\r\ny<br>z", "\xc7\xd1\xb1\xdb",
            "&nbsp;", "<b>B</b>", "one two"};
        return kWords[static_cast<std::size_t>(pick(static_cast<int>(kWords.size())))];
    }

    void fillDocument()
    {
        model.Reset(true);
        model.ClearUndo();
        const int languages = 1 + pick(3);
        static const char* const kClasses[] = {"KRCC", "ENCC", "JPCC"};
        for (int i = 1; i < languages; ++i) {
            model.AddLanguageClass(std::string(".") + kClasses[i]);
            model.classNames[static_cast<std::size_t>(i)] = kClasses[i];
        }
        model.listCount = languages;
        for (int slot = 0; slot < languages; ++slot) {
            SyncList& list = model.slotList(slot);
            std::int32_t t = 0;
            const int rows = pick(14);
            for (int i = 0; i < rows; ++i) {
                SyncEntry e;
                e.className = kClasses[slot];
                t += pick(10) == 0 ? -300 : 100 + pick(900);
                e.startMs = t;
                const int kind = pick(10);
                e.isComment = kind == 0;
                e.isEndSync = kind >= 8;
                e.text = e.isEndSync ? "&nbsp;" : text();
                list.insertAt(list.count(), e);
            }
            if (rows > 0) {
                list[0].rangeStart = 1;
                list[rows - 1].rangeEnd = rows > 1;
            }
        }
        settings.DisplayErrorSync = true;
        settings.DeleteEndToo = chance(50);
        settings.InsertEndAuto = chance(50);
        settings.MoveToNextSync = chance(50);
        settings.MoveEndToo = chance(50);
        model.CheckOrder();
        editor.documentShown();
        clearRecords();
    }

    void checkSomeRows()
    {
        for (int i = 0; i < model.GetCount(); ++i)
            if (chance(40))
                selection.toggleChecked(i);
    }

    std::string clip()
    {
        switch (pick(5)) {
            case 0:
                return text();
            case 4: {
                // Binary bytes, zeros included, after a sync tag so that the reader takes them.
                std::string bytes = "<SYNC Start=" + std::to_string(pick(5000)) + "><P Class=KRCC>";
                for (int i = pick(40); i > 0; --i) bytes += static_cast<char>(pick(256));
                return bytes;
            }
            case 1:
                return "<SYNC Start=" + std::to_string(pick(5000)) + "><P Class=KRCC>" + text() +
                       "<SYNC Start=" + std::to_string(pick(5000)) + "><P Class=KRCC>&nbsp;";
            case 2:
                return "<SYNC Start=10><P Class=KRCC>k<P Class=ENCC>e";
            default:
                return "<!-- c --><SYNC Start=7><P Class=" + model.CurrentClassName() + ">" +
                       text();
        }
    }

    void runCommand()
    {
        const int n = model.GetCount();
        if (chance(40))
            session.selectRow(pick(n + 2) - 1);
        if (chance(8))
            languages.selectLanguage(pick(model.GetLanguageCount()));
        messenger.answers = {Answer::Yes};
        player.bookmarks.clear();
        for (int i = pick(4); i > 0; --i) player.bookmarks.push_back(pick(20000));
        switch (pick(28)) {
            case 0:
                rows.addCaptionBefore();
                break;
            case 1:
                rows.addCaptionAfter();
                break;
            case 2:
                rows.addEndSyncBefore();
                break;
            case 3:
                rows.addEndSyncAfter();
                break;
            case 4:
                rows.deleteCaption();
                break;
            case 5:
                checkSomeRows();
                rows.deleteChecked();
                selection.clearChecks();
                break;
            case 6:
                rows.moveUp();
                break;
            case 7:
                rows.moveDown();
                break;
            case 8:
                rows.splitContent();
                break;
            case 9:
                rows.joinWithNext();
                break;
            case 10: {
                const SyncEntry* e = session.entry(session.currentRow());
                if (e && e->isComment)
                    break;  // a comment's text changes without undo by design
                panel.setPanelMode(PanelMode::Edit);
                panel.setPanelText(chance(20) ? "p<SYNC Start=99><P Class=ENCC>q" : text());
                panel.setStartField(pick(9000));
                panel.setEndField(pick(9000));
                panel.registerPanel();
                break;
            }
            case 11:
                panel.setPanelMode(PanelMode::Add);
                panel.setPanelText(text());
                panel.setStartField(pick(9000));
                if (chance(50))
                    panel.registerPanel();
                else
                    panel.addComment();
                break;
            case 12:
                // The shift dialog, the panel's Move mode and the shift itself.
                if (chance(33)) {
                    timing.applyShift(pick(2001) - 1000, chance(30));
                } else if (chance(50)) {
                    panel.setPanelMode(PanelMode::Move);
                    panel.setStartField(pick(2001) - 1000);
                    panel.registerPanel();
                } else {
                    timing.shiftRange(pick(2001) - 1000, chance(30));
                }
                break;
            case 13:
                timing.shiftRangeToTime(pick(9000));
                break;
            case 14:
                timing.fitProportionally();
                break;
            case 15:
                timing.syncToBookmarks();
                break;
            case 16: {
                EndSyncReset options;
                options.byLength = chance(50);
                options.durationMs = pick(3000);
                options.onlyIfShorter = chance(20);
                options.onlyIfLonger = !options.onlyIfShorter && chance(20);
                options.msPerCharacter = pick(300);
                options.rangeOnly = chance(30);
                timing.resetEndSyncs(options);
                break;
            }
            case 17:
                timing.removeInvalidEndSyncs();
                break;
            case 18:
                findClipboard.replaceAll(chance(50) ? "b" : "abc", text(), chance(50));
                break;
            case 19:
                findClipboard.replace("a", "Z", false);
                break;
            case 20:
                clipboard.content = clip();
                // On the last row the paste menu offers both ways.
                if (findClipboard.paste() == PasteAction::ShowPasteMenu) {
                    if (chance(50))
                        findClipboard.appendAtEnd();
                    else
                        findClipboard.pasteInsert();
                }
                break;
            case 21:
                clipboard.content = clip();
                session.selectRow(n - 1);
                findClipboard.appendAtEnd();
                break;
            case 22:
                findClipboard.cutSingle();
                break;
            case 23:
                checkSomeRows();
                findClipboard.cut();
                selection.clearChecks();
                break;
            case 24:
                capture.setCurrentSyncTime(pick(9000));
                break;
            case 25:
                capture.insertCaptionAfterAt(pick(9000));
                break;
            case 26:
                capture.insertEndSyncAfterAt(pick(9000));
                break;
            case 27:
                if (!languages.languageSyncChoices().empty())
                    languages.synchronizeLanguages(languages.languageSyncChoices()[0]);
                rows.exportBookmarksToSyncs();
                break;
        }
    }

    /// The view's row count as the notifications tell it must be the list's.
    void checkNotifications() { ASSERT_EQ(listener.rows, model.GetCount()); }

private:
    std::mt19937 m_random;
};

TEST(EditorProperty, UndoToTheStartAndRedoToTheEndRestoreEveryLanguage)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        World world(seed);
        world.fillDocument();
        const Lists initial = snapshot(world.model);
        int undone = 0;  // steps undone since the last command
        for (int step = 0; step < 25; ++step) {
            if (undone > 0 && world.chance(15)) {
                world.rows.redo();
                --undone;
            } else if (world.rows.canUndo() && world.chance(10)) {
                world.rows.undo();
                ++undone;
            } else {
                const std::int64_t pushed = world.model.journal().pushCount();
                world.runCommand();
                if (world.model.journal().pushCount() != pushed)
                    undone = 0;  // a new step cuts the redo tail
            }
            world.checkNotifications();
            if (::testing::Test::HasFatalFailure())
                return;
        }
        ASSERT_LT(world.model.journal().size(), UndoJournal::kCapacity);
        const Lists final = snapshot(world.model);
        int steps = 0;
        while (world.rows.canUndo()) {
            world.rows.undo();
            world.checkNotifications();
            ++steps;
        }
        ASSERT_EQ(snapshot(world.model), initial);
        for (int i = 0; i < steps; ++i) world.rows.redo();
        // The steps undone during the run are still ahead.
        EXPECT_EQ(world.rows.canRedo(), undone > 0);
        ASSERT_EQ(snapshot(world.model), final);
    }
}

}  // namespace
}  // namespace verbanta::test
