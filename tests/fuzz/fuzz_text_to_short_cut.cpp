// SPDX-License-Identifier: GPL-3.0-or-later
// Parses arbitrary text as a hot key and checks what must hold for every
// result: a parsed hot key has a text form, and that text parses back to it.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fakes/fake_key_names.h"
#include "fuzz/fuzz_check.h"
#include "reading/short_cut.h"

namespace {

using voxmere::FakeKeyNames;
using voxmere::ShortCut;

// The US layout, and one with names that collide with the program's own:
// a prefix-like name, a name of a fixed key on an earlier code, names only
// codes below 8 carry, a non-ASCII name and names ending in "+".
const FakeKeyNames& Layout(bool tricky) {
  static const FakeKeyNames us;
  static const FakeKeyNames odd = [] {
    FakeKeyNames names;
    names.SetName(0x00, "Zero");  // must be ignored: 0 is no key
    names.SetName(0x03, "Break");
    names.SetName(0x07, "Shift");
    names.SetName(0x0C, "Enter");
    names.SetName(0xDE, "^");
    names.SetName(0xBA, "Ctrl+");
    names.SetName(0xBB, "+");
    names.SetName(0xDB, QStringLiteral("\u00DC"));
    names.SetName(0xDC, QStringLiteral("\u017F"));  // long s, folds to "s"
    names.SetName(0xC0, "alt+");
    return names;
  }();
  return tricky ? odd : us;
}

void CheckParse(const QString& text, const FakeKeyNames& names) {
  const ShortCut code = voxmere::TextToShortCut(text, names);
  if (code == 0) return;
  const QString formatted = voxmere::ShortCutToText(code, names);
  FUZZ_CHECK(!formatted.isEmpty());
  FUZZ_CHECK(voxmere::TextToShortCut(formatted, names) == code);
  // Only the modifier bits and a key of 1..263 can come out of a parse.
  const int key = code & 0x1FFF;
  FUZZ_CHECK(key != 0 && key != 0x100 && key <= 0x107);
}

// Formatting any stored code and parsing it again settles after one round,
// and "no hot key" stays nameless.
void CheckNormalise(ShortCut code, const FakeKeyNames& names) {
  const ShortCut normalised = voxmere::NormaliseShortCut(code, names);
  FUZZ_CHECK(voxmere::NormaliseShortCut(normalised, names) == normalised);
  FUZZ_CHECK(normalised != 0 || voxmere::ShortCutToText(0, names).isEmpty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 512) return 0;  // hot key texts are short; keep runs fast
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString utf8 = QString::fromUtf8(bytes);
  const QString latin1 = QString::fromLatin1(bytes);
  const ShortCut code = size >= 2 ? static_cast<ShortCut>(data[0] | data[1] << 8) : 0;
  for (bool tricky : {false, true}) {
    CheckParse(utf8, Layout(tricky));
    CheckParse(latin1, Layout(tricky));
    CheckNormalise(code, Layout(tricky));
  }
  return 0;
}
