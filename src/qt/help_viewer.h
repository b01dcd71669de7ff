// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QTextBrowser;

namespace volpar::qt {

// The help file as the desktop shows it: without the parts between "<!-- browser -->" and
// "<!-- /browser -->", which only the page shows.
QString desktopHelp(QString html);

// The help window: the help file is HTML; topic n is the anchor "topic-n".
class HelpViewer : public QWidget {
 public:
  explicit HelpViewer(QWidget* parent = nullptr);
  // Shows the file at the topic; false when the file cannot be read.
  bool open(const QString& path, int topic);
  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace volpar::qt
