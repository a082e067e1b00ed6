// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/xdg_autostart_entry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <utility>

#include "platform/desktop/xdg_folders.h"
#include "platform/exception.h"

namespace voxmere {
namespace {

const QString kExecReserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
const QString kQuotedEscaped = QStringLiteral("\"`$\\");

bool IsUnrepresentableControl(QChar ch) {
  const char16_t code = ch.unicode();
  if (code == u'\n' || code == u'\t' || code == u'\r') return false;
  return code < 0x20 || code == 0x7f;
}

// The value of `key` in the [Desktop Entry] group, or a null string.
QString ReadDesktopEntryKey(const QString& text, const QString& key) {
  bool in_main_group = false;
  for (const QString& raw_line : text.split(QLatin1Char('\n'))) {
    const QString line = raw_line.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
    if (line.startsWith(QLatin1Char('['))) {
      in_main_group = line == QLatin1String("[Desktop Entry]");
      continue;
    }
    if (!in_main_group) continue;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || line.left(equals).trimmed() != key) continue;
    QString value = line.mid(equals + 1).trimmed();
    if (value.isNull()) value = QLatin1String("");
    return value;
  }
  return QString();
}

}  // namespace

QString QuoteExecArgument(const QString& argument) {
  bool needs_quotes = argument.isEmpty();
  for (QChar ch : argument) needs_quotes = needs_quotes || kExecReserved.contains(ch);
  QString quoted;
  quoted.reserve(argument.size() + 8);
  if (needs_quotes) quoted += QLatin1Char('"');
  for (QChar ch : argument) {
    if (ch == QLatin1Char('%')) {
      quoted += QLatin1String("%%");
      continue;
    }
    if (needs_quotes && kQuotedEscaped.contains(ch)) quoted += QLatin1Char('\\');
    quoted += ch;
  }
  if (needs_quotes) quoted += QLatin1Char('"');
  return quoted;
}

QString EscapeDesktopString(const QString& value) {
  QString escaped;
  escaped.reserve(value.size() + 8);
  for (QChar ch : value) {
    switch (ch.unicode()) {
      case u'\\':
        escaped += QLatin1String("\\\\");
        break;
      case u'\n':
        escaped += QLatin1String("\\n");
        break;
      case u'\t':
        escaped += QLatin1String("\\t");
        break;
      case u'\r':
        escaped += QLatin1String("\\r");
        break;
      default:
        escaped += ch;
    }
  }
  return escaped;
}

QString AutostartEntryText(const QString& program_path) {
  for (QChar ch : program_path) {
    if (IsUnrepresentableControl(ch)) {
      throw Exception(QStringLiteral("The program path \"%1\" cannot be written to the start-up "
                                     "entry: it contains a control character.")
                          .arg(program_path));
    }
  }
  // Quoting first, then the string escapes: a reader undoes them in the
  // opposite order, so a backslash in a quoted path ends up as four.
  const QString exec =
      EscapeDesktopString(QuoteExecArgument(program_path) + QStringLiteral(" -autostart"));
  return QStringLiteral(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Voxmere!\n"
             "Comment=Reads the selected text aloud on a hot key\n"
             "Exec=%1\n"
             "Terminal=false\n")
      .arg(exec);
}

QString AutostartProgram(const QString& program_path) {
  const QFileInfo program(program_path);
  const QString name = program.fileName();
  if (name.isEmpty()) return program_path;
  const QString found = QStandardPaths::findExecutable(name);
  // The same file by another path (a linked folder, a link on PATH to the
  // program) is found just as well by the name.
  const QString target = program.canonicalFilePath();
  if (found.isEmpty() || target.isEmpty() || QFileInfo(found).canonicalFilePath() != target) {
    return program_path;
  }
  return name;
}

XdgAutostartEntry::XdgAutostartEntry() : XdgAutostartEntry(DefaultAutostartEntryPath()) {}

XdgAutostartEntry::XdgAutostartEntry(QString file_path) : file_path_(std::move(file_path)) {}

bool XdgAutostartEntry::Exists() const {
  QFile file(file_path_);
  if (!file.open(QIODevice::ReadOnly)) return false;
  // An entry is a small file; anything huge is not ours to parse.
  const QString text = QString::fromUtf8(file.read(1 << 20));
  if (ReadDesktopEntryKey(text, QStringLiteral("Hidden")) == QLatin1String("true")) return false;
  return !ReadDesktopEntryKey(text, QStringLiteral("Exec")).isEmpty();
}

void XdgAutostartEntry::Write(const QString& program_path) {
  const QByteArray contents = AutostartEntryText(AutostartProgram(program_path)).toUtf8();
  const auto fail = [this](const QString& reason) {
    throw Exception(
        QStringLiteral("Cannot write the start-up entry %1: %2").arg(file_path_, reason));
  };
  const QString folder = QFileInfo(file_path_).absolutePath();
  if (!QDir().mkpath(folder)) fail(QStringLiteral("the folder cannot be created."));
  QSaveFile file(file_path_);
  if (!file.open(QIODevice::WriteOnly)) fail(file.errorString());
  if (file.write(contents) != contents.size()) fail(file.errorString());
  if (!file.commit()) fail(file.errorString());
}

void XdgAutostartEntry::Remove() {
  QFile file(file_path_);
  // A dangling symbolic link counts as an entry to remove too.
  if (!QFileInfo(file_path_).isSymLink() && !file.exists()) return;
  if (!file.remove()) {
    throw Exception(QStringLiteral("Cannot remove the start-up entry %1: %2")
                        .arg(file_path_, file.errorString()));
  }
}

}  // namespace voxmere
