#include "caption_view.h"

#include <QCursor>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>

#include "caption_codec.h"
#include "caption_list_view.h"
#include "caption_table_model.h"
#include "caption_text_edit.h"
#include "commands/command_dispatcher.h"
#include "commands/command_ids.h"
#include "commands/menu_layout.h"
#include "edit_panel.h"
#include "editor/caption_editor.h"
#include "main_frame.h"
#include "marker_strip.h"
#include "player/media_backend.h"
#include "player/player_view.h"
#include "settings/app_settings.h"
#include "spelling/spell_checker.h"
#include "spin_buttons.h"
#include "time_field_widget.h"

namespace verbanta::app {
namespace {

/// Shows the editor's state without the widgets' own signals answering back.
class Applying {
public:
    explicit Applying(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~Applying() { m_flag = m_old; }
    Applying(const Applying&) = delete;
    Applying& operator=(const Applying&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

void showButton(QPushButton& button, const ButtonState& state)
{
    button.setText(QString::fromStdString(state.label));
    button.setEnabled(state.enabled);
    button.setVisible(state.visible);
    if (button.isCheckable())
        button.setChecked(state.checked);
}

void showField(TimeFieldWidget& field, const TimeFieldState& state)
{
    field.setRange(state.minimum, state.maximum);
    // A field being typed in already holds the value; redrawing it would move the caret.
    if (field.value() != state.value || field.text().isEmpty())
        field.setValue(state.value);
    field.setEnabled(state.enabled);
}

}  // namespace

CCaptionView::CCaptionView(CMainFrame& frame, QWidget* parent)
    : QWidget(parent),
      m_frame(frame),
      m_tabs(new QTabBar(this)),
      m_model(new CaptionTableModel(frame.context().settings, this)),
      m_list(new CaptionListView(this)),
      m_strip(new MarkerStrip(*m_list, frame.context().settings, this)),
      m_panel(new EditPanel(frame.context().settings, frame.context().messenger, this)),
      m_checks(frame.context().settings),
      m_spelling(new SpellChecker(
          QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
              QStringLiteral("/spelling_words.txt"),
          this))
{
    m_panel->textField().setSpelling(m_spelling);
    m_model->setCheckMarks(&m_checks);
    m_tabs->setDrawBase(true);
    m_tabs->setExpanding(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->hide();
    m_list->setCaptionModel(m_model);
    for (QWidget* w : std::initializer_list<QWidget*>{m_list, &m_panel->startField(),
                                                      &m_panel->endField(),
                                                      &m_panel->textField()})
        w->installEventFilter(this);
    setFocusProxy(m_list);
    applyFieldModes();
    connectList();
    connectPanel();
    // Whatever command comes, the syllable still being composed is part of the text first.
    connect(&frame.commands(), &CommandDispatcher::commandRequested, this,
            [this] { m_panel->textField().commitComposition(); });
    // The minimum gap is counted in the open video's frames.
    MediaBackend& media = frame.playerView().media();
    connect(&media, &MediaBackend::openStateChanged, this, [this, &media] {
        m_checks.setFrameRate(media.framesPerSecond());
        m_model->findingsChanged(0, m_model->rowCount() - 1);
    });
}

CCaptionView::~CCaptionView()
{
    bindEditor(nullptr);
}

void CCaptionView::bindEditor(CaptionEditor* editor)
{
    if (m_editor)
        m_editor->session().setListener(nullptr);
    m_editor = editor;
    m_checks.bind(editor);
    m_model->bind(editor ? &editor->session() : nullptr);
    if (!editor)
        return;
    editor->session().setListener(this);
    editor->selection().setRowsPerPage(m_list->rowsPerPage());
    languagesChanged();
    panelChanged();
}

void CCaptionView::runCommand(int id)
{
    m_frame.commands().run(id);
}

// ---- what the user does -------------------------------------------------------------------

void CCaptionView::connectList()
{
    connect(m_list, &CaptionListView::currentRowChanged, this, [this](int row) {
        if (m_editor && !m_applying) {
            m_panel->textField().commitComposition();
            m_editor->session().rowActivated(row);
        }
    });
    connect(m_list, &CaptionListView::rowClicked, this, [this](int row) {
        // With "자막 클릭시 해당 동영상 위치로 이동" on, a click takes the video along.
        if (m_editor && m_frame.context().settings.ClickAndGo)
            m_editor->selection().seekPlayerToRow(row, true);
    });
    connect(m_list, &CaptionListView::rowDoubleClicked, this, [this](int row) {
        if (m_editor)
            m_editor->selection().rowDoubleClicked(row);
    });
    connect(m_list, &CaptionListView::menuRequested, this, &CCaptionView::showSyncMenu);
    connect(m_list, &CaptionListView::checkToggleRequested, this, [this](int row) {
        if (m_editor)
            m_editor->selection().toggleChecked(row);
    });
    connect(m_list, &CaptionListView::checkDragBegan, this, [this](int row) {
        if (m_editor)
            m_editor->selection().beginCheckDrag(row);
    });
    connect(m_list, &CaptionListView::checkDraggedOver, this, [this](int row) {
        if (m_editor)
            m_editor->selection().dragCheckOver(row);
    });
    connect(m_list, &CaptionListView::checkDragEnded, this, [this] {
        if (m_editor)
            m_editor->selection().endCheckDrag();
    });
    connect(m_list, &CaptionListView::shiftClicked, this, [this](int row) {
        if (m_editor)
            m_editor->selection().shiftClickCheck(row);
    });
    connect(m_list, &CaptionListView::shiftMoved, this, [this](int from, int to) {
        if (m_editor)
            m_editor->selection().checkRowsBetween(from, to);
    });
    connect(m_strip, &MarkerStrip::cellClicked, this, &CCaptionView::stripClicked);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (m_editor && !m_applying && index >= 0) {
            m_panel->textField().commitComposition();
            m_editor->languages().selectLanguage(index);
            m_list->setFocus();
        }
    });
}

void CCaptionView::connectPanel()
{
    TimeFieldWidget& start = m_panel->startField();
    TimeFieldWidget& end = m_panel->endField();
    CaptionTextEdit& text = m_panel->textField();
    const auto stepper = [this](bool startField) {
        return [this, startField](int steps) {
            if (!m_editor)
                return;
            const int direction = steps < 0 ? -1 : 1;
            for (int i = 0; i < std::abs(steps); ++i)
                startField ? m_editor->panel().stepStartField(direction)
                           : m_editor->panel().stepEndField(direction);
        };
    };
    connect(&start, &TimeFieldWidget::valueAccepted, this, [this](std::int32_t ms) {
        if (m_editor && !m_applying)
            m_editor->panel().setStartField(ms);
    });
    connect(&end, &TimeFieldWidget::valueAccepted, this, [this](std::int32_t ms) {
        if (m_editor && !m_applying)
            m_editor->panel().setEndField(ms);
    });
    connect(&start, &TimeFieldWidget::stepRequested, this, stepper(true));
    connect(&end, &TimeFieldWidget::stepRequested, this, stepper(false));
    connect(&m_panel->startSpin(), &SpinButtons::stepped, this, stepper(true));
    connect(&m_panel->endSpin(), &SpinButtons::stepped, this, stepper(false));
    for (TimeFieldWidget* field : {&start, &end})
        connect(field, &TimeFieldWidget::registerRequested, this,
                [this] { runCommand(cmd::PanelRegister); });

    connect(&text, &QPlainTextEdit::textChanged, this, &CCaptionView::reportText);
    connect(&text, &QPlainTextEdit::cursorPositionChanged, this, &CCaptionView::reportText);
    connect(&text, &CaptionTextEdit::registerRequested, this,
            [this] { runCommand(cmd::PanelRegister); });
    connect(&text, &CaptionTextEdit::cancelRequested, this,
            [this] { runCommand(cmd::PanelCancel); });
    connect(&text, &CaptionTextEdit::leaveFullScreenRequested, this, [this] {
        if (m_frame.isFullScreenMode())
            m_frame.toggleFullScreen();
    });
    connect(&text, &CaptionTextEdit::startStepRequested, this, stepper(true));
    connect(&text, &CaptionTextEdit::endStepRequested, this, stepper(false));

    connect(m_panel, &EditPanel::modeClicked, this, [this](int mode) {
        runCommand(mode == EditPanel::AddMode    ? cmd::PanelAdd
                   : mode == EditPanel::MoveMode ? cmd::PanelMove
                                                 : cmd::PanelEdit);
        applyPanel();  // a refused switch leaves the old mode's button down
    });
    connect(&m_panel->registerButton(), &QPushButton::clicked, this,
            [this] { runCommand(cmd::PanelRegister); });
    connect(&m_panel->cancelButton(), &QPushButton::clicked, this,
            [this] { runCommand(cmd::PanelCancel); });
    connect(&m_panel->commentButton(), &QPushButton::clicked, this,
            [this] { runCommand(cmd::PanelComment); });
}

void CCaptionView::reportText()
{
    if (!m_editor || m_applying)
        return;
    const CaptionTextEdit& text = m_panel->textField();
    m_editor->panel().setPanelText(text.modelText());
    const auto [start, end] = text.modelSelection();
    m_editor->panel().setTextSelection(start, end);
}

void CCaptionView::stripClicked(int row, const QPoint& globalPos)
{
    if (!m_editor || m_editor->selection().stripClicked(row) != StripClick::AskStartOrEnd)
        return;
    QMenu menu(this);
    QAction* start = menu.addAction(QString::fromUtf8("시작으로 선택(&S)"));
    QAction* end = menu.addAction(QString::fromUtf8("종료로 선택(&E)"));
    menu.addSeparator();
    menu.addAction(QString::fromUtf8("취소(&C)"));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == start)
        m_editor->selection().markRangeStart(row);
    else if (chosen == end)
        m_editor->selection().markRangeEnd(row);
}

void CCaptionView::showSyncMenu(const QPoint& globalPos)
{
    if (m_editor)
        m_editor->selection().prepareContextMenu();
    m_frame.commands().updateStates();
    std::unique_ptr<QMenu> menu(m_frame.commands().buildMenu(menu_layout::syncMenu(), this));
    menu->exec(globalPos);
}

void CCaptionView::showPasteMenu()
{
    m_frame.commands().updateStates();
    std::unique_ptr<QMenu> menu(m_frame.commands().buildMenu(menu_layout::pasteMenu(), this));
    menu->exec(QCursor::pos());
}

// The clipboard commands work on a focused field of the panel first, else on the rows.

void CCaptionView::copy()
{
    if (auto* line = qobject_cast<QLineEdit*>(focusedField()))
        line->copy();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField()))
        text->copy();
    else if (m_editor)
        m_editor->findClipboard().copy();
}

void CCaptionView::cut()
{
    if (auto* time = qobject_cast<TimeFieldWidget*>(focusedField()))
        time->cutText();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField()))
        text->cut();
    else if (m_editor)
        m_editor->findClipboard().cut();
}

void CCaptionView::paste()
{
    if (auto* time = qobject_cast<TimeFieldWidget*>(focusedField()))
        time->pasteText();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(focusedField()))
        text->paste();
    else if (m_editor && m_editor->findClipboard().paste() == PasteAction::ShowPasteMenu)
        showPasteMenu();
}

QWidget* CCaptionView::focusedField() const
{
    for (QWidget* field : std::initializer_list<QWidget*>{
             &m_panel->startField(), &m_panel->endField(), &m_panel->textField()})
        if (field->hasFocus())
            return field;
    return nullptr;
}

void CCaptionView::takeFocus()
{
    focusRequested(m_editor ? m_editor->session().focusSlot() : FocusTarget::List);
}

bool CCaptionView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && m_editor) {
        if (watched == m_list)
            m_editor->session().setFocusSlot(FocusTarget::List);
        else if (watched == &m_panel->startField())
            m_editor->session().setFocusSlot(FocusTarget::StartField);
        else if (watched == &m_panel->endField())
            m_editor->session().setFocusSlot(FocusTarget::EndField);
        else if (watched == &m_panel->textField())
            m_editor->session().setFocusSlot(FocusTarget::TextField);
    }
    if (event->type() == QEvent::Resize && watched == m_list && m_editor)
        m_editor->selection().setRowsPerPage(m_list->rowsPerPage());
    return QWidget::eventFilter(watched, event);
}

// ---- what the editor says -------------------------------------------------------------------

void CCaptionView::rowsInserted(int first, int count)
{
    m_checks.rowsInserted(first, count);
    m_list->setQuiet(true);
    m_model->rowsWereInserted(first, count);
    m_list->setQuiet(false);
}

void CCaptionView::rowsRemoved(int first, int count)
{
    m_checks.rowsRemoved(first, count);
    m_list->setQuiet(true);
    m_model->rowsWereRemoved(first, count);
    m_list->setQuiet(false);
}

void CCaptionView::rowsChanged(int first, int last)
{
    m_checks.rowsChanged(first, last);
    m_model->rowsWereChanged(first, last);
    m_strip->update();
}

void CCaptionView::changeDelivered()
{
    // A change may alter the marks of rows it did not name (the caption before a moved end).
    const CheckState::RowRange changed = m_checks.settle();
    m_model->findingsChanged(changed.first, changed.last);
}

void CCaptionView::applyCheckOptions()
{
    m_checks.applySettings();
    m_list->layoutColumns();
    m_model->findingsChanged(0, m_model->rowCount() - 1);
}

void CCaptionView::repaintMarks()
{
    m_list->viewport()->update();
    m_strip->update();
}

void CCaptionView::marksChanged()
{
    repaintMarks();
}

void CCaptionView::listReplaced()
{
    m_checks.bind(m_editor);  // another language's list, perhaps
    applySpellingLanguage();
    m_list->setQuiet(true);
    m_model->listWasReplaced();
    m_list->setQuiet(false);
    applyFieldModes();
    repaintMarks();
}

void CCaptionView::currentRowChanged(int row, ScrollHint hint)
{
    m_list->selectRowQuietly(row);
    if (row < 0)
        return;
    const QModelIndex index = m_model->index(row, CaptionTableModel::TimeColumn);
    if (hint == ScrollHint::TopIfHidden) {
        const auto [first, last] = m_list->visibleRows();
        if (row < first || row >= last) {
            m_list->setUpdatesEnabled(false);
            m_list->scrollTo(index, QAbstractItemView::PositionAtTop);
            m_list->setUpdatesEnabled(true);
        }
    } else {
        m_list->scrollTo(index, QAbstractItemView::EnsureVisible);
    }
}

void CCaptionView::applyFieldModes()
{
    const int mode = m_frame.context().settings.DisplayAsTime ? TimeFieldLogic::kTimeMode
                                                              : TimeFieldLogic::kMillisecondsMode;
    for (TimeFieldWidget* field : {&m_panel->startField(), &m_panel->endField()})
        if (field->mode() != mode)
            field->setMode(mode);
}

void CCaptionView::applyPanel()
{
    if (!m_editor)
        return;
    const Applying applying(m_applying);
    const PanelState& state = m_editor->panel().state();
    m_panel->showMode(static_cast<EditPanel::Mode>(state.mode));
    showButton(m_panel->modeButton(EditPanel::EditMode), state.editButton);
    showButton(m_panel->modeButton(EditPanel::AddMode), state.addButton);
    showButton(m_panel->modeButton(EditPanel::MoveMode), state.moveButton);
    showButton(m_panel->registerButton(), state.registerButton);
    showButton(m_panel->cancelButton(), state.cancelButton);
    showButton(m_panel->commentButton(), state.commentButton);

    showField(m_panel->startField(), state.start);
    m_panel->setStartEnabled(state.start.enabled);
    showField(m_panel->endField(), state.end);
    m_panel->setEndVisible(state.end.visible);
    m_panel->setEndEnabled(state.end.enabled);

    CaptionTextEdit& text = m_panel->textField();
    text.setEnabled(state.textEnabled);
    if (text.modelText() != state.text)
        text.setModelText(state.text);
    if (text.modelSelection() != std::pair(state.selectionStart, state.selectionEnd))
        text.setModelSelection(state.selectionStart, state.selectionEnd);
}

void CCaptionView::panelChanged()
{
    applyPanel();
}

void CCaptionView::languagesChanged()
{
    if (!m_editor)
        return;
    const Applying applying(m_applying);
    while (m_tabs->count() > 0)
        m_tabs->removeTab(0);
    for (const std::string& label : m_editor->languages().languageTabs())
        m_tabs->addTab(CaptionCodec::toDisplay(label));
    m_tabs->setVisible(m_tabs->count() > 0);
    if (m_editor->languages().currentLanguageIndex() >= 0)
        m_tabs->setCurrentIndex(m_editor->languages().currentLanguageIndex());
    layoutChildren();
    applySpellingLanguage();
}

void CCaptionView::applySpellingLanguage()
{
    if (!m_editor)
        return;
    const SamiModel& model = m_editor->session().model();
    const int index = m_editor->languages().currentLanguageIndex();
    QString name;
    if (index >= 0 && index < model.GetLanguageCount()) {
        const LanguageInfo& language = model.languages[static_cast<std::size_t>(index)];
        name = SpellChecker::dictionaryFor(language.lang(), language.selector);
    } else {
        name = SpellChecker::dictionaryFor({}, model.CurrentClassName());
    }
    if (name != m_spelling->dictionary()) {
        m_spelling->setDictionary(name);
        emit m_spelling->checked();  // what is shown is judged by the new dictionary
    }
}

void CCaptionView::focusRequested(FocusTarget target)
{
    switch (target) {
        case FocusTarget::StartField: m_panel->startField().setFocus(); break;
        case FocusTarget::EndField: m_panel->endField().setFocus(); break;
        case FocusTarget::TextField: m_panel->textField().setFocus(); break;
        case FocusTarget::List: m_list->setFocus(); break;
    }
}

// ---- layout -------------------------------------------------------------------------------

void CCaptionView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void CCaptionView::layoutChildren()
{
    // The list keeps its left edge, reaches the right edge and is 150 pixels shorter than the
    // view; the edit panel fills those 150 pixels.
    const bool tabsShown = m_tabs->count() > 0;
    const int tabsHeight = tabsShown ? m_tabs->sizeHint().height() : 0;
    if (tabsShown)
        m_tabs->setGeometry(MarkerStrip::kWidth, 0, width() - MarkerStrip::kWidth, tabsHeight);
    const int listHeight = std::max(0, height() - EditPanel::kHeight - tabsHeight);
    m_strip->setGeometry(0, tabsHeight, MarkerStrip::kWidth, listHeight);
    m_list->setGeometry(MarkerStrip::kWidth, tabsHeight, width() - MarkerStrip::kWidth,
                        listHeight);
    m_panel->setGeometry(0, height() - EditPanel::kHeight, width(), EditPanel::kHeight);
}

}  // namespace verbanta::app
