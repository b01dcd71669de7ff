// SPDX-License-Identifier: GPL-3.0-or-later
#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>

#include "bridge_fixture.h"

namespace volpar::qttest {
namespace {

class ViewActions : public BridgeFixture {};

// The input screen, the screen with menus, lists Read machine state (F3) and Show bit
// values (F4) in a View menu of its own; F3 shows the machine from the first phase on.
TEST_F(ViewActions, TheViewMenuAndTheMachineState) {
  hideWelcome();
  QMenu* view = nullptr;
  for (QAction* a : window(input()).menuBar()->actions()) {
    if (a->text() == "&View") view = a->menu();
  }
  ASSERT_NE(view, nullptr);
  QStringList items;
  for (QAction* a : view->actions()) items << a->text() + " " + a->shortcut().toString();
  EXPECT_EQ(items, QStringList({"&Read machine state F3", "Show &bit values F4", "&Theme ", " ",
                                "Program &Text F6", "&Phase Explained F7"}));
  const QPlainTextEdit* text = frontEnd.showMachineState().view();
  EXPECT_TRUE(text->toPlainText().startsWith("Clock: not started\n"))
      << text->toPlainText().toStdString();
}

}  // namespace
}  // namespace volpar::qttest
