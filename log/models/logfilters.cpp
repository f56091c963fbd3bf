#include "logfilters.h"

#include "logfilterids.h"
#include "treemodel.h"

namespace {

ValueFilterModel<int> *makeFilter(TreeModel *tree, QObject *owner, const QSet<int> &ids)
{
    auto *f = new ValueFilterModel<int>(owner);
    f->setSourceModel(tree);
    f->setFilterKeyColumn(1);
    f->setFilterRole(Qt::UserRole);
    f->values() = ids;
    return f;
}

// A lubrication event: the event flags, then the SKW of channels 1 to 7.
constexpr int kLubricationRows = 1 + SkwHistory::kChannels;

} // namespace

LogFilters::LogFilters(TreeModel *tree, QObject *owner)
    : m_tree(tree)
    , m_graph(makeFilter(tree, owner, LogFilterIds::lubrication()))
    , m_config(makeFilter(tree, owner, LogFilterIds::configuration()))
    , m_error(makeFilter(tree, owner, LogFilterIds::errors()))
{
}

LogFilters::~LogFilters()
{
    delete m_graph.data();
    delete m_config.data();
    delete m_error.data();
}

int LogFilters::timeOf(const QModelIndex &entry)
{
    const int t = entry.sibling(entry.row(), 0).data(Qt::UserRole).toInt();
    return t < 0 ? 0 : t;
}

SkwHistory LogFilters::collect() const
{
    SkwHistory h;
    if (!m_graph || !m_error || !m_config)
        return h;
    const int lubrications = m_graph->rowCount();
    for (auto &c : h.channels)
        c.reserve(lubrications);
    for (int r = 0; r < lubrications; ++r) {
        const QModelIndex entry = m_graph->mapToSource(m_graph->index(r, 0));
        if (m_tree->rowCount(entry) != kLubricationRows)
            continue;
        const int t = timeOf(entry);
        for (int i = 1; i < kLubricationRows; ++i) {
            const int v = m_tree->index(i, 2, entry).data(Qt::UserRole).toInt();
            // Below 0 the unit had no value for the channel.
            if (v >= 0)
                h.channels[size_t(i - 1)].append({t, v});
        }
    }
    for (int r = 0; r < m_error->rowCount(); ++r)
        h.errors.append(timeOf(m_error->mapToSource(m_error->index(r, 0))));
    for (int r = 0; r < m_config->rowCount(); ++r)
        h.configurations.append(timeOf(m_config->mapToSource(m_config->index(r, 0))));
    return h;
}
