// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_page_view.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "app/options_window.h"
#include "ui/icons.h"

namespace voxmere {
namespace {

// The page runs from the program's blue at the top to white at the bottom;
// the strips at both sides run the other way.
const QColor kPageBlue(49, 106, 197);
constexpr int kStripWidth = 26;

QFont ArialFont(int pixel_size, bool bold, bool italic) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

// The program's line: Arial 13 pixels bold italic, word-wrapped and centred
// in this box.
const QRect kLineBox(112, 34, 228, 33);
constexpr int kLinePixelSize = 13;
constexpr int kSmallestPixelSize = 8;

// Where Arial is missing its stand-in may be wider: the line then takes a
// smaller size, so that it still fits its box.
QFont FittingFont(const QString& text, QSize box) {
  QFont font = ArialFont(kLinePixelSize, true, true);
  for (int size = kLinePixelSize; size >= kSmallestPixelSize; --size) {
    font.setPixelSize(size);
    const QRect needed = QFontMetrics(font).boundingRect(
        QRect(QPoint(0, 0), QSize(box.width(), 10000)), Qt::AlignCenter | Qt::TextWordWrap, text);
    if (needed.height() <= box.height() && needed.width() <= box.width()) break;
  }
  return font;
}

}  // namespace

const QColor& LinkLabel::LinkColour() {
  static const QColor colour(0, 78, 152);
  return colour;
}

const QColor& LinkLabel::HoverColour() {
  static const QColor colour(49, 106, 197);
  return colour;
}

LinkLabel::LinkLabel(const QString& name, const QString& text, QWidget* parent)
    : QLabel(text, parent) {
  setObjectName(name);
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(text);
  setAttribute(Qt::WA_TranslucentBackground);
  ShowState();
}

void LinkLabel::SetBold(bool bold) {
  QFont bolder = font();
  bolder.setBold(bold);
  setFont(bolder);
  adjustSize();
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  ShowState();
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  hovered_ = false;
  ShowState();
  QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit clicked();
  }
  QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        emit clicked();
        return;
      }
      break;
    default:
      break;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
  ShowState();
  QLabel::focusInEvent(event);
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
  ShowState();
  QLabel::focusOutEvent(event);
}

void LinkLabel::ShowState() {
  QPalette colours = palette();
  const bool lit = hovered_ || hasFocus();
  colours.setColor(QPalette::WindowText, lit ? HoverColour() : LinkColour());
  setPalette(colours);
  QFont underlined = font();
  underlined.setUnderline(lit);
  setFont(underlined);
  adjustSize();
}

AboutPageView::AboutPageView(OptionsWindow& window, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("About_Page"));

  auto* picture = new QLabel(this);
  picture->setPixmap(IdleIconPixmap().scaled(64, 64, Qt::KeepAspectRatio, Qt::FastTransformation));
  picture->setGeometry(37, 8, 64, 64);

  auto* name = new QLabel(QStringLiteral("Voxmere!"), this);
  name->setFont(ArialFont(16, true, false));
  name->move(150, 9);
  name->adjustSize();

  auto* line = new QLabel(
      QStringLiteral("Read selected text from any application with a single keystroke!"), this);
  line->setWordWrap(true);
  line->setFont(FittingFont(line->text(), kLineBox.size()));
  line->setAlignment(Qt::AlignCenter);
  QPalette line_colours = line->palette();
  line_colours.setColor(QPalette::WindowText, QColor(0, 64, 128));
  line->setPalette(line_colours);
  line->setGeometry(kLineBox);

  AboutPage& about = window.about;
  const QPoint places[] = {{140, 77}, {168, 100}, {173, 124}};
  LinkLabel* links[3];
  for (int link = 0; link < 3; ++link) {
    links[link] =
        new LinkLabel(QStringLiteral("HyperLabel%1").arg(link + 1), about.LinkText(link), this);
    links[link]->move(places[link]);
    links[link]->SetBold(about.LinksBold());
  }
  connect(links[0], &LinkLabel::clicked, &about,
          [&window, &about] { window.Guard([&about] { about.OpenMakerWebsite(); }); });
  connect(links[1], &LinkLabel::clicked, &about,
          [&window, &about] { window.Guard([&about] { about.OpenProgramPage(); }); });
  connect(links[2], &LinkLabel::clicked, &about,
          [&window, &about] { window.Guard([&about] { about.OpenSupportMail(); }); });
  connect(&about, &AboutPage::LinksBoldChanged, this, [&about, links] {
    for (LinkLabel* link : links) link->SetBold(about.LinksBold());
  });

  auto* small_print = new QLabel(AboutPage::SmallPrint(), this);
  QFont small = font();
  small.setPointSize(7);
  small_print->setFont(small);
  small_print->move(60, 181);
  small_print->adjustSize();
}

void AboutPageView::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect area = rect();
  QLinearGradient middle(area.topLeft(), area.bottomLeft());
  middle.setColorAt(0, kPageBlue);
  middle.setColorAt(1, Qt::white);
  painter.fillRect(area, middle);
  QLinearGradient sides(area.topLeft(), area.bottomLeft());
  sides.setColorAt(0, Qt::white);
  sides.setColorAt(1, kPageBlue);
  painter.fillRect(QRect(area.left(), area.top(), kStripWidth, area.height()), sides);
  painter.fillRect(QRect(area.right() - kStripWidth + 1, area.top(), kStripWidth, area.height()),
                   sides);
}

}  // namespace voxmere
