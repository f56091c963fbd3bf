#pragma once

#include <QComboBox>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "confighandler.h"
#include "databasecont.h"

// A catalogue container of its own (own SQL connection, own folder) and a
// configuration model for a selection page under test. Pages are made on
// it first, then load() runs the container's start-up, as the main window
// does it.
class CatalogueRig
{
public:
    // The catalogue shipped beside the programs.
    CatalogueRig();
    // A catalogue of the given SQL texts, one file each, in their order.
    explicit CatalogueRig(const QStringList &sqlFiles);
    ~CatalogueRig();

    void load();

    Databasecont &container() { return *m_container; }
    Confighandler config;
    QStringList loadMessages;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Databasecont> m_container;
};

namespace pagefixture {

QStringList itemTexts(const QComboBox *combo);
// The catalogue rows a combo box offers (without the two appended rows),
// sorted.
QStringList catalogueItems(const QComboBox *combo);
// Picks the item with exactly this text, as the user would; false when
// there is none.
bool choose(QComboBox *combo, const QString &text);

} // namespace pagefixture
