#pragma once

#include <QTextBrowser>
#include <QUrl>
#include <QVariant>

class QHelpEngine;

// The help viewer's page browser: "qthelp" pages, and the images and style
// sheets they refer to, come from the help collection; every other scheme
// is the text browser's own business.
class HelpBrowser : public QTextBrowser
{
public:
    HelpBrowser(QHelpEngine *helpEngine, QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

private:
    QHelpEngine *helpEngine;
};
