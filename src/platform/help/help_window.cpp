// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/help/help_window.h"

#include <QHBoxLayout>
#include <QHelpEngineCore>
#include <QKeySequence>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include "platform/help/help_browser.h"
#include "platform/help/help_topic_pages.h"

namespace voxmere {
namespace {

// The <title> of a page of the help file, or the page's name without one.
QString PageTitle(QHelpEngineCore& engine, const QString& page) {
  static const QRegularExpression title(QStringLiteral("<title>([^<]*)</title>"),
                                        QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match =
      title.match(QString::fromUtf8(engine.fileData(HelpPageUrl(page))));
  return match.hasMatch() ? match.captured(1).trimmed() : page;
}

QUrl WithoutFragment(const QUrl& url) { return url.adjusted(QUrl::RemoveFragment); }

}  // namespace

const QString& HelpWindow::Caption() {
  static const QString caption = QStringLiteral("Voxmere! Help");
  return caption;
}

HelpWindow::HelpWindow(QHelpEngineCore& engine, QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(Caption());
  resize(860, 600);

  back_ = new QPushButton(QStringLiteral("< &Back"), this);
  back_->setObjectName(QStringLiteral("Back_Button"));
  back_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
  back_->setEnabled(false);
  forward_ = new QPushButton(QStringLiteral("&Forward >"), this);
  forward_->setObjectName(QStringLiteral("Forward_Button"));
  forward_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
  forward_->setEnabled(false);

  contents_ = new QListWidget(this);
  contents_->setObjectName(QStringLiteral("Contents_List"));
  contents_->setAccessibleName(QStringLiteral("Help topics"));
  contents_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (HelpTopic topic : kAllHelpTopics) {
    const QString page = HelpTopicPage(topic);
    auto* item = new QListWidgetItem(PageTitle(engine, page), contents_);
    item->setData(Qt::UserRole, HelpPageUrl(page));
  }

  browser_ = new HelpBrowser(engine, this);
  browser_->setAccessibleName(QStringLiteral("Help page"));

  auto* splitter = new QSplitter(this);
  splitter->addWidget(contents_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 620});

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(splitter, 1);

  // Esc closes the window, as it closes the program's dialogs.
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::MarkCurrentTopic);
  connect(contents_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toUrl()); });
  connect(contents_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toUrl()); });
}

void HelpWindow::ShowPage(const QUrl& url) {
  if (url == browser_->source()) return;
  browser_->setSource(url);
}

void HelpWindow::MarkCurrentTopic(const QUrl& url) {
  // The title names the page, so that the window list tells help pages apart.
  const QString title = browser_->documentTitle();
  setWindowTitle(title.isEmpty() ? Caption() : title + QStringLiteral(" - ") + Caption());
  const QUrl page = WithoutFragment(url);
  for (int row = 0; row < contents_->count(); ++row) {
    if (contents_->item(row)->data(Qt::UserRole).toUrl() == page) {
      contents_->setCurrentRow(row);
      return;
    }
  }
  contents_->clearSelection();
}

}  // namespace voxmere
