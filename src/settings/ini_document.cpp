// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ini_document.h"

#include "settings/ini_value.h"
#include "settings/settings_log.h"

namespace voxmere {
namespace {

QString KeyLineText(QStringView key, QStringView value) {
  QString text = TrimIniBlanks(key).toString();
  text.append(u'=');
  text.append(value);
  return text;
}

QString HeaderLineText(QStringView section) {
  return u'[' + TrimIniBlanks(section).toString() + u']';
}

// A value that should be a number and is not: the default stands in, as the
// profile rules say; the log says so.
void NotANumber(QStringView section, QStringView key, const QString& value, int used) {
  qCDebug(SettingsLog, "[%s] %s=%s is not a number; %d is used instead",
          qUtf8Printable(section.toString()), qUtf8Printable(key.toString()), qUtf8Printable(value),
          used);
}

}  // namespace

IniDocument IniDocument::FromBytes(const QByteArray& bytes) {
  DecodedText decoded = DecodeSettingsText(bytes);
  IniDocument document;
  document.lines_ = SplitIniLines(decoded.text);
  document.encoding_ = decoded.encoding;
  return document;
}

IniDocument IniDocument::Load(const QString& path) {
  std::optional<QByteArray> bytes = ReadSettingsBytes(path);
  return bytes ? FromBytes(*bytes) : IniDocument();
}

QByteArray IniDocument::ToBytes() const {
  return EncodeSettingsText(JoinIniLines(lines_), encoding_);
}

void IniDocument::Save(const QString& path) const { WriteSettingsBytes(path, ToBytes()); }

std::optional<IniDocument::SectionRange> IniDocument::FindSection(QStringView section) const {
  std::optional<SectionRange> range;
  for (qsizetype i = 0; i < lines_.size(); ++i) {
    const std::optional<QStringView> name = IniHeaderName(lines_[i].text);
    if (!name) continue;
    if (range) {
      range->end = i;
      return range;
    }
    if (IniNamesMatch(*name, section)) range = SectionRange{i, lines_.size()};
  }
  return range;
}

std::optional<qsizetype> IniDocument::FindKey(const SectionRange& range, QStringView key) const {
  for (qsizetype i = range.header + 1; i < range.end; ++i) {
    const std::optional<IniKeyLine> line = IniKeyOf(lines_[i].text);
    if (line && IniNamesMatch(line->name, key)) return i;
  }
  return std::nullopt;
}

std::optional<QString> IniDocument::ReadValue(QStringView section, QStringView key) const {
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return std::nullopt;
  const std::optional<qsizetype> index = FindKey(*range, key);
  if (!index) return std::nullopt;
  return TrimIniValue(IniKeyOf(lines_[*index].text)->raw_value);
}

QString IniDocument::ReadString(QStringView section, QStringView key,
                                const QString& default_value) const {
  return ReadValue(section, key).value_or(default_value);
}

int IniDocument::ReadInteger(QStringView section, QStringView key, int default_value) const {
  const std::optional<QString> value = ReadValue(section, key);
  if (!value) return default_value;
  const std::optional<int> number = ParseIniInteger(*value);
  if (!number) NotANumber(section, key, *value, default_value);
  return number.value_or(default_value);
}

bool IniDocument::ReadBool(QStringView section, QStringView key, bool default_value) const {
  const std::optional<QString> value = ReadValue(section, key);
  if (!value) return default_value;
  const std::optional<int> number = ParseIniInteger(*value);
  if (!number) NotANumber(section, key, *value, default_value ? 1 : 0);
  return number ? *number != 0 : default_value;
}

QStringList IniDocument::KeyNames(QStringView section) const {
  QStringList names;
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return names;
  for (qsizetype i = range->header + 1; i < range->end; ++i) {
    if (const std::optional<IniKeyLine> line = IniKeyOf(lines_[i].text)) {
      names.append(line->name.toString());
    }
  }
  return names;
}

bool IniDocument::HasKeys(QStringView section) const {
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return false;
  for (qsizetype i = range->header + 1; i < range->end; ++i) {
    if (IniKeyOf(lines_[i].text)) return true;
  }
  return false;
}

void IniDocument::WriteString(QStringView section, QStringView key, QStringView value) {
  CheckIniSectionName(section);
  CheckIniKeyName(key);
  CheckIniValue(value);

  // New lines end with CR LF; a last line without a line end gets one first.
  auto insert_line = [this](qsizetype at, const QString& text) {
    if (at > 0 && lines_[at - 1].end == LineEnd::kNone) lines_[at - 1].end = LineEnd::kCrLf;
    lines_.insert(at, IniLine{text, LineEnd::kCrLf});
  };

  const std::optional<SectionRange> range = FindSection(section);
  if (!range) {
    insert_line(lines_.size(), HeaderLineText(section));
    insert_line(lines_.size(), KeyLineText(key, value));
    return;
  }
  if (const std::optional<qsizetype> index = FindKey(*range, key)) {
    // The key keeps its spelling from the file; the line end stays.
    IniLine& line = lines_[*index];
    line.text = KeyLineText(IniKeyOf(line.text)->name.toString(), value);
    return;
  }
  // After the section's last key, so that blank and separator lines after it
  // stay between the sections.
  qsizetype last = range->header;
  for (qsizetype i = range->header + 1; i < range->end; ++i) {
    if (IniKeyOf(lines_[i].text)) last = i;
  }
  insert_line(last + 1, KeyLineText(key, value));
}

void IniDocument::WriteInteger(QStringView section, QStringView key, int value) {
  WriteString(section, key, QString::number(value));
}

void IniDocument::WriteBool(QStringView section, QStringView key, bool value) {
  WriteString(section, key, value ? u"1" : u"0");
}

bool IniDocument::DeleteKey(QStringView section, QStringView key) {
  const std::optional<SectionRange> range = FindSection(section);
  if (!range) return false;
  const std::optional<qsizetype> index = FindKey(*range, key);
  if (!index) return false;
  lines_.removeAt(*index);
  return true;
}

void IniDocument::EndAllLinesWithCrLf() {
  for (IniLine& line : lines_) line.end = LineEnd::kCrLf;
}

void IniDocument::EraseSection(QStringView section) {
  if (const std::optional<SectionRange> range = FindSection(section)) {
    for (qsizetype i = range->end - 1; i > range->header; --i) {
      if (IniKeyOf(lines_[i].text)) lines_.removeAt(i);
    }
    lines_.removeAt(range->header);
  }
  EndAllLinesWithCrLf();
}

bool IniDocument::RenameSection(QStringView old_name, QStringView new_name) {
  CheckIniSectionName(new_name);
  const std::optional<SectionRange> range = FindSection(old_name);
  if (range) lines_[range->header].text = HeaderLineText(new_name);
  EndAllLinesWithCrLf();
  return range.has_value();
}

void IniDocument::Tidy() {
  static const QString kSeparator = QStringLiteral("\r");
  QStringList texts;
  texts.reserve(lines_.size());
  for (const IniLine& line : lines_) {
    if (line.text.isEmpty() || line.text == u" ") continue;
    texts.append(line.text);
  }
  // Only every second line is looked at, and the step counts the inserted
  // separator: with seven-line sections every header gets one.
  for (qsizetype i = 1; i < texts.size(); i += 2) {
    if (texts[i].contains(u'[') && texts[i].contains(u']')) texts.insert(i, kSeparator);
  }
  lines_.clear();
  lines_.reserve(texts.size());
  for (const QString& text : texts) {
    if (text == kSeparator) {
      // Written as CR followed by the line's CR LF; that reads back as an empty
      // line ended by a lone CR and an empty line ended by CR LF.
      lines_.append(IniLine{QString(), LineEnd::kCr});
      lines_.append(IniLine{QString(), LineEnd::kCrLf});
    } else {
      lines_.append(IniLine{text, LineEnd::kCrLf});
    }
  }
}

}  // namespace voxmere
