// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "i18n/text.h"
#include "qt/translated.h"

namespace volpar::qt {

QString desktopHelp(QString html) {
  static const QString begin = "<!-- browser -->", end = "<!-- /browser -->";
  for (qsizetype at = html.indexOf(begin); at >= 0; at = html.indexOf(begin, at)) {
    const qsizetype to = html.indexOf(end, at);
    if (to < 0) break;  // an unclosed mark hides nothing
    html.remove(at, to + end.size() - at);
  }
  return html;
}

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setTranslatedTitle(*this, i18n::mark("VOLPAR Help"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  // A link leads only to a topic of the help itself: nothing is opened elsewhere.
  browser_->setOpenLinks(false);
  connect(browser_, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
    if (link.isRelative() && link.path().isEmpty() && link.hasFragment())
      browser_->scrollToAnchor(link.fragment());
  });
  resize(640, 600);
}

bool HelpViewer::open(const QString& path, int topic) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QString html = desktopHelp(QString::fromUtf8(file.readAll()));
  if (html.trimmed().isEmpty()) return false;
  browser_->setSearchPaths({QFileInfo(path).absolutePath()});
  browser_->setHtml(html);
  browser_->scrollToAnchor(QString("topic-%1").arg(topic));
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace volpar::qt
