#include "caption_view.h"

#include <QEvent>
#include <QTabBar>

#include "caption_list_view.h"
#include "caption_table_model.h"
#include "caption_text_edit.h"
#include "edit_panel.h"
#include "main_frame.h"
#include "marker_strip.h"
#include "time_field_widget.h"

namespace verbanta::app {

CCaptionView::CCaptionView(CMainFrame& frame, QWidget* parent)
    : QWidget(parent),
      m_frame(frame),
      m_tabs(new QTabBar(this)),
      m_model(new CaptionTableModel(frame.context().settings, this)),
      m_list(new CaptionListView(this)),
      m_strip(new MarkerStrip(*m_list, frame.context().settings, this)),
      m_panel(new EditPanel(frame.context().settings, frame.context().messenger, this))
{
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
}

CCaptionView::~CCaptionView() = default;

void CCaptionView::takeFocus()
{
    switch (m_focusSlot) {
        case StartSlot: m_panel->startField().setFocus(); break;
        case EndSlot: m_panel->endField().setFocus(); break;
        case TextSlot: m_panel->textField().setFocus(); break;
        case ListSlot: m_list->setFocus(); break;
    }
}

bool CCaptionView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == m_list)
            m_focusSlot = ListSlot;
        else if (watched == &m_panel->startField())
            m_focusSlot = StartSlot;
        else if (watched == &m_panel->endField())
            m_focusSlot = EndSlot;
        else if (watched == &m_panel->textField())
            m_focusSlot = TextSlot;
    }
    return QWidget::eventFilter(watched, event);
}

void CCaptionView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void CCaptionView::layoutChildren()
{
    // The list keeps its left edge, reaches the right edge and is 150 pixels shorter than the
    // view; the edit panel fills those 150 pixels.
    const int tabsHeight = m_tabs->isVisible() ? m_tabs->sizeHint().height() : 0;
    if (m_tabs->isVisible())
        m_tabs->setGeometry(MarkerStrip::kWidth, 0, width() - MarkerStrip::kWidth, tabsHeight);
    const int listHeight = std::max(0, height() - EditPanel::kHeight - tabsHeight);
    m_strip->setGeometry(0, tabsHeight, MarkerStrip::kWidth, listHeight);
    m_list->setGeometry(MarkerStrip::kWidth, tabsHeight, width() - MarkerStrip::kWidth,
                        listHeight);
    m_panel->setGeometry(0, height() - EditPanel::kHeight, width(), EditPanel::kHeight);
}

}  // namespace verbanta::app
