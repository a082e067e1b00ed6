// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/xdg_autostart_entry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

#include "platform/desktop/xdg_folders.h"
#include "platform/exception.h"
#include "scoped_environment.h"

namespace voxmere {
namespace {

QString ReadText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(file.readAll());
}

void WriteText(const QString& path, const QString& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text.toUtf8());
}

QString ExecLine(const QString& program_path) {
  for (const QString& line : AutostartEntryText(program_path).split('\n')) {
    if (line.startsWith("Exec=")) return line;
  }
  return QString();
}

// Reads an Exec value back the way a desktop does: first the string escapes,
// then the quoting, then the doubled percent signs. Empty when the value is
// not well formed (an unknown escape, an unquoted reserved character, an
// unterminated quote).
std::optional<QStringList> ParseExec(const QString& value) {
  QString unescaped;
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != '\\') {
      unescaped += value[i];
      continue;
    }
    if (++i == value.size()) return std::nullopt;
    switch (value[i].unicode()) {
      case 's':
        unescaped += ' ';
        break;
      case 'n':
        unescaped += '\n';
        break;
      case 't':
        unescaped += '\t';
        break;
      case 'r':
        unescaped += '\r';
        break;
      case '\\':
        unescaped += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  const QString reserved = " \t\n\"'\\><~|&;$*?#()`";
  QStringList arguments;
  QString current;
  bool in_argument = false;
  for (qsizetype i = 0; i < unescaped.size(); ++i) {
    const QChar ch = unescaped[i];
    if (ch == ' ') {
      if (in_argument) arguments << current;
      current.clear();
      in_argument = false;
    } else if (ch == '"') {
      if (in_argument) return std::nullopt;  // quotes only around a whole argument
      in_argument = true;
      for (++i;; ++i) {
        if (i == unescaped.size()) return std::nullopt;
        if (unescaped[i] == '"') break;
        if (unescaped[i] == '\\') {
          if (++i == unescaped.size() || !QString("\"`$\\").contains(unescaped[i])) {
            return std::nullopt;
          }
        }
        current += unescaped[i];
      }
      if (i + 1 < unescaped.size() && unescaped[i + 1] != ' ') return std::nullopt;
    } else {
      if (reserved.contains(ch)) return std::nullopt;
      in_argument = true;
      current += ch;
    }
  }
  if (in_argument) arguments << current;
  for (QString& argument : arguments) {
    QString literal;
    for (qsizetype i = 0; i < argument.size(); ++i) {
      if (argument[i] == '%') {
        if (i + 1 == argument.size() || argument[i + 1] != '%') return std::nullopt;
        ++i;
      }
      literal += argument[i];
    }
    argument = literal;
  }
  return arguments;
}

TEST(AutostartEntryTextTest, QuotesThePathAsDesktopEntriesRequire) {
  EXPECT_EQ(ExecLine("/opt/voxmere/voxmere"), "Exec=/opt/voxmere/voxmere -autostart");
  EXPECT_EQ(ExecLine("/home/ann/My Programs/voxmere"),
            "Exec=\"/home/ann/My Programs/voxmere\" -autostart");
  // A quote or dollar gets the quoting backslash, which the string escape
  // then doubles.
  EXPECT_EQ(ExecLine("/tmp/say \"hi\"/voxmere"), R"(Exec="/tmp/say \\"hi\\"/voxmere" -autostart)");
  EXPECT_EQ(ExecLine("/tmp/$HOME/voxmere"), R"(Exec="/tmp/\\$HOME/voxmere" -autostart)");
  EXPECT_EQ(ExecLine("/tmp/`id`/voxmere"), R"(Exec="/tmp/\\`id\\`/voxmere" -autostart)");
  // A literal backslash in a quoted argument takes four.
  EXPECT_EQ(ExecLine(R"(/tmp/back\slash/voxmere)"),
            R"(Exec="/tmp/back\\\\slash/voxmere" -autostart)");
  // Percent signs would be read as field codes.
  EXPECT_EQ(ExecLine("/tmp/100%/voxmere"), "Exec=/tmp/100%%/voxmere -autostart");
  EXPECT_EQ(ExecLine("/tmp/it's/voxmere"), "Exec=\"/tmp/it's/voxmere\" -autostart");
  EXPECT_EQ(ExecLine("/tmp/line\nbreak"), R"(Exec="/tmp/line\nbreak" -autostart)");

  EXPECT_EQ(AutostartEntryText("/opt/voxmere/voxmere"),
            "[Desktop Entry]\n"
            "Type=Application\n"
            "Name=Voxmere!\n"
            "Comment=Reads the selected text aloud on a hot key\n"
            "Exec=/opt/voxmere/voxmere -autostart\n"
            "Terminal=false\n");
  // A control character has no form in a desktop entry at all.
  EXPECT_THROW(AutostartEntryText(QString("/tmp/bell") + QChar(7)), Exception);
}

TEST(AutostartEntryTextTest, EveryPathReadsBackUnchanged) {
  const QStringList paths = {
      "/usr/local/bin/voxmere",
      "/home/José/Vóx mere/voxmere",
      R"(/tmp/all "of" `them` $HOME \ ' > < ~ | & ; * ? # ( ) %f %%/voxmere)",
      "/tmp/tab\there/and\nnewline\rreturn",
      "/tmp/trailing backslash\\",
      "/tmp/x=y[Desktop Entry]/voxmere",
  };
  for (const QString& path : paths) {
    const QString line = ExecLine(path);
    ASSERT_TRUE(line.startsWith("Exec=")) << path.toStdString();
    EXPECT_FALSE(line.contains('\n') || line.contains('\r') || line.contains('\t'))
        << "a raw line break would split the entry: " << line.toStdString();
    const std::optional<QStringList> arguments = ParseExec(line.mid(5));
    ASSERT_TRUE(arguments) << line.toStdString();
    EXPECT_EQ(*arguments, QStringList({path, "-autostart"})) << line.toStdString();
  }
}

TEST(AutostartProgramTest, NamesTheProgramBareOnlyWhenPathFindsThisVeryFile) {
  QTemporaryDir root;
  ASSERT_TRUE(root.isValid());
  const QDir dir(root.path());
  for (const char* folder : {"bin", "other", "my bin"}) {
    ASSERT_TRUE(dir.mkpath(folder));
    const QString program = dir.filePath(QString(folder) + "/voxmere");
    WriteText(program, folder);
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
  }
  ASSERT_TRUE(QFile::link(dir.filePath("bin"), dir.filePath("linked")));
  const QString bin = dir.filePath("bin/voxmere");
  const struct {
    const char* path;  // PATH, its folders relative to the root
    QString program;
    QString expected;
  } cases[] = {
      {"bin", bin, "voxmere"},
      {"bin:other", bin, "voxmere"},
      {"other:bin", bin, bin},  // another voxmere is found first
      {"other", bin, bin},
      {"", bin, bin},
      {"linked", bin, "voxmere"},  // the same file through a linked folder
      {"bin", dir.filePath("linked/voxmere"), "voxmere"},
      {"my bin", dir.filePath("my bin/voxmere"), "voxmere"},
      {"bin", dir.filePath("missing/voxmere"), dir.filePath("missing/voxmere")},
  };
  ScopedEnvironment environment;
  for (const auto& c : cases) {
    QStringList folders;
    for (const QString& folder : QString(c.path).split(':', Qt::SkipEmptyParts)) {
      folders << dir.filePath(folder);
    }
    environment.Set("PATH", folders.join(':').toUtf8());
    EXPECT_EQ(AutostartProgram(c.program), c.expected) << "PATH " << c.path;
  }

  // The entry written names the program so.
  environment.Set("PATH", dir.filePath("bin").toUtf8());
  XdgAutostartEntry entry(dir.filePath("autostart/voxmere.desktop"));
  entry.Write(bin);
  EXPECT_EQ(ReadText(entry.FilePath()), AutostartEntryText("voxmere"));
}

TEST(XdgAutostartEntryTest, WritesChecksAndRemovesTheEntry) {
  QTemporaryDir home;
  ASSERT_TRUE(home.isValid());
  ScopedEnvironment environment;
  environment.Set("HOME", home.path().toUtf8());
  environment.Set("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
  const QString path = home.filePath("config/autostart/voxmere.desktop");
  EXPECT_EQ(DefaultAutostartEntryPath(), path);

  XdgAutostartEntry entry;
  EXPECT_FALSE(entry.Exists());
  entry.Remove();  // nothing to remove is fine

  // The autostart folder does not exist yet.
  entry.Write("/opt/Vox Mere/voxmere");
  EXPECT_TRUE(entry.Exists());
  EXPECT_EQ(ReadText(path), AutostartEntryText("/opt/Vox Mere/voxmere"));
  // Written again with another path: replaced, not appended.
  entry.Write("/opt/voxmere/voxmere");
  EXPECT_EQ(ReadText(path), AutostartEntryText("/opt/voxmere/voxmere"));
  EXPECT_EQ(QDir(home.filePath("config/autostart")).entryList(QDir::Files | QDir::Hidden),
            QStringList({"voxmere.desktop"}))
      << "no temporary file left behind";

  entry.Remove();
  EXPECT_FALSE(entry.Exists());
  EXPECT_FALSE(QFile::exists(path));

  // Without XDG_CONFIG_HOME, or with a relative one: ~/.config.
  environment.Unset("XDG_CONFIG_HOME");
  EXPECT_EQ(DefaultAutostartEntryPath(), home.filePath(".config/autostart/voxmere.desktop"));
  environment.Set("XDG_CONFIG_HOME", "relative/config");
  EXPECT_EQ(DefaultAutostartEntryPath(), home.filePath(".config/autostart/voxmere.desktop"));
}

TEST(XdgAutostartEntryTest, StateIsAnEntryWithACommand) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("voxmere.desktop");
  XdgAutostartEntry entry(path);

  WriteText(path, "[Desktop Entry]\r\nType=Application\r\nExec = /opt/voxmere -autostart\r\n");
  EXPECT_TRUE(entry.Exists()) << "line ends and blanks around '=' are the editor's choice";

  WriteText(path, "[Desktop Entry]\nType=Application\nExec=   \n");
  EXPECT_FALSE(entry.Exists()) << "an empty command";
  WriteText(path, "[Desktop Entry]\nType=Application\nExec=\n");
  EXPECT_FALSE(entry.Exists());
  WriteText(path, "[Desktop Entry]\nType=Application\n");
  EXPECT_FALSE(entry.Exists()) << "no command at all";
  WriteText(path, "[Desktop Entry]\nType=Application\n[Desktop Action x]\nExec=/opt/voxmere\n");
  EXPECT_FALSE(entry.Exists()) << "a command of another group";
  WriteText(path, "[Desktop Entry]\nExec=/opt/voxmere -autostart\nHidden=true\n");
  EXPECT_FALSE(entry.Exists()) << "the autostart rules read Hidden as deleted";
  WriteText(path, "[Desktop Entry]\n# Exec=/opt/voxmere\nExecutable=/opt/voxmere\n");
  EXPECT_FALSE(entry.Exists()) << "a comment and a longer key are no command";
  WriteText(path, "[Desktop Entry]\nHidden=false\nExec=/opt/voxmere -autostart\n");
  EXPECT_TRUE(entry.Exists());
}

TEST(XdgAutostartEntryTest, FailuresThrowAndLeaveNothingHalfDone) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());

  // The autostart folder cannot be made: its parent is a file.
  WriteText(folder.filePath("config"), "a file");
  XdgAutostartEntry blocked(folder.filePath("config/autostart/voxmere.desktop"));
  EXPECT_THROW(blocked.Write("/opt/voxmere/voxmere"), Exception);
  EXPECT_FALSE(blocked.Exists());

  // A path that cannot be written into the entry changes nothing.
  XdgAutostartEntry entry(folder.filePath("voxmere.desktop"));
  entry.Write("/opt/voxmere/voxmere");
  EXPECT_THROW(entry.Write(QString("/opt/vox") + QChar(1)), Exception);
  EXPECT_EQ(ReadText(entry.FilePath()), AutostartEntryText("/opt/voxmere/voxmere"));

  // Something in the entry's place that cannot be removed is reported.
  ASSERT_TRUE(QDir(folder.path()).mkpath("occupied.desktop/inside"));
  XdgAutostartEntry occupied(folder.filePath("occupied.desktop"));
  EXPECT_FALSE(occupied.Exists());
  try {
    occupied.Remove();
    ADD_FAILURE() << "no exception";
  } catch (const Exception& error) {
    EXPECT_TRUE(error.Message().contains("occupied.desktop")) << error.what();
  }

  // A dangling link in the entry's place is removed like an entry.
  ASSERT_TRUE(QFile::link(folder.filePath("missing-target"), folder.filePath("link.desktop")));
  XdgAutostartEntry dangling(folder.filePath("link.desktop"));
  dangling.Remove();
  EXPECT_FALSE(QFileInfo(folder.filePath("link.desktop")).isSymLink());
}

}  // namespace
}  // namespace voxmere
