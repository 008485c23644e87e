// A read-only list model over lines of text kept as bytes in the locale's charset.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "runtime/text_lines.h"

namespace qlok::qt {

// Lines are converted to QString only when the view asks for one, so that a history of a
// million lines costs its bytes and an index, and no per-line Qt objects.
class LineListModel final : public QAbstractListModel {
    Q_OBJECT

  public:
    // An empty model.
    explicit LineListModel(QObject* parent = nullptr);

    // The number of lines (top level only).
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The line as ShownLine shows it, for the display role; nothing for other roles.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Replaces every line with one model reset.
    void SetItems(TextLines lines);
    // Appends one line at the end.
    void Append(const std::string& line);
    // Removes every line.
    void Clear();
    // A copy of the lines as they are held.
    std::vector<std::string> Lines() const;
    // The row whose shown text is longest, or -1 when there is none.
    int LongestRow() const { return longestRow_; }

  private:
    // Makes row the longest when it is longer than the longest so far.
    void Measure(std::size_t row);

    TextLines lines_;
    int longestRow_ = -1;
    std::size_t longest_ = 0;
};

}  // namespace qlok::qt
