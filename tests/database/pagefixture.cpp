#include "pagefixture.h"

#include "databasefixture.h"
#include "testnet.h"

namespace {
int g_connections = 0;
}

CatalogueRig::CatalogueRig()
    : m_container(new Databasecont(QStringLiteral("rig%1").arg(++g_connections)))
{
    m_container->setDbDirectory(testnet::binDir() + QStringLiteral("/Korvantisdbs/"));
    m_container->setMessageSink([this](const QString &title, const QString &text) {
        loadMessages << title + QStringLiteral(" | ") + text;
    });
}

CatalogueRig::CatalogueRig(const QStringList &sqlFiles)
    : CatalogueRig()
{
    for (int i = 0; i < sqlFiles.size(); ++i)
        dbfixture::writeFile(m_dir.filePath(QStringLiteral("part%1.dbenc").arg(i)),
                             dbfixture::packed(dbfixture::plainCatalogue(sqlFiles.at(i))));
    m_container->setDbDirectory(m_dir.path() + QLatin1Char('/'));
}

CatalogueRig::~CatalogueRig() = default;

void CatalogueRig::load()
{
    m_container->init();
}

namespace pagefixture {

QStringList itemTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QStringList catalogueItems(const QComboBox *combo)
{
    QStringList texts = itemTexts(combo);
    if (texts.size() >= 2 && texts.at(texts.size() - 2) == QLatin1String("custom entry")
        && texts.last() == QLatin1String("invalid/default entry"))
        texts = texts.mid(0, texts.size() - 2);
    texts.sort();
    return texts;
}

bool choose(QComboBox *combo, const QString &text)
{
    const int index = combo->findText(text, Qt::MatchExactly);
    if (index < 0 || !(combo->model()->flags(combo->model()->index(index, combo->modelColumn())) & Qt::ItemIsEnabled))
        return false;
    combo->setCurrentIndex(index);
    return true;
}

} // namespace pagefixture
