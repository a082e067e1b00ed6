// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/welcome_window_view.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cstdlib>

#include "app/options_window.h"
#include "app/welcome_window.h"
#include "ui/about_page_view.h"

namespace voxmere {
namespace {

const QColor kBlue(49, 106, 197);
const QColor kLightBlue(64, 159, 255);
constexpr int kStripHeight = 8;
constexpr int kBodyBottom = 152;
constexpr int kLowerStripBottom = 179;
const QRect kParagraphBox(10, 48, 311, 97);

QFont ArialFont(int pixel_size) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  return font;
}

QLabel* WhiteLabel(const QString& name, const QString& text, int pixel_size, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setTextFormat(Qt::PlainText);
  label->setFont(ArialFont(pixel_size));
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(colours);
  label->setAttribute(Qt::WA_TranslucentBackground);
  return label;
}

// A horizontal gradient over `band`; mirrored runs from `from` to `to` at the
// middle and back.
void FillBand(QPainter& painter, const QRect& band, const QColor& from, const QColor& to,
              bool mirrored) {
  QLinearGradient gradient(band.left(), 0, band.right() + 1, 0);
  gradient.setColorAt(0, from);
  if (mirrored) {
    gradient.setColorAt(0.5, to);
    gradient.setColorAt(1, from);
  } else {
    gradient.setColorAt(1, to);
  }
  painter.fillRect(band, gradient);
}

int SnapAxis(int low, int high, int area_low, int area_high, int distance) {
  if (std::abs(low - area_low) <= distance) return area_low;
  if (std::abs(high - area_high) <= distance) return low + area_high - high;
  return low;
}

}  // namespace

QPoint SnapToEdges(const QRect& frame, const QRect& area, int distance) {
  // QRect's right and bottom are the last pixels inside.
  return QPoint(SnapAxis(frame.left(), frame.right(), area.left(), area.right(), distance),
                SnapAxis(frame.top(), frame.bottom(), area.top(), area.bottom(), distance));
}

WelcomeWindowView::WelcomeWindowView(WelcomeWindow& welcome, const QWidget& options_window,
                                     QWidget* parent)
    : QWidget(parent), welcome_(welcome) {
  setObjectName(QStringLiteral("frmWelcome"));
  setWindowTitle(WelcomeWindow::Title());
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setFixedSize(kClientWidth, kClientHeight);

  QLabel* title = WhiteLabel(QStringLiteral("Title_Label"), WelcomeWindow::Title(), 21, this);
  title->move(16, 16);
  title->adjustSize();
  QLabel* paragraph =
      WhiteLabel(QStringLiteral("Welcome_Text"), WelcomeWindow::Paragraph(), 11, this);
  paragraph->setWordWrap(true);
  paragraph->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  paragraph->setGeometry(kParagraphBox);

  auto* link = new LinkLabel(QStringLiteral("HyperLabel2"), WelcomeWindow::ContinueText(), this);
  link->move(239, 162);
  link->SetBold(true);
  connect(link, &LinkLabel::clicked, this,
          [this] { welcome_.Window().Guard([this] { welcome_.CloseRequested(); }); });

  move(options_window.frameGeometry().center() - rect().center());
}

WelcomeWindowView::~WelcomeWindowView() {
  if (loop_ != nullptr) loop_->quit();
}

void WelcomeWindowView::ShowModal() {
  show();
  raise();
  activateWindow();
  if (!isVisible()) return;
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
}

void WelcomeWindowView::Close() { hide(); }

bool WelcomeWindowView::Visible() const { return isVisible(); }

void WelcomeWindowView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const int width = this->width();
  FillBand(painter, QRect(0, 0, width, kStripHeight), Qt::white, kBlue, true);
  FillBand(painter, QRect(0, kStripHeight, width, kBodyBottom - kStripHeight), kBlue, kLightBlue,
           false);
  FillBand(painter, QRect(0, kBodyBottom, width, kLowerStripBottom - kBodyBottom), kLightBlue,
           Qt::white, false);
  FillBand(painter, QRect(0, kLowerStripBottom, width, height() - kLowerStripBottom), kBlue,
           Qt::white, true);
}

void WelcomeWindowView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    welcome_.Window().Guard([this] { welcome_.CloseRequested(); });
    return;
  }
  QWidget::keyPressEvent(event);
}

void WelcomeWindowView::mousePressEvent(QMouseEvent* event) {
  // Only the coloured background moves the window, not the texts or the
  // link.
  const QPoint at = event->position().toPoint();
  if (event->button() != Qt::LeftButton || childAt(at) != nullptr) {
    QWidget::mousePressEvent(event);
    return;
  }
  // The window manager moves it when it can; the snap follows its moves.
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
  drag_offset_ = event->globalPosition().toPoint() - pos();
}

void WelcomeWindowView::mouseMoveEvent(QMouseEvent* event) {
  if (!drag_offset_) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  move(event->globalPosition().toPoint() - *drag_offset_);
}

void WelcomeWindowView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) drag_offset_.reset();
  QWidget::mouseReleaseEvent(event);
}

void WelcomeWindowView::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (isVisible()) Snap();
}

void WelcomeWindowView::Snap() {
  if (snapping_ || screen() == nullptr) return;
  const QRect frame = frameGeometry();
  const QPoint snapped = SnapToEdges(frame, screen()->availableGeometry(), kSnapDistance);
  if (snapped == frame.topLeft()) return;
  snapping_ = true;
  move(pos() + (snapped - frame.topLeft()));
  snapping_ = false;
}

void WelcomeWindowView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  welcome_.Window().Guard([this] { welcome_.Shown(); });
}

void WelcomeWindowView::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (event->spontaneous()) return;
  if (loop_ != nullptr) loop_->quit();
  welcome_.Window().Guard([this] { welcome_.Hidden(); });
}

}  // namespace voxmere
