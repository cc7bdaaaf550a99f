// Stands in for the task controller and remembers which commands arrived.
#pragma once

#include <QStringList>

#include "tasks/task_commands.h"

class CommandRecorder final : public velkor::TaskCommands {
 public:
  void OnNewTask() override { calls << QStringLiteral("OnNewTask"); }
  void CloseTask() override { calls << QStringLiteral("CloseTask"); }
  void OnScanPicture() override { calls << QStringLiteral("OnScanPicture"); }
  void OnScanVideo() override { calls << QStringLiteral("OnScanVideo"); }
  void OnSearch() override { calls << QStringLiteral("OnSearch"); }
  void OnSave() override { calls << QStringLiteral("OnSave"); }

  QStringList calls;
};
