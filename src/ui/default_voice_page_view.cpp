// SPDX-License-Identifier: GPL-3.0-or-later
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/options_window.h"
#include "ui/accessible_names.h"
#include "ui/bindings.h"
#include "ui/page_views.h"
#include "ui/voices_list_view.h"

namespace voxmere {
namespace {

constexpr int kNumberBoxWidth = 34;
constexpr int kVoicesListWidth = 150;

}  // namespace

QWidget* BuildDefaultVoicePage(OptionsWindow& window, QWidget* parent) {
  DefaultVoicePage& voice = window.default_voice;
  auto* page = new QWidget(parent);
  page->setObjectName(QStringLiteral("DefaultVoice_Page"));
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(new QLabel(QStringLiteral("Please, configure default voice:"), page));

  auto* row = new QHBoxLayout;
  auto* list = new VoicesListView(voice, window, page);
  list->setFixedWidth(kVoicesListWidth);
  row->addWidget(list);

  auto* properties = new QGroupBox(QStringLiteral("Voice properties"), page);
  auto* grid = new QGridLayout(properties);
  grid->setVerticalSpacing(2);
  const struct {
    const char* label;
    TrackBar* bar;
    TextField* box;
  } bars[] = {
      {"Speed of reading:", &voice.speed_bar, &voice.speed_box},
      {"Pitch of voice:", &voice.pitch_bar, &voice.pitch_box},
      {"Volume of reading:", &voice.volume_bar, &voice.volume_box},
  };
  int line = 0;
  for (const auto& entry : bars) {
    grid->addWidget(new QLabel(QString::fromLatin1(entry.label), properties), line++, 0, 1, 2);
    auto* slider = new QSlider(properties);
    BindTrackBar(*slider, *entry.bar, window);
    auto* number = new QLineEdit(properties);
    BindTextField(*number, *entry.box, window);
    number->setFixedWidth(kNumberBoxWidth);
    number->setAlignment(Qt::AlignRight);
    grid->addWidget(slider, line, 0);
    grid->addWidget(number, line++, 1);
  }
  auto* test_text = new QLineEdit(page);
  BindTextField(*test_text, voice.test_text, window);
  auto* test = new QPushButton(QStringLiteral("&Test"), page);
  test->setObjectName(QStringLiteral("Test_Button"));
  QObject::connect(test, &QPushButton::clicked, &voice,
                   [&window, &voice] { window.Guard([&voice] { voice.TestClicked(); }); });
  grid->setColumnStretch(0, 1);
  row->addWidget(properties, 1);
  layout->addLayout(row, 1);
  // The test sentence across the page, the button beside it.
  auto* test_row = new QHBoxLayout;
  test_row->addWidget(test_text, 1);
  test_row->addWidget(test);
  layout->addLayout(test_row);
  // Controls whose label a screen reader cannot find by itself.
  SetAccessibleNames(*page, {
                                {"VoicesList", QStringLiteral("Default voice")},
                                {"Speed_Bar", QStringLiteral("Speed of reading")},
                                {"Edit1", QStringLiteral("Speed of reading, number")},
                                {"Pitch_Bar", QStringLiteral("Pitch of voice")},
                                {"Edit2", QStringLiteral("Pitch of voice, number")},
                                {"Volume_Bar", QStringLiteral("Volume of reading")},
                                {"Edit3", QStringLiteral("Volume of reading, number")},
                                {"Edit4", QStringLiteral("Test text")},
                            });
  return page;
}

}  // namespace voxmere
