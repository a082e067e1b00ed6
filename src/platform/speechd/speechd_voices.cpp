// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/speechd/speechd_voices.h"

#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "platform/exception.h"
#include "platform/speechd/speechd_log.h"
#include "platform/speechd/ssip_socket.h"

namespace voxmere {
namespace {

bool IsBase(const SpeechdVoice& voice) {
  return voice.variant.isEmpty() || voice.variant.compare(u"none", Qt::CaseInsensitive) == 0;
}

// The territory part of a language code when it is one QLocale can name
// ("us" in "en-us", "419" in "es-419"), else empty.
QString TerritoryPart(const QStringList& parts) {
  if (parts.size() < 2) return {};
  const QString& part = parts[1];
  const bool letters = part.size() == 2 && part[0].isLetter() && part[1].isLetter();
  const bool digits = part.size() == 3 &&
                      std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); });
  return letters ? part.toUpper() : digits ? part : QString();
}

}  // namespace

std::vector<SpeechdVoice> ParseSynthesisVoices(const QString& module,
                                               const std::vector<QByteArray>& lines) {
  std::vector<SpeechdVoice> voices;
  voices.reserve(lines.size());
  for (const QByteArray& line : lines) {
    const QList<QByteArray> fields = line.split('\t');
    SpeechdVoice voice;
    voice.module = module;
    voice.name = QString::fromUtf8(fields.value(0)).trimmed();
    if (voice.name.isEmpty()) continue;
    voice.language = QString::fromUtf8(fields.value(1)).trimmed();
    voice.variant = QString::fromUtf8(fields.value(2)).trimmed();
    voices.push_back(std::move(voice));
  }
  return voices;
}

std::vector<SpeechdVoice> BaseVoices(std::vector<SpeechdVoice> voices) {
  QSet<QString> modules_with_base;
  for (const SpeechdVoice& voice : voices) {
    if (IsBase(voice)) modules_with_base.insert(voice.module);
  }
  std::erase_if(voices, [&](const SpeechdVoice& voice) {
    return !IsBase(voice) && modules_with_base.contains(voice.module);
  });
  return voices;
}

QString LanguageDisplayName(const QString& code) {
  const QStringList parts = code.split(QRegularExpression(QStringLiteral("[-_]")));
  const QString language_part = parts.value(0).toLower();
  if (language_part.size() < 2 || language_part.size() > 3) return code;
  const QString territory = TerritoryPart(parts);
  const QLocale locale(territory.isEmpty() ? language_part : language_part + u'_' + territory);
  if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage) return code;
  QString name = QLocale::languageToString(locale.language());
  // QLocale answers an unknown territory with the language's usual one.
  if (!territory.isEmpty() &&
      QLocale::territoryToCode(locale.territory()).compare(territory, Qt::CaseInsensitive) == 0) {
    name += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
  }
  return name;
}

void DescribeVoices(std::vector<SpeechdVoice>& voices) {
  QHash<QString, int> uses;
  for (SpeechdVoice& voice : voices) {
    const QString language = LanguageDisplayName(voice.language);
    const QString language_word = language.section(u' ', 0, 0);
    const bool name_says_language =
        voice.language.isEmpty() || voice.name.startsWith(language_word, Qt::CaseInsensitive);
    voice.description =
        name_says_language ? voice.name : voice.name + QStringLiteral(" - ") + language;
    ++uses[voice.description];
  }
  // Repeated descriptions: name the module, then number what is still equal.
  for (SpeechdVoice& voice : voices) {
    if (uses.value(voice.description) > 1)
      voice.description += QStringLiteral(" (") + voice.module + u')';
  }
  QHash<QString, int> seen;
  for (SpeechdVoice& voice : voices) {
    const int count = ++seen[voice.description];
    if (count > 1) voice.description += QStringLiteral(" #") + QString::number(count);
  }
}

std::vector<SpeechdVoice> ListSpeechdVoices(const SpeechdAddress& address,
                                            std::chrono::steady_clock::time_point deadline) {
  SsipSocket socket;
  if (!socket.Connect(address, deadline)) {
    throw Exception(QStringLiteral("nothing listens at %1").arg(address.ToText()));
  }
  auto command = [&](const QByteArray& line) {
    SsipReply reply = socket.Command(line, deadline);
    if (!reply.Ok()) {
      throw Exception(QStringLiteral("it refused \"%1\" (%2)")
                          .arg(QString::fromUtf8(line), QString::fromUtf8(reply.text)));
    }
    return reply;
  };
  command("SET SELF CLIENT_NAME \"voxmere:voxmere:voices\"");
  std::vector<SpeechdVoice> all;
  for (const QByteArray& module : command("LIST OUTPUT_MODULES").data) {
    // A module that cannot be used or listed contributes no voices.
    if (const SsipReply chosen = socket.Command("SET SELF OUTPUT_MODULE " + module, deadline);
        !chosen.Ok()) {
      qCWarning(SpeechdLog, "The output module %s is left out: it cannot be chosen (%s)",
                module.constData(), chosen.text.constData());
      continue;
    }
    const SsipReply listed = socket.Command("LIST SYNTHESIS_VOICES", deadline);
    if (!listed.Ok()) {
      qCWarning(SpeechdLog, "The output module %s is left out: it lists no voices (%s)",
                module.constData(), listed.text.constData());
      continue;
    }
    std::vector<SpeechdVoice> voices =
        BaseVoices(ParseSynthesisVoices(QString::fromUtf8(module), listed.data));
    all.insert(all.end(), std::make_move_iterator(voices.begin()),
               std::make_move_iterator(voices.end()));
  }
  socket.Command("QUIT", deadline);
  DescribeVoices(all);
  return all;
}

}  // namespace voxmere
