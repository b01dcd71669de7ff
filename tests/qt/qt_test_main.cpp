// SPDX-License-Identifier: GPL-3.0-or-later
// The bridge tests need a QApplication; without a display they draw offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Settings the tests write stay out of the user's own.
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setStyle("Fusion");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
