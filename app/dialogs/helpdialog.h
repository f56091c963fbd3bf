#pragma once

#include <QString>
#include <QUrl>

#include "basedialog.h"

class HelpBrowser;
class QHelpContentWidget;
class QHelpEngine;
class QHelpIndexWidget;
class QHelpSearchEngine;
class QHelpSearchQueryWidget;
class QHelpSearchResultWidget;

namespace Ui {
class HelpDialog;
}

// The user manual: the help collection's contents, keyword index and
// full-text search in three tabs, the pages in a browser beside them. Opens
// the start page registered under "Korvantis::SST". A missing or unreadable
// collection leaves empty tabs and an empty browser.
class HelpDialog : public BaseDialog
{
    Q_OBJECT

public:
    static constexpr const char *kStartIdentifier = "Korvantis::SST";

    // `collectionFile` is defaultCollectionFile() unless a test points
    // elsewhere.
    explicit HelpDialog(QWidget *parent = nullptr, const QString &collectionFile = QString());
    ~HelpDialog() override;

    // "./help/doc.qhc" in the working folder, or else the one beside the
    // program.
    static QString defaultCollectionFile();

    QHelpEngine *helpEngine() const { return m_engine; }
    HelpBrowser *browser() const { return m_browser; }
    bool isSetUp() const { return m_setUp; }

public slots:
    void enginesetupfinished();
    void loadLink(QUrl link);
    void filterIndices(QString filter);
    void searchstarted();
    void searchfinished();
    void on_pushButton_clicked();
    void translateUiSlot(QWidget *ptr) override;

private:
    Ui::HelpDialog *ui;
    QHelpEngine *m_engine = nullptr;
    QHelpIndexWidget *m_indexWidget = nullptr;
    QHelpContentWidget *m_contentWidget = nullptr;
    QHelpSearchEngine *m_searchEngine = nullptr;
    QHelpSearchQueryWidget *m_queryWidget = nullptr;
    QHelpSearchResultWidget *m_resultWidget = nullptr;
    HelpBrowser *m_browser = nullptr;
    bool m_setUp = false;
};
