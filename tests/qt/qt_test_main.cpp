// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge tests need a QApplication; without a display they draw offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Settings the tests write stay out of the user's own, and out of the other test
  // processes' that run at the same time: a theme or the bit values one test chooses must
  // not be drawn by another.
  QStandardPaths::setTestModeEnabled(true);
  const QTemporaryDir settings;
  for (auto format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, settings.path());
  QApplication::setStyle("Fusion");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
