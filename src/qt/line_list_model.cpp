#include "qt/line_list_model.h"

#include "qt/qt_controls.h"

#include <limits>
#include <utility>

namespace qlok::qt {

LineListModel::LineListModel(QObject* parent) : QAbstractListModel(parent) {}

int LineListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(lines_.size() < kMax ? lines_.size() : kMax);
}

QVariant LineListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() < 0 ||
        index.row() >= rowCount()) {
        return {};
    }
    return FromLocal(lines_[static_cast<std::size_t>(index.row())]);
}

void LineListModel::SetItems(std::vector<std::string> lines) {
    beginResetModel();
    lines_ = std::move(lines);
    longestRow_ = -1;
    std::size_t longest = 0;
    for (std::size_t row = 0; row < lines_.size(); ++row) {
        if (longestRow_ < 0 || lines_[row].size() > longest) {
            longest = lines_[row].size();
            longestRow_ = static_cast<int>(row);
        }
    }
    endResetModel();
}

void LineListModel::Append(const std::string& line) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    lines_.push_back(line);
    if (longestRow_ < 0 || line.size() > lines_[static_cast<std::size_t>(longestRow_)].size()) {
        longestRow_ = row;
    }
    endInsertRows();
}

void LineListModel::Clear() {
    beginResetModel();
    std::vector<std::string>().swap(lines_);  // give the memory of a long history back
    longestRow_ = -1;
    endResetModel();
}

}  // namespace qlok::qt
