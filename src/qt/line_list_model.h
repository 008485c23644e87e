// A read-only list model over lines of text kept as bytes in the locale's charset.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace qlok::qt {

// Lines are converted to QString only when the view asks for one, so that a history of a
// million lines costs one vector and no per-line Qt objects.
class LineListModel final : public QAbstractListModel {
    Q_OBJECT

  public:
    // An empty model.
    explicit LineListModel(QObject* parent = nullptr);

    // The number of lines (top level only).
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The line's text for the display role; nothing for other roles.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces every line with one model reset.
    void SetItems(std::vector<std::string> lines);
    // Appends one line at the end.
    void Append(const std::string& line);
    // Removes every line.
    void Clear();
    // The lines as they are held.
    const std::vector<std::string>& Lines() const { return lines_; }
    // The row of the longest line in bytes, or -1 when there is none.
    int LongestRow() const { return longestRow_; }

  private:
    std::vector<std::string> lines_;
    int longestRow_ = -1;
};

}  // namespace qlok::qt
