#include "operation/RouteTableModel.h"

namespace fareboard {

RouteTableModel::RouteTableModel(bool checkable, QObject* parent) : QAbstractTableModel(parent), checkable_(checkable) {}

void RouteTableModel::setRows(std::vector<RouteRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    checked_.assign(rows_.size(), false);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        checked_[i] = rows_[i].refused.isEmpty();
    endResetModel();
    emit checkedChanged();
}

std::vector<int> RouteTableModel::checkedNumbers() const
{
    std::vector<int> numbers;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (checked_[i])
            numbers.push_back(rows_[i].number);
    return numbers;
}

void RouteTableModel::setChecked(const std::vector<int>& rows, bool checked)
{
    for (int r : rows)
        if (r >= 0 && std::size_t(r) < rows_.size() && rows_[std::size_t(r)].refused.isEmpty())
            checked_[std::size_t(r)] = checked;
    if (!rows_.empty())
        emit dataChanged(index(0, Number), index(rowCount() - 1, Number), {Qt::CheckStateRole});
    emit checkedChanged();
}

int RouteTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int RouteTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RouteTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= rows_.size())
        return {};
    const RouteRow& r = rows_[std::size_t(index.row())];
    const bool refused = !r.refused.isEmpty();
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case Number: return refused ? QStringLiteral("-") : QString::number(r.number);
        case ShortName: return r.shortName;
        case LongName: return r.longName;
        case Headsign: return r.headsign;
        case Run: return runText(r);
        case Stops: return r.stops;
        case Tickets: return refused ? QVariant() : QVariant(r.tickets);
        default: return {};
        }
    }
    if (role == Qt::UserRole)
        return r.number;
    if (role == Qt::CheckStateRole && checkable_ && index.column() == Number && !refused)
        return checked_[std::size_t(index.row())] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole && refused)
        return QStringLiteral("取り込めません: ") + r.refused;
    if (role == Qt::TextAlignmentRole && (index.column() == Number || index.column() == Stops || index.column() == Tickets))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant RouteTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char16_t* const captions[ColumnCount] = {u"系統", u"路線", u"路線名", u"行先", u"始点 → 終点", u"停留所", u"整理券"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf16(captions[section]) : QString();
}

Qt::ItemFlags RouteTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid())
        return f;
    const RouteRow& r = rows_[std::size_t(index.row())];
    if (!r.refused.isEmpty())
        return f & ~Qt::ItemIsEnabled;
    if (checkable_ && index.column() == Number)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

bool RouteTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!checkable_ || role != Qt::CheckStateRole || !index.isValid() || index.column() != Number ||
        !rows_[std::size_t(index.row())].refused.isEmpty())
        return false;
    checked_[std::size_t(index.row())] = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit checkedChanged();
    return true;
}

void RouteFilterModel::setFilterText(const QString& text)
{
    text_ = text;
    invalidateFilter();
}

bool RouteFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    const auto* model = static_cast<const RouteTableModel*>(sourceModel());
    return routeMatches(model->rows()[std::size_t(sourceRow)], text_);
}

}  // namespace fareboard
