// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/help_viewer.h"
#include "platform/screen_facts.h"
#include "platform/single_instance.h"
#include "platform/trace_file.h"
#include "platform/web_links.h"

namespace voxmere {

// Records the addresses opened; answers with `result`.
class FakeWebLinks : public WebLinks {
 public:
  bool Open(const QString& address) override {
    opened.push_back(address);
    return result;
  }
  QStringList opened;
  bool result = true;
};

// A primary screen of 1280 x 1024 at 96 pixels per inch unless set.
class FakeScreenFacts : public ScreenFacts {
 public:
  PrimaryScreen Primary() const override { return screen; }
  PrimaryScreen screen{QSize(1280, 1024), 96, QRect(0, 0, 1280, 994)};
};

// Answers every claim with `result` and counts the claims.
class FakeSingleInstance : public SingleInstance {
 public:
  Result Claim() override {
    ++claims;
    return result;
  }
  Result result = Result::kFirst;
  int claims = 0;
};

// Records the topics asked for, with the window that asked.
class FakeHelpViewer : public HelpViewer {
 public:
  void ShowTopic(HelpTopic topic, QObject* parent) override {
    topics.push_back(topic);
    parents.push_back(parent);
  }
  void CloseAll() override { ++close_all_calls; }
  void WaitUntilClosed() override { ++waits; }
  std::vector<HelpTopic> topics;
  int close_all_calls = 0;
  int waits = 0;
  std::vector<QObject*> parents;
};

// Keeps the traced events in order.
class FakeTraceFile : public TraceFile {
 public:
  void WriteTrace(const QString& event) override { events.push_back(event); }
  QStringList events;
};

}  // namespace voxmere
