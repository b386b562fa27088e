#include <QString>
#include <QStringList>

#include "caption_codec.h"
#include "caption_view.h"
#include "commands/edit_dialog_commands.h"
#include "dialogs/bookmark_list_dialog.h"
#include "dialogs/caption_check_dialog.h"
#include "dialogs/end_sync_reset_dialog.h"
#include "dialogs/find_replace_dialog.h"
#include "dialogs/language_settings_dialog.h"
#include "dialogs/language_sync_dialog.h"
#include "dialogs/shift_syncs_dialog.h"
#include "dialogs/sync_error_dialog.h"
#include "document_host.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "player/bookmark_bar.h"
#include "player/player_view.h"
#include "settings/app_settings.h"

namespace verbanta::app::edit_dialog_commands {
namespace {

CaptionEditor& ed(CMainFrame& frame)
{
    return *frame.editor();
}

/// Shows the found rows, or nothing when the search found none (it has said so).
void showFoundRows(CMainFrame& frame, const QString& title, std::vector<FoundRow> rows)
{
    if (rows.empty())
        return;
    ListSelection& selection = ed(frame).selection();
    SyncErrorDialog dialog(
        title, std::move(rows), frame.context().settings.DisplayAsTime,
        [&selection](int row) { return selection.goToFoundRow(row); }, &frame);
    dialog.exec();
    frame.captionView().takeFocus();
}

}  // namespace

void find(CMainFrame& frame)
{
    showFindReplace(ed(frame).findClipboard(), FindReplaceDialog::Kind::Find, &frame);
}

void replace(CMainFrame& frame)
{
    showFindReplace(ed(frame).findClipboard(), FindReplaceDialog::Kind::Replace, &frame);
}

void shiftSyncs(CMainFrame& frame)
{
    TimingTools& timing = ed(frame).timing();
    ShiftSyncsDialog dialog(frame.context().settings, frame.context().messenger,
                            timing.lastMoveOffset(), &frame);
    if (dialog.exec() == QDialog::Accepted)
        timing.applyShift(dialog.offset(), dialog.endSyncsOnly());
    frame.captionView().takeFocus();
}

void resetEndSyncs(CMainFrame& frame)
{
    EndSyncResetDialog dialog(frame.context().settings, frame.context().messenger, &frame);
    if (dialog.exec() == QDialog::Accepted)
        ed(frame).timing().resetEndSyncs(dialog.options());
    frame.captionView().takeFocus();
}

void findSyncErrors(CMainFrame& frame)
{
    showFoundRows(frame, QStringLiteral("싱크 시간 오류 검색"),
                  ed(frame).timing().findTimingErrors());
}

void captionChecks(CMainFrame& frame)
{
    CaptionCheckDialog dialog(ed(frame), frame.captionView().checkMarks().rules(),
                              frame.context().settings.DisplayAsTime, &frame);
    dialog.exec();
    frame.captionView().takeFocus();
}

void checkLanguages(CMainFrame& frame)
{
    showFoundRows(frame, QStringLiteral("다국어 자막 오류 검색"),
                  ed(frame).languages().findLanguageMismatches());
}

void syncLanguages(CMainFrame& frame)
{
    LanguagesMarks& languages = ed(frame).languages();
    const std::vector<std::string> labels = languages.languageTabs();
    const std::vector<int> choices = languages.languageSyncChoices();
    QStringList names;
    for (const int index : choices)
        names << (index < static_cast<int>(labels.size())
                      ? CaptionCodec::toDisplay(labels[static_cast<std::size_t>(index)])
                      : QString());
    LanguageSyncDialog dialog(names, choices, &frame);
    if (dialog.exec() == QDialog::Accepted)
        languages.synchronizeLanguages(dialog.referenceIndex());
    frame.captionView().takeFocus();
}

void editLanguages(CMainFrame& frame)
{
    LanguagesMarks& languages = ed(frame).languages();
    LanguageSettingsDialog dialog(frame.documentHost().model(), frame.context().messenger, &frame);
    // The list is re-bound after every change, so that nothing behind the dialog shows or
    // paints rows that a deleted or moved language took away.
    QObject::connect(&dialog, &LanguageSettingsDialog::languagesChanged, &frame,
                     [&languages] { languages.languageInformationChanged(); });
    dialog.exec();
    frame.captionView().takeFocus();
}

void videoBookmarkList(CMainFrame& frame)
{
    CPlayerView& player = frame.playerView();
    if (!player.IsMediaOpen())
        return;
    BookmarkListDialog dialog(player.bookmarkBar().bookmarks(), frame.documentHost().model().list(),
                              frame.context().settings, frame.context().messenger, player, &frame);
    if (dialog.exec() == QDialog::Accepted)
        player.bookmarkBar().update();
    frame.captionView().takeFocus();
}

}  // namespace verbanta::app::edit_dialog_commands
