#include "ui/edit_scroll.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QScrollBar>

CEditScroll::CEditScroll(int paneId) : m_nPaneId(paneId) {
  // actionTriggered comes only from the user's use of the scroll bar (arrows, page, drag, wheel),
  // after the slider position is decided and before the text is moved: the posted event is handled
  // once the scroll is done. A drag also ends with a release, as Windows ends it with
  // SB_ENDSCROLL. Programmatic moves (text set, caret moved, LineScroll) emit neither.
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this, [this] { PostSyncScroll(); });
  connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] { PostSyncScroll(); });
}

void CEditScroll::PostSyncScroll() {
  if (parentWidget() == nullptr) return;
  QCoreApplication::postEvent(parentWidget(),
                              new SyncScrollEvent(static_cast<std::uintptr_t>(m_nPaneId), 0));
}

void CEditScroll::LineScroll(int characters) {
  QScrollBar* bar = horizontalScrollBar();
  const int step = QFontMetrics(font()).averageCharWidth();
  bar->setValue(bar->value() + characters * step);  // the scroll bar keeps it within its range
}
