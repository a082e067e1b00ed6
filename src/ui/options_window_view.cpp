// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/options_window_view.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

#include "app/options_window.h"
#include "ui/about_page_view.h"
#include "ui/compact_tab_style.h"
#include "ui/icons.h"
#include "ui/page_on_demand.h"
#include "ui/page_views.h"

namespace voxmere {
namespace {

// The window was designed in 8-point type; its fixed size holds that.
constexpr int kPointSize = 8;

}  // namespace

OptionsWindowView::OptionsWindowView(OptionsWindow& window, const KeyEventConversion& keys,
                                     QWidget* parent)
    : QWidget(parent), window_(window) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(OptionsWindow::Caption());
  setWindowIcon(IdleIcon());
  // A fixed frame with the system menu, minimize and close boxes only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  QFont small = font();
  small.setPointSize(kPointSize);
  setFont(small);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  pages_ = new QTabWidget(this);
  pages_->setObjectName(window.pages.objectName());
  // The five captions fit the fixed width side by side, without scrolling.
  pages_->setUsesScrollButtons(false);
  // The style goes with the window, after the tabs (children go in order).
  auto* tab_style = new CompactTabStyle;
  tab_style->setParent(this);
  pages_->tabBar()->setStyle(tab_style);
  // Each page is built when its tab is first selected.
  const struct {
    const char* caption;
    PageOnDemand::Builder build;
  } tabs[] = {
      {"General",
       [&window, &keys](QWidget* parent) { return BuildGeneralPage(window, keys, parent); }},
      {"Default voice",
       [&window](QWidget* parent) { return BuildDefaultVoicePage(window, parent); }},
      {"Voice slots",
       [&window, &keys](QWidget* parent) { return BuildSlotsPage(window, keys, parent); }},
      {"Pronunciation",
       [&window](QWidget* parent) { return BuildPronunciationPage(window, parent); }},
      {"About", [&window](QWidget* parent) { return new AboutPageView(window, parent); }},
  };
  for (const auto& tab : tabs) {
    pages_->addTab(new PageOnDemand(tab.build, pages_), QString::fromLatin1(tab.caption));
  }
  ShowPage(window.pages.ActivePageIndex());
  layout->addWidget(pages_, 1);
  layout->addWidget(BuildButtons());
  // A name for screen readers, which find no label for the page control.
  pages_->setAccessibleName(QStringLiteral("Options pages"));

  connect(&window.pages, &PageControl::PageChanged, this, [this](int page) { ShowPage(page); });
  connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
    // A page the user selects is built before the model hears of it.
    BuildPage(page);
    if (page == window_.pages.ActivePageIndex()) return;
    window_.Guard([this, page] { window_.pages.SetActivePageIndex(page); });
  });

  setFixedSize(kClientWidth, kClientHeight);
  // Centred on the screen until a stored position applies.
  move(CentredPosition());
  window.AttachShell(this);
}

OptionsWindowView::~OptionsWindowView() { window_.DetachShell(this); }

void OptionsWindowView::BuildPage(int index) {
  if (auto* page = qobject_cast<PageOnDemand*>(pages_->widget(index))) page->Build();
}

void OptionsWindowView::ShowPage(int index) {
  BuildPage(index);
  if (pages_->currentIndex() != index) pages_->setCurrentIndex(index);
}

QWidget* OptionsWindowView::BuildButtons() {
  auto* buttons = new QWidget(this);
  auto* row = new QHBoxLayout(buttons);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch(1);
  auto* ok = new QPushButton(QStringLiteral("&OK"), buttons);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), buttons);
  cancel->setObjectName(QStringLiteral("BitBtn2"));
  auto* help = new QPushButton(QStringLiteral("&Help"), buttons);
  help->setObjectName(QStringLiteral("BitBtn3"));
  row->addWidget(ok);
  row->addWidget(cancel);
  row->addWidget(help);
  connect(ok, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { window_.AcceptClicked(); }); });
  connect(cancel, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { window_.CancelClicked(); }); });
  connect(help, &QPushButton::clicked, this,
          [this] { window_.Guard([this] { window_.HelpClicked(); }); });
  // F1 asks for help as the button does.
  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help_key, &QShortcut::activated, help, &QPushButton::click);
  // Esc presses Cancel.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, cancel, &QPushButton::click);
  return buttons;
}

void OptionsWindowView::ShowInFront() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
}

void OptionsWindowView::Hide() { hide(); }

void OptionsWindowView::Minimize() {
  minimizing_ = true;
  showMinimized();
  minimizing_ = false;
}

bool OptionsWindowView::Visible() const { return isVisible(); }

bool OptionsWindowView::Minimized() const { return isMinimized(); }

QPoint OptionsWindowView::CentredPosition() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return QPoint();
  return screen->availableGeometry().center() - QPoint(kClientWidth / 2, kClientHeight / 2);
}

WindowPlacement OptionsWindowView::Placement() const {
  return PlacementOf(frameGeometry(), isMinimized());
}

WindowPlacement OptionsWindowView::PlacementOf(const QRect& frame, bool minimized) {
  WindowPlacement placement;
  placement.show_cmd = minimized ? 2 : 1;
  placement.left = frame.left();
  placement.top = frame.top();
  // Right and bottom lie just outside the window.
  placement.right = frame.left() + frame.width();
  placement.bottom = frame.top() + frame.height();
  return placement;
}

QSize OptionsWindowView::FrameSize() const { return frameGeometry().size(); }

void OptionsWindowView::MoveTo(QPoint top_left) { move(top_left); }

QString OptionsWindowView::ActiveControl() const {
  // The window keeps its focus widget while it is hidden or inactive. Parts
  // of a control (a tab bar, a viewport) have no name of ours, only Qt's
  // own: the control they belong to is named.
  for (const QWidget* widget = focusWidget(); widget != nullptr && widget != this;
       widget = widget->parentWidget()) {
    const QString name = widget->objectName();
    if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_"))) return name;
  }
  return QString();
}

bool OptionsWindowView::FocusControl(const QString& name) {
  if (name.isEmpty()) return false;
  auto* control = findChild<QWidget*>(name);
  // A control on a page that is not selected cannot take the focus.
  if (control == nullptr || !control->isEnabled() || !control->isVisibleTo(this) ||
      control->focusPolicy() == Qt::NoFocus) {
    return false;
  }
  control->setFocus(Qt::OtherFocusReason);
  return true;
}

void OptionsWindowView::Quit() {
  quit_requested_ = true;
  QCoreApplication::quit();
}

void OptionsWindowView::closeEvent(QCloseEvent* event) {
  // The model decides; when it grants the close it calls Quit.
  event->ignore();
  window_.Guard([this] { window_.CloseRequest(); });
}

void OptionsWindowView::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || minimizing_) return;
  const auto* change = static_cast<QWindowStateChangeEvent*>(event);
  const bool was_minimized = change->oldState() & Qt::WindowMinimized;
  if (isMinimized() && !was_minimized) {
    window_.Guard([this] { window_.MinimizeApplication(); });
  }
}

}  // namespace voxmere
