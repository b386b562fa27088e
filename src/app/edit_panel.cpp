#include "edit_panel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>

#include "caption_text_edit.h"
#include "spin_buttons.h"
#include "time_field_widget.h"

namespace verbanta::app {
namespace {

QPushButton* makeModeButton(const char* text, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

EditPanel::EditPanel(const AppSettings& settings, Messenger& messenger, QWidget* parent)
    : QWidget(parent),
      m_start(new TimeFieldWidget(messenger, this)),
      m_end(new TimeFieldWidget(messenger, this)),
      m_startSpin(new SpinButtons(this)),
      m_endSpin(new SpinButtons(this)),
      m_startLabel(new QLabel(QString::fromUtf8("시작:"), this)),
      m_endLabel(new QLabel(QString::fromUtf8("종료:"), this)),
      m_text(new CaptionTextEdit(settings, this)),
      m_edit(makeModeButton("편집", this)),
      m_add(makeModeButton("추가", this)),
      m_move(makeModeButton("이동", this)),
      m_register(new QPushButton(QString::fromUtf8("등록"), this)),
      m_cancel(new QPushButton(QString::fromUtf8("취소"), this)),
      m_comment(new QPushButton(QString::fromUtf8("코멘트"), this)),
      m_modes(new QButtonGroup(this))
{
    m_modes->setExclusive(true);
    m_modes->addButton(m_edit, EditMode);
    m_modes->addButton(m_add, AddMode);
    m_modes->addButton(m_move, MoveMode);
    connect(m_modes, &QButtonGroup::idClicked, this, &EditPanel::modeClicked);
    for (QPushButton* button : {m_register, m_cancel, m_comment})
        button->setFocusPolicy(Qt::NoFocus);
    setMinimumHeight(kHeight);
    setMaximumHeight(kHeight);
    layoutControls();
}

QPushButton& EditPanel::modeButton(Mode mode) const
{
    switch (mode) {
        case AddMode: return *m_add;
        case MoveMode: return *m_move;
        case EditMode: break;
    }
    return *m_edit;
}

void EditPanel::showMode(Mode mode)
{
    modeButton(mode).setChecked(true);
}

void EditPanel::setEndVisible(bool visible)
{
    m_end->setVisible(visible);
    m_endSpin->setVisible(visible);
    m_endLabel->setVisible(visible);
}

void EditPanel::setEndEnabled(bool enabled)
{
    m_end->setEnabled(enabled);
    m_endSpin->setEnabled(enabled);
}

void EditPanel::setStartEnabled(bool enabled)
{
    m_start->setEnabled(enabled);
    m_startSpin->setEnabled(enabled);
}

void EditPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutControls();
}

void EditPanel::layoutControls()
{
    // Top row: the mode buttons, then the two time fields; below, the text field with the
    // action buttons on its right.
    const int margin = 4;
    const int gap = 4;
    const int rowHeight = std::max(24, m_start->sizeHint().height());
    const int labelWidth =
        std::max(m_startLabel->sizeHint().width(), m_endLabel->sizeHint().width());
    int modeWidth = 0;
    for (QPushButton* b : {m_edit, m_add, m_move})
        modeWidth = std::max(modeWidth, b->sizeHint().width());
    modeWidth = std::max(modeWidth, 48);
    int x = margin;
    for (QPushButton* b : {m_edit, m_add, m_move}) {
        b->setGeometry(x, margin, modeWidth, rowHeight);
        x += modeWidth + 2;
    }
    x += gap * 2;
    const int fieldWidth = std::max(100, m_start->fontMetrics().horizontalAdvance(
                                             QStringLiteral("-0:00:00.000")) + 12);
    const int fieldsWidth = 2 * (labelWidth + 2 + fieldWidth + m_startSpin->width() + gap * 2);
    // A narrow panel puts the time fields on a row of their own.
    int fieldsTop = margin;
    if (x + fieldsWidth > width()) {
        x = margin;
        fieldsTop = margin + rowHeight + gap;
    }
    const auto placeField = [&](QLabel* label, TimeFieldWidget* field, SpinButtons* spin) {
        label->setGeometry(x, fieldsTop, labelWidth, rowHeight);
        x += labelWidth + 2;
        field->setGeometry(x, fieldsTop, fieldWidth, rowHeight);
        x += fieldWidth;
        spin->setGeometry(x, fieldsTop, spin->width(), rowHeight);
        x += spin->width() + gap * 2;
    };
    placeField(m_startLabel, m_start, m_startSpin);
    placeField(m_endLabel, m_end, m_endSpin);

    int buttonWidth = 64;
    for (QPushButton* b : {m_register, m_cancel, m_comment})
        buttonWidth = std::max(buttonWidth, b->sizeHint().width());
    const int textTop = fieldsTop + rowHeight + gap;
    const int textHeight = height() - textTop - margin;
    const int buttonX = width() - margin - buttonWidth;
    m_text->setGeometry(margin, textTop, buttonX - gap - margin, textHeight);
    const int buttonHeight = std::max(24, m_register->sizeHint().height());
    int y = textTop;
    for (QPushButton* b : {m_register, m_cancel, m_comment}) {
        b->setGeometry(buttonX, y, buttonWidth, buttonHeight);
        y += buttonHeight + gap;
    }
}

}  // namespace verbanta::app
