// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_syntax.h"

#include "platform/exception.h"
#include "settings/ini_value.h"

namespace voxmere {
namespace {

bool HasLineBreak(QStringView text) { return text.contains(u'\r') || text.contains(u'\n'); }

}  // namespace

QList<IniLine> SplitIniLines(QStringView text) {
  QList<IniLine> lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar ch = text[i];
    if (ch != u'\r' && ch != u'\n') continue;
    LineEnd end = LineEnd::kLf;
    qsizetype next = i + 1;
    if (ch == u'\r') {
      if (next < n && text[next] == u'\n') {
        end = LineEnd::kCrLf;
        ++next;
      } else {
        end = LineEnd::kCr;
      }
    }
    lines.append({text.sliced(start, i - start).toString(), end});
    start = next;
    i = next - 1;
  }
  if (start < n) lines.append({text.sliced(start).toString(), LineEnd::kNone});
  return lines;
}

QStringView LineEndText(LineEnd end) {
  switch (end) {
    case LineEnd::kCrLf:
      return u"\r\n";
    case LineEnd::kCr:
      return u"\r";
    case LineEnd::kLf:
      return u"\n";
    case LineEnd::kNone:
      break;
  }
  return {};
}

QString JoinIniLines(const QList<IniLine>& lines) {
  qsizetype size = 0;
  for (const IniLine& line : lines) size += line.text.size() + 2;
  QString text;
  text.reserve(size);
  for (const IniLine& line : lines) {
    text.append(line.text);
    text.append(LineEndText(line.end));
  }
  return text;
}

std::optional<QStringView> IniHeaderName(QStringView line) {
  const QStringView trimmed = TrimIniBlanks(line);
  if (!trimmed.startsWith(u'[')) return std::nullopt;
  const qsizetype close = trimmed.indexOf(u']', 1);
  if (close < 0) return std::nullopt;
  return TrimIniBlanks(trimmed.sliced(1, close - 1));
}

std::optional<IniKeyLine> IniKeyOf(QStringView line) {
  const QStringView trimmed = TrimIniBlanks(line);
  if (trimmed.startsWith(u';') || IniHeaderName(trimmed)) return std::nullopt;
  const qsizetype equals = line.indexOf(u'=');
  if (equals < 0) return std::nullopt;
  const QStringView name = TrimIniBlanks(line.first(equals));
  if (name.isEmpty()) return std::nullopt;
  return IniKeyLine{name, line.sliced(equals + 1)};
}

bool IniNamesMatch(QStringView a, QStringView b) {
  return TrimIniBlanks(a).compare(TrimIniBlanks(b), Qt::CaseInsensitive) == 0;
}

void CheckIniSectionName(QStringView section) {
  const QStringView name = TrimIniBlanks(section);
  if (name.isEmpty() || HasLineBreak(name) || name.contains(u']')) {
    throw Exception(
        QStringLiteral("\"%1\" cannot be used as a section name in a settings file.").arg(section));
  }
}

void CheckIniKeyName(QStringView key) {
  const QStringView name = TrimIniBlanks(key);
  if (name.isEmpty() || HasLineBreak(name) || name.contains(u'=') || name.startsWith(u';') ||
      name.startsWith(u'[')) {
    throw Exception(
        QStringLiteral("\"%1\" cannot be used as a key name in a settings file.").arg(key));
  }
}

void CheckIniValue(QStringView value) {
  if (HasLineBreak(value)) {
    throw Exception(QStringLiteral("A settings value cannot hold a line break."));
  }
}

}  // namespace voxmere
