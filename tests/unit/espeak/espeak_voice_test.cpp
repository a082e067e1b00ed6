// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/espeak/espeak_voice.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>

namespace voxmere {
namespace {

EspeakVoice Voice(const QString& name, const QString& identifier,
                  QList<EspeakVoice::Language> languages, int gender = 1, int age = 0) {
  EspeakVoice voice;
  voice.name = name;
  voice.identifier = identifier;
  voice.languages = std::move(languages);
  voice.gender = gender;
  voice.age = age;
  return voice;
}

QStringList Names(const QList<EspeakVoice>& voices) {
  QStringList names;
  for (const EspeakVoice& voice : voices) names << voice.name;
  return names;
}

// Languages as espeak-ng 1.51 lists them for these voices.
QList<EspeakVoice> SomeVoices() {
  return {
      Voice("German", "gmw/de", {{5, "de"}}),
      Voice("English (Caribbean)", "gmw/en-029", {{5, "en-029"}, {10, "en"}}),
      Voice("afrikaans", "gmw/af", {{5, "af"}}),
      Voice("English (America, New York City)", "gmw/en-US-nyc", {{5, "en-us-nyc"}}),
      Voice("English (Great Britain)", "gmw/en", {{2, "en-gb"}, {2, "en"}}),
      Voice("Chinese (Cantonese)", "sit/yue", {{5, "yue"}, {5, "zh-yue"}, {8, "zh"}}),
      Voice("English (America)", "gmw/en-US", {{2, "en-us"}, {3, "en"}}),
      Voice("Amharic", "sem/am", {{5, "am"}}),
  };
}

TEST(EspeakVoiceTest, LocaleLanguageComesFromTheFirstSetVariable) {
  EXPECT_EQ(LocaleLanguageTag("", "", "en_GB.UTF-8"), "en-gb");
  EXPECT_EQ(LocaleLanguageTag("de_DE.UTF-8", "fr_FR.UTF-8", "en_US.UTF-8"), "de-de");
  EXPECT_EQ(LocaleLanguageTag("", "fr_CA", "en_US.UTF-8"), "fr-ca");
  EXPECT_EQ(LocaleLanguageTag("", "", "sr_RS@latin"), "sr-rs");
  EXPECT_EQ(LocaleLanguageTag("", "", "pt"), "pt");
  // No language at all.
  EXPECT_EQ(LocaleLanguageTag("", "", ""), "");
  EXPECT_EQ(LocaleLanguageTag("C", "", "en_GB.UTF-8"), "");
  EXPECT_EQ(LocaleLanguageTag("", "", "C.UTF-8"), "");
  EXPECT_EQ(LocaleLanguageTag("", "", "POSIX"), "");
}

TEST(EspeakVoiceTest, VoicesOfTheUserLanguageComeFirstThenTheRestByName) {
  // The exact locale first, then espeak-ng's preference for the language.
  EXPECT_EQ(Names(OrderVoicesForLocale(SomeVoices(), "en-gb")),
            QStringList({"English (Great Britain)", "English (America)",
                         "English (America, New York City)", "English (Caribbean)", "afrikaans",
                         "Amharic", "Chinese (Cantonese)", "German"}));
  EXPECT_EQ(Names(OrderVoicesForLocale(SomeVoices(), "en-us")),
            QStringList({"English (America)", "English (Great Britain)",
                         "English (America, New York City)", "English (Caribbean)", "afrikaans",
                         "Amharic", "Chinese (Cantonese)", "German"}));
  // A locale without a territory, and one known only through a second
  // language entry of the voice.
  EXPECT_EQ(Names(OrderVoicesForLocale(SomeVoices(), "de")).mid(0, 2),
            QStringList({"German", "afrikaans"}));
  EXPECT_EQ(Names(OrderVoicesForLocale(SomeVoices(), "zh-cn")).front(), "Chinese (Cantonese)");
  // No language: names only, ignoring letter case.
  EXPECT_EQ(Names(OrderVoicesForLocale(SomeVoices(), "")),
            QStringList({"afrikaans", "Amharic", "Chinese (Cantonese)", "English (America)",
                         "English (America, New York City)", "English (Caribbean)",
                         "English (Great Britain)", "German"}));
  EXPECT_EQ(Names(OrderVoicesForLocale(SomeVoices(), "xx-yy")),
            Names(OrderVoicesForLocale(SomeVoices(), "")));
}

TEST(EspeakVoiceTest, ModeInfoNamesTheVoiceAndMapsItsFacts) {
  const TtsModeInfo gb = ModeInfoForVoice(
      Voice("English (Great Britain)", "gmw/en", {{2, "en-gb"}, {2, "en"}}, 1), "1.51");
  EXPECT_EQ(gb.mode_name, "English (Great Britain) (eSpeak NG)");
  EXPECT_EQ(gb.speaker, "English (Great Britain)");
  // The catalogue shows the speaker only when it is strictly shorter.
  EXPECT_LT(gb.speaker.size(), gb.mode_name.size());
  EXPECT_EQ(gb.language_dialect, "en-gb");
  EXPECT_EQ(gb.manufacturer_name, "eSpeak NG");
  EXPECT_TRUE(gb.product_name.contains("1.51"));
  EXPECT_EQ(gb.gender, 2) << "espeak-ng's male is the Windows code 2";
  EXPECT_EQ(gb.age, 30) << "an age espeak-ng does not give reads as adult";
  EXPECT_NE(gb.features & 0xE, 0u);

  const TtsModeInfo female = ModeInfoForVoice(Voice("Annie", "x/annie", {}, 2, 14), "1.51");
  EXPECT_EQ(female.gender, 1);
  EXPECT_EQ(female.age, 14);
  EXPECT_EQ(female.language_dialect, "");
  EXPECT_EQ(ModeInfoForVoice(Voice("N", "x/n", {}, 0), "1.51").gender, 0);

  // Identifiers: GUID text, stable for a voice, distinct between voices.
  const QRegularExpression guid(
      "^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$");
  EXPECT_TRUE(guid.match(gb.mode_id).hasMatch()) << gb.mode_id.toStdString();
  EXPECT_TRUE(guid.match(gb.engine_id).hasMatch()) << gb.engine_id.toStdString();
  EXPECT_EQ(gb.mode_id, ModeInfoForVoice(Voice("Renamed", "gmw/en", {}), "2.0").mode_id);
  EXPECT_NE(gb.mode_id, female.mode_id);
  EXPECT_EQ(gb.engine_id, female.engine_id);
  EXPECT_NE(gb.engine_id, gb.mode_id);
}

TEST(EspeakVoiceTest, RepeatedNamesGetTheirIdentifier) {
  QList<EspeakVoice> voices = {Voice("Alpha", "a/1", {}), Voice("alpha", "a/2", {}),
                               Voice("Beta", "b/1", {}), Voice("Alpha", "a/3", {})};
  MakeVoiceNamesUnique(&voices);
  EXPECT_EQ(Names(voices), QStringList({"Alpha", "alpha (a/2)", "Beta", "Alpha (a/3)"}));
}

}  // namespace
}  // namespace voxmere
