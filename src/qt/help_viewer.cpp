#include "qt/help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace volpar::qt {

HelpViewer::HelpViewer(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle("VOLPAR Help");
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
  const QString html = QString::fromUtf8(file.readAll());
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
