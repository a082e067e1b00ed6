// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as an INI file: reading never fails, an untouched file
// writes back byte for byte, and writes, TidyIniFile, section erase and rename
// keep the promises the settings code relies on.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "settings/ini_document.h"
#include "settings/ini_syntax.h"
#include "settings/ini_value.h"
#include "settings/settings_text.h"

namespace voxmere {
namespace {

constexpr int kMaxSections = 12;
constexpr int kMaxPairs = 200;

struct Probe {
  QString section;
  QString key;
  std::optional<QString> value;
};

QStringList HeaderNames(const IniDocument& doc) {
  QStringList names;
  for (const IniLine& line : doc.Lines()) {
    const std::optional<QStringView> name = IniHeaderName(line.text);
    if (name) names.append(name->toString());
  }
  return names;
}

int CountMatching(const QStringList& names, QStringView name) {
  int count = 0;
  for (const QString& n : names) count += IniNamesMatch(n, name) ? 1 : 0;
  return count;
}

// Every (section, key) the document holds, as the profile rules read them.
std::vector<Probe> Snapshot(const IniDocument& doc) {
  std::vector<Probe> probes;
  QStringList seen;
  for (const QString& section : HeaderNames(doc)) {
    if (CountMatching(seen, section) > 0) continue;
    if (seen.size() >= kMaxSections) break;
    seen.append(section);
    const QStringList keys = doc.KeyNames(section);
    FUZZ_CHECK(doc.HasKeys(section) == !keys.isEmpty());
    for (const QString& key : keys) {
      if (static_cast<int>(probes.size()) >= kMaxPairs) return probes;
      const std::optional<QString> value = doc.ReadValue(section, key);
      FUZZ_CHECK(value.has_value());
      FUZZ_CHECK(value->size() <= kIniValueMaxLength);
      probes.push_back({section, key, value});
    }
  }
  return probes;
}

// Probes whose section and key don't match the given ones still read the same.
void CheckUnchanged(const IniDocument& doc, const std::vector<Probe>& probes,
                    QStringView skip_section, QStringView skip_key, bool whole_section) {
  for (const Probe& probe : probes) {
    const bool in_section = IniNamesMatch(probe.section, skip_section);
    if (in_section && (whole_section || IniNamesMatch(probe.key, skip_key))) continue;
    FUZZ_CHECK(doc.ReadValue(probe.section, probe.key) == probe.value);
  }
}

// A name the writers accept: no line breaks, brackets, "=" or ";".
QString SaneName(const QString& raw, const QString& fallback) {
  QString name;
  for (QChar ch : raw) {
    if (ch != u'\r' && ch != u'\n' && ch != u'=' && ch != u'[' && ch != u']' && ch != u';') {
      name.append(ch);
    }
  }
  name = TrimIniBlanks(name).toString();
  return name.isEmpty() ? fallback : name;
}

bool Reparses(const IniDocument& doc) {
  // Three byte-order marks in a row lose one when read; nothing else may change.
  return doc.Lines().isEmpty() || !doc.Lines().first().text.startsWith(QChar(0xFEFF));
}

void CheckTidy(const IniDocument& doc, const std::vector<Probe>& probes) {
  IniDocument tidy = doc;
  tidy.Tidy();
  CheckUnchanged(tidy, probes, u"", u"", false);
  const QList<IniLine>& lines = tidy.Lines();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    FUZZ_CHECK(lines[i].text != u" ");
    if (lines[i].text.isEmpty()) {
      // Only the two halves of a separator line, right before a bracketed line.
      FUZZ_CHECK(lines[i].end == LineEnd::kCr && i + 2 < lines.size());
      FUZZ_CHECK(lines[i + 1].text.isEmpty() && lines[i + 1].end == LineEnd::kCrLf);
      FUZZ_CHECK(lines[i + 2].text.contains(u'[') && lines[i + 2].text.contains(u']'));
      ++i;
    } else {
      FUZZ_CHECK(lines[i].end == LineEnd::kCrLf);
    }
  }
  if (!Reparses(tidy)) return;
  const QByteArray once = tidy.ToBytes();
  IniDocument again = IniDocument::FromBytes(once);
  FUZZ_CHECK(again.Lines() == tidy.Lines());
  again.Tidy();
  FUZZ_CHECK(again.ToBytes() == once);
}

void CheckWrite(const IniDocument& doc, const std::vector<Probe>& probes, const QString& section,
                const QString& key, const QString& value) {
  IniDocument written = doc;
  const bool had_section = CountMatching(HeaderNames(doc), section) > 0;
  const bool had_key = doc.ReadValue(section, key).has_value();
  written.WriteString(section, key, value);
  FUZZ_CHECK(written.ReadString(section, key, "<none>") == TrimIniValue(value));
  CheckUnchanged(written, probes, section, key, false);
  const qsizetype added = written.Lines().size() - doc.Lines().size();
  FUZZ_CHECK(added == (had_key ? 0 : had_section ? 1 : 2));
  if (Reparses(written)) {
    const IniDocument reread = IniDocument::FromBytes(written.ToBytes());
    FUZZ_CHECK(reread.Lines() == written.Lines());
  }
  // With one such key in the section, deleting it leaves none.
  if (CountMatching(written.KeyNames(section), key) == 1) {
    FUZZ_CHECK(written.DeleteKey(section, key));
    FUZZ_CHECK(!written.ReadValue(section, key).has_value());
  }
}

void CheckEraseAndRename(const IniDocument& doc, const std::vector<Probe>& probes,
                         const QString& section, const QString& new_name) {
  const QStringList headers = HeaderNames(doc);
  IniDocument erased = doc;
  erased.EraseSection(section);
  CheckUnchanged(erased, probes, section, u"", true);
  const int before = CountMatching(headers, section);
  FUZZ_CHECK(CountMatching(HeaderNames(erased), section) == (before > 0 ? before - 1 : 0));
  for (const IniLine& line : erased.Lines()) FUZZ_CHECK(line.end == LineEnd::kCrLf);

  IniDocument renamed = doc;
  const bool found = renamed.RenameSection(section, new_name);
  FUZZ_CHECK(found == (before > 0));
  FUZZ_CHECK(renamed.Lines().size() == doc.Lines().size());
  for (const Probe& probe : probes) {
    if (IniNamesMatch(probe.section, section) || IniNamesMatch(probe.section, new_name)) continue;
    FUZZ_CHECK(renamed.ReadValue(probe.section, probe.key) == probe.value);
  }
  if (found && CountMatching(headers, new_name) == 0) {
    FUZZ_CHECK(renamed.KeyNames(new_name) == doc.KeyNames(section));
  }
}

}  // namespace
}  // namespace voxmere

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace voxmere;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const IniDocument doc = IniDocument::FromBytes(bytes);

  // An untouched file writes back exactly, whenever the text codec can.
  const DecodedText decoded = DecodeSettingsText(bytes);
  if (EncodeSettingsText(decoded.text, decoded.encoding) == bytes) {
    FUZZ_CHECK(doc.ToBytes() == bytes);
  }
  const std::vector<Probe> probes = Snapshot(doc);
  for (const Probe& probe : probes) {
    (void)doc.ReadInteger(probe.section, probe.key, 0);
    (void)doc.ReadBool(probe.section, probe.key, false);
  }

  // Names and a value taken from the input itself, made writable.
  const QStringList headers = HeaderNames(doc);
  const QString tail = QString::fromLatin1(bytes.right(48));
  const QString section = headers.isEmpty() || size % 2 ? SaneName(tail.left(8), "Fuzz")
                                                        : SaneName(headers.first(), "Fuzz");
  const QStringList keys = doc.KeyNames(section);
  const QString key = keys.isEmpty() || size % 3 == 0 ? SaneName(tail.mid(8, 8), "Key")
                                                      : SaneName(keys.last(), "Key");
  QString value = tail.mid(16);
  value.replace(u'\r', u' ').replace(u'\n', u' ');
  if (size % 5 == 0) value.append(QChar(0x03A9));  // outside Windows-1252

  CheckWrite(doc, probes, section, key, value);
  CheckTidy(doc, probes);
  CheckEraseAndRename(doc, probes, section, SaneName(tail.right(6), "Renamed"));
  return 0;
}
