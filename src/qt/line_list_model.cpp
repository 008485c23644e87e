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
    return FromLocal(ShownLine(lines_[static_cast<std::size_t>(index.row())]));
}

void LineListModel::Measure(std::size_t row) {
    const std::size_t length = ShownLength(lines_[row]);
    if (longestRow_ < 0 || length > longest_) {
        longest_ = length;
        longestRow_ = static_cast<int>(row);
    }
}

void LineListModel::SetItems(TextLines lines) {
    beginResetModel();
    lines_ = std::move(lines);
    longestRow_ = -1;
    for (std::size_t row = 0; row < static_cast<std::size_t>(rowCount()); ++row) {
        Measure(row);
    }
    endResetModel();
}

void LineListModel::Append(const std::string& line) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    lines_.Append(line);
    Measure(static_cast<std::size_t>(row));
    endInsertRows();
}

void LineListModel::Clear() {
    beginResetModel();
    // Give the memory of a long history back: assigning an empty one would keep the bytes.
    std::exchange(lines_, TextLines());
    longestRow_ = -1;
    endResetModel();
}

std::vector<std::string> LineListModel::Lines() const {
    std::vector<std::string> lines;
    lines.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        lines.emplace_back(lines_[i]);
    }
    return lines;
}

}  // namespace qlok::qt
