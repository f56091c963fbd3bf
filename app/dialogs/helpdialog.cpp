#include "helpdialog.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLineEdit>

#include "helpbrowser.h"
#include "ui_helpdialog.h"

QString HelpDialog::defaultCollectionFile()
{
    const QString relative = QStringLiteral("./help/doc.qhc");
    if (QFileInfo(relative).isFile())
        return relative;
    // Started from another folder (a shortcut, a script): the manual that
    // was shipped beside the program.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/help/doc.qhc");
}

HelpDialog::HelpDialog(QWidget *parent, const QString &collectionFile)
    : BaseDialog(parent)
    , ui(new Ui::HelpDialog)
{
    ui->setupUi(this);
    const QString file = collectionFile.isEmpty() ? defaultCollectionFile() : collectionFile;
    m_engine = new QHelpEngine(file, this);
    connect(ui->leditFilterIndex, &QLineEdit::textChanged, this, &HelpDialog::filterIndices);
    m_browser = new HelpBrowser(m_engine, this);
    // The engine would create an empty collection in place of a missing one
    // (in the program's folder); a missing manual stays missing instead.
    // It also reports the end of a setup that failed, so the widgets are
    // wired only once the setup has succeeded.
    if (!QFileInfo(file).isFile() || !m_engine->setupData()) {
        qDebug() << "setup Help Engine failed" << m_engine->error();
        return;
    }
    connect(m_engine, &QHelpEngineCore::setupFinished, this, &HelpDialog::enginesetupfinished);
    enginesetupfinished();
}

HelpDialog::~HelpDialog()
{
    delete ui;
}

void HelpDialog::enginesetupfinished()
{
    // A later setup (after a change of the collection) finds the widgets
    // wired already.
    if (m_setUp)
        return;
    m_setUp = true;
    m_contentWidget = m_engine->contentWidget();
    m_indexWidget = m_engine->indexWidget();
    m_searchEngine = m_engine->searchEngine();
    m_queryWidget = m_searchEngine->queryWidget();
    m_resultWidget = m_searchEngine->resultWidget();

    connect(m_contentWidget, &QHelpContentWidget::linkActivated, this, &HelpDialog::loadLink);
    connect(m_indexWidget, &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink &document, const QString &) { loadLink(document.url); });
    // A keyword on several pages: its first page.
    connect(m_indexWidget, &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink> &documents, const QString &) {
                if (!documents.isEmpty())
                    loadLink(documents.first().url);
            });
    connect(m_searchEngine, &QHelpSearchEngine::searchingFinished, this, &HelpDialog::searchfinished);
    connect(m_queryWidget, &QHelpSearchQueryWidget::search, this, &HelpDialog::searchstarted);
    connect(m_resultWidget, &QHelpSearchResultWidget::requestShowLink, this, &HelpDialog::loadLink);

    ui->tabcontents->layout()->addWidget(m_contentWidget);
    ui->tabindex->layout()->addWidget(m_indexWidget);
    ui->tabsearch->layout()->addWidget(m_queryWidget);
    ui->tabsearch->layout()->addWidget(m_resultWidget);
    ui->wdgHelp->layout()->addWidget(m_browser);

    m_searchEngine->reindexDocumentation();
    qDebug() << m_engine->registeredDocumentations();

    const QList<QHelpLink> links = m_engine->documentsForIdentifier(QString::fromLatin1(kStartIdentifier));
    if (!links.isEmpty())
        loadLink(links.first().url);
}

void HelpDialog::loadLink(QUrl link)
{
    const QUrl resolved = m_engine->findFile(link);
    qDebug() << resolved;
    m_browser->setSource(resolved);
}

void HelpDialog::filterIndices(QString filter)
{
    if (!m_indexWidget)
        return;
    if (filter.contains(QLatin1Char('*')))
        m_indexWidget->filterIndices(filter, filter);
    else
        m_indexWidget->filterIndices(filter, QString());
}

void HelpDialog::searchstarted()
{
    qDebug() << "started searching";
    if (m_searchEngine && m_queryWidget)
        m_searchEngine->search(m_queryWidget->searchInput());
}

void HelpDialog::searchfinished()
{
    qDebug() << "finished searching";
}

void HelpDialog::on_pushButton_clicked()
{
    emit DialogFinished();
}

void HelpDialog::translateUiSlot(QWidget *)
{
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(ui->tabcontents), tr("Contents"));
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(ui->tabindex), tr("Index"));
    ui->tabWidget->setTabText(ui->tabWidget->indexOf(ui->tabsearch), tr("Search"));
    ui->label->setText(tr("Filter"));
    ui->pushButton->setText(tr("close"));
}
