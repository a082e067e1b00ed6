// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "platform/web_links.h"

namespace voxmere {

// Addresses of the maker's pages. They are ours to choose.
inline constexpr const char* kMakerWebSite = "https://voxmere.org/";
inline constexpr const char* kProgramPage = "https://voxmere.org/voxmere/";
inline constexpr const char* kSpeechEnginesPage = "https://voxmere.org/speech-engines/";
inline constexpr const char* kSupportAddress = "support@voxmere.org";
inline constexpr const char* kSupportMail = "mailto:support@voxmere.org";

// The "About" page: three links. Start-up makes them bold.
class AboutPage : public QObject {
  Q_OBJECT

 public:
  explicit AboutPage(WebLinks& links, QObject* parent = nullptr) : QObject(parent), links_(links) {}

  // "voxmere.org", "Program information", "Technical support".
  static QString LinkText(int link);
  bool LinksBold() const { return links_bold_; }
  void SetLinksBold() {
    links_bold_ = true;
    emit LinksBoldChanged();
  }

  void OpenMakerWebsite() { links_.Open(QString::fromLatin1(kMakerWebSite)); }
  void OpenProgramPage() { links_.Open(QString::fromLatin1(kProgramPage)); }
  void OpenSupportMail() { links_.Open(QString::fromLatin1(kSupportMail)); }

 signals:
  void LinksBoldChanged();

 private:
  WebLinks& links_;
  bool links_bold_ = false;
};

}  // namespace voxmere
