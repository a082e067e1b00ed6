// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_voice.h"

#include <QSet>
#include <QUuid>
#include <QtGlobal>
#include <algorithm>
#include <climits>

namespace voxmere {
namespace {

// Mode features and interfaces as the Windows engines report them.
constexpr std::uint32_t kFeatureAnyWord = 0x1;
constexpr std::uint32_t kFeatureVolume = 0x2;
constexpr std::uint32_t kFeatureSpeed = 0x4;
constexpr std::uint32_t kFeaturePitch = 0x8;
constexpr std::uint32_t kInterfaceAttributes = 0x2;
constexpr std::uint32_t kInterfaceCentral = 0x4;
constexpr std::uint32_t kInterfaceDialogs = 0x8;

constexpr int kGenderNeutral = 0;
constexpr int kGenderFemale = 1;
constexpr int kGenderMale = 2;
constexpr int kAgeAdult = 30;

// Fixed so that identifiers derived from it never change.
const QUuid kModeNamespace(QStringLiteral("{6E1F0C2A-3B57-4D8E-9A41-5C2D7B90E3F4}"));
const QUuid kEngineId(QStringLiteral("{2B8D4E61-7C3A-4F05-B9E2-81D6A04C5F37}"));

QString GuidText(const QUuid& id) { return id.toString(QUuid::WithBraces).toUpper(); }

QString PrimaryLanguage(const QString& tag) { return tag.section(QLatin1Char('-'), 0, 0); }

// How well a voice fits the locale: 0 for the exact tag, 1 for the language,
// 2 for none; with espeak-ng's priority of the best matching language entry.
struct LocaleFit {
  int rank = 2;
  int priority = INT_MAX;
  bool operator<(const LocaleFit& other) const {
    return rank != other.rank ? rank < other.rank : priority < other.priority;
  }
};

LocaleFit FitOf(const EspeakVoice& voice, const QString& locale_tag) {
  LocaleFit best;
  if (locale_tag.isEmpty()) return best;
  const QString language = PrimaryLanguage(locale_tag);
  for (const EspeakVoice::Language& entry : voice.languages) {
    LocaleFit fit;
    if (entry.tag.compare(locale_tag, Qt::CaseInsensitive) == 0 && locale_tag.contains('-')) {
      fit.rank = 0;
    } else if (PrimaryLanguage(entry.tag).compare(language, Qt::CaseInsensitive) == 0) {
      fit.rank = 1;
    } else {
      continue;
    }
    fit.priority = entry.priority;
    best = std::min(best, fit);
  }
  return best;
}

bool NameBefore(const EspeakVoice& a, const EspeakVoice& b) {
  const int order = a.name.compare(b.name, Qt::CaseInsensitive);
  return order != 0 ? order < 0 : a.identifier < b.identifier;
}

}  // namespace

QString LocaleLanguageTag(const QString& lc_all, const QString& lc_messages, const QString& lang) {
  QString locale = !lc_all.isEmpty() ? lc_all : !lc_messages.isEmpty() ? lc_messages : lang;
  // language[_territory][.codeset][@modifier]
  locale = locale.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
  if (locale == QLatin1String("C") || locale == QLatin1String("POSIX")) return {};
  return locale.replace(QLatin1Char('_'), QLatin1Char('-')).toLower();
}

QString LocaleLanguageTagFromEnvironment() {
  return LocaleLanguageTag(qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
                           qEnvironmentVariable("LANG"));
}

QList<EspeakVoice> OrderVoicesForLocale(QList<EspeakVoice> voices, const QString& locale_tag) {
  // Voices outside the user's language all fit alike, so only names order them.
  std::stable_sort(voices.begin(), voices.end(),
                   [&locale_tag](const EspeakVoice& a, const EspeakVoice& b) {
                     const LocaleFit fit_a = FitOf(a, locale_tag), fit_b = FitOf(b, locale_tag);
                     if (fit_a < fit_b) return true;
                     if (fit_b < fit_a) return false;
                     return NameBefore(a, b);
                   });
  return voices;
}

TtsModeInfo ModeInfoForVoice(const EspeakVoice& voice, const QString& engine_version) {
  TtsModeInfo info;
  info.engine_id = EspeakEngineId();
  info.manufacturer_name = QStringLiteral("eSpeak NG");
  info.product_name = QStringLiteral("eSpeak NG text-to-speech %1").arg(engine_version).trimmed();
  info.mode_id = GuidText(QUuid::createUuidV5(kModeNamespace, voice.identifier));
  info.mode_name = QStringLiteral("%1 (eSpeak NG)").arg(voice.name);
  info.language_dialect = voice.languages.isEmpty() ? QString() : voice.languages.front().tag;
  info.speaker = voice.name;
  info.style = QStringLiteral("Normal");
  info.gender = voice.gender == 1   ? kGenderMale
                : voice.gender == 2 ? kGenderFemale
                                    : kGenderNeutral;
  info.age = voice.age > 0 ? voice.age : kAgeAdult;
  info.features = kFeatureAnyWord | kFeatureVolume | kFeatureSpeed | kFeaturePitch;
  info.interfaces = kInterfaceAttributes | kInterfaceCentral | kInterfaceDialogs;
  return info;
}

void MakeVoiceNamesUnique(QList<EspeakVoice>* voices) {
  QSet<QString> seen;
  for (EspeakVoice& voice : *voices) {
    if (seen.contains(voice.name.toCaseFolded())) {
      voice.name = QStringLiteral("%1 (%2)").arg(voice.name, voice.identifier);
    }
    seen.insert(voice.name.toCaseFolded());
  }
}

QString EspeakEngineId() { return GuidText(kEngineId); }

}  // namespace voxmere
