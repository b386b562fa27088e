#include <gtest/gtest.h>

#include "editor/editor_fakes.h"

namespace verbanta::test {
namespace {

using UndoRedo = EditorTest;

TEST_F(UndoRedo, UndoAndRedoSelectTheRowTheyChanged)
{
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    editor.selectRow(1);
    editor.deleteCaption();  // one delete record after row 0
    editor.selectRow(0);
    editor.undo();
    EXPECT_EQ(editor.currentRow(), 1);  // the re-inserted row
    EXPECT_TRUE(document.modified);
    editor.selectRow(2);
    editor.redo();
    EXPECT_EQ(editor.currentRow(), 1);  // the row after the one before the deleted row
    editor.selectRow(1);
    editor.addCaptionAfter();  // an insert after row 1
    editor.selectRow(0);
    editor.undo();
    EXPECT_EQ(editor.currentRow(), 1);
    editor.selectRow(1);
    editor.setCurrentSyncTime(3500);  // the last row: the selection stays
    editor.selectRow(0);
    editor.undo();
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(editor.panel().start.value, 3000);  // reloaded into the panel
}

TEST_F(UndoRedo, UndoOfAnInsertAtTheHeadSelectsRowZero)
{
    load({{1000, "A"}});
    editor.addCaptionBefore();
    editor.selectRow(1);
    editor.undo();
    EXPECT_EQ(editor.currentRow(), 0);
    EXPECT_EQ(model.GetCount(), 1);
}

TEST_F(UndoRedo, AChangeAfterAnUndoDiscardsTheRedoTail)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.setCurrentSyncTime(1100);
    editor.undo();
    ASSERT_TRUE(editor.canRedo());
    editor.selectRow(1);
    editor.setCurrentSyncTime(2100);
    EXPECT_FALSE(editor.canRedo());
    editor.redo();  // does nothing
    EXPECT_EQ(times(), (std::vector<int>{1000, 2100}));
}

TEST_F(UndoRedo, AfterMoreThanAThousandChangesTheOldestIsGone)
{
    load({{0, "A"}});
    for (int i = 1; i <= 1001; ++i)
        editor.setCurrentSyncTime(i);
    EXPECT_EQ(model.journal().size(), 1000);
    int steps = 0;
    while (editor.canUndo()) {
        editor.undo();
        ++steps;
    }
    EXPECT_EQ(steps, 1000);
    EXPECT_EQ(times(), std::vector<int>{1});  // the first change stays
}

TEST_F(UndoRedo, UndoOfAShiftInAnotherLanguageLeavesTheCurrentOneAlone)
{
    load({{1000, "A"}, {2000, "B"}});
    // A second language with its own list in slot 1.
    model.AddLanguageClass(".ENCC");
    model.classNames[1] = "ENCC";
    model.slotOrder[1] = 1;
    model.languageCount = 2;
    editor.languageInformationChanged();
    editor.selectLanguage(1);
    editor.addCaptionAfter();
    editor.setCurrentSyncTime(5000);
    editor.markRangeStart(0);
    editor.markRangeEnd(0);
    editor.shiftRange(300, false);
    EXPECT_EQ(times(), std::vector<int>{5300});
    editor.selectLanguage(0);
    editor.selectRow(1);
    const std::size_t told = listener.events.size();
    editor.undo();
    EXPECT_EQ(listener.events.size(), told);  // nothing changed in the list shown
    EXPECT_EQ(times(), (std::vector<int>{1000, 2000}));
    EXPECT_EQ(editor.currentRow(), 1);
    EXPECT_EQ(model.GetCurrentSlot(), 0);
    EXPECT_EQ(model.slotList(1)[0].startMs, 5000);
}

TEST_F(UndoRedo, UndoRestoresModifiedContentAndRedoSwapsItBack)
{
    load({{1000, "A"}, {2000, "B"}});
    editor.setPanelText("changed");
    editor.registerPanel();
    ASSERT_EQ(at(0).text, "changed");
    editor.undo();
    EXPECT_EQ(at(0).text, "A");
    editor.redo();
    EXPECT_EQ(at(0).text, "changed");
    editor.undo();
    editor.undo();  // nothing more
    EXPECT_EQ(at(0).text, "A");
}

TEST_F(UndoRedo, TimingErrorsAreRecheckedAfterUndo)
{
    settings.DisplayErrorSync = true;
    load({{1000, "A"}, {2000, "B"}, {3000, "C"}});
    editor.selectRow(1);
    editor.setCurrentSyncTime(500);
    EXPECT_TRUE(at(0).syncError);
    EXPECT_GT(listener.marks, 0);
    editor.undo();
    EXPECT_FALSE(at(0).syncError);
    EXPECT_FALSE(at(1).syncError);
}

}  // namespace
}  // namespace verbanta::test
